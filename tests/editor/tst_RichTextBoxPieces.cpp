#include "TestRegistry.h"
#include "editor/RichTextBox.h"

#include <QTest>

// Text that arrives in pieces replaces the selection as one edit, or, when
// its writer fails half-way, leaves the text, the selection and the undo
// steps exactly as they were.
class RichTextBoxPiecesTest : public QObject {
    Q_OBJECT
private slots:
    void replacesTheSelectionOrNothing_data()
    {
        QTest::addColumn<QStringList>("pieces");
        QTest::addColumn<bool>("fails");   // after handing on every piece
        QTest::addColumn<int>("selLength");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("text");   // afterwards; the box starts with "one two" and "two" selected
        QTest::newRow("pieces over the selection") << QStringList{"2", "", "22"} << false << 3 << false
                                                   << "one 222";
        QTest::newRow("at the caret") << QStringList{"x", "y"} << false << 0 << false << "one xytwo";
        QTest::newRow("nothing over the selection deletes it") << QStringList{} << false << 3 << false << "one ";
        QTest::newRow("into a locked box") << QStringList{"z"} << false << 3 << true << "one z";
        QTest::newRow("fails after pieces") << QStringList{"2", "2"} << true << 3 << false << "one two";
        QTest::newRow("fails at the caret") << QStringList{"2"} << true << 0 << false << "one two";
        QTest::newRow("fails before any piece") << QStringList{} << true << 3 << true << "one two";
    }
    void replacesTheSelectionOrNothing()
    {
        QFETCH(QStringList, pieces);
        QFETCH(bool, fails);
        QFETCH(int, selLength);
        QFETCH(bool, locked);
        QFETCH(QString, text);
        RichTextBox box;
        box.SetText(QStringLiteral("one"));
        box.SetSelStart(3);
        box.SetSelText(QStringLiteral(" two"));   // the edit an Undo takes back
        box.SetSelStart(4);
        box.SetSelLength(selLength);
        box.SetLocked(locked);
        int changes = 0;
        connect(&box.document(), &Document::contentsChanged, &box, [&] { ++changes; });

        const QString written = pieces.join(QString());
        const Result<> r = box.SetSelTextFrom(written.size(), [&](const TextFile::Utf8Sink& sink) -> Result<> {
            for (const QString& piece : pieces)
                sink(piece.toUtf8().constData(), piece.toUtf8().size());
            if (fails)
                return Failure(QStringLiteral("the file changed"));
            return {};
        });
        QCOMPARE(r.error(), fails ? QStringLiteral("the file changed") : QString());
        QCOMPARE(box.Text(), text);
        QCOMPARE(box.Locked(), locked);
        QCOMPARE(box.SelStart(), fails ? 4 : 4 + int(written.size()));
        QCOMPARE(box.SelLength(), fails ? selLength : 0);
        QCOMPARE(changes, text == QLatin1String("one two") ? 0 : 1);
        // One undo step, or none.
        box.SetLocked(false);
        box.Undo();
        QCOMPARE(box.Text(), fails ? QStringLiteral("one") : QStringLiteral("one two"));
    }
};

QP_REGISTER_TEST(RichTextBoxPiecesTest)
#include "tst_RichTextBoxPieces.moc"
