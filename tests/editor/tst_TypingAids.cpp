#include "MainWindowFixture.h"
#include "TestRegistry.h"
#include "editor/PageOutline.h"
#include "editor/RichTextBox.h"
#include "editor/SyntaxColouring.h"
#include "editor/TypingAids.h"
#include "services/SettingsStore.h"

#include <QRegularExpression>
#include <QTest>

Q_DECLARE_METATYPE(Setting)

namespace {

// A view with the typing aids attached, its document named `name`.
struct AidedBox {
    RichTextBox box;
    SyntaxColouring colouring{box};
    PageOutline outline{box.document(), colouring};
    TypingAids aids{box, outline};
    explicit AidedBox(const QString& name) { colouring.setDocumentName(name); }
};

// Keys as written in the rows: characters typed one by one, and named keys
// in braces: {Enter}, {Tab}, {Shift+Tab}, {Backspace}, {Ctrl+Z}, {Left}.
void press(RichTextBox& box, const QString& keys)
{
    static const QRegularExpression token(QStringLiteral("\\{([^}]+)\\}|(.)"),
                                          QRegularExpression::DotMatchesEverythingOption);
    for (const QRegularExpressionMatch& m : token.globalMatch(keys)) {
        const QString named = m.captured(1);
        if (named.isEmpty())
            QTest::keyClick(&box, m.captured(2).at(0).toLatin1());
        else if (named == QLatin1String("Enter"))
            QTest::keyClick(&box, Qt::Key_Return);
        else if (named == QLatin1String("Shift+Tab"))
            QTest::keyClick(&box, Qt::Key_Backtab, Qt::ShiftModifier);
        else
            QTest::keySequence(&box, QKeySequence(named));
    }
}

// What keys leave: "text [selection start+length]".
QString outcome(const QString& text, int selStart, int selLength)
{
    return QStringLiteral("%1 [%2+%3]").arg(text).arg(selStart).arg(selLength);
}

QString typeInto(RichTextBox& box, const QString& text, int selStart, int selLength, const QString& keys)
{
    box.SetText(text);
    box.SetSelStart(selStart);
    box.SetSelLength(selLength);
    press(box, keys);
    return outcome(box.Text(), box.SelStart(), box.SelLength());
}

void addColumns()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("expectedStart");
    QTest::addColumn<int>("expectedLength");
}

void row(const char* rowName, const char* name, const QString& text, int selStart, int selLength, const QString& keys,
         const QString& expected, int expectedStart, int expectedLength = 0)
{
    QTest::newRow(rowName) << QString::fromLatin1(name) << text << selStart << selLength << keys << expected
                           << expectedStart << expectedLength;
}

// The row's keys with the aid on give the expected outcome; with the aid
// switched off (the other aids on) exactly what a view without aids gives;
// and with the text locked, the text stays as it was.
void check(void (TypingAids::*switchOn)(bool))
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, keys);
    QFETCH(QString, expected);
    QFETCH(int, expectedStart);
    QFETCH(int, expectedLength);

    AidedBox on(name);
    QCOMPARE(typeInto(on.box, text, selStart, selLength, keys), outcome(expected, expectedStart, expectedLength));

    RichTextBox plain;
    AidedBox off(name);
    (off.aids.*switchOn)(false);
    QCOMPARE(typeInto(off.box, text, selStart, selLength, keys), typeInto(plain, text, selStart, selLength, keys));

    AidedBox locked(name);
    locked.box.SetLocked(true);
    typeInto(locked.box, text, selStart, selLength, keys);
    QCOMPARE(locked.box.Text(), text);
}

}

class TypingAidsTest : public QObject {
    Q_OBJECT
private slots:
    void autoIndent_data()
    {
        addColumns();
        row("spaces", "a.txt", "    one", 7, 0, "{Enter}two", "    one\r\n    two", 16);
        row("tabs and spaces as they stand", "a.txt", "\t  one", 6, 0, "{Enter}", "\t  one\r\n\t  ", 11);
        row("mid-line: the rest moves down", "a.txt", "  one two", 5, 0, "{Enter}", "  one\r\n   two", 9);
        row("caret inside the blanks", "a.txt", "    one", 2, 0, "{Enter}", "  \r\n    one", 6);
        row("a selection gives way", "a.txt", "  one two", 5, 4, "{Enter}", "  one\r\n  ", 9);
        row("Shift+Enter too", "a.txt", "  one", 5, 0, "{Shift+Return}", "  one\r\n  ", 9);
        row("no blanks: a plain line break", "a.txt", "one", 3, 0, "{Enter}", "one\r\n", 5);
        row("one undo step", "a.txt", "  one", 5, 0, "{Enter}{Ctrl+Z}", "  one", 5);
        row("the line broken, not the one above", "a.txt", "    one\r\ntwo", 12, 0, "{Enter}", "    one\r\ntwo\r\n",
            14);
    }
    void autoIndent() { check(&TypingAids::setAutoIndent); }

    void blockIndent_data()
    {
        addColumns();
        const QString lines = QStringLiteral("one\r\n\ttwo\r\n\r\n    four\r\nfive");
        row("Tab indents each line by its own kind", "a.txt", lines, 0, 23, "{Tab}",
            "\tone\r\n\t\ttwo\r\n\r\n        four\r\nfive", 0, 29);
        row("Shift+Tab outdents", "a.txt", lines, 0, 23, "{Shift+Tab}", "one\r\ntwo\r\n\r\nfour\r\nfive", 0, 18);
        row("lines with no blanks stay", "a.txt", "one\r\ntwo", 0, 8, "{Shift+Tab}", "one\r\ntwo", 0, 8);
        row("a selection ending at a line's start leaves that line", "a.txt", "one\r\ntwo\r\nsix", 0, 10, "{Tab}",
            "\tone\r\n\ttwo\r\nsix", 0, 12);
        row("a selection made upwards", "a.txt", "one\r\ntwo", 8, 0, "{Shift+Up}{Shift+Home}{Tab}",
            "\tone\r\n\ttwo", 0, 10);
        row("spaces where the document indents with them", "a.txt", "a\r\n  b\r\n    c\r\nx\r\ny", 15, 4, "{Tab}",
            "a\r\n  b\r\n    c\r\n  x\r\n  y", 15, 8);
        row("one undo step", "a.txt", "one\r\ntwo", 0, 8, "{Tab}{Ctrl+Z}", "one\r\ntwo", 0, 0);
        row("Tab within one line types a tab", "a.txt", "one two", 0, 3, "{Tab}", "\t two", 1, 0);
        row("Shift+Tab within one line does nothing", "a.txt", "\tone", 1, 2, "{Shift+Tab}", "\tone", 1, 2);
    }
    void blockIndent() { check(&TypingAids::setBlockIndent); }

    void closeTags_data()
    {
        addColumns();
        row("> closes a start tag", "a.html", "", 0, 0, "<div>", "<div></div>", 5);
        row("as the name was written", "a.html", "", 0, 0, "<Div class=\"a>b\">", "<Div class=\"a>b\"></Div>", 17);
        row("not a void element", "a.html", "", 0, 0, "<br><img src=a.png><input>", "<br><img src=a.png><input>", 26);
        row("not a self-closed tag", "a.xml", "", 0, 0, "<a/>", "<a/>", 4);
        row("not in a comment", "a.html", "<!--  -->", 5, 0, "<b>", "<!-- <b> -->", 8);
        row("not in server code", "a.php", "<?php  ?>", 6, 0, "'<b>'", "<?php '<b>' ?>", 11);
        row("in a PHP page", "a.php", "", 0, 0, "<p>", "<p></p>", 3);
        row("in XML", "a.xml", "", 0, 0, "<item>", "<item></item>", 6);
        row("not in a style sheet file", "a.css", "", 0, 0, "<p>", "<p>", 3);
        row("not in plain text", "a.txt", "", 0, 0, "<p>", "<p>", 3);
        row("not when the end tag follows", "a.html", "</p>", 0, 0, "<p>", "<p></p>", 3);
        row("</ offers the innermost open element", "a.html", "<ul><li>one", 11, 0, "</", "<ul><li>one</li>", 13);
        row("> takes the name offered", "a.html", "<ul><li>one", 11, 0, "</>", "<ul><li>one</li>", 16);
        row("another name is the user's", "a.html", "<p><b>x", 7, 0, "</i>", "<p><b>x</i>", 11);
        row("closing tags typed in full", "a.html", "", 0, 0, "<div>hello</div>", "<div>hello</div>", 16);
        row("nested and typed in full", "a.html", "", 0, 0, "<ul><li>x</li></ul>", "<ul><li>x</li></ul>", 19);
        row("an offered name typed in full", "a.html", "<p><b>x", 7, 0, "</b></p>", "<p><b>x</b></p>", 15);
        row("a nested tag typed in front", "a.html", "", 0, 0, "<div><span>", "<div><span></span></div>", 11);
        row("lines typed inside", "a.html", "", 0, 0, "<p>{Enter}x{Enter}</p>", "<p>\r\nx\r\n</p>", 12);
        row("Backspace steps back", "a.html", "", 0, 0, "<b>x</{Backspace}{Backspace}", "<b>x</b>", 4);
        row("undo takes the closing tag alone", "a.html", "", 0, 0, "<div>{Ctrl+Z}", "<div>", 5);
        row("undo takes the offered name alone", "a.html", "<p>x", 4, 0, "</{Ctrl+Z}", "<p>x</", 6);
        row("a move ends typing over", "a.html", "", 0, 0, "<b>{Left}{Right}</b>", "<b></b></b>", 7);
    }
    void closeTags() { check(&TypingAids::setCloseTags); }

    // The main window gives its view the aids as stored: one switched off
    // leaves its key plain, a damaged value reads as on.
    void theMainWindowAppliesTheStoredOptions_data()
    {
        QTest::addColumn<Setting>("off");
        QTest::addColumn<QString>("expected");
        QTest::newRow("auto-indent off") << Setting::AutoIndent << "\ta\r\n\tb\r\n<p></p>";
        QTest::newRow("block indent off") << Setting::BlockIndent << "\t\r\n\t<p></p>";
        QTest::newRow("closing tags off") << Setting::CloseTags << "\ta\r\n\tb\r\n\t<p>";
    }
    void theMainWindowAppliesTheStoredOptions()
    {
        QFETCH(Setting, off);
        MainWindowFixture f;
        for (const Setting s : {Setting::AutoIndent, Setting::BlockIndent, Setting::CloseTags})
            f.settings.store(s, s == off ? QStringLiteral("false") : QStringLiteral("damaged"));
        f.make({QStringLiteral("quirkpad"), f.file(QStringLiteral("a.html"), "a\r\nb")});
        f.show();
        RichTextBox* pad = padOf(*f.window);
        press(*pad, QStringLiteral("{Ctrl+A}{Tab}{Ctrl+End}{Enter}<p>"));
        QTEST(pad->Text(), "expected");
    }
};

QP_REGISTER_TEST(TypingAidsTest)
#include "tst_TypingAids.moc"
