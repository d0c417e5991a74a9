#include "TestRegistry.h"
#include "editing/TextTransforms.h"

#include <QTest>

class TextTransformsTest : public QObject {
    Q_OBJECT
private slots:
    void reversed_data();
    void reversed();
    void caseMapping_data();
    void caseMapping();
    void dateAndTime_data();
    void dateAndTime();
    void longTimeShowsNoTimeZoneInAnyLocale();
};

void TextTransformsTest::reversed_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << "" << "";
    QTest::newRow("letters") << "abc" << "cba";
    QTest::newRow("CR LF stays CR LF") << "a\r\nb" << "b\r\na";
    QTest::newRow("lone LF") << "ab\ncd" << "dc\nba";
    QTest::newRow("lone CR") << "ab\rcd" << "dc\rba";
    QTest::newRow("several lines") << "one\r\ntwo\r\n" << "\r\nowt\r\neno";
    QTest::newRow("blank line") << "a\r\n\r\nb" << "b\r\n\r\na";
    // LF CR is two line breaks; reversed one by one it would read as one CR LF.
    QTest::newRow("LF then CR stays two breaks") << "a\n\rb" << "b\n\ra";
    QTest::newRow("mixed run") << "x\r\n\ny" << "y\r\n\nx";
    QTest::newRow("surrogate pair") << QString::fromUtf8("a\U0001F600b") << QString::fromUtf8("b\U0001F600a");
    QTest::newRow("two emoji") << QString::fromUtf8("\U0001F600\U0001F389") << QString::fromUtf8("\U0001F389\U0001F600");
    QTest::newRow("combining mark stays on its letter") << QString::fromUtf8("ne\u0301o") << QString::fromUtf8("oe\u0301n");
    QTest::newRow("byte-order mark inside") << QStringLiteral("a\uFEFFb") << QStringLiteral("b\uFEFFa");
    QTest::newRow("NUL") << QStringLiteral("a") + QChar(0) + QStringLiteral("b")
                         << QStringLiteral("b") + QChar(0) + QStringLiteral("a");
    // Long selections go a piece of 64 KiB at a time; 21845 euro signs fill
    // the first piece exactly, so what follows straddles its end.
    const QString piece(21845, QChar(0x20AC));
    QTest::newRow("combining mark across a piece's end") << piece + QStringLiteral("e\u0301z")
                                                         << QStringLiteral("ze\u0301") + piece;
    QTest::newRow("CR LF across a piece's end") << piece + QStringLiteral("\r\nz") << QStringLiteral("z\r\n") + piece;
    QTest::newRow("surrogate pair across a piece's end") << piece + QStringLiteral("\U0001F600z")
                                                         << QStringLiteral("z\U0001F600") + piece;
    QTest::newRow("ASCII and marks over many pieces") << QStringLiteral("ab\r\ne\u0301").repeated(330000)
                                                      << QStringLiteral("e\u0301\r\nba").repeated(330000);
}

void TextTransformsTest::reversed()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QByteArray bytes = text.toUtf8();
    TextTransforms::reverseUtf8(bytes);
    QCOMPARE(QString::fromUtf8(bytes), expected);
    TextTransforms::reverseUtf8(bytes);
    QCOMPARE(QString::fromUtf8(bytes), text);
}

void TextTransformsTest::caseMapping_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("lower");

    QTest::newRow("ascii") << "Hello World" << "HELLO WORLD" << "hello world";
    QTest::newRow("markup and line break") << "<Div id=\"A1\">\r\n" << "<DIV ID=\"A1\">\r\n" << "<div id=\"a1\">\r\n";
    QTest::newRow("latin-1 letters") << QString::fromUtf8("Äpfel über") << QString::fromUtf8("ÄPFEL ÜBER")
                                     << QString::fromUtf8("äpfel über");
    QTest::newRow("sharp s grows") << QString::fromUtf8("straße") << "STRASSE" << QString::fromUtf8("straße");
    QTest::newRow("emoji untouched") << QString::fromUtf8("a\U0001F600") << QString::fromUtf8("A\U0001F600")
                                     << QString::fromUtf8("a\U0001F600");
    // Text beyond ASCII goes to the platform 64 bytes at a time.
    QTest::newRow("many growing letters") << QString(100, QChar(0xDF)) << QStringLiteral("SS").repeated(100)
                                          << QString(100, QChar(0xDF));
    QTest::newRow("piece end inside a character")
        << QStringLiteral("a") + QString(31, QChar(0xE9)) + QStringLiteral("\U0001F600\u0130")
        << QStringLiteral("A") + QString(31, QChar(0xC9)) + QStringLiteral("\U0001F600\u0130")
        << QStringLiteral("a") + QString(31, QChar(0xE9)) + QStringLiteral("\U0001F600i\u0307");
}

void TextTransformsTest::caseMapping()
{
    QFETCH(QString, text);
    QFETCH(QString, upper);
    QFETCH(QString, lower);
    QCOMPARE(QString::fromUtf8(TextTransforms::upperCaseUtf8(text.toUtf8())), upper);
    QCOMPARE(QString::fromUtf8(TextTransforms::lowerCaseUtf8(text.toUtf8())), lower);
}

void TextTransformsTest::dateAndTime_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("general");

    const QDate day(2024, 1, 2);
    const QDateTime afternoon(day, QTime(13, 5, 7));
    const QDateTime midnight(day, QTime(0, 0, 0));
    const QDateTime secondPast(day, QTime(0, 0, 1));
    const QDateTime morning(QDate(2023, 11, 30), QTime(9, 41, 0, 500));

    QTest::newRow("en_US afternoon") << "en_US" << afternoon << "1:05:07 PM" << "1/2/24" << "1/2/24 1:05:07 PM";
    QTest::newRow("en_US midnight") << "en_US" << midnight << "12:00:00 AM" << "1/2/24" << "1/2/24";
    QTest::newRow("en_US second past midnight") << "en_US" << secondPast << "12:00:01 AM" << "1/2/24"
                                                << "1/2/24 12:00:01 AM";
    QTest::newRow("en_US morning") << "en_US" << morning << "9:41:00 AM" << "11/30/23" << "11/30/23 9:41:00 AM";
    QTest::newRow("de_DE afternoon") << "de_DE" << afternoon << "13:05:07" << "02.01.24" << "02.01.24 13:05:07";
    QTest::newRow("de_DE midnight") << "de_DE" << midnight << "00:00:00" << "02.01.24" << "02.01.24";
    QTest::newRow("de_DE morning") << "de_DE" << morning << "09:41:00" << "30.11.23" << "30.11.23 09:41:00";
}

void TextTransformsTest::dateAndTime()
{
    QFETCH(QString, locale);
    QFETCH(QDateTime, moment);
    QFETCH(QString, time);
    QFETCH(QString, date);
    QFETCH(QString, general);

    const QLocale l(locale);
    QCOMPARE(TextTransforms::longTimeText(moment.time(), l), time);
    QCOMPARE(TextTransforms::shortDateText(moment.date(), l), date);
    QCOMPARE(TextTransforms::generalDateTimeText(moment, l), general);
}

void TextTransformsTest::longTimeShowsNoTimeZoneInAnyLocale()
{
    // Qt's long time formats end (or begin) with a zone field; the text the
    // editor inserts holds hours, minutes and seconds only.
    const QTime t(13, 5, 7);
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    QVERIFY(locales.size() > 100);
    for (const QLocale& l : locales) {
        const QString zone = l.toString(QDateTime(QDate(2024, 1, 2), t, Qt::UTC), QStringLiteral("t"));
        const QString text = TextTransforms::longTimeText(t, l);
        const QByteArray where = (l.name() + QStringLiteral(": ") + text).toUtf8();
        QVERIFY2(!zone.isEmpty(), where.constData());
        QVERIFY2(!text.contains(zone), where.constData());
        QVERIFY2(text == text.trimmed(), where.constData());
        // The seconds are still there.
        QVERIFY2(text.contains(l.toString(7)), where.constData());
    }
}

QP_REGISTER_TEST(TextTransformsTest)
#include "TextTransformsTest.moc"
