#include "TestRegistry.h"
#include "doctools/MergeDocuments.h"

#include <QTest>

using Texts = std::array<std::optional<QString>, 3>;
Q_DECLARE_METATYPE(Texts)

// The join, and the typed count as the text it puts between two files.
class MergeDocumentsTest : public QObject {
    Q_OBJECT
private slots:
    void join_data()
    {
        QTest::addColumn<Texts>("texts");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("joined");
        const QString a = QStringLiteral("a"), b = QStringLiteral("b"), c = QStringLiteral("c");
        QTest::newRow("-1 joins with nothing") << Texts{a, b, std::nullopt} << -1 << "ab";
        QTest::newRow("0: next line") << Texts{a, b, std::nullopt} << 0 << "a\r\nb";
        QTest::newRow("2: two empty lines") << Texts{a, b, std::nullopt} << 2 << "a\r\n\r\n\r\nb";
        QTest::newRow("-7: nothing") << Texts{a, b, c} << -7 << "abc";
        QTest::newRow("all three") << Texts{a, b, c} << 0 << "a\r\nb\r\nc";
        QTest::newRow("1 and 3: one separator") << Texts{a, std::nullopt, c} << 1 << "a\r\n\r\nc";
        QTest::newRow("only 2: no leading breaks") << Texts{std::nullopt, b, std::nullopt} << 3 << "b";
        QTest::newRow("only 3") << Texts{std::nullopt, std::nullopt, c} << 0 << "c";
        QTest::newRow("an empty file takes part") << Texts{a, QString(), c} << 0 << "a\r\n\r\nc";
        QTest::newRow("texts kept as they are") << Texts{QStringLiteral("x\n"), QStringLiteral("\ry"), std::nullopt}
                                                << 0 << "x\n\r\n\ry";
        QTest::newRow("no box") << Texts{} << 5 << "";
    }
    void join()
    {
        QFETCH(Texts, texts);
        QFETCH(int, lines);
        QFETCH(QString, joined);
        QCOMPARE(MergeDocuments::join(texts, lines), joined);
    }

    void typedCountBetweenTwoFiles_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("between");   // "refused" when the count is refused
        QTest::newRow("initial -1") << "-1" << "";
        QTest::newRow("2.5 is 2, halves to even") << "2.5" << "\r\n\r\n\r\n";
        QTest::newRow("3.5 is 4") << "3.5" << QStringLiteral("\r\n").repeated(5);
        QTest::newRow("-0.5 is 0") << "-0.5" << "\r\n";
        QTest::newRow("-7") << "-7" << "";
        QTest::newRow("-1e300") << "-1e300" << "";
        QTest::newRow("blanks around") << " 1 " << "\r\n\r\n";
        QTest::newRow("largest") << "9999" << QStringLiteral("\r\n").repeated(10000);
        QTest::newRow("rounds above the largest") << "9999.5" << "refused";
        QTest::newRow("1e9") << "1e9" << "refused";
        QTest::newRow("empty") << "" << "refused";
        QTest::newRow("abc") << "abc" << "refused";
        QTest::newRow("1e") << "1e" << "refused";
    }
    void typedCountBetweenTwoFiles()
    {
        QFETCH(QString, typed);
        QFETCH(QString, between);
        const std::optional<long long> lines = MergeDocuments::lineCount(typed);
        const QString joined = lines ? MergeDocuments::join({QStringLiteral("a"), QStringLiteral("b")}, *lines)
                                     : QStringLiteral("refused");
        QCOMPARE(joined, between == QLatin1String("refused") ? between : QLatin1Char('a') + between + QLatin1Char('b'));
    }
};

QP_REGISTER_TEST(MergeDocumentsTest)
#include "MergeDocumentsTest.moc"
