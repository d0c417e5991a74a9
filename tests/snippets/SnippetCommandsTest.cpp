#include "PadText.h"
#include "ScriptedPrompts.h"
#include "TestRegistry.h"
#include "editor/RichTextBox.h"
#include "snippets/SnippetCommands.h"

#include <QSignalSpy>
#include <QTest>

namespace {

const QString Q = QStringLiteral("\"");

}

class SnippetCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void insertsExactText_data();
    void insertsExactText();
    void cancelledPromptInsertsEmptyFragment_data();
    void cancelledPromptInsertsEmptyFragment();
    void wrap_data();
    void wrap();
    void wrapKeepsSelectionLineBreaks();
    void raisesOneChangeEvenWhenLocked();
    void unknownNameDoesNothing();
};

// What the texts of the table come to, where they differ from one language
// to another. Prompted ones are answered with a text that holds a double
// quote and blanks, which must pass untouched.
void SnippetCommandsTest::insertsExactText_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("expected");

    const QString in = QStringLiteral(" say \"hi\" ");
    QTest::newRow("ASP output") << "mnuASPOutput" << "Response.Write (" + Q + in + Q + ")";
    QTest::newRow("PHP output, the item of the ASP-like name") << "mnuASPOuput" << "echo " + Q + in + Q + ";";
    QTest::newRow("JavaScript output") << "mnuJSOutput" << "Document.Write (" + Q + in + Q + ")";
    QTest::newRow("VBScript output") << "mnuVBSOutput" << "Document.Write " + Q + in + Q;
    QTest::newRow("Delphi comment") << "mnudotNETComment_Delphi" << "{* " + in + " *}";
    QTest::newRow("JavaScript tags") << "mnuJSTags"
                                     << "<Script Language=" + Q + "JavaScript" + Q + ">\r\n\r\n</script>";
}

void SnippetCommandsTest::insertsExactText()
{
    QFETCH(QString, item);
    QFETCH(QString, expected);
    RichTextBox pad;
    ScriptedPrompts prompts;
    prompts.answerInput(QStringLiteral(" say \"hi\" "));
    QVERIFY(runSnippet(*Commands::named(item), pad, prompts));
    QCOMPARE(pad.Text(), expected);
}

void SnippetCommandsTest::cancelledPromptInsertsEmptyFragment_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("expected");
    QTest::newRow("HTML comment") << "mnuHTMLComment" << "<!---->";
    QTest::newRow("VB comment") << "mnudotNETComment_VB" << "'";
    QTest::newRow("PHP output") << "mnuASPOuput" << "echo " + Q + Q + ";";
}

void SnippetCommandsTest::cancelledPromptInsertsEmptyFragment()
{
    QFETCH(QString, item);
    QFETCH(QString, expected);
    RichTextBox pad;
    prepare(pad, QStringLiteral("xy"), 2);
    ScriptedPrompts prompts;
    prompts.answerInput(QString());   // what the box returns on Cancel

    QVERIFY(runSnippet(*Commands::named(item), pad, prompts));

    QCOMPARE(pad.Text(), "xy" + expected);
    QCOMPARE(pad.SelStart(), 2 + expected.size());
}

void SnippetCommandsTest::wrap_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("caret");

    QTest::newRow("bold selection") << "mnuHTMLBold" << "say hello now" << 4 << 5
                                    << "say <b>hello</b> now" << 16;
    QTest::newRow("bold nothing selected") << "mnuHTMLBold" << "ab" << 1 << 0 << "a<b></b>b" << 8;
    QTest::newRow("italic whole text") << "mnuHTMLItalic" << "x" << 0 << 1 << "<i>x</i>" << 8;
    QTest::newRow("underlined over line break") << "mnuHTMLUnderlined" << "a\r\nb" << 0 << 4
                                                << "<u>a\r\nb</u>" << 11;
    QTest::newRow("bold with emoji") << "mnuHTMLBold" << QString::fromUtf8("1\U0001F600") << 1 << 2
                                     << QString::fromUtf8("1<b>\U0001F600</b>") << 10;
}

void SnippetCommandsTest::wrap()
{
    QFETCH(QString, item);
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, expected);
    QFETCH(int, caret);

    RichTextBox pad;
    prepare(pad, text, selStart, selLength);
    ScriptedPrompts prompts;
    QVERIFY(runSnippet(*Commands::named(item), pad, prompts));

    QCOMPARE(pad.Text(), expected);
    QCOMPARE(pad.SelStart(), caret);
    QCOMPARE(pad.SelLength(), 0);
    QVERIFY(prompts.calls.isEmpty());
}

void SnippetCommandsTest::wrapKeepsSelectionLineBreaks()
{
    // A document of mixed line breaks whose style (its first break) is LF:
    // wrapping must not rewrite the CR LF inside the selection.
    RichTextBox pad;
    TextFormat format;
    format.lineBreak = LineBreak::Lf;
    pad.document().setFormat(format);
    prepare(pad, QStringLiteral("top\nx\r\ny"), 4, 4);
    ScriptedPrompts prompts;
    QVERIFY(runSnippet(Cmd::mnuHTMLBold, pad, prompts));
    QCOMPARE(pad.Text(), QStringLiteral("top\n<b>x\r\ny</b>"));
}

void SnippetCommandsTest::raisesOneChangeEvenWhenLocked()
{
    RichTextBox pad;
    prepare(pad, QStringLiteral("old"), 0, 3);
    pad.SetLocked(true);
    QSignalSpy changes(&pad.document(), &Document::contentsChanged);
    ScriptedPrompts prompts;
    prompts.answerInput(QStringLiteral("abc"));
    QVERIFY(runSnippet(Cmd::mnuASPOutput, pad, prompts));
    QCOMPARE(pad.Text(), QStringLiteral("Response.Write (\"abc\")"));
    QCOMPARE(changes.count(), 1);
    QVERIFY(pad.Locked());
}

void SnippetCommandsTest::unknownNameDoesNothing()
{
    RichTextBox pad;
    prepare(pad, QStringLiteral("same"), 1, 2);
    QSignalSpy changes(&pad.document(), &Document::contentsChanged);
    ScriptedPrompts prompts;
    QVERIFY(!runSnippet(Cmd::mnuCustomFont, pad, prompts));
    QCOMPARE(pad.Text(), QStringLiteral("same"));
    QCOMPARE(pad.SelLength(), 2);
    QCOMPARE(changes.count(), 0);
    QVERIFY(prompts.calls.isEmpty());
}

QP_REGISTER_TEST(SnippetCommandsTest)
#include "SnippetCommandsTest.moc"
