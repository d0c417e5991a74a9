#include "PadText.h"
#include "ScriptedPrompts.h"
#include "TestRegistry.h"
#include "editing/ClipboardCommands.h"

#include <QApplication>
#include <QImage>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

namespace {


QClipboard* clipboard()
{
    return QGuiApplication::clipboard();
}

QImage smallPicture()
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    return image;
}

// What the clipboard can hold before a command: nothing, plain text, a
// formatted text (HTML with its plain-text twin), HTML alone, a picture.
enum Content { Empty, Plain, Formatted, HtmlOnly, Picture };

void fill(Content content)
{
    auto* data = new QMimeData;
    switch (content) {
    case Empty:
        break;
    case Plain:
        data->setText(QStringLiteral("plain"));
        break;
    case Formatted:
        data->setHtml(QStringLiteral("<b>bold</b> text"));
        data->setText(QStringLiteral("bold text"));
        break;
    case HtmlOnly:
        data->setHtml(QStringLiteral("<i>only html</i>"));
        break;
    case Picture:
        data->setImageData(smallPicture());
        break;
    }
    clipboard()->setMimeData(data);
}

QStringList formats()
{
    const QMimeData* data = clipboard()->mimeData();
    return data ? data->formats() : QStringList();
}

}

class ClipboardCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { fill(Empty); }

    void copy_data();
    void copy();
    void cutNothingSelected();
    void cutSelection();
    void paste_data();
    void paste();
    void pasteNothingIntoNothingIsNoEdit();
    void deleteSelection();
    void undo();
    void selectAll_data();
    void selectAll();
    void lengthOfSelected_data();
    void lengthOfSelected();
    void keyFilter_data();
    void keyFilter();
    void keyFilterThroughEditor();
};

void ClipboardCommandsTest::copy_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("onClipboard");

    QTest::newRow("nothing selected keeps clipboard") << "abc" << 1 << 0 << "bold text";
    QTest::newRow("word") << "say hello" << 4 << 5 << "hello";
    QTest::newRow("across lines") << "one\r\ntwo\r\nthree" << 1 << 9 << "ne\r\ntwo\r\n";
    QTest::newRow("emoji") << QString::fromUtf8("[\U0001F600]") << 1 << 2 << QString::fromUtf8("\U0001F600");
}

void ClipboardCommandsTest::copy()
{
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, onClipboard);

    fill(Formatted);
    const QStringList before = formats();
    RichTextBox pad;
    prepare(pad, text, selStart, selLength);
    QSignalSpy changes(&pad.document(), &Document::contentsChanged);
    ClipboardCommands::copy(pad, clipboard());

    QCOMPARE(clipboard()->text(), onClipboard);
    // Either untouched, or the plain text alone.
    QCOMPARE(formats(), selLength ? QStringList{QStringLiteral("text/plain")} : before);
    QCOMPARE(pad.Text(), text);
    QCOMPARE(pad.SelLength(), selLength);
    QCOMPARE(changes.count(), 0);
}

void ClipboardCommandsTest::cutNothingSelected()
{
    fill(Plain);
    RichTextBox pad;
    prepare(pad, QStringLiteral("abc"), 2);
    QSignalSpy changes(&pad.document(), &Document::contentsChanged);
    ClipboardCommands::cut(pad, clipboard());
    QCOMPARE(pad.Text(), QStringLiteral("abc"));
    QCOMPARE(pad.SelStart(), 2);
    QCOMPARE(clipboard()->text(), QStringLiteral("plain"));
    QCOMPARE(changes.count(), 0);
}

void ClipboardCommandsTest::cutSelection()
{
    fill(Formatted);
    RichTextBox pad;
    prepare(pad, QStringLiteral("a\r\nbc"), 1, 3);
    QSignalSpy changes(&pad.document(), &Document::contentsChanged);
    ClipboardCommands::cut(pad, clipboard());
    QCOMPARE(pad.Text(), QStringLiteral("ac"));
    QCOMPARE(pad.SelStart(), 1);
    QCOMPARE(pad.SelLength(), 0);
    QCOMPARE(clipboard()->text(), QStringLiteral("\r\nb"));
    QCOMPARE(formats(), QStringList{QStringLiteral("text/plain")});
    QCOMPARE(changes.count(), 1);
}

void ClipboardCommandsTest::paste_data()
{
    QTest::addColumn<int>("content");
    QTest::addColumn<QString>("clipText");
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("caret");

    const int crlf = int(LineBreak::CrLf), lf = int(LineBreak::Lf);
    // The document is "ab|cd|ef" with the middle pair selected when selLength is 2.
    QTest::newRow("text at caret") << int(Plain) << "XY" << crlf << 0 << "abXYcdef" << 4;
    QTest::newRow("text over selection") << int(Plain) << "XY" << crlf << 2 << "abXYef" << 4;
    QTest::newRow("LF text into CR LF document") << int(Plain) << "1\n2" << crlf << 2 << "ab1\r\n2ef" << 6;
    QTest::newRow("CR LF text into LF document") << int(Plain) << "1\r\n2\r3" << lf << 0 << "ab1\n2\n3cdef" << 7;
    QTest::newRow("formatted: its plain text") << int(Formatted) << "" << crlf << 2 << "abbold textef" << 11;
    QTest::newRow("empty clipboard deletes selection") << int(Empty) << "" << crlf << 2 << "abef" << 2;
    QTest::newRow("picture deletes selection") << int(Picture) << "" << crlf << 2 << "abef" << 2;
    QTest::newRow("HTML alone deletes selection") << int(HtmlOnly) << "" << crlf << 2 << "abef" << 2;
    QTest::newRow("picture, nothing selected") << int(Picture) << "" << crlf << 0 << "abcdef" << 2;
}

void ClipboardCommandsTest::paste()
{
    QFETCH(int, content);
    QFETCH(QString, clipText);
    QFETCH(int, style);
    QFETCH(int, selLength);
    QFETCH(QString, expected);
    QFETCH(int, caret);

    if (content == Plain)
        clipboard()->setText(clipText);
    else
        fill(Content(content));
    RichTextBox pad;
    TextFormat format;
    format.lineBreak = LineBreak(style);
    pad.document().setFormat(format);
    prepare(pad, QStringLiteral("abcdef"), 2, selLength);
    ClipboardCommands::paste(pad, clipboard());

    QCOMPARE(pad.Text(), expected);
    QCOMPARE(pad.SelStart(), caret);
    QCOMPARE(pad.SelLength(), 0);
}

void ClipboardCommandsTest::pasteNothingIntoNothingIsNoEdit()
{
    fill(Picture);
    RichTextBox pad;
    prepare(pad, QStringLiteral("abc"), 1);
    QSignalSpy changes(&pad.document(), &Document::contentsChanged);
    ClipboardCommands::paste(pad, clipboard());
    QCOMPARE(changes.count(), 0);
    QVERIFY(clipboard()->mimeData()->hasImage());
}

void ClipboardCommandsTest::deleteSelection()
{
    RichTextBox pad;
    prepare(pad, QStringLiteral("a\r\nb"), 1);
    QSignalSpy changes(&pad.document(), &Document::contentsChanged);
    ClipboardCommands::deleteSelection(pad);
    QCOMPARE(pad.Text(), QStringLiteral("a\r\nb"));
    QCOMPARE(changes.count(), 0);

    pad.SetSelLength(2);
    ClipboardCommands::deleteSelection(pad);
    QCOMPARE(pad.Text(), QStringLiteral("ab"));
    QCOMPARE(pad.SelStart(), 1);
    QCOMPARE(changes.count(), 1);
}

void ClipboardCommandsTest::undo()
{
    fill(Plain);
    RichTextBox pad;
    prepare(pad, QStringLiteral("abc"), 0, 3);
    ClipboardCommands::paste(pad, clipboard());
    QCOMPARE(pad.Text(), QStringLiteral("plain"));
    ClipboardCommands::undo(pad);
    QCOMPARE(pad.Text(), QStringLiteral("abc"));
}

void ClipboardCommandsTest::selectAll_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("one line") << "abc";
    QTest::newRow("line breaks count") << "a\r\n\r\nb\r\n";
    QTest::newRow("emoji") << QString::fromUtf8("\U0001F600x");
}

void ClipboardCommandsTest::selectAll()
{
    QFETCH(QString, text);
    RichTextBox pad;
    prepare(pad, text, int(text.size()));
    ClipboardCommands::selectAll(pad);
    QCOMPARE(pad.SelStart(), 0);
    QCOMPARE(pad.SelLength(), int(text.size()));
    QCOMPARE(pad.SelText(), text);
}

void ClipboardCommandsTest::lengthOfSelected_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("message");

    QTest::newRow("three letters") << "abcd" << 0 << 3 << "Characters in currently selected text: 3.";
    QTest::newRow("CR LF counts two") << "a\r\nb" << 0 << 4 << "Characters in currently selected text: 4.";
    QTest::newRow("lone line break") << "x\r\n" << 1 << 2 << "Characters in currently selected text: 2.";
    QTest::newRow("nothing selected") << "abc" << 1 << 0 << "No text selected.";
    QTest::newRow("empty document") << "" << 0 << 0 << "No text selected.";
}

void ClipboardCommandsTest::lengthOfSelected()
{
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, message);

    RichTextBox pad;
    prepare(pad, text, selStart, selLength);
    ScriptedPrompts prompts;
    prompts.answer(Prompts::Answer::Ok);
    ClipboardCommands::lengthOfSelected(pad, prompts);

    QCOMPARE(prompts.calls.size(), 1);
    QCOMPARE(prompts.calls[0].text, message);
    QCOMPARE(prompts.calls[0].icon, Prompts::Icon::Information);
    QCOMPARE(prompts.calls[0].buttons, Prompts::Buttons::Ok);
    QCOMPARE(pad.SelLength(), selLength);
}

void ClipboardCommandsTest::keyFilter_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("shift");
    QTest::addColumn<int>("content");
    QTest::addColumn<bool>("swallowed");
    QTest::addColumn<QStringList>("formatsAfter");   // empty: as before

    const QStringList asBefore;
    const QStringList plainOnly{QStringLiteral("text/plain")};
    QTest::newRow("Ctrl+V picture") << 86 << 2 << int(Picture) << true << asBefore;
    QTest::newRow("Ctrl+V formatted") << 86 << 2 << int(Formatted) << false << plainOnly;
    QTest::newRow("Ctrl+V plain") << 86 << 2 << int(Plain) << false << plainOnly;
    QTest::newRow("Ctrl+V HTML alone") << 86 << 2 << int(HtmlOnly) << false << asBefore;
    QTest::newRow("Ctrl+V empty") << 86 << 2 << int(Empty) << false << asBefore;
    QTest::newRow("Ctrl+Shift+V") << 86 << 3 << int(Formatted) << false << asBefore;
    QTest::newRow("Ctrl+Alt+V") << 86 << 6 << int(Formatted) << false << asBefore;
    QTest::newRow("Ctrl+Shift+V picture") << 86 << 3 << int(Picture) << false << asBefore;
    QTest::newRow("V alone") << 86 << 0 << int(Formatted) << false << asBefore;
    QTest::newRow("Ctrl+E") << 69 << 2 << int(Formatted) << true << asBefore;
    QTest::newRow("Ctrl+R") << 82 << 2 << int(Formatted) << true << asBefore;
    QTest::newRow("Ctrl+Shift+E") << 69 << 3 << int(Empty) << false << asBefore;
    QTest::newRow("Alt+R") << 82 << 4 << int(Empty) << false << asBefore;
    QTest::newRow("Ctrl+C") << 67 << 2 << int(Formatted) << false << asBefore;
    QTest::newRow("Ctrl+X") << 88 << 2 << int(Formatted) << false << asBefore;
    QTest::newRow("Ctrl+Z") << 90 << 2 << int(Formatted) << false << asBefore;
}

void ClipboardCommandsTest::keyFilter()
{
    QFETCH(int, key);
    QFETCH(int, shift);
    QFETCH(int, content);
    QFETCH(bool, swallowed);
    QFETCH(QStringList, formatsAfter);

    fill(Content(content));
    const QStringList before = formats();
    const QString textBefore = clipboard()->text();

    RichTextBox::KeyDownArgs args{key, shift};
    ClipboardCommands::filterEditorKey(args, clipboard());

    QCOMPARE(args.keyCode, swallowed ? 0 : key);
    QCOMPARE(args.shift, shift);
    QCOMPARE(formats(), formatsAfter.isEmpty() ? before : formatsAfter);
    QCOMPARE(clipboard()->text(), textBefore);
}

void ClipboardCommandsTest::keyFilterThroughEditor()
{
    RichTextBox pad;
    connect(&pad, &RichTextBox::KeyDown, &pad,
            [](RichTextBox::KeyDownArgs& args) { ClipboardCommands::filterEditorKey(args, clipboard()); });
    prepare(pad, QStringLiteral("[]"), 1);
    QSignalSpy changes(&pad.document(), &Document::contentsChanged);

    // A picture: the paste is swallowed, the document untouched.
    fill(Picture);
    QTest::keyClick(&pad, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(pad.Text(), QStringLiteral("[]"));
    QCOMPARE(changes.count(), 0);

    // Formatted text: pasted as its plain text, and only that stays behind.
    fill(Formatted);
    QTest::keyClick(&pad, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(pad.Text(), QStringLiteral("[bold text]"));
    QCOMPARE(formats(), QStringList{QStringLiteral("text/plain")});

    changes.clear();
    QTest::keyClick(&pad, Qt::Key_E, Qt::ControlModifier);
    QTest::keyClick(&pad, Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(pad.Text(), QStringLiteral("[bold text]"));
    QCOMPARE(changes.count(), 0);
}

QP_REGISTER_TEST(ClipboardCommandsTest)
#include "ClipboardCommandsTest.moc"
