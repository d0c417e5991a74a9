#include "TestRegistry.h"
#include "document/Document.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The document on its own, with no view and no widget: created, loaded,
// edited, undone and saved, as the file commands and every view see it.
class DocumentTest : public QObject {
    Q_OBJECT

    static QByteArray readFile(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    static bool writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }

private slots:
    void loadEditSaveKeepsTheFilesFormat_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("inserted");   // at the start, with CR LF as programs build it
        QTest::addColumn<QByteArray>("saved");

        QTest::newRow("utf-8, LF") << QByteArray("a\nb\n") << QStringLiteral("x\r\n")
                                   << QByteArray("x\na\nb\n");
        QTest::newRow("utf-8 with BOM, CR LF") << QByteArray("\xEF\xBB\xBFz\r\n") << QStringLiteral("\u00E9")
                                               << QByteArray("\xEF\xBB\xBF\xC3\xA9z\r\n");
        QTest::newRow("utf-16 LE") << QByteArray("\xFF\xFEh\0\r\0", 6) << QStringLiteral("1\r\n")
                                   << QByteArray("\xFF\xFE" "1\0\r\0h\0\r\0", 10);
        QTest::newRow("windows-1252, CR") << QByteArray("caf\xE9\r") << QStringLiteral("A\r\nB")
                                          << QByteArray("A\rBcaf\xE9\r");
    }
    void loadEditSaveKeepsTheFilesFormat()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, inserted);
        QFETCH(QByteArray, saved);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.txt"));
        QVERIFY(writeFile(path, file));

        Document doc;
        QSignalSpy changes(&doc, &Document::contentsChanged);
        const auto loaded = doc.load(path);
        QVERIFY2(loaded.ok(), qPrintable(loaded.error()));
        QCOMPARE(changes.count(), 1);
        QVERIFY(!doc.canUndo());   // a load is no step to undo
        doc.becomeNamed(path);
        QVERIFY(!doc.isModified());

        doc.replaceBytes(0, 0, doc.inLineBreaks(inserted).toUtf8());
        QCOMPARE(changes.count(), 2);
        QVERIFY(doc.isModified());
        const auto written = doc.save(path);
        QVERIFY2(written.ok(), qPrintable(written.error()));
        QCOMPARE(readFile(path), saved);

        // Undo brings back the file's text, byte for byte once saved again.
        QVERIFY(doc.undo() >= 0);
        QVERIFY(doc.save(path).ok());
        QCOMPARE(readFile(path), file);
    }

    void positionsCountUtf16CodeUnits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("utf16");
        QTest::addColumn<long>("byte");

        QTest::newRow("ascii") << QStringLiteral("abc") << 2 << 2L;
        QTest::newRow("after a two-byte letter") << QStringLiteral("\u00E9a") << 1 << 2L;
        QTest::newRow("CR LF counts two") << QStringLiteral("a\r\nb") << 3 << 3L;
        QTest::newRow("after a surrogate pair") << QStringLiteral("\U0001F600x") << 2 << 4L;
        QTest::newRow("inside a surrogate pair goes to its start")
            << QStringLiteral("a\U0001F600") << 2 << 1L;
        QTest::newRow("past the end") << QStringLiteral("ab") << 9 << 2L;
        QTest::newRow("second line") << QStringLiteral("\u00E9\n\u00E9\u00E9") << 3 << 5L;
    }
    void positionsCountUtf16CodeUnits()
    {
        QFETCH(QString, text);
        QFETCH(int, utf16);
        QFETCH(long, byte);
        Document doc;
        doc.setText(text);
        QCOMPARE(doc.bytePos(utf16), byte);
        QCOMPARE(doc.textLength(), int(text.size()));
        if (utf16 <= text.size() && !text.at(std::max(0, utf16 - 1)).isHighSurrogate())
            QCOMPARE(doc.utf16Pos(byte), utf16);
    }

    void onlyTheCallersTransitionsChangeState()
    {
        Document doc;
        QSignalSpy modified(&doc, &Document::modifiedChanged);
        QSignalSpy captions(&doc, &Document::captionChanged);
        doc.setText(QString());   // the same empty text is still a change
        QVERIFY(doc.isModified());
        QCOMPARE(doc.caption(), QStringLiteral("Quirkpad"));
        doc.becomeRestored(QStringLiteral("/w/a b.htm"));
        QCOMPARE(doc.caption(), QStringLiteral("Quirkpad (\"/w/a b.htm\")"));
        QVERIFY(doc.isModified());
        doc.setLocation(QStringLiteral("/w/other.txt"));   // the caption stays
        QCOMPARE(doc.caption(), QStringLiteral("Quirkpad (\"/w/a b.htm\")"));
        doc.becomeSaved();
        QVERIFY(!doc.isModified());
        doc.becomeReverted();
        QVERIFY(doc.isModified());
        doc.becomeUntitled();
        QCOMPARE(doc.location(), QString());
        QCOMPARE(doc.caption(), QStringLiteral("Quirkpad"));
        QCOMPARE(modified.count(), 4);
        QCOMPARE(captions.count(), 2);
    }

    // Views that keep what they know of the text up to a position learn,
    // before the change is raised, from where the step may have changed it;
    // undoing its last edit reports the same place.
    void editedTellsTheFirstByteAStepTouched_data()
    {
        QTest::addColumn<QList<QVariantList>>("edits");   // {start, end, replacement} in one step
        QTest::addColumn<long>("from");

        using Edits = QList<QVariantList>;
        const auto edit = [](long start, long end, const char* text) {
            return QVariantList{qlonglong(start), qlonglong(end), QByteArray(text)};
        };
        QTest::newRow("insertion") << Edits{edit(3, 3, "X")} << 3L;
        QTest::newRow("removal") << Edits{edit(2, 4, "")} << 2L;
        QTest::newRow("the earlier of two") << Edits{edit(5, 5, "x"), edit(1, 2, "")} << 1L;
        QTest::newRow("the same text again") << Edits{edit(0, 6, "abcdef")} << 0L;
        QTest::newRow("at the end") << Edits{edit(6, 6, "!")} << 6L;
    }
    void editedTellsTheFirstByteAStepTouched()
    {
        QFETCH(QList<QVariantList>, edits);
        QFETCH(long, from);
        Document doc;
        doc.setText(QStringLiteral("abcdef"));
        QSignalSpy edited(&doc, &Document::edited);
        int editedBeforeChange = -1;
        connect(&doc, &Document::contentsChanged, this, [&] { editedBeforeChange = int(edited.count()); });
        {
            Document::EditStep step(doc);
            for (const QVariantList& e : edits)
                doc.replaceBytes(long(e[0].toLongLong()), long(e[1].toLongLong()), e[2].toByteArray());
        }
        QCOMPARE(edited.count(), 1);
        QCOMPARE(editedBeforeChange, 1);
        QCOMPARE(edited.takeFirst().at(0).value<long>(), from);
        QVERIFY(doc.undo() >= 0);
        QCOMPARE(edited.count(), 1);
        QCOMPARE(edited.takeFirst().at(0).value<long>(), from);
    }

    void programStepsWriteThroughTheLockAsOneChange()
    {
        Document doc;
        doc.setText(QStringLiteral("locked"));
        doc.setLocked(true);
        QSignalSpy changes(&doc, &Document::contentsChanged);
        {
            Document::EditStep step(doc);
            doc.replaceBytes(0, 1, "L");
            doc.replaceBytes(6, 6, "!");
            QCOMPARE(changes.count(), 0);   // not before the step ends
        }
        QCOMPARE(changes.count(), 1);
        QCOMPARE(doc.text(), QStringLiteral("Locked!"));
        QVERIFY(doc.isLocked());
    }

    void aFailedLoadLeavesTheTextAsItWas()
    {
        QTemporaryDir dir;
        Document doc;
        doc.setText(QStringLiteral("keep me"));
        doc.becomeNamed(dir.filePath(QStringLiteral("mine.txt")));
        const auto r = doc.load(dir.filePath(QStringLiteral("missing.txt")));
        QVERIFY(!r.ok());
        QVERIFY(!r.error().isEmpty());
        QVERIFY(!doc.lastLoadLostText());
        QCOMPARE(doc.text(), QStringLiteral("keep me"));
        QCOMPARE(doc.location(), dir.filePath(QStringLiteral("mine.txt")));
    }

    // The undo history keeps at most its budget of text (here a floor of
    // 100 bytes, or a multiple of the text's length): the oldest steps go
    // first, the newest always stays, and steps that can no longer be redone
    // go at once. Steps: "+N" types N letters at the end, "=N" replaces the
    // whole text by N letters, "u" undoes one step.
    void undoHistoryKeepsWithinItsBudget_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("perByte");
        QTest::addColumn<int>("kept");    // bytes of text the history keeps
        QTest::addColumn<int>("undone");  // steps Undo can take back

        QTest::newRow("all within") << QStringList{"+30", "+30", "+30"} << 0 << 90 << 3;
        QTest::newRow("the oldest go first") << QStringList{"+40", "+40", "+40"} << 0 << 80 << 2;
        QTest::newRow("the newest stays, however large") << QStringList{"+10", "+500"} << 0 << 500 << 1;
        QTest::newRow("a replacement is one step") << QStringList{"+60", "=70"} << 0 << 130 << 1;
        QTest::newRow("the budget grows with the text")
            << QStringList{"+60", "+60", "+60"} << 2 << 180 << 3;
        QTest::newRow("what cannot be redone goes") << QStringList{"+90", "u", "+5"} << 0 << 5 << 1;
    }
    void undoHistoryKeepsWithinItsBudget()
    {
        QFETCH(QStringList, steps);
        QFETCH(int, perByte);
        QFETCH(int, kept);
        QFETCH(int, undone);

        Document doc;
        doc.setUndoMemoryBudget(100, perByte);
        QStringList states{QString()};
        char letter = 'a';
        for (const QString& step : steps) {
            if (step == QLatin1String("u")) {
                doc.undo();
                states.removeLast();
                continue;
            }
            const QString text(step.mid(1).toInt(), QLatin1Char(letter++));
            if (step.startsWith(QLatin1Char('=')))
                doc.setText(text);
            else
                doc.replaceBytes(doc.byteLength(), doc.byteLength(), text.toUtf8());
            states << doc.text();
        }
        QCOMPARE(doc.undoMemory(), qint64(kept));
        int n = 0;
        for (; doc.canUndo(); ++n) {
            doc.undo();
            QCOMPARE(doc.text(), states[states.size() - 2 - n]);
        }
        QCOMPARE(n, undone);
    }
};

QP_REGISTER_TEST(DocumentTest)
#include "DocumentTest.moc"
