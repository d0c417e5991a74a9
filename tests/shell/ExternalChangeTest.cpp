#include "NoticeButtons.h"
#include "ShellParts.h"
#include "TestRegistry.h"

#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

using Answer = Prompts::Answer;

namespace {

const QByteArray kOld = "<p>old text</p>\n";
const QString kRevertQuestion = QStringLiteral(
    "Are you sure you wish to revert (reload) this document? You will lose any unsaved work as Quirkpad will load "
    "the file currently open again.");

// Another program at work on the file: a shell script, $0 the file's path.
void otherProgram(const QString& script, const QString& path)
{
    QProcess sh;
    sh.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script, path});
    QVERIFY(sh.waitForFinished(10000));
    QCOMPARE(sh.exitCode(), 0);
}

// Longer than a burst takes to settle and be looked at.
void letItSettle()
{
    QTest::qWait(ExternalChangeWatcher::kSettleMs * 4);
}

QString changedText(const QString& path)
{
    return QStringLiteral("The file \"%1\" was changed by another program.").arg(path);
}

// The same, over unsaved changes (a reverted document counts as changed).
QString changedOverEditsText(const QString& path)
{
    return changedText(path) + QStringLiteral(" Reload takes its new text: your unsaved changes here will be lost.");
}

}

class ExternalChangeTest : public QObject {
    Q_OBJECT
private slots:
    // Written, replaced or removed by another program: one notice for the
    // burst; Reload brings the new bytes through Revert Document. Touched,
    // or written again with the same bytes: no notice.
    void otherProgramsChangesAreNoticedOnce_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("notice");   // "changed", "removed" or ""
        QTest::addColumn<QByteArray>("onDisk");
        QTest::newRow("rewritten in three writes")
            << "printf '<p>new' > \"$0\"; sleep 0.05; printf ' text' >> \"$0\"; sleep 0.05; printf '</p>' >> \"$0\""
            << "changed" << QByteArray("<p>new text</p>");
        QTest::newRow("replaced by a rename") << "printf 'renamed\\r\\n' > \"$0.new\" && mv \"$0.new\" \"$0\""
                                              << "changed" << QByteArray("renamed\r\n");
        QTest::newRow("same size, other bytes, in place") << "printf '<p>OLD TEXT</p>\\n' > \"$0\""
                                                          << "changed" << QByteArray("<p>OLD TEXT</p>\n");
        QTest::newRow("removed") << "rm \"$0\"" << "removed" << QByteArray();
        QTest::newRow("only touched") << "touch -d '2001-01-01' \"$0\"" << "" << kOld;
        QTest::newRow("written again with the same bytes") << "cp \"$0\" \"$0.new\" && mv \"$0.new\" \"$0\""
                                                            << "" << kOld;
    }

    void otherProgramsChangesAreNoticedOnce()
    {
        QFETCH(QString, script);
        QFETCH(QString, notice);
        QFETCH(QByteArray, onDisk);
        WatchedDocument f;
        const QString path = f.file(QStringLiteral("page.html"), kOld);
        QVERIFY(f.files.loadAsDocument(path));
        QSignalSpy shown(&f.notices, &NoticeBar::noticeShown);
        otherProgram(script, path);
        // However long a busy machine takes to notice, once is enough.
        if (!notice.isEmpty())
            QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 30000);
        letItSettle();
        QCOMPARE(TestFiles::read(path), notice == QLatin1String("removed") ? QByteArray("<unreadable>") : onDisk);
        QCOMPARE(shown.count(), notice.isEmpty() ? 0 : 1);
        QCOMPARE(f.notices.hasNotice(ExternalChangeWatcher::kNoticeId), !notice.isEmpty());
        QVERIFY(f.prompts.calls.isEmpty());
        if (notice.isEmpty()) {
            QVERIFY(!f.doc.isModified());
            return;
        }
        if (notice == QLatin1String("removed")) {
            QCOMPARE(f.notices.noticeText(ExternalChangeWatcher::kNoticeId),
                     QStringLiteral("The file \"%1\" was deleted or moved by another program. Its text stays here, "
                                    "marked as changed: Save writes it back.").arg(path));
            QCOMPARE(f.doc.utf8().toByteArray(), kOld);
            QVERIFY(f.doc.isModified());
            return;
        }
        QCOMPARE(f.notices.noticeText(ExternalChangeWatcher::kNoticeId), changedText(path));
        QVERIFY(!f.doc.isModified());
        // Nothing unsaved to lose: the click was the answer, and no box follows.
        QTest::mouseClick(noticeButton(&f.notices, ExternalChangeWatcher::kNoticeId, QStringLiteral("Reload")),
                          Qt::LeftButton);
        QVERIFY(f.prompts.calls.isEmpty());
        QCOMPARE(f.doc.utf8().toByteArray(), onDisk);
        QVERIFY(!f.doc.isModified());
        QVERIFY(!f.notices.hasNotice(ExternalChangeWatcher::kNoticeId));
        letItSettle();
        QCOMPARE(shown.count(), 1);
    }

    // With unsaved changes (made before the notice or after it) the notice
    // says Reload loses them, and Reload asks the one Revert question: Yes
    // takes the file, unchanged; No keeps the edits.
    void reloadOverUnsavedChangesAsksOnce_data()
    {
        QTest::addColumn<bool>("editFirst");
        QTest::addColumn<bool>("yes");
        QTest::newRow("edited before the change, Yes") << true << true;
        QTest::newRow("edited after the notice, No") << false << false;
    }
    void reloadOverUnsavedChangesAsksOnce()
    {
        QFETCH(bool, editFirst);
        QFETCH(bool, yes);
        WatchedDocument f;
        const QString path = f.file(QStringLiteral("page.html"), kOld);
        QVERIFY(f.files.loadAsDocument(path));
        QSignalSpy shown(&f.notices, &NoticeBar::noticeShown);
        if (editFirst)
            f.pad.InsertText(QStringLiteral("mine "));
        otherProgram(QStringLiteral("printf 'theirs' > \"$0\""), path);
        QTRY_COMPARE(shown.count(), 1);
        QCOMPARE(f.notices.noticeText(ExternalChangeWatcher::kNoticeId),
                 editFirst ? changedOverEditsText(path) : changedText(path));
        if (!editFirst)
            f.pad.InsertText(QStringLiteral("mine "));
        QCOMPARE(f.notices.noticeText(ExternalChangeWatcher::kNoticeId), changedOverEditsText(path));

        f.prompts.answer(yes ? Answer::Yes : Answer::No);
        noticeButton(&f.notices, ExternalChangeWatcher::kNoticeId, QStringLiteral("Reload"))->click();
        QCOMPARE(f.prompts.messages(), QStringList{kRevertQuestion});
        QCOMPARE(f.doc.utf8().toByteArray(), yes ? QByteArray("theirs") : "mine " + kOld);
        QCOMPARE(f.doc.isModified(), !yes);
    }

    // The editor's own saves and reloads are never taken for another
    // program's, however they reach the disk.
    void ownSavesShowNoNotice_data()
    {
        QTest::addColumn<QString>("step");
        QTest::newRow("save of an edit") << "save edited";
        QTest::newRow("save of an unchanged document") << "save";
        QTest::newRow("save as, in the same folder") << "save as";
        QTest::newRow("revert") << "revert";
        QTest::newRow("two saves in a row") << "save twice";
    }

    void ownSavesShowNoNotice()
    {
        QFETCH(QString, step);
        WatchedDocument f;
        const QString path = f.file(QStringLiteral("page.html"), kOld);
        QVERIFY(f.files.loadAsDocument(path));
        QSignalSpy shown(&f.notices, &NoticeBar::noticeShown);
        if (step != QLatin1String("save"))
            f.pad.InsertText(QStringLiteral("more "));
        if (step == QLatin1String("save as")) {
            f.prompts.answerSave(f.dir.filePath(QStringLiteral("copy.html")));
            QVERIFY(f.files.SaveAs());
        } else if (step == QLatin1String("revert")) {
            f.prompts.answer(Answer::Yes).answer(Answer::Ok);
            f.files.RevertDocument();
        } else {
            QVERIFY(f.files.SaveDocument());
            if (step == QLatin1String("save twice")) {
                f.pad.InsertText(QStringLiteral("again "));
                QVERIFY(f.files.SaveDocument());
            }
        }
        letItSettle();
        QCOMPARE(shown.count(), 0);
        // Still watching: another program's change right after is noticed.
        otherProgram(QStringLiteral("printf 'theirs' > \"$0\""), f.doc.location());
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 30000);
        const QString now = f.doc.location();
        QCOMPARE(f.notices.noticeText(ExternalChangeWatcher::kNoticeId),
                 step == QLatin1String("revert") ? changedOverEditsText(now) : changedText(now));
    }

    // A change while the notice is up adds no second one; after Ignore, a
    // new change is a new notice.
    void eachBurstIsOneNotice()
    {
        WatchedDocument f;
        const QString path = f.file(QStringLiteral("page.html"), kOld);
        QVERIFY(f.files.loadAsDocument(path));
        QSignalSpy shown(&f.notices, &NoticeBar::noticeShown);
        otherProgram(QStringLiteral("printf 'first' > \"$0\""), path);
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 30000);
        otherProgram(QStringLiteral("printf 'second' > \"$0\""), path);
        letItSettle();
        QCOMPARE(shown.count(), 1);
        noticeButton(&f.notices, ExternalChangeWatcher::kNoticeId, QStringLiteral("Ignore"))->click();
        QVERIFY(!f.notices.hasNotice(ExternalChangeWatcher::kNoticeId));
        QCOMPARE(f.doc.utf8().toByteArray(), kOld);   // Ignore leaves the text alone
        letItSettle();
        QCOMPARE(shown.count(), 1);
        otherProgram(QStringLiteral("printf 'third' > \"$0\""), path);
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 2, 30000);
    }
};

QP_REGISTER_TEST(ExternalChangeTest)
#include "ExternalChangeTest.moc"
