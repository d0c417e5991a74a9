#include "TestRegistry.h"
#include "editor/EngineProbe.h"
#include "editor/RichTextBox.h"

#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QTest>

namespace {

// Three lines: "one two" at 0, "three four" at 9, "five" at 21; 25 in all.
const QString kText = QStringLiteral("one two\r\nthree four\r\nfive");
const QString kClipboard = QStringLiteral("clip");

// The user sees and the commands act on one stream of text.
bool oneStreamSelection(const RichTextBox& box)
{
    return EngineProbe::of(box).SendScintilla(QsciScintillaBase::SCI_GETSELECTIONS) == 1 &&
           EngineProbe::of(box).SendScintilla(QsciScintillaBase::SCI_GETSELECTIONMODE) == QsciScintillaBase::SC_SEL_STREAM;
}

struct ShownBox {
    RichTextBox box;
    ShownBox(const QString& text, int selStart, int selLength)
    {
        box.resize(500, 200);
        box.show();
        box.setFocus();
        box.SetText(text);
        box.SetSelStart(selStart);
        box.SetSelLength(selLength);
        QApplication::clipboard()->setText(kClipboard);
    }
    QPoint pointAt(int position)
    {
        const long byte = box.document().bytePos(position);
        auto& e = EngineProbe::of(box);
        const int x = int(e.SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, byte));
        const int y = int(e.SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, byte));
        return {x, y + int(e.SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0UL)) / 2};
    }
    void mouse(QEvent::Type type, const QPoint& at, Qt::KeyboardModifiers modifiers)
    {
        QWidget* viewport = box.viewport();
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, at, viewport->mapToGlobal(at), button, buttons, modifiers);
        QApplication::sendEvent(viewport, &e);
    }
};

}

class PlainEditingTest : public QObject {
    Q_OBJECT
private slots:
    void keys_data();
    void keys();
    void dragsMakeOneStreamSelection_data();
    void dragsMakeOneStreamSelection();
};

// Every key the control answers, with what it must do: the keys of a plain
// edit box work; the engine's other bindings change nothing, neither the
// text nor the selection nor the clipboard.
void PlainEditingTest::keys_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("expectedStart");
    QTest::addColumn<int>("expectedLength");
    QTest::addColumn<QString>("clipboard");
    const auto row = [](const char* name, const QString& text, int start, int length, const char* keys,
                        const QString& expected, int expectedStart, int expectedLength,
                        const QString& clipboard = kClipboard) {
        QTest::newRow(name) << text << start << length << QKeySequence(QString::fromLatin1(keys)) << expected
                            << expectedStart << expectedLength << clipboard;
    };

    // Gone: each would edit, select or copy in a way no command knows.
    row("Ctrl+D duplicates nothing", kText, 4, 3, "Ctrl+D", kText, 4, 3);
    row("Ctrl+T swaps no lines", kText, 12, 0, "Ctrl+T", kText, 12, 0);
    row("Ctrl+L cuts no line", kText, 12, 0, "Ctrl+L", kText, 12, 0);
    row("Ctrl+Shift+L deletes no line", kText, 12, 0, "Ctrl+Shift+L", kText, 12, 0);
    row("Ctrl+Shift+T copies no line", kText, 12, 0, "Ctrl+Shift+T", kText, 12, 0);
    row("Ctrl+U lower-cases nothing", QStringLiteral("ONE"), 0, 3, "Ctrl+U", QStringLiteral("ONE"), 0, 3);
    row("Ctrl+Shift+U upper-cases nothing", kText, 4, 3, "Ctrl+Shift+U", kText, 4, 3);
    row("Ctrl+Shift+Backspace keeps the line's start", kText, 12, 0, "Ctrl+Shift+Backspace", kText, 12, 0);
    row("Ctrl+Shift+Delete keeps the line's end", kText, 12, 0, "Ctrl+Shift+Delete", kText, 12, 0);
    row("Ctrl+Shift+Down moves no line", kText, 12, 0, "Ctrl+Shift+Down", kText, 12, 0);
    row("Shift+Tab unindents nothing", QStringLiteral("    one\r\n    two"), 4, 0, "Shift+Tab",
        QStringLiteral("    one\r\n    two"), 4, 0);
    row("Insert leaves typing inserting", kText, 0, 0, "Ins, X", QStringLiteral("x") + kText, 1, 0);
    row("Shift+Insert pastes nothing", kText, 0, 0, "Shift+Ins", kText, 0, 0);
    row("Ctrl+Insert copies nothing", kText, 4, 3, "Ctrl+Ins", kText, 4, 3);
    row("Shift+Delete cuts nothing", kText, 4, 3, "Shift+Del", kText, 4, 3);
    row("Alt+Backspace undoes nothing", kText, 0, 0, "Alt+Backspace", kText, 0, 0);
    row("Alt+Shift+arrows make no column", kText, 1, 0, "Alt+Shift+Down, Alt+Shift+Down, Alt+Shift+Right", kText,
        1, 0);
    row("Alt+Shift+End makes no column", kText, 1, 0, "Alt+Shift+Down, Alt+Shift+End", kText, 1, 0);

    // Kept: the keys of a plain edit box.
    row("Tab types a tab", kText, 0, 0, "Tab", QStringLiteral("\t") + kText, 1, 0);
    row("Tab over lines replaces them", QStringLiteral("one\r\ntwo"), 0, 8, "Tab", QStringLiteral("\t"), 1, 0);
    row("Tab in leading blanks keeps them", QStringLiteral("    x"), 2, 0, "Tab", QStringLiteral("  \t  x"), 3, 0);
    row("Return", kText, 3, 0, "Return", QStringLiteral("one\r\n two\r\nthree four\r\nfive"), 5, 0);
    row("Shift+Return", kText, 3, 0, "Shift+Return", QStringLiteral("one\r\n two\r\nthree four\r\nfive"), 5, 0);
    row("Backspace", kText, 3, 0, "Backspace", QStringLiteral("on two\r\nthree four\r\nfive"), 2, 0);
    row("Shift+Backspace", kText, 3, 0, "Shift+Backspace", QStringLiteral("on two\r\nthree four\r\nfive"), 2, 0);
    row("Delete", kText, 3, 0, "Del", QStringLiteral("onetwo\r\nthree four\r\nfive"), 3, 0);
    row("Ctrl+Backspace deletes a word", kText, 7, 0, "Ctrl+Backspace",
        QStringLiteral("one \r\nthree four\r\nfive"), 4, 0);
    row("Ctrl+Delete deletes a word", kText, 0, 0, "Ctrl+Del", QStringLiteral("two\r\nthree four\r\nfive"), 0, 0);
    row("Ctrl+A", kText, 3, 0, "Ctrl+A", kText, 0, 25);
    row("Ctrl+C", kText, 4, 3, "Ctrl+C", kText, 4, 3, QStringLiteral("two"));
    row("Ctrl+X", kText, 4, 3, "Ctrl+X", QStringLiteral("one \r\nthree four\r\nfive"), 4, 0, QStringLiteral("two"));
    row("Ctrl+X keeps a NUL character", QStringLiteral("a") + QChar(0) + QStringLiteral("b"), 0, 3, "Ctrl+X",
        QString(), 0, 0, QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
    row("Ctrl+V", kText, 0, 3, "Ctrl+V", QStringLiteral("clip two\r\nthree four\r\nfive"), 4, 0);
    row("Ctrl+Z", kText, 0, 0, "X, Ctrl+Z", kText, 0, 0);
    row("Ctrl+Y", kText, 0, 0, "X, Ctrl+Z, Ctrl+Y", QStringLiteral("x") + kText, 1, 0);
    row("Right", kText, 0, 0, "Right", kText, 1, 0);
    row("Shift+Right", kText, 0, 0, "Shift+Right, Shift+Right", kText, 0, 2);
    row("Ctrl+Right", kText, 0, 0, "Ctrl+Right", kText, 4, 0);
    row("Ctrl+Shift+Left", kText, 7, 0, "Ctrl+Shift+Left", kText, 4, 3);
    row("Down", kText, 2, 0, "Down", kText, 11, 0);
    row("Shift+Down", kText, 2, 0, "Shift+Down", kText, 2, 9);
    row("Up", kText, 11, 0, "Up", kText, 2, 0);
    row("Page Down past the last line", kText, 0, 0, "PgDown", kText, 25, 0);
    row("Home", kText, 12, 0, "Home", kText, 9, 0);
    row("End", kText, 0, 0, "End", kText, 7, 0);
    row("Escape keeps the selection", kText, 4, 3, "Esc", kText, 4, 3);
    row("Shift+Home", kText, 12, 0, "Shift+Home", kText, 9, 3);
    row("Ctrl+End", kText, 0, 0, "Ctrl+End", kText, 25, 0);
    row("Ctrl+Shift+Home", kText, 25, 0, "Ctrl+Shift+Home", kText, 0, 25);
}

void PlainEditingTest::keys()
{
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QKeySequence, keys);
    ShownBox shown(text, selStart, selLength);
    QTest::keySequence(&shown.box, keys);
    QTEST(shown.box.Text(), "expected");
    QTEST(shown.box.SelStart(), "expectedStart");
    QTEST(shown.box.SelLength(), "expectedLength");
    QTEST(QApplication::clipboard()->text(), "clipboard");
    QVERIFY(oneStreamSelection(shown.box));
}

// A drag with Alt, Ctrl or both selects the text between its ends as one
// stream, as a plain drag does: what is highlighted is what the commands
// cut, delete or transform.
void PlainEditingTest::dragsMakeOneStreamSelection_data()
{
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("plain") << Qt::KeyboardModifiers();
    QTest::newRow("Alt") << Qt::KeyboardModifiers(Qt::AltModifier);
    QTest::newRow("Ctrl") << Qt::KeyboardModifiers(Qt::ControlModifier);
    QTest::newRow("Ctrl+Alt") << (Qt::ControlModifier | Qt::AltModifier);
}

void PlainEditingTest::dragsMakeOneStreamSelection()
{
    QFETCH(Qt::KeyboardModifiers, modifiers);
    ShownBox shown(QStringLiteral("abcdef\r\nghijkl\r\nmnopqr"), 0, 0);
    QVERIFY(QTest::qWaitForWindowExposed(&shown.box));
    const QPoint from = shown.pointAt(1);   // after "a"
    const QPoint to = shown.pointAt(19);    // after "o"
    shown.mouse(QEvent::MouseButtonPress, from, modifiers);
    for (int step = 1; step <= 4; ++step)
        shown.mouse(QEvent::MouseMove, from + (to - from) * step / 4, modifiers);
    shown.mouse(QEvent::MouseButtonRelease, to, modifiers);
    QVERIFY(oneStreamSelection(shown.box));
    QCOMPARE(shown.box.SelText(), QStringLiteral("bcdef\r\nghijkl\r\nmno"));
}

QP_REGISTER_TEST(PlainEditingTest)
#include "tst_PlainEditing.moc"
