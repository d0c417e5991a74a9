#include "TestRegistry.h"
#include "find/FindReplace.h"
#include "platform/RichTextBox.h"

#include <QPoint>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

using FindReplace::Direction;

// Searching and replacing on a real editing control. Selections are written
// as QPoint(start, length), in UTF-16 code units.
class TestFindReplace : public QObject {
    Q_OBJECT

private:
    static void select(RichTextBox& pad, QPoint selection)
    {
        pad.SetSelStart(selection.x());
        pad.SetSelLength(selection.y());
    }
    static QPoint selection(const RichTextBox& pad) { return {pad.SelStart(), pad.SelLength()}; }

    // Presses Find Next until it fails; each press must select the next
    // expected occurrence, and the failing one must leave the selection.
    static void run(const QString& text, QPoint start, const QString& what, Direction direction,
                    const QList<QPoint>& expected)
    {
        RichTextBox pad;
        pad.SetText(text);
        select(pad, start);
        QSignalSpy changes(&pad, &RichTextBox::Change);
        for (const QPoint& next : expected) {
            QVERIFY2(FindReplace::findNext(pad, what, direction),
                     qPrintable(QStringLiteral("expected a match at %1").arg(next.x())));
            QCOMPARE(selection(pad), next);
        }
        const QPoint before = selection(pad);
        QVERIFY(!FindReplace::findNext(pad, what, direction));
        QCOMPARE(selection(pad), before);
        QCOMPARE(pad.Text(), text);
        QCOMPARE(changes.count(), 0);
    }

private slots:
    void findTowardEnd_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QList<QPoint>>("expected");

        QTest::newRow("case ignored, steps on, then not found")
            << "a Hello hello" << QPoint(0, 0) << "HELLO" << QList<QPoint>{{2, 5}, {8, 5}};
        // A match at the very start is passed once it is selected.
        QTest::newRow("match at the start")
            << "ab ab" << QPoint(0, 0) << "ab" << QList<QPoint>{{0, 2}, {3, 2}};
        QTest::newRow("match right at the caret")
            << "abcabc" << QPoint(3, 0) << "abc" << QList<QPoint>{{3, 3}};
        QTest::newRow("overlapping occurrences, one character on")
            << "aaaa" << QPoint(0, 0) << "aa" << QList<QPoint>{{0, 2}, {1, 2}, {2, 2}};
        QTest::newRow("selection not a match: from its second character")
            << "xabab" << QPoint(1, 3) << "ab" << QList<QPoint>{{3, 2}};
        QTest::newRow("partial match falls back")
            << "aaab ababac" << QPoint(0, 0) << "AAB" << QList<QPoint>{{1, 3}};
        QTest::newRow("partial match falls back into a match")
            << "ababac" << QPoint(0, 0) << "abac" << QList<QPoint>{{2, 4}};
        QTest::newRow("caret at the end") << "abc" << QPoint(3, 0) << "c" << QList<QPoint>{};
        QTest::newRow("absent") << "abc" << QPoint(0, 0) << "abd" << QList<QPoint>{};
        QTest::newRow("empty document") << "" << QPoint(0, 0) << "a" << QList<QPoint>{};
        QTest::newRow("empty search text") << "abc" << QPoint(1, 1) << "" << QList<QPoint>{};
        QTest::newRow("match spans CR LF")
            << "one\r\nthe\r\nthree" << QPoint(0, 0) << "E\r\nT" << QList<QPoint>{{2, 4}, {7, 4}};
        QTest::newRow("caret on a CR LF line")
            << "ab\r\nab\r\nab" << QPoint(4, 0) << "AB" << QList<QPoint>{{4, 2}, {8, 2}};
        QTest::newRow("positions after surrogate pairs")
            << QStringLiteral("😀x😀😀X") << QPoint(0, 0) << "x" << QList<QPoint>{{2, 1}, {7, 1}};
        QTest::newRow("search text with a surrogate pair")
            << QStringLiteral("a😀b a😀B") << QPoint(1, 0) << QStringLiteral("😀b")
            << QList<QPoint>{{1, 3}, {6, 3}};
        QTest::newRow("umlaut, both cases")
            << QStringLiteral("Äpfel und äpfel") << QPoint(0, 0) << QStringLiteral("äPFEL")
            << QList<QPoint>{{0, 5}, {10, 5}};
        QTest::newRow("accented capital")
            << QStringLiteral("école École") << QPoint(0, 0) << QStringLiteral("ÉCOLE")
            << QList<QPoint>{{0, 5}, {6, 5}};
        QTest::newRow("Cyrillic and Greek")
            << QStringLiteral("Мир мир ΩΜΕΓΑ ωμεγα") << QPoint(0, 0) << QStringLiteral("мИр")
            << QList<QPoint>{{0, 3}, {4, 3}};
        QTest::newRow("Greek")
            << QStringLiteral("ΩΜΕΓΑ ωμεγα") << QPoint(0, 0) << QStringLiteral("ωμεγα")
            << QList<QPoint>{{0, 5}, {6, 5}};
        // The Kelvin sign is one UTF-16 unit but three bytes against k's one.
        QTest::newRow("case partner of another byte length")
            << QStringLiteral("x\u212A k") << QPoint(0, 0) << "K" << QList<QPoint>{{1, 1}, {3, 1}};
        QTest::newRow("nothing else ignored")
            << QStringLiteral("resume") << QPoint(0, 0) << QStringLiteral("résumé") << QList<QPoint>{};
    }

    void findTowardEnd()
    {
        QFETCH(QString, text);
        QFETCH(QPoint, start);
        QFETCH(QString, what);
        QFETCH(QList<QPoint>, expected);
        run(text, start, what, Direction::Right, expected);
    }

    void findTowardStart_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QList<QPoint>>("expected");

        QTest::newRow("from a selected occurrence")
            << "abcabc" << QPoint(3, 3) << "abc" << QList<QPoint>{{0, 3}};
        QTest::newRow("from the end, case ignored")
            << "abcabc" << QPoint(6, 0) << "ABC" << QList<QPoint>{{3, 3}, {0, 3}};
        QTest::newRow("caret at the start") << "abc" << QPoint(0, 0) << "a" << QList<QPoint>{};
        QTest::newRow("selection at the start") << "abc" << QPoint(0, 2) << "a" << QList<QPoint>{};
        // Only occurrences wholly before the caret count.
        QTest::newRow("occurrence across the caret")
            << "abcabc" << QPoint(5, 0) << "abc" << QList<QPoint>{{0, 3}};
        QTest::newRow("ends exactly at the caret")
            << "xxabc" << QPoint(5, 0) << "abc" << QList<QPoint>{{2, 3}};
        QTest::newRow("overlapping occurrences")
            << "aaaa" << QPoint(4, 0) << "aa" << QList<QPoint>{{2, 2}, {0, 2}};
        QTest::newRow("positions after surrogate pairs")
            << QStringLiteral("😀ab😀ab") << QPoint(8, 0) << "AB" << QList<QPoint>{{6, 2}, {2, 2}};
        QTest::newRow("match spans CR LF")
            << "one\r\nthe\r\nthree" << QPoint(15, 0) << "e\r\nt" << QList<QPoint>{{7, 4}, {2, 4}};
        QTest::newRow("partial match falls back")
            << "baaa" << QPoint(4, 0) << "BAA" << QList<QPoint>{{0, 3}};
        QTest::newRow("umlaut")
            << QStringLiteral("äÄ") << QPoint(2, 0) << QStringLiteral("ä") << QList<QPoint>{{1, 1}, {0, 1}};
    }

    void findTowardStart()
    {
        QFETCH(QString, text);
        QFETCH(QPoint, start);
        QFETCH(QString, what);
        QFETCH(QList<QPoint>, expected);
        run(text, start, what, Direction::Left, expected);
    }

    // Many small documents against a plain reference: fold both texts and
    // look for the search text with QString's own search.
    void agreesWithFoldedStringSearch()
    {
        const QStringList alphabet{QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("b"),
                                   QStringLiteral("é"), QStringLiteral("É"), QStringLiteral("😀"),
                                   QStringLiteral("\r\n"), QStringLiteral("\u212A"), QStringLiteral("k")};
        QRandomGenerator random(20240607);
        auto randomText = [&](int maxPieces) {
            QString s;
            for (int n = random.bounded(maxPieces + 1); n > 0; --n)
                s += alphabet[random.bounded(int(alphabet.size()))];
            return s;
        };
        RichTextBox pad;
        for (int round = 0; round < 1500; ++round) {
            const QString text = randomText(14);
            QString what = randomText(3);
            if (what.isEmpty())
                what = alphabet[0];
            const QString foldedText = text.toCaseFolded();
            const QString foldedWhat = what.toCaseFolded();
            pad.SetText(text);
            // A start on a character boundary, with or without a selection.
            int start = random.bounded(int(text.size()) + 1);
            if (start > 0 && text[start - 1].isHighSurrogate())
                --start;
            const int selected = start < text.size() && random.bounded(2) ? 1 + text[start].isHighSurrogate() : 0;
            const bool right = random.bounded(2);
            pad.SetSelStart(start);
            pad.SetSelLength(selected);

            qsizetype expected = -1;
            if (right) {
                expected = foldedText.indexOf(foldedWhat, start + (selected ? 1 : 0));
            } else if (start > 0) {
                expected = foldedText.left(start).lastIndexOf(foldedWhat);
            }
            const QString context = QStringLiteral("round %1: %2 in %3 from %4+%5")
                                        .arg(round).arg(what, text).arg(start).arg(selected);
            QCOMPARE_EQ(FindReplace::findNext(pad, what, right ? Direction::Right : Direction::Left), expected >= 0);
            if (expected >= 0) {
                QVERIFY2(pad.SelStart() == expected, qPrintable(context));
                QVERIFY2(pad.SelLength() == what.size(), qPrintable(context));
            } else {
                QVERIFY2(pad.SelStart() == start && pad.SelLength() == selected, qPrintable(context));
            }
        }
    }

    // A selection made from right to left starts at its left end all the same.
    void backwardSelectionStartsAtItsLeftEnd()
    {
        RichTextBox pad;
        pad.SetText(QStringLiteral("ab ab ab"));
        pad.SendScintilla(QsciScintillaBase::SCI_SETSEL, 5UL, 3L);  // caret at 3, anchor at 5
        QVERIFY(FindReplace::findNext(pad, QStringLiteral("ab"), Direction::Right));
        QCOMPARE(selection(pad), QPoint(6, 2));
    }

    void replaceAll_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("expected");

        QTest::newRow("case respected") << "Aa aa" << "a" << "b" << "Ab bb";
        QTest::newRow("no rescan of the result") << "aaaa" << "aa" << "a" << "aa";
        QTest::newRow("left to right, no overlap") << "aaa" << "aa" << "x" << "xa";
        QTest::newRow("replacement contains the search text") << "abab" << "ab" << "abab" << "abababab";
        QTest::newRow("deletion") << "a-b--c-" << "-" << "" << "abc";
        QTest::newRow("whole text") << "abc" << "abc" << "" << "";
        QTest::newRow("not found") << "abc" << "x" << "y" << "abc";
        QTest::newRow("empty search text") << "abc" << "" << "y" << "abc";
        QTest::newRow("empty document") << "" << "a" << "b" << "";
        QTest::newRow("line breaks") << "a\r\nb\r\n" << "\r\n" << "<br>\r\n" << "a<br>\r\nb<br>\r\n";
        QTest::newRow("non-ASCII, case respected")
            << QStringLiteral("Äpfel äpfel") << QStringLiteral("ä") << "ae" << QStringLiteral("Äpfel aepfel");
        QTest::newRow("surrogate pairs")
            << QStringLiteral("😀x😀😁") << QStringLiteral("😀") << QStringLiteral("é") << QStringLiteral("éxé😁");
    }

    // Replace All always assigns the whole text: the caret goes to the start
    // and the document sees exactly one change, replaced or not.
    void replaceAll()
    {
        QFETCH(QString, text);
        QFETCH(QString, find);
        QFETCH(QString, replacement);
        QFETCH(QString, expected);

        RichTextBox pad;
        pad.SetText(text);
        pad.SetSelStart(int(text.size()));
        QSignalSpy changes(&pad, &RichTextBox::Change);
        FindReplace::replaceAll(pad, find, replacement);
        QCOMPARE(pad.Text(), expected);
        QCOMPARE(pad.SelStart(), 0);
        QCOMPARE(pad.SelLength(), 0);
        QCOMPARE(changes.count(), text.isEmpty() && expected.isEmpty() ? 0 : 1);
    }

    void replaceAllIsOneUndoStep()
    {
        RichTextBox pad;
        pad.SetText(QStringLiteral("x a a x"));
        pad.SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
        FindReplace::replaceAll(pad, QStringLiteral("a"), QStringLiteral("bb"));
        QCOMPARE(pad.Text(), QStringLiteral("x bb bb x"));
        pad.Undo();
        QCOMPARE(pad.Text(), QStringLiteral("x a a x"));
        QVERIFY(!pad.CanUndo());
    }
};

QP_REGISTER_TEST(TestFindReplace)
#include "tst_FindReplace.moc"
