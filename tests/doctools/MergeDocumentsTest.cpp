#include "TestRegistry.h"
#include "doctools/MergeDocuments.h"

#include <QTest>

using Texts = std::array<std::optional<QString>, 3>;
Q_DECLARE_METATYPE(Texts)

// The join of the files' texts: separators only between files that take part.
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
};

QP_REGISTER_TEST(MergeDocumentsTest)
#include "MergeDocumentsTest.moc"
