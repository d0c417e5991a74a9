#include "PadText.h"
#include "ScriptedPrompts.h"
#include "TestRegistry.h"
#include "shell/CommandTable.h"
#include "snippets/SnippetCommands.h"

#include <QHash>
#include <QTest>

namespace {

const QString kInput = QStringLiteral(" say \"hi\" ");

// The fragment a snippet puts into "ABCD" (the caret after "AB", or "BC"
// selected), in a document of the given line breaks, with what it asked.
struct Run {
    QString text;
    int caret = 0;
    int selLength = 0;
    QStringList asked;
};

Run runOn(const Snippet& s, bool selected, LineBreak breaks = LineBreak::CrLf)
{
    RichTextBox pad;
    TextFormat format;
    format.lineBreak = breaks;
    pad.document().setFormat(format);
    prepare(pad, QStringLiteral("ABCD"), selected ? 1 : 2, selected ? 2 : 0);
    ScriptedPrompts prompts;
    if (s.kind == SnippetKind::Prompted)
        prompts.answerInput(kInput);
    runSnippet(s, pad, prompts);
    Run r{pad.Text(), pad.SelStart(), pad.SelLength(), {}};
    for (const ScriptedPrompts::Call& c : prompts.calls)
        r.asked << c.text;
    return r;
}

// The menu that holds each command directly.
QHash<Cmd, QString> menuOfEachCommand()
{
    QHash<Cmd, QString> menuOf;
    QStringList open;
    for (const CommandTable::MenuRow& r : CommandTable::menuRows()) {
        open.resize(r.depth);
        if (r.kind == CommandTable::MenuRow::Kind::Menu)
            open << QLatin1String(r.name);
        else if (r.command)
            menuOf.insert(*r.command, open.join(QLatin1Char('/')));
    }
    return menuOf;
}

}

// The rules every row of the snippet table keeps; what each row inserts is
// shown by examples in SnippetCommandsTest.
class SnippetTableTest : public QObject {
    Q_OBJECT
private slots:
    // Every command of a language menu under Web Development inserts a
    // snippet, save those that open a window ("..."); each has exactly one.
    void eachLanguageCommandHasOneSnippet()
    {
        QHash<Cmd, int> snippets;
        for (const Snippet& s : Snippets::table())
            ++snippets[s.command];
        const QHash<Cmd, QString> menuOf = menuOfEachCommand();
        QHash<Cmd, int> expected;
        for (const CommandTable::MenuRow& r : CommandTable::menuRows())
            if (r.command && menuOf.value(*r.command).startsWith(QLatin1String("mnuWebDevelopment/")) &&
                !QLatin1String(r.caption).endsWith(QLatin1String("...")))
                expected.insert(*r.command, 1);
        QCOMPARE(snippets, expected);
        QCOMPARE(snippets.size(), 22);
    }

    // A wrap puts its tags around the selection (a bare pair at the caret);
    // any other snippet replaces the selection, or goes in at the caret, by
    // the same fragment. The caret ends after the fragment, nothing selected.
    // A prompted snippet asks once, with its own prompt, and takes the input
    // as typed; the others ask nothing.
    void everySnippetGoesInByTheInsertionRule()
    {
        for (const Snippet& s : Snippets::table()) {
            const QString name(Commands::name(s.command));
            const Run atCaret = runOn(s, false);
            const Run overSelection = runOn(s, true);
            QVERIFY2(atCaret.text.startsWith(QLatin1String("AB")) && atCaret.text.endsWith(QLatin1String("CD")),
                     qPrintable(name));
            const QString fragment = atCaret.text.mid(2, atCaret.text.size() - 4);
            QVERIFY2(!fragment.isEmpty(), qPrintable(name));
            QCOMPARE(atCaret.caret, 2 + fragment.size());
            QCOMPARE(atCaret.selLength, 0);
            const QString replacing = s.kind == SnippetKind::Wrap ? QString(fragment).insert(s.before.size(), u"BC")
                                                                 : fragment;
            QCOMPARE(overSelection.text, QLatin1Char('A') + replacing + QLatin1Char('D'));
            QCOMPARE(overSelection.caret, 1 + replacing.size());
            QCOMPARE(overSelection.selLength, 0);
            if (s.kind == SnippetKind::Wrap)
                QVERIFY2(!s.before.isEmpty() && !s.after.isEmpty(), qPrintable(name));
            if (s.kind == SnippetKind::Prompted) {
                QVERIFY2(fragment.count(kInput) == 1, qPrintable(name));
                QCOMPARE(atCaret.asked, QStringList{QString(s.prompt)});
                QVERIFY2(QString(s.prompt).endsWith(QLatin1String(" here:")), qPrintable(name));
            } else {
                QCOMPARE(atCaret.asked, QStringList());
            }
        }
    }

    // A fragment's own line breaks are the document's.
    void lineBreaksFollowTheDocument()
    {
        for (const Snippet& s : Snippets::table()) {
            const QString crlf = runOn(s, false, LineBreak::CrLf).text;
            const QString breakCrLf = QStringLiteral("\r\n");
            QCOMPARE(runOn(s, false, LineBreak::Lf).text, QString(crlf).replace(breakCrLf, QStringLiteral("\n")));
            QCOMPARE(runOn(s, false, LineBreak::Cr).text, QString(crlf).replace(breakCrLf, QStringLiteral("\r")));
            QCOMPARE(crlf.count(QLatin1Char('\r')), crlf.count(u"\r\n"));
            QCOMPARE(crlf.count(QLatin1Char('\n')), crlf.count(u"\r\n"));
        }
    }

    // The function key names the language; Ctrl with it inserts the
    // language's tags, Shift its output statement.
    void theFunctionKeysNameTheLanguage_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("menu");
        QTest::newRow("F1") << "F1" << "mnuWebDevelopment/mnuJS";
        QTest::newRow("F2") << "F2" << "mnuWebDevelopment/mnuVBS";
        QTest::newRow("F3") << "F3" << "mnuWebDevelopment/mnuASP";
        QTest::newRow("F4") << "F4" << "mnuWebDevelopment/mnuPHP";
    }

    void theFunctionKeysNameTheLanguage()
    {
        QFETCH(QString, key);
        QFETCH(QString, menu);
        const QHash<Cmd, QString> menuOf = menuOfEachCommand();
        QHash<QString, const Snippet*> byKey;
        for (const CommandTable::MenuRow& r : CommandTable::menuRows())
            if (r.command && *r.shortcut)
                byKey.insert(QLatin1String(r.shortcut), Snippets::find(*r.command));
        const Snippet* tags = byKey.value(QStringLiteral("Ctrl+") + key);
        const Snippet* output = byKey.value(QStringLiteral("Shift+") + key);
        QVERIFY(tags && output);
        QCOMPARE(menuOf.value(tags->command), menu);
        QCOMPARE(menuOf.value(output->command), menu);
        QCOMPARE(tags->kind, SnippetKind::Fixed);
        QCOMPARE(output->kind, SnippetKind::Prompted);
    }
};

QP_REGISTER_TEST(SnippetTableTest)
#include "SnippetTableTest.moc"
