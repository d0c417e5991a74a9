#include "TestRegistry.h"
#include "text/CharacterIndex.h"
#include "text/StatusText.h"

#include <QTest>

namespace {

// A text of n blocks and a bit: ASCII, two- and three-byte characters and
// CR LF pairs, one of them across the first block boundary.
QByteArray longText()
{
    QByteArray text;
    while (text.size() < 3 * CharacterIndex::kBlock + 100)
        text += QString("caf\u00e9 \u20ac abc\r\n").toUtf8();
    text.replace(CharacterIndex::kBlock - 1, 2, "\r\n");
    return text;
}

}

// The characters before a position of a long text, from counts kept along
// it: the same as counting from the start, before and after edits, and an
// edit reads again only what lies after it.
class CharacterIndexTest : public QObject {
    Q_OBJECT

private slots:
    void countsAsFromTheStartAcrossEdits_data()
    {
        QTest::addColumn<qsizetype>("editAt");
        QTest::addColumn<QByteArray>("inserted");
        QTest::addColumn<qsizetype>("blocksKept");

        const qsizetype b = CharacterIndex::kBlock;
        QTest::newRow("no edit") << qsizetype(-1) << QByteArray() << qsizetype(3);
        QTest::newRow("typing at the end") << 3 * b + 90 << QByteArray("x\u00e9") << qsizetype(3);
        QTest::newRow("in the middle") << b + 10 << QByteArray("\r\n\u20ac") << qsizetype(1);
        QTest::newRow("just after a boundary") << b + 1 << QByteArray("\n") << qsizetype(1);
        QTest::newRow("on a boundary: its count read that byte") << b << QByteArray("\n") << qsizetype(0);
        QTest::newRow("at the start") << qsizetype(0) << QByteArray("a") << qsizetype(0);
    }
    void countsAsFromTheStartAcrossEdits()
    {
        QFETCH(qsizetype, editAt);
        QFETCH(QByteArray, inserted);
        QFETCH(qsizetype, blocksKept);

        QByteArray text = longText();
        CharacterIndex index([&text](qsizetype from, qsizetype to) {
            return QByteArrayView(text).sliced(from, std::min(to, text.size()) - from);
        });
        QCOMPARE(index.charactersBefore(text.size()), StatusText::characters(text));
        QCOMPARE(index.knownBlocks(), qsizetype(3));
        if (editAt >= 0) {
            text.insert(editAt, inserted);
            index.changedFrom(editAt);
        }
        QCOMPARE(index.knownBlocks(), blocksKept);
        for (qsizetype at : {qsizetype(0), CharacterIndex::kBlock - 1, CharacterIndex::kBlock + 1, text.size() / 2,
                             text.size() - 3, text.size()}) {
            if (at > 0 && at < text.size() && text[at - 1] == '\r' && text[at] == '\n')
                ++at;   // never between the two bytes of a line break, where no caret stands
            QCOMPARE(index.charactersBefore(at), StatusText::characters(QByteArrayView(text).first(at)));
        }
        QCOMPARE(index.characters(10, text.size() - 7), StatusText::characters(QByteArrayView(text).sliced(10, text.size() - 17)));
    }
};

QP_REGISTER_TEST(CharacterIndexTest)
#include "CharacterIndexTest.moc"
