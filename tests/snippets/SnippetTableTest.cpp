#include "TestRegistry.h"
#include "shell/CommandTable.h"
#include "snippets/SnippetTable.h"

#include <QSet>
#include <QTest>

class SnippetTableTest : public QObject {
    Q_OBJECT
private slots:
    void rowsInMenuOrder();
    void kindPromptAndShortcut_data();
    void kindPromptAndShortcut();
    void lookup();
    void piecesFollowLineBreakStyle();
};

void SnippetTableTest::rowsInMenuOrder()
{
    const QStringList expected{
        "mnuHTMLTags", "mnuHTMLBold", "mnuHTMLUnderlined", "mnuHTMLItalic", "mnuHTMLComment",
        "mnudotNETScript", "mnudotNETForm", "mnudotNETComment_VB", "mnudotNETComment_CCJ",
        "mnudotNETComment_Delphi", "mnuASPTags", "mnuASPOutput", "mnuASPComment", "mnuPHPTags",
        "mnuASPOuput", "mnuPHPComment", "mnuJSTags", "mnuJSOutput", "mnuJSComment", "mnuVBSTags",
        "mnuVBSOutput", "mnuVBSComment"};
    QStringList names;
    for (const Snippet& s : Snippets::table())
        names << QString(Commands::name(s.command));
    QCOMPARE(names, expected);
}

void SnippetTableTest::kindPromptAndShortcut_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QKeySequence>("shortcut");

    const int fixed = int(SnippetKind::Fixed), prompted = int(SnippetKind::Prompted), wrap = int(SnippetKind::Wrap);
    auto row = [](const char* item, int kind, const char* prompt, QKeySequence key = {}) {
        QTest::newRow(item) << QString::fromLatin1(item) << kind << QString::fromLatin1(prompt) << key;
    };
    row("mnuHTMLTags", fixed, "", Qt::CTRL | Qt::Key_H);
    row("mnuHTMLBold", wrap, "", Qt::CTRL | Qt::Key_B);
    row("mnuHTMLUnderlined", wrap, "", Qt::CTRL | Qt::Key_U);
    row("mnuHTMLItalic", wrap, "", Qt::CTRL | Qt::Key_I);
    row("mnuHTMLComment", prompted, "Insert your HTML comment here:");
    row("mnudotNETScript", fixed, "");
    row("mnudotNETForm", fixed, "");
    row("mnudotNETComment_VB", prompted, "Insert your Visual Basic .NET comment here:");
    row("mnudotNETComment_CCJ", prompted, "Insert your C#, C++ or JScript comment here:");
    row("mnudotNETComment_Delphi", prompted, "Insert your Delphi .NET comment here:");
    row("mnuASPTags", fixed, "", Qt::CTRL | Qt::Key_F3);
    row("mnuASPOutput", prompted, "Insert your ASP output here:", Qt::SHIFT | Qt::Key_F3);
    row("mnuASPComment", prompted, "Insert your ASP comment here:");
    row("mnuPHPTags", fixed, "", Qt::CTRL | Qt::Key_F4);
    row("mnuASPOuput", prompted, "Insert your PHP output here:", Qt::SHIFT | Qt::Key_F4);
    row("mnuPHPComment", prompted, "Insert your PHP comment here:");
    row("mnuJSTags", fixed, "", Qt::CTRL | Qt::Key_F1);
    row("mnuJSOutput", prompted, "Insert your JavaScript output here:", Qt::SHIFT | Qt::Key_F1);
    row("mnuJSComment", prompted, "Insert your JavaScript comment here:");
    row("mnuVBSTags", fixed, "", Qt::CTRL | Qt::Key_F2);
    row("mnuVBSOutput", prompted, "Insert your VBScript output here:", Qt::SHIFT | Qt::Key_F2);
    row("mnuVBSComment", prompted, "Insert your VBScript comment here:");
}

void SnippetTableTest::kindPromptAndShortcut()
{
    QFETCH(QString, item);
    QFETCH(int, kind);
    QFETCH(QString, prompt);
    QFETCH(QKeySequence, shortcut);

    const Snippet* s = Snippets::find(*Commands::named(item));
    QVERIFY(s);
    QCOMPARE(int(s->kind), kind);
    QCOMPARE(QString(s->prompt), prompt);
    // The command table owns the shortcut of each menu item.
    QKeySequence bound;
    for (const CommandTable::MenuRow& r : CommandTable::menuRows())
        if (item == QLatin1String(r.name))
            bound = QKeySequence(QLatin1String(r.shortcut), QKeySequence::PortableText);
    QCOMPARE(bound, shortcut);
}

void SnippetTableTest::lookup()
{
    QVERIFY(!Commands::named(u"mnuPHPOutput"));   // the PHP output item has the ASP-like name
    QVERIFY(!Commands::named(u"mnuhtmltags"));    // names are matched exactly
    QVERIFY(!Commands::named(u""));
    QVERIFY(!Snippets::find(Cmd::mnuCustomFont));  // a menu neighbour that is no snippet

    QSet<QString> names;
    for (const Snippet& s : Snippets::table()) {
        QCOMPARE(Snippets::find(s.command), &s);
        names.insert(QString(Commands::name(s.command)));
    }
    QCOMPARE(names.size(), 22);
}

void SnippetTableTest::piecesFollowLineBreakStyle()
{
    const Snippet* tags = Snippets::find(Cmd::mnuASPTags);
    QVERIFY(tags);
    QCOMPARE(Snippets::text(*tags, QStringLiteral("ignored")), QStringLiteral("<%\r\n\r\n%>"));
    QCOMPARE(Snippets::text(*tags, QString(), LineBreak::Lf), QStringLiteral("<%\n\n%>"));
    QCOMPARE(Snippets::text(*tags, QString(), LineBreak::Cr), QStringLiteral("<%\r\r%>"));

    // The middle is the user's text and keeps its own line breaks.
    const Snippet* bold = Snippets::find(Cmd::mnuHTMLBold);
    QVERIFY(bold);
    QCOMPARE(Snippets::text(*bold, QStringLiteral("a\r\nb"), LineBreak::Lf), QStringLiteral("<b>a\r\nb</b>"));
}

QP_REGISTER_TEST(SnippetTableTest)
#include "SnippetTableTest.moc"
