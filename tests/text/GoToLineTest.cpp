#include "TestRegistry.h"
#include "text/GoToLine.h"

#include <QTest>

// What the go-to-line box makes of what the user typed.
class GoToLineTest : public QObject {
    Q_OBJECT

private slots:
    void readsTheTypedText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("lineCount");
        // "line,column" counted from 0, or the sentence that says what is wrong.
        QTest::addColumn<QString>("outcome");

        const QString howTo = "Type a line number, such as 12, or a line and a column, such as 12:5.";
        QTest::newRow("line") << "12" << 42 << "11,0";
        QTest::newRow("last line") << "42" << 42 << "41,0";
        QTest::newRow("leading zeros") << "007" << 42 << "6,0";
        QTest::newRow("line and column") << "12:5" << 42 << "11,4";
        QTest::newRow("blanks around both") << " \t12 :\t5 " << 42 << "11,4";
        QTest::newRow("column at the line's end") << "3:11" << 42 << "2,10";
        QTest::newRow("column past the line's end") << "3:80" << 42 << "2,10";
        QTest::newRow("column on an empty line") << "4:9" << 42 << "3,0";
        QTest::newRow("colon without a column") << "12:" << 42 << "11,0";
        QTest::newRow("huge column") << "12:99999999999999999999" << 42 << "11,10";
        QTest::newRow("nothing") << "" << 42 << howTo;
        QTest::newRow("words") << "twelve" << 42 << "\"twelve\" is not a line number. " + howTo;
        QTest::newRow("negative") << "-3" << 42 << "\"-3\" is not a line number. " + howTo;
        QTest::newRow("digits of another script") << "١٢" << 42 << "\"١٢\" is not a line number. " + howTo;
        QTest::newRow("column alone") << ":5" << 42 << "\":5\" is not a line number. " + howTo;
        QTest::newRow("bad column") << "12:x" << 42 << "\"x\" is not a column number. " + howTo;
        QTest::newRow("two colons") << "12:5:6" << 42 << "\"5:6\" is not a column number. " + howTo;
        QTest::newRow("line 0") << "0" << 42 << "There is no line 0: lines are counted from 1.";
        QTest::newRow("column 0") << "12:0" << 42 << "There is no column 0: columns are counted from 1.";
        QTest::newRow("past the end") << "90" << 42 << "Line 90 is past the end: the document has 42 lines.";
        QTest::newRow("past the end of one line") << "2" << 1 << "Line 2 is past the end: the document has 1 line.";
        QTest::newRow("past the end, huge")
            << "0099999999999999999999" << 42
            << "Line 99999999999999999999 is past the end: the document has 42 lines.";
        QTest::newRow("past the end, with a column")
            << "43:1" << 42 << "Line 43 is past the end: the document has 42 lines.";
    }
    void readsTheTypedText()
    {
        QFETCH(QString, typed);
        QFETCH(int, lineCount);
        QFETCH(QString, outcome);

        // Line 4 (3 counted from 0) is empty, every other line ten characters long.
        const auto length = [](int line) { return line == 3 ? 0 : 10; };
        const Result<GoToLine::Target> target = GoToLine::parse(typed, lineCount, length);
        const QString got = target ? QStringLiteral("%1,%2").arg(target->line).arg(target->column) : target.error();
        QCOMPARE(got, outcome);
    }
};

QP_REGISTER_TEST(GoToLineTest)
#include "GoToLineTest.moc"
