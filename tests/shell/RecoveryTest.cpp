#include "MainWindowFixture.h"
#include "NoticeButtons.h"
#include "RecoverySandbox.h"
#include "ShellParts.h"
#include "TestRegistry.h"
#include "files/FileLock.h"
#include "files/RecoveryFile.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTest>

using Answer = Prompts::Answer;
Q_DECLARE_METATYPE(TextFormat)

namespace {

const QString kOpenQuestion = QStringLiteral("Would you like to save your document before opening another?");
const QDateTime kWritten(QDate(2026, 3, 14), QTime(9, 26));

std::optional<RecoveryFile::Contents> readCopy(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? RecoveryFile::parse(f.readAll()) : std::nullopt;
}

// Work left behind by an editor that no longer runs: its copy, and its lock
// that nobody holds.
QString leaveWork(const RecoverySandbox& s, const QString& id, const QString& path, const TextFormat& format,
                  const QByteArray& text, const QDateTime& written = kWritten)
{
    QDir().mkpath(s.folder());
    const QString copy = s.folder() + QLatin1Char('/') + id + QStringLiteral(".recovery");
    if (!RecoveryFile::save(copy, {path, format, 99, std::nullopt}, text))
        return QString();
    QFile lock(s.folder() + QLatin1Char('/') + id + QStringLiteral(".lock"));
    lock.open(QIODevice::WriteOnly);
    QFile f(copy);
    f.open(QIODevice::ReadWrite);
    f.setFileTime(written, QFileDevice::FileModificationTime);
    return copy;
}

QString offerText(const QString& what, const QString& count = QString())
{
    return QStringLiteral("Unsaved work from a Quirkpad that did not close normally: %1, as it was at 2026-03-14 09:26.")
               .arg(what)
           + count;
}

}

class RecoveryTest : public QObject {
    Q_OBJECT
private slots:
    // The copy is written once typing pauses and goes when the text is on
    // disk again or its changes were given up through a question; a
    // question answered Cancel keeps it.
    void theCopyFollowsTheDocument_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("copyStays");
        const auto yes = int(Answer::Yes), no = int(Answer::No), cancel = int(Answer::Cancel), ok = int(Answer::Ok);
        QTest::newRow("saved") << "save" << QList<int>{} << false;
        QTest::newRow("saved under another name") << "save as" << QList<int>{} << false;
        QTest::newRow("reverted") << "revert" << QList<int>{yes, ok} << false;
        QTest::newRow("revert refused") << "revert" << QList<int>{no} << true;
        QTest::newRow("New, answered No") << "new" << QList<int>{no} << false;
        QTest::newRow("New, answered Cancel") << "new" << QList<int>{cancel} << true;
        QTest::newRow("Open, answered No") << "open" << QList<int>{no} << false;
        QTest::newRow("Licence Agreement, answered No") << "licence" << QList<int>{no} << false;
        QTest::newRow("exit, answered No") << "exit" << QList<int>{no} << false;
        QTest::newRow("exit, answered Cancel") << "exit" << QList<int>{cancel} << true;
    }

    void theCopyFollowsTheDocument()
    {
        QFETCH(QString, step);
        QFETCH(QList<int>, answers);
        QFETCH(bool, copyStays);
        RecoverySandbox sandbox;
        MainWindowFixture f;
        const QString path = f.file(QStringLiteral("page.html"), "<p>old</p>\n");
        const QString other = f.file(QStringLiteral("other.html"), "<p>other</p>\n");
        frmMain& w = f.make({QStringLiteral("quirkpad"), path});
        RecoveryKeeper& keeper = partOf<RecoveryKeeper>(w);
        keeper.setQuietTime(20);
        const QString copy = keeper.copyPath();
        QVERIFY(!QFileInfo::exists(copy));   // nothing unsaved yet

        padOf(w)->SetSelStart(3);
        padOf(w)->InsertText(QStringLiteral("new "));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(copy), 30000);
        keeper.waitForDisk();
        const std::optional<RecoveryFile::Contents> kept = readCopy(copy);
        QVERIFY(kept);
        QCOMPARE(kept->text, QByteArray("<p>new old</p>\n"));
        QCOMPARE(kept->header.path, path);
        QVERIFY(kept->header.format == (TextFormat{Encoding::Utf8, false, LineBreak::Lf}));

        for (int a : answers)
            f.prompts.answer(Answer(a));
        if (step == QLatin1String("save")) {
            run(w, Cmd::mnuSave);
        } else if (step == QLatin1String("save as")) {
            f.prompts.answerSave(f.dir.filePath(QStringLiteral("copy.html")));
            run(w, Cmd::mnuSaveAs);
        } else if (step == QLatin1String("revert")) {
            run(w, Cmd::mnuRevertDocument);
        } else if (step == QLatin1String("new")) {
            run(w, Cmd::mnuNew);
        } else if (step == QLatin1String("open")) {
            f.prompts.answerOpen(other);
            run(w, Cmd::mnuOpen);
        } else if (step == QLatin1String("licence")) {
            run(w, Cmd::mnuLicenceAgreement);
        } else if (step == QLatin1String("exit")) {
            QCOMPARE(w.close(), !copyStays);
        }
        QCOMPARE(f.prompts.pending(), 0);
        // Long enough for a copy to be written again, were one owed.
        QTest::qWait(200);
        keeper.waitForDisk();
        QCOMPARE(QFileInfo::exists(copy), copyStays);
        if (step == QLatin1String("exit") && !copyStays)
            QCOMPARE(sandbox.locks(), QStringList());   // a normal end leaves nothing behind
    }

    // After a crash the work is offered; opening it gives back the text
    // byte for byte, in its file's format, named after its file and marked
    // changed, and Save writes it where it belongs.
    void leftWorkIsOpenedAsItWas_data()
    {
        QTest::addColumn<QString>("name");   // "" for untitled
        QTest::addColumn<TextFormat>("format");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("saved");   // the file Save writes
        QTest::newRow("untitled") << QString() << TextFormat::forNewDocument() << QByteArray("<p>draft</p>\r\n")
                                  << QByteArray("<p>draft</p>\r\n");
        QTest::newRow("UTF-16 BE with a BOM, CR, mixed breaks, NUL")
            << QStringLiteral("a.asp") << TextFormat{Encoding::Utf16BE, true, LineBreak::Cr}
            << QByteArray("a\rb\r\n\0\xC3\xA9", 8) << QByteArray("\xFE\xFF\0a\0\r\0b\0\r\0\n\0\0\0\xE9", 16);
        QTest::newRow("Windows-1252, LF") << QStringLiteral("b.txt") << TextFormat{Encoding::Cp1252, false, LineBreak::Lf}
                                          << QByteArray("\xE2\x82\xAC 5\n") << QByteArray("\x80 5\n");
    }

    void leftWorkIsOpenedAsItWas()
    {
        QFETCH(QString, name);
        QFETCH(TextFormat, format);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, saved);
        RecoverySandbox sandbox;
        QTemporaryDir dir;
        const QString path = name.isEmpty() ? QString() : dir.filePath(name);
        const QString left = leaveWork(sandbox, QStringLiteral("12-00000001"), path, format, text);
        QVERIFY(!left.isEmpty());

        KeptDocument f;
        QCOMPARE(f.notices.noticeText(RecoveryKeeper::kNoticeId),
                 offerText(path.isEmpty() ? QStringLiteral("an untitled document")
                                          : QLatin1Char('"') + path + QLatin1Char('"')));
        noticeButton(&f.notices, RecoveryKeeper::kNoticeId, QStringLiteral("Open"))->click();
        QVERIFY(f.prompts.calls.isEmpty());   // nothing of the empty document to ask about
        QCOMPARE(f.doc.utf8().toByteArray(), text);
        QVERIFY(f.doc.format() == format);
        QCOMPARE(f.doc.location(), path);
        QVERIFY(f.doc.isModified());
        QCOMPARE(f.doc.caption(), Document::captionFor(path));
        QVERIFY(!f.pad.CanUndo());   // Undo cannot empty it again
        QVERIFY(!f.notices.hasNotice(RecoveryKeeper::kNoticeId));

        // Its own copy now, and the old one gone.
        f.keeper.waitForDisk();
        QCOMPARE(sandbox.copies(), QStringList{QFileInfo(f.keeper.copyPath()).fileName()});
        QCOMPARE(readCopy(f.keeper.copyPath())->text, text);

        const QString named = path.isEmpty() ? dir.filePath(QStringLiteral("named.txt")) : path;
        if (path.isEmpty())
            f.prompts.answerSave(named);
        QVERIFY(f.files.SaveDocument());
        QCOMPARE(TestFiles::read(named), saved);
    }

    // Opening asks about the document's own changes first, as Open does.
    void openingAsksAboutTheOpenDocumentFirst()
    {
        RecoverySandbox sandbox;
        leaveWork(sandbox, QStringLiteral("12-00000002"), QString(), {}, "left");
        KeptDocument f;
        f.pad.SetText(QStringLiteral("mine"));

        f.prompts.answer(Answer::Cancel);
        noticeButton(&f.notices, RecoveryKeeper::kNoticeId, QStringLiteral("Open"))->click();
        QCOMPARE(f.prompts.messages(), QStringList{kOpenQuestion});
        QCOMPARE(f.pad.Text(), QStringLiteral("mine"));
        QVERIFY(f.notices.hasNotice(RecoveryKeeper::kNoticeId));   // still offered

        f.prompts.answer(Answer::No);
        noticeButton(&f.notices, RecoveryKeeper::kNoticeId, QStringLiteral("Open"))->click();
        QCOMPARE(f.prompts.messages(), (QStringList{kOpenQuestion, kOpenQuestion}));
        QCOMPARE(f.pad.Text(), QStringLiteral("left"));
    }

    // Several copies are offered one after another, the newest first, with
    // a count; one closed without an answer stays for the next start.
    void severalCopiesAreOfferedOneAfterAnother()
    {
        RecoverySandbox sandbox;
        const QString older = leaveWork(sandbox, QStringLiteral("1-a"), QStringLiteral("/w/older.html"), {}, "older",
                                        kWritten.addSecs(-3600));
        const QString newest = leaveWork(sandbox, QStringLiteral("2-b"), QStringLiteral("/w/newest.html"), {}, "newest");
        const QString oldest = leaveWork(sandbox, QStringLiteral("3-c"), QStringLiteral("/w/oldest.html"), {}, "oldest",
                                         kWritten.addDays(-2));
        KeptDocument f;
        NoticeBar* bar = &f.notices;
        QCOMPARE(bar->noticeText(RecoveryKeeper::kNoticeId), offerText(QStringLiteral("\"/w/newest.html\""),
                                                                        QStringLiteral(" (1 of 3)")));
        noticeButton(bar, RecoveryKeeper::kNoticeId, QStringLiteral("Discard"))->click();
        QVERIFY(!QFileInfo::exists(newest));
        QVERIFY(bar->noticeText(RecoveryKeeper::kNoticeId).endsWith(QStringLiteral("(2 of 3)")));
        QVERIFY(bar->noticeText(RecoveryKeeper::kNoticeId).contains(QStringLiteral("\"/w/older.html\"")));
        noticeButton(bar, RecoveryKeeper::kNoticeId, QStringLiteral("Open"))->click();
        QCOMPARE(f.pad.Text(), QStringLiteral("older"));
        QVERIFY(bar->noticeText(RecoveryKeeper::kNoticeId).endsWith(QStringLiteral("(3 of 3)")));
        noticeButton(bar, RecoveryKeeper::kNoticeId, QString())->click();
        QVERIFY(!bar->hasNotice(RecoveryKeeper::kNoticeId));
        f.keeper.waitForDisk();
        QVERIFY(!QFileInfo::exists(older));
        // Let go of: the next editor to start offers it.
        QVERIFY(QFileInfo::exists(oldest));
        QVERIFY(FileLock::tryExisting(QString(oldest).replace(QStringLiteral(".recovery"), QStringLiteral(".lock"))));
    }

    // Work kept before another program changed or removed its file says so
    // on the bar that offers it, and once it is open the notice of files
    // changed by other programs is shown as well. The editor ends as a crash
    // ends it: without its closing steps.
    void workOverAChangedFileSaysSo_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("sentence");
        QTest::addColumn<QString>("notice");
        QTest::newRow("left alone") << "" << "" << "";
        QTest::newRow("rewritten") << "rewrite" << " Another program has changed the file since."
                                   << "The file \"%1\" was changed by another program.";
        QTest::newRow("removed") << "remove" << " The file has been deleted or moved since."
                                 << "The file \"%1\" was deleted or moved by another program.";
    }

    void workOverAChangedFileSaysSo()
    {
        QFETCH(QString, change);
        QFETCH(QString, sentence);
        QFETCH(QString, notice);
        RecoverySandbox sandbox;
        MainWindowFixture f;
        const QString path = f.file(QStringLiteral("page.html"), "<p>old</p>\n");
        {
            frmMain& w = f.make({QStringLiteral("quirkpad"), path});
            RecoveryKeeper& keeper = partOf<RecoveryKeeper>(w);
            keeper.setQuietTime(20);
            padOf(w)->SetSelStart(3);
            padOf(w)->InsertText(QStringLiteral("kept "));
            QTRY_VERIFY(QFileInfo::exists(keeper.copyPath()));
            keeper.waitForDisk();
            f.window.reset();
        }
        if (change == QLatin1String("rewrite"))
            f.file(QStringLiteral("page.html"), "<p>another program's</p>\n");
        else if (change == QLatin1String("remove"))
            QVERIFY(QFile::remove(path));

        frmMain& w = f.make();
        NoticeBar& notices = partOf<NoticeBar>(w);
        const QString offer = notices.noticeText(RecoveryKeeper::kNoticeId);
        QVERIFY2(offer.startsWith(QStringLiteral("Unsaved work from a Quirkpad that did not close normally: \"") + path),
                 qPrintable(offer));
        QVERIFY2(offer.endsWith(QLatin1Char('.') + sentence), qPrintable(offer));
        noticeButton(&notices, RecoveryKeeper::kNoticeId, QStringLiteral("Open"))->click();
        QCOMPARE(padOf(w)->Text(), QStringLiteral("<p>kept old</p>\n"));
        const QString shown = notices.noticeText(ExternalChangeWatcher::kNoticeId);
        if (notice.isEmpty())
            QVERIFY2(!notices.hasNotice(ExternalChangeWatcher::kNoticeId), qPrintable(shown));
        else
            QVERIFY2(shown.startsWith(notice.arg(path)), qPrintable(shown));
    }

    // A file another program removes leaves its text only here: marked
    // changed, it gets its copy.
    void theTextOfARemovedFileIsKept()
    {
        RecoverySandbox sandbox;
        MainWindowFixture f;
        const QString path = f.file(QStringLiteral("page.html"), "<p>old</p>\n");
        frmMain& w = f.make({QStringLiteral("quirkpad"), path});
        partOf<RecoveryKeeper>(w).setQuietTime(20);
        QVERIFY(QFile::remove(path));
        QTRY_COMPARE_WITH_TIMEOUT(sandbox.copies().size(), 1, 30000);
        partOf<RecoveryKeeper>(w).waitForDisk();
        QCOMPARE(readCopy(partOf<RecoveryKeeper>(w).copyPath())->text, QByteArray("<p>old</p>\n"));
        QCOMPARE(changedLabel(w), QStringLiteral("Yes"));
    }

    // Typing that never pauses for the quiet time still gets its copy by the
    // longest wait after its first change (at once, once that has passed).
    // The clock is the test's own, and its events wait until the end.
    void continuousTypingGetsACopyInTime()
    {
        RecoverySandbox sandbox;
        KeptDocument f;
        qint64 now = 1000;
        f.keeper.setClock([&now] { return now; });
        const qint64 deadline = now + RecoveryKeeper::kLongestWaitMs;
        for (; now < deadline + 5000; now += 400) {
            f.pad.InsertText(QStringLiteral("x"));
            const int due = f.keeper.copyDueIn();
            QVERIFY(due >= 0);
            QVERIFY2(now + due <= std::max(deadline, now),
                     qPrintable(QStringLiteral("typed at %1 ms, the copy is due at %2 ms").arg(now - 1000).arg(now + due - 1000)));
        }
        QTRY_COMPARE(sandbox.copies().size(), 1);
    }

    // With recovery copies switched off nothing is written, and the copy
    // there was goes.
    void noCopiesWhenSwitchedOff()
    {
        RecoverySandbox sandbox;
        KeptDocument f;
        const auto restore = qScopeGuard([&f] { f.settings.setOn(Setting::RecoveryCopies, true); });
        f.keeper.setQuietTime(20);
        f.settings.setOn(Setting::RecoveryCopies, false);
        f.pad.SetText(QStringLiteral("typed"));
        QTest::qWait(200);
        f.keeper.waitForDisk();
        QCOMPARE(sandbox.copies(), QStringList());

        f.settings.setOn(Setting::RecoveryCopies, true);
        f.keeper.applyOption();
        QTRY_COMPARE_WITH_TIMEOUT(sandbox.copies().size(), 1, 30000);
        f.settings.setOn(Setting::RecoveryCopies, false);
        f.keeper.applyOption();
        f.keeper.waitForDisk();
        QCOMPARE(sandbox.copies(), QStringList());
    }
};

QP_REGISTER_TEST(RecoveryTest)
#include "RecoveryTest.moc"
