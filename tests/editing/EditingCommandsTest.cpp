#include "FakePacing.h"
#include "PadText.h"
#include "TestRegistry.h"
#include "editing/EditingCommands.h"
#include "editing/TextTransforms.h"
#include "editor/RichTextBox.h"

#include <QSignalSpy>
#include <QTest>

#include <functional>

namespace {

using Command = std::function<void(RichTextBox&)>;

Command transformNamed(const QString& name)
{
    if (name == QLatin1String("upper"))
        return EditingCommands::upperCase;
    if (name == QLatin1String("lower"))
        return EditingCommands::lowerCase;
    return EditingCommands::reverse;
}


const QDateTime kAfternoon(QDate(2024, 1, 2), QTime(13, 5, 7));
const QDateTime kMidnight(QDate(2024, 1, 2), QTime(0, 0, 0));

}

class EditingCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void transformReplacesSelection_data();
    void transformReplacesSelection();
    void transformWithNothingSelected_data();
    void transformWithNothingSelected();
    void transformIsOneUndoStep();
    void longTransformShowsProgress_data();
    void longTransformShowsProgress();
    void insertDateTime_data();
    void insertDateTime();
    void startAndEnd_data();
    void startAndEnd();
    void zoom();
    void zoomKeepsRefusedSize();
};

void EditingCommandsTest::transformReplacesSelection_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("caret");

    QTest::newRow("upper") << "upper" << "Hello World" << 0 << 11 << "HELLO WORLD" << 11;
    QTest::newRow("upper part") << "upper" << "say hello!" << 4 << 5 << "say HELLO!" << 9;
    QTest::newRow("upper grows") << "upper" << QString::fromUtf8("[ß]") << 1 << 1 << "[SS]" << 3;
    QTest::newRow("lower") << "lower" << "<P>TEXT</P>" << 0 << 11 << "<p>text</p>" << 11;
    QTest::newRow("reverse") << "reverse" << "xabcx" << 1 << 3 << "xcbax" << 4;
    QTest::newRow("reverse over CR LF") << "reverse" << "a\r\nb" << 0 << 4 << "b\r\na" << 4;
    QTest::newRow("reverse emoji") << "reverse" << QString::fromUtf8("\U0001F600-\U0001F389") << 0 << 5
                                   << QString::fromUtf8("\U0001F389-\U0001F600") << 5;
}

void EditingCommandsTest::transformReplacesSelection()
{
    QFETCH(QString, command);
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, expected);
    QFETCH(int, caret);

    RichTextBox pad;
    prepare(pad, text, selStart, selLength);
    QSignalSpy changes(&pad.document(), &Document::contentsChanged);
    transformNamed(command)(pad);

    QCOMPARE(pad.Text(), expected);
    QCOMPARE(pad.SelStart(), caret);
    QCOMPARE(pad.SelLength(), 0);
    QCOMPARE(changes.count(), 1);
}

void EditingCommandsTest::transformWithNothingSelected_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("upper") << "upper";
    QTest::newRow("lower") << "lower";
    QTest::newRow("reverse") << "reverse";
}

void EditingCommandsTest::transformWithNothingSelected()
{
    QFETCH(QString, command);
    for (const QString& text : {QStringLiteral(""), QStringLiteral("Ab\r\ncD")}) {
        RichTextBox pad;
        prepare(pad, text, int(text.size() / 2));
        QSignalSpy changes(&pad.document(), &Document::contentsChanged);
        transformNamed(command)(pad);
        QCOMPARE(pad.Text(), text);
        QCOMPARE(pad.SelStart(), int(text.size() / 2));
        QCOMPARE(changes.count(), 0);
    }
}

void EditingCommandsTest::transformIsOneUndoStep()
{
    RichTextBox pad;
    prepare(pad, QStringLiteral("abc def"), 0, 3);
    EditingCommands::reverse(pad);
    QCOMPARE(pad.Text(), QStringLiteral("cba def"));
    pad.Undo();
    QCOMPARE(pad.Text(), QStringLiteral("abc def"));
}

// A selection of several pieces, characters of up to four bytes cut at
// every place: the text goes in piece by piece, as the transform of the
// whole would have it, as one step; a reverse can be cancelled while the new
// text is made, leaving everything as it was.
void EditingCommandsTest::longTransformShowsProgress_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("cancelAfter");
    QTest::newRow("upper") << "upper" << -1;
    QTest::newRow("lower") << "lower" << -1;
    QTest::newRow("reverse") << "reverse" << -1;
    QTest::newRow("reverse cancelled") << "reverse" << 1;
}

void EditingCommandsTest::longTransformShowsProgress()
{
    QFETCH(QString, command);
    QFETCH(int, cancelAfter);
    QByteArray text = "<p>";
    for (int i = 0; text.size() < (5 << 19); ++i)
        text += QByteArray(i % 7, 'x') + "Stra\xC3\x9F" "e caf\xC3\xA9 ne\xCC\x81" "e \xF0\x9F\x98\x80 \xE2\x82\xAC\r\n";
    QByteArray expected = command == QLatin1String("upper")   ? TextTransforms::upperCaseUtf8(text.sliced(3))
                          : command == QLatin1String("lower") ? TextTransforms::lowerCaseUtf8(text.sliced(3))
                                                               : text.sliced(3);
    if (command == QLatin1String("reverse"))
        TextTransforms::reverseUtf8(expected);
    RichTextBox pad;
    pad.show();
    pad.SetTextUtf8(text);
    pad.selectBytes(3, text.size());
    QSignalSpy changes(&pad.document(), &Document::contentsChanged);
    FakePacing pacing;
    pacing.cancelAfter = cancelAfter;
    transformNamed(command)(pad);
    QVERIFY(!pacing.shown.isEmpty());
    QCOMPARE(changes.count(), cancelAfter < 0 ? 1 : 0);
    if (cancelAfter > 0) {
        QVERIFY(pad.document().utf8() == text);
        return;
    }
    QVERIFY(pad.document().utf8() == "<p>" + expected);
    QCOMPARE(pad.selectionBytes().start, long(3 + expected.size()));
    pad.Undo();
    QVERIFY(pad.document().utf8() == text);
}

void EditingCommandsTest::insertDateTime_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("inserted");

    QTest::newRow("time only") << "time" << "en_US" << kAfternoon << "1:05:07 PM";
    QTest::newRow("date only") << "date" << "de_DE" << kAfternoon << "02.01.24";
    QTest::newRow("time and date") << "both" << "en_US" << kAfternoon << "1/2/24 1:05:07 PM";
    QTest::newRow("time and date at midnight") << "both" << "de_DE" << kMidnight << "02.01.24";
}

void EditingCommandsTest::insertDateTime()
{
    QFETCH(QString, command);
    QFETCH(QString, locale);
    QFETCH(QDateTime, now);
    QFETCH(QString, inserted);

    // A selection is replaced, as by any insertion.
    RichTextBox pad;
    prepare(pad, QStringLiteral("[old]"), 1, 3);
    const QLocale l(locale);
    if (command == QLatin1String("time"))
        EditingCommands::insertTimeOnly(pad, now, l);
    else if (command == QLatin1String("date"))
        EditingCommands::insertDateOnly(pad, now, l);
    else
        EditingCommands::insertTimeAndDate(pad, now, l);

    QCOMPARE(pad.Text(), "[" + inserted + "]");
    QCOMPARE(pad.SelStart(), 1 + inserted.size());
    QCOMPARE(pad.SelLength(), 0);
}

void EditingCommandsTest::startAndEnd_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<int>("end");

    QTest::newRow("empty") << "" << 0 << 0 << 0;
    QTest::newRow("selection in the middle") << "one\r\ntwo" << 2 << 4 << 8;
    QTest::newRow("ends with line break") << "x\r\n" << 1 << 0 << 3;
    QTest::newRow("emoji counts two") << QString::fromUtf8("a\U0001F600") << 0 << 1 << 3;
}

void EditingCommandsTest::startAndEnd()
{
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(int, end);

    RichTextBox pad;
    prepare(pad, text, selStart, selLength);
    QSignalSpy changes(&pad.document(), &Document::contentsChanged);
    EditingCommands::goToEnd(pad);
    QCOMPARE(pad.SelStart(), end);
    QCOMPARE(pad.SelLength(), 0);

    prepare(pad, text, selStart, selLength);
    changes.clear();
    EditingCommands::goToStart(pad);
    QCOMPARE(pad.SelStart(), 0);
    QCOMPARE(pad.SelLength(), 0);
    QCOMPARE(pad.Text(), text);
    QCOMPARE(changes.count(), 0);
}

void EditingCommandsTest::zoom()
{
    RichTextBox pad;
    QVERIFY(pad.SetFontSize(9));
    for (int i = 0; i < 3; ++i)
        EditingCommands::zoomIn(pad);
    QCOMPARE(pad.FontSize(), 15.0);

    QVERIFY(pad.SetFontSize(9));
    for (int i = 0; i < 4; ++i)
        EditingCommands::zoomOut(pad);
    QCOMPARE(pad.FontSize(), 1.0);
    EditingCommands::zoomOut(pad);   // -1 points: refused
    QCOMPARE(pad.FontSize(), 1.0);
    EditingCommands::zoomIn(pad);
    QCOMPARE(pad.FontSize(), 3.0);

    // Fractional sizes step exactly, without rounding of their own.
    QVERIFY(pad.SetFontSize(9.75));
    EditingCommands::zoomIn(pad);
    QCOMPARE(pad.FontSize(), 11.75);
    EditingCommands::zoomOut(pad);
    EditingCommands::zoomOut(pad);
    QCOMPARE(pad.FontSize(), 7.75);
}

void EditingCommandsTest::zoomKeepsRefusedSize()
{
    // Find the largest size the editor takes, then step past it.
    RichTextBox pad;
    double largest = 2;
    while (pad.SetFontSize(largest * 2))
        largest *= 2;
    for (double step = largest / 2; step >= 1; step /= 2)
        if (pad.SetFontSize(largest + step))
            largest += step;
    QVERIFY(pad.SetFontSize(largest - 1));
    EditingCommands::zoomIn(pad);   // one past the largest: refused
    QCOMPARE(pad.FontSize(), largest - 1);
    EditingCommands::zoomOut(pad);
    QCOMPARE(pad.FontSize(), largest - 3);
}

QP_REGISTER_TEST(EditingCommandsTest)
#include "EditingCommandsTest.moc"
