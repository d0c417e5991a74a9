#include "ScriptedPrompts.h"
#include "TestRegistry.h"
#include "editing/ClipboardCommands.h"
#include "editing/EditingCommands.h"
#include "editor/RichTextBox.h"
#include "find/FindReplace.h"
#include "snippets/SnippetCommands.h"

#include <QClipboard>
#include <QTest>

namespace {

// Three lines of 40 characters; "needle" stands at column 10 of the first.
const QString kText = QStringLiteral("aaaaaaaaaaneedleaaaaaaaaaaaaaaaaaaaaaaaa\r\n") + QString(40, QLatin1Char('b')) +
                      QStringLiteral("\r\n") + QString(40, QLatin1Char('c'));

enum class Move { TimeAndDate, HtmlTags, Bold, Paste, Start, End, FindNext, ReplaceAll };

// Where Up or Down (lines -1 or 1) from `caret` lands when it keeps to the
// caret's column: the same column of that line, or its end when it is shorter.
int sameColumn(const QString& text, int caret, int lines)
{
    QList<int> starts{0};
    for (int i = 0; i < text.size(); ++i)
        if (text[i] == QLatin1Char('\n'))
            starts << i + 1;
    int line = 0;
    while (line + 1 < starts.size() && starts[line + 1] <= caret)
        ++line;
    const int target = line + lines;
    const int end = target + 1 < starts.size() ? starts[target + 1] - 2 : int(text.size());
    return std::min(starts[target] + caret - starts[line], end);
}

}

// After a command moves the caret, Up and Down start from the column the
// caret has now, not from the one it had before the command.
class CaretColumnTest : public QObject {
    Q_OBJECT
private slots:
    void upAndDownKeepToTheCaretAfterACommand_data()
    {
        QTest::addColumn<Move>("move");
        QTest::addColumn<QKeySequence>("before");   // where the user leaves the caret
        QTest::addColumn<int>("key");               // then pressed after the command
        QTest::newRow("F5") << Move::TimeAndDate << QKeySequence(QStringLiteral("Ctrl+Home")) << int(Qt::Key_Down);
        QTest::newRow("HTML tags") << Move::HtmlTags << QKeySequence(QStringLiteral("Ctrl+Home")) << int(Qt::Key_Down);
        QTest::newRow("Bold") << Move::Bold << QKeySequence(QStringLiteral("Ctrl+Home")) << int(Qt::Key_Down);
        QTest::newRow("Paste") << Move::Paste << QKeySequence(QStringLiteral("Ctrl+Home")) << int(Qt::Key_Down);
        QTest::newRow("Start") << Move::Start << QKeySequence(QStringLiteral("Ctrl+Home, End")) << int(Qt::Key_Down);
        QTest::newRow("End") << Move::End << QKeySequence(QStringLiteral("Ctrl+Home, Right, Right")) << int(Qt::Key_Up);
        QTest::newRow("Find Next") << Move::FindNext << QKeySequence(QStringLiteral("Ctrl+Home")) << int(Qt::Key_Down);
        QTest::newRow("Replace All") << Move::ReplaceAll << QKeySequence(QStringLiteral("Ctrl+Home, End"))
                                     << int(Qt::Key_Down);
    }

    void upAndDownKeepToTheCaretAfterACommand()
    {
        QFETCH(Move, move);
        QFETCH(QKeySequence, before);
        QFETCH(int, key);
        RichTextBox pad;
        pad.show();
        pad.SetText(kText);
        pad.setFocus();
        QTest::keySequence(&pad, before);
        ScriptedPrompts prompts;
        switch (move) {
        case Move::TimeAndDate:
            EditingCommands::insertTimeAndDate(pad);
            break;
        case Move::HtmlTags:
            runSnippet(Cmd::mnuHTMLTags, pad, prompts);
            break;
        case Move::Bold:
            runSnippet(Cmd::mnuHTMLBold, pad, prompts);
            break;
        case Move::Paste:
            QApplication::clipboard()->setText(QStringLiteral("pasted"));
            ClipboardCommands::paste(pad);
            break;
        case Move::Start:
            EditingCommands::goToStart(pad);
            break;
        case Move::End:
            EditingCommands::goToEnd(pad);
            break;
        case Move::FindNext:
            QVERIFY(FindReplace::findNext(pad, QStringLiteral("needle"), FindReplace::Direction::Right));
            break;
        case Move::ReplaceAll:
            FindReplace::replaceAll(pad, QStringLiteral("needle"), QString());
            break;
        }
        const QString text = pad.Text();
        const int caret = pad.SelStart() + pad.SelLength();
        QVERIFY(caret > 0 || move == Move::Start || move == Move::ReplaceAll);
        QTest::keyClick(&pad, Qt::Key(key));
        QCOMPARE(pad.SelLength(), 0);
        QCOMPARE(pad.SelStart(), sameColumn(text, caret, key == Qt::Key_Down ? 1 : -1));
        QVERIFY(prompts.calls.isEmpty());
    }
};

QP_REGISTER_TEST(CaretColumnTest)
#include "CaretColumnTest.moc"
