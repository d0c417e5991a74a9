#include "FakePacing.h"
#include "TestRegistry.h"
#include "find/FindReplace.h"
#include "editor/RichTextBox.h"

#include <QPoint>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

using FindReplace::Direction;

// Searching and replacing on a real editing control. Selections are
// QPoint(start, length) in UTF-16 code units.
class TestFindReplace : public QObject {
    Q_OBJECT

    static QPoint selection(const RichTextBox& pad) { return {pad.SelStart(), pad.SelLength()}; }

private slots:
    void findNext_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<bool>("right");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QList<QPoint>>("expected");   // one per press; the press after reports not found

        auto row = [](const char* name, const QString& text, QPoint start, bool right, const QString& what,
                      const QList<QPoint>& expected) {
            QTest::newRow(name) << text << start << right << what << expected;
        };
        row("case ignored", "a Hello hello", {0, 0}, true, "HELLO", {{2, 5}, {8, 5}});
        row("match at the start is passed once selected", "ab ab", {0, 0}, true, "ab", {{0, 2}, {3, 2}});
        row("match right at the caret", "abcabc", {3, 0}, true, "abc", {{3, 3}});
        row("overlapping, one character on", "aaaa", {0, 0}, true, "aa", {{0, 2}, {1, 2}, {2, 2}});
        row("partial match falls back", "aaab ababac", {0, 0}, true, "AAB", {{1, 3}});
        row("empty search text", "abc", {1, 1}, true, "", {});
        row("spans CR LF", "one\r\nthe\r\nthree", {0, 0}, true, "E\r\nT", {{2, 4}, {7, 4}});
        row("after surrogate pairs", QStringLiteral("😀x😀😀X"), {0, 0}, true, "x", {{2, 1}, {7, 1}});
        row("umlaut", QStringLiteral("Äpfel und äpfel"), {0, 0}, true, QStringLiteral("äPFEL"), {{0, 5}, {10, 5}});
        row("accent", QStringLiteral("école École"), {0, 0}, true, QStringLiteral("ÉCOLE"), {{0, 5}, {6, 5}});
        row("Cyrillic", QStringLiteral("Мир мир"), {0, 0}, true, QStringLiteral("мИр"), {{0, 3}, {4, 3}});
        // The Kelvin sign takes three bytes against k's one.
        row("partner of another byte length", QStringLiteral("x\u212A k"), {0, 0}, true, "K", {{1, 1}, {3, 1}});
        row("accents are not case", "resume", {0, 0}, true, QStringLiteral("résumé"), {});

        row("left from a selected match", "abcabc", {3, 3}, false, "abc", {{0, 3}});
        row("left from the start", "abc", {0, 0}, false, "a", {});
        row("left: only wholly before the caret", "abcabc", {5, 0}, false, "abc", {{0, 3}});
        row("left: partial match falls back", "baaa", {4, 0}, false, "BAA", {{0, 3}});
        row("left after surrogate pairs", QStringLiteral("😀ab😀ab"), {8, 0}, false, "AB", {{6, 2}, {2, 2}});
        row("left across CR LF", "one\r\nthe\r\nthree", {15, 0}, false, "e\r\nt", {{7, 4}, {2, 4}});
        row("left, umlaut", QStringLiteral("äÄ"), {2, 0}, false, QStringLiteral("ä"), {{1, 1}, {0, 1}});
    }

    void findNext()
    {
        QFETCH(QString, text);
        QFETCH(QPoint, start);
        QFETCH(bool, right);
        QFETCH(QString, what);
        QFETCH(QList<QPoint>, expected);
        const Direction direction = right ? Direction::Right : Direction::Left;

        RichTextBox pad;
        pad.SetText(text);
        pad.SetSelStart(start.x());
        pad.SetSelLength(start.y());
        QSignalSpy changes(&pad.document(), &Document::contentsChanged);
        for (const QPoint& next : expected) {
            QVERIFY(FindReplace::findNext(pad, what, direction));
            QCOMPARE(selection(pad), next);
        }
        const QPoint last = selection(pad);
        QVERIFY(!FindReplace::findNext(pad, what, direction));
        QCOMPARE(selection(pad), last);
        QCOMPARE(changes.count(), 0);
    }

    // Random small documents against a plain reference: both texts case
    // folded, then QString's own search.
    void agreesWithFoldedStringSearch()
    {
        const QStringList pieces{"a", "A", "b", QStringLiteral("é"), QStringLiteral("É"), QStringLiteral("😀"),
                                 "\r\n", QStringLiteral("\u212A"), "k"};
        QRandomGenerator random(20240607);
        auto randomText = [&](int atLeast, int atMost) {
            QString s;
            for (int n = random.bounded(atLeast, atMost + 1); n > 0; --n)
                s += pieces[random.bounded(int(pieces.size()))];
            return s;
        };
        RichTextBox pad;
        for (int round = 0; round < 1500; ++round) {
            const QString text = randomText(0, 14);
            const QString what = randomText(1, 3);
            int start = random.bounded(int(text.size()) + 1);
            if (start > 0 && text[start - 1].isHighSurrogate())
                --start;
            const int selected = start < text.size() && random.bounded(2) ? 1 + text[start].isHighSurrogate() : 0;
            const bool right = random.bounded(2);
            pad.SetText(text);
            pad.SetSelStart(start);
            pad.SetSelLength(selected);

            const QString folded = text.toCaseFolded();
            const qsizetype expected = right ? folded.indexOf(what.toCaseFolded(), start + (selected ? 1 : 0))
                                             : folded.left(start).lastIndexOf(what.toCaseFolded());
            const bool found = FindReplace::findNext(pad, what, right ? Direction::Right : Direction::Left);
            const QPoint want = expected >= 0 ? QPoint(int(expected), int(what.size())) : QPoint(start, selected);
            QVERIFY2(found == (expected >= 0) && selection(pad) == want,
                     qPrintable(QStringLiteral("%1 in %2 from %3+%4").arg(what, text).arg(start).arg(selected)));
        }
    }

    void replaceAll_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("expected");
        QTest::newRow("case respected") << "Aa aa" << "a" << "b" << "Ab bb";
        QTest::newRow("no rescan") << "aaaa" << "aa" << "a" << "aa";
        QTest::newRow("left to right, no overlap") << "aaa" << "aa" << "x" << "xa";
        QTest::newRow("replacement holds the search text") << "abab" << "ab" << "abab" << "abababab";
        QTest::newRow("deletion") << "a-b--c-" << "-" << "" << "abc";
        QTest::newRow("not found") << "abc" << "x" << "y" << "abc";
        QTest::newRow("empty search text") << "abc" << "" << "y" << "abc";
        QTest::newRow("empty document") << "" << "a" << "b" << "";
        QTest::newRow("empty document, empty fields") << "" << "" << "" << "";
        QTest::newRow("line breaks") << "a\r\nb\r\n" << "\r\n" << "<br>\r\n" << "a<br>\r\nb<br>\r\n";
        QTest::newRow("non-ASCII") << QStringLiteral("Äpfel äpfel 😀") << QStringLiteral("ä") << QStringLiteral("😀")
                                   << QStringLiteral("Äpfel 😀pfel 😀");
    }

    // Always one assignment of the whole text: one change, caret at the start.
    void replaceAll()
    {
        QFETCH(QString, text);
        QFETCH(QString, find);
        QFETCH(QString, replacement);
        QFETCH(QString, expected);
        RichTextBox pad;
        pad.SetText(text);
        pad.SetSelStart(2);
        pad.SetSelLength(1);
        QSignalSpy changes(&pad.document(), &Document::contentsChanged);
        FindReplace::replaceAll(pad, find, replacement);
        QCOMPARE(pad.Text(), expected);
        QCOMPARE(selection(pad), QPoint(0, 0));
        QCOMPARE(changes.count(), 1);
    }

    // A long Replace All goes in piece by piece, showing its progress: an
    // occurrence across two pieces is replaced whole, once.
    void longReplaceAllShowsProgress()
    {
        RichTextBox pad;
        pad.show();
        const QString x((1 << 20) - 1, QLatin1Char('x'));
        pad.SetText(x + "abab" + x + "ab");
        QSignalSpy changes(&pad.document(), &Document::contentsChanged);
        FakePacing pacing;
        pacing.cancelAfter = 1;
        FindReplace::replaceAll(pad, QStringLiteral("ab"), QStringLiteral("-"));
        QVERIFY(!pacing.shown.isEmpty());   // and closing its window did not stop it
        QVERIFY(pad.Text() == x + "--" + x + "-");
        QCOMPARE(changes.count(), 1);
        QCOMPARE(selection(pad), QPoint(0, 0));
        pad.Undo();
        QVERIFY(pad.Text() == x + "abab" + x + "ab");
    }
};

QP_REGISTER_TEST(TestFindReplace)
#include "tst_FindReplace.moc"
