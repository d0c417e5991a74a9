#include "TestRegistry.h"
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
        names << QString(s.menuItem);
    QCOMPARE(names, expected);
}

void SnippetTableTest::kindPromptAndShortcut_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QKeySequence>("shortcut");

    const int fixed = int(SnippetKind::Fixed), prompted = int(SnippetKind::Prompted), wrap = int(SnippetKind::Wrap);
    const QKeySequence none;
    QTest::newRow("HTML tags") << "mnuHTMLTags" << fixed << "" << QKeySequence(Qt::CTRL | Qt::Key_H);
    QTest::newRow("Bold") << "mnuHTMLBold" << wrap << "" << QKeySequence(Qt::CTRL | Qt::Key_B);
    QTest::newRow("Underlined") << "mnuHTMLUnderlined" << wrap << "" << QKeySequence(Qt::CTRL | Qt::Key_U);
    QTest::newRow("Italic") << "mnuHTMLItalic" << wrap << "" << QKeySequence(Qt::CTRL | Qt::Key_I);
    QTest::newRow("HTML comment") << "mnuHTMLComment" << prompted << "Insert your HTML comment here:" << none;
    QTest::newRow(".NET script") << "mnudotNETScript" << fixed << "" << none;
    QTest::newRow(".NET form") << "mnudotNETForm" << fixed << "" << none;
    QTest::newRow("VB comment") << "mnudotNETComment_VB" << prompted
                                << "Insert your Visual Basic .NET comment here:" << none;
    QTest::newRow("C#/C++/JScript comment") << "mnudotNETComment_CCJ" << prompted
                                            << "Insert your C#, C++ or JScript comment here:" << none;
    QTest::newRow("Delphi comment") << "mnudotNETComment_Delphi" << prompted
                                    << "Insert your Delphi .NET comment here:" << none;
    QTest::newRow("ASP tags") << "mnuASPTags" << fixed << "" << QKeySequence(Qt::CTRL | Qt::Key_F3);
    QTest::newRow("ASP output") << "mnuASPOutput" << prompted << "Insert your ASP output here:"
                                << QKeySequence(Qt::SHIFT | Qt::Key_F3);
    QTest::newRow("ASP comment") << "mnuASPComment" << prompted << "Insert your ASP comment here:" << none;
    QTest::newRow("PHP tags") << "mnuPHPTags" << fixed << "" << QKeySequence(Qt::CTRL | Qt::Key_F4);
    QTest::newRow("PHP output") << "mnuASPOuput" << prompted << "Insert your PHP output here:"
                                << QKeySequence(Qt::SHIFT | Qt::Key_F4);
    QTest::newRow("PHP comment") << "mnuPHPComment" << prompted << "Insert your PHP comment here:" << none;
    QTest::newRow("JS tags") << "mnuJSTags" << fixed << "" << QKeySequence(Qt::CTRL | Qt::Key_F1);
    QTest::newRow("JS output") << "mnuJSOutput" << prompted << "Insert your JavaScript output here:"
                               << QKeySequence(Qt::SHIFT | Qt::Key_F1);
    QTest::newRow("JS comment") << "mnuJSComment" << prompted << "Insert your JavaScript comment here:" << none;
    QTest::newRow("VBS tags") << "mnuVBSTags" << fixed << "" << QKeySequence(Qt::CTRL | Qt::Key_F2);
    QTest::newRow("VBS output") << "mnuVBSOutput" << prompted << "Insert your VBScript output here:"
                                << QKeySequence(Qt::SHIFT | Qt::Key_F2);
    QTest::newRow("VBS comment") << "mnuVBSComment" << prompted << "Insert your VBScript comment here:" << none;
}

void SnippetTableTest::kindPromptAndShortcut()
{
    QFETCH(QString, item);
    QFETCH(int, kind);
    QFETCH(QString, prompt);
    QFETCH(QKeySequence, shortcut);

    const Snippet* s = Snippets::find(item);
    QVERIFY(s);
    QCOMPARE(int(s->kind), kind);
    QCOMPARE(QString(s->prompt), prompt);
    QCOMPARE(s->keySequence(), shortcut);
}

void SnippetTableTest::lookup()
{
    QVERIFY(!Snippets::find(u"mnuPHPOutput"));   // the PHP output item has the ASP-like name
    QVERIFY(!Snippets::find(u"mnuhtmltags"));    // names are matched exactly
    QVERIFY(!Snippets::find(u""));
    QVERIFY(!Snippets::find(u"mnuCustomFont"));  // a menu neighbour that is no snippet

    QSet<QString> names;
    QSet<QKeySequence> keys;
    for (const Snippet& s : Snippets::table()) {
        QCOMPARE(Snippets::find(QString(s.menuItem)), &s);
        names.insert(QString(s.menuItem));
        if (!s.shortcut.isEmpty()) {
            QVERIFY2(!s.keySequence().isEmpty(), s.shortcut.data());
            QVERIFY2(!keys.contains(s.keySequence()), s.shortcut.data());
            keys.insert(s.keySequence());
        }
    }
    QCOMPARE(names.size(), 22);
    QCOMPARE(keys.size(), 12);
}

void SnippetTableTest::piecesFollowLineBreakStyle()
{
    const Snippet* tags = Snippets::find(u"mnuASPTags");
    QVERIFY(tags);
    QCOMPARE(Snippets::text(*tags, QStringLiteral("ignored")), QStringLiteral("<%\r\n\r\n%>"));
    QCOMPARE(Snippets::text(*tags, QString(), LineBreak::Lf), QStringLiteral("<%\n\n%>"));
    QCOMPARE(Snippets::text(*tags, QString(), LineBreak::Cr), QStringLiteral("<%\r\r%>"));

    // The middle is the user's text and keeps its own line breaks.
    const Snippet* bold = Snippets::find(u"mnuHTMLBold");
    QVERIFY(bold);
    QCOMPARE(Snippets::text(*bold, QStringLiteral("a\r\nb"), LineBreak::Lf), QStringLiteral("<b>a\r\nb</b>"));
}

QP_REGISTER_TEST(SnippetTableTest)
#include "SnippetTableTest.moc"
