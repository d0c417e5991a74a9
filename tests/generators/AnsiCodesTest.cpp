#include "TestRegistry.h"
#include "generators/AnsiCodes.h"
#include "files/TextFile.h"

#include <QTest>
#include <optional>

using Lookup = std::optional<QString>;
Q_DECLARE_METATYPE(Lookup)

class AnsiCodesTest : public QObject {
    Q_OBJECT
private slots:
    void characterFor_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Lookup>("character");
        const Lookup none;
        QTest::newRow("65") << "65" << Lookup("A");
        QTest::newRow("34, a double quote") << "34" << Lookup("\"");
        QTest::newRow("128, the euro sign") << "128" << Lookup(QStringLiteral("€"));
        QTest::newRow("0 empties the box") << "0" << Lookup(QString());
        QTest::newRow("blanks around") << " 65 " << Lookup("A");
        QTest::newRow("a plus sign") << "+65" << Lookup("A");
        QTest::newRow("an exponent") << "1e2" << Lookup("d");
        QTest::newRow("6.5 rounds to even") << "6.5" << Lookup(QString(QChar(6)));
        QTest::newRow("65.5 rounds to even") << "65.5" << Lookup("B");
        QTest::newRow("-0.4 rounds to 0") << "-0.4" << Lookup(QString());
        QTest::newRow("255.5 rounds to 256") << "255.5" << none;
        QTest::newRow("empty") << "" << none;
        QTest::newRow("blanks only") << "   " << none;
        QTest::newRow("letters") << "abc" << none;
        QTest::newRow("-1") << "-1" << none;
        QTest::newRow("256") << "256" << none;
        QTest::newRow("huge") << "1e300" << none;
        QTest::newRow("non-Latin digits") << QStringLiteral("٦٥") << none;
        QTest::newRow("emoji") << QStringLiteral("🙂") << none;
    }

    void characterFor()
    {
        QFETCH(QString, typed);
        QFETCH(Lookup, character);
        QCOMPARE(AnsiCodes::characterFor(typed), character);
    }

    void codeFor_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Lookup>("code");
        const Lookup none;
        QTest::newRow("A") << "A" << Lookup("65");
        QTest::newRow("a double quote") << "\"" << Lookup("34");
        QTest::newRow("blank") << " " << Lookup("32");
        QTest::newRow("euro sign") << QStringLiteral("€") << Lookup("128");
        QTest::newRow("capital Y with diaeresis") << QStringLiteral("Ÿ") << Lookup("159");
        QTest::newRow("only the first counts") << "AB" << Lookup("65");
        QTest::newRow("empty keeps the result") << "" << none;
        QTest::newRow("CJK, not in the code page") << QStringLiteral("中") << none;
        QTest::newRow("emoji, two UTF-16 units") << QStringLiteral("🙂") << none;
        QTest::newRow("emoji then a letter") << QStringLiteral("🙂A") << none;
        QTest::newRow("half an emoji") << QString(QChar(0xD83D)) << none;
        // A letter typed as a base and a combining mark is the letter it shows.
        QTest::newRow("e and a combining acute") << QStringLiteral("e\u0301") << Lookup("233");
        QTest::newRow("A and a combining ring") << QStringLiteral("A\u030A") << Lookup("197");
        QTest::newRow("a mark with no composed letter") << QStringLiteral("q\u0303") << none;
        QTest::newRow("composed, then one mark too many") << QStringLiteral("e\u0301\u0301") << none;
    }

    void codeFor()
    {
        QFETCH(QString, typed);
        QFETCH(Lookup, code);
        QCOMPARE(AnsiCodes::codeFor(typed), code);
    }

    // The converter and the file reader speak one code page: every byte a
    // Windows-1252 file holds reads as the character the converter names for
    // its code, the five bytes the code page leaves open included, and that
    // character's code is the byte again.
    void agreesWithTheFileReader()
    {
        QByteArray bytes;
        for (int b = 1; b < 256; ++b)
            bytes.append(char(b));
        QByteArray utf8;
        const TextFormat format = TextFile::decode(bytes, [&utf8](const char* p, qsizetype n) { utf8.append(p, n); });
        QCOMPARE(format.encoding, Encoding::Cp1252);
        const QString read = QString::fromUtf8(utf8);
        QCOMPARE(read.size(), 255);
        for (int b = 1; b < 256; ++b) {
            const Lookup character = AnsiCodes::characterFor(QString::number(b));
            QVERIFY2(character && *character == read.at(b - 1), qPrintable(QString::number(b)));
            QCOMPARE(AnsiCodes::codeFor(*character), Lookup(QString::number(b)));
        }
        for (const int open : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
            QCOMPARE(AnsiCodes::characterFor(QString::number(open)), Lookup(QString(QChar(open))));
    }
};

QP_REGISTER_TEST(AnsiCodesTest)
#include "AnsiCodesTest.moc"
