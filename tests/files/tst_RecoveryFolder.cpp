#include "TestRegistry.h"
#include "files/RecoveryFile.h"
#include "files/RecoveryFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

// Another program holding a lock as a running editor does, in a process of
// its own that a test can kill as a crash would.
struct LockHolder {
    QProcess process;
    explicit LockHolder(const QString& lockPath)
    {
        process.start(QStringLiteral("/bin/sh"),
                      {QStringLiteral("-c"), QStringLiteral("exec 9<\"$0\"; flock -x 9; echo locked; exec sleep 60"),
                       lockPath});
    }
    bool waitUntilLocked() { return process.waitForReadyRead(10000) && process.readAll().trimmed() == "locked"; }
    void crash()
    {
        process.kill();
        process.waitForFinished(10000);
    }
    ~LockHolder()
    {
        if (process.state() != QProcess::NotRunning)
            crash();
    }
};

void touch(const QString& path, const QByteArray& bytes = "x")
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}

class RecoveryFolderTest : public QObject {
    Q_OBJECT
private slots:
    // A copy is offered only when the editor that wrote it no longer runs,
    // and only to one editor.
    void onlyWorkOfEndedEditorsIsClaimed_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<bool>("claimed");
        QTest::addColumn<bool>("lockStays");
        QTest::newRow("its editor runs") << "running" << false << true;
        QTest::newRow("its editor was killed") << "killed" << true << true;
        QTest::newRow("nothing runs since a power cut") << "ended" << true << true;
        QTest::newRow("another editor claimed it first") << "claimed" << false << true;
        QTest::newRow("an editor that ended with nothing unsaved") << "no copy" << false << false;
    }

    void onlyWorkOfEndedEditorsIsClaimed()
    {
        QFETCH(QString, writer);
        QFETCH(bool, claimed);
        QFETCH(bool, lockStays);
        QTemporaryDir dir;
        const QString lock = dir.filePath(QStringLiteral("77-0badcafe.lock"));
        const QString copy = dir.filePath(QStringLiteral("77-0badcafe.recovery"));
        touch(lock, "");
        if (writer != QLatin1String("no copy"))
            touch(copy);
        std::optional<LockHolder> holder;
        if (writer == QLatin1String("running") || writer == QLatin1String("killed")) {
            holder.emplace(lock);
            QVERIFY(holder->waitUntilLocked());
            if (writer == QLatin1String("killed"))
                holder->crash();
        }
        RecoveryFolder other(dir.path());
        const Result<> opened = other.open();
        QVERIFY2(opened.ok(), qPrintable(opened.error()));
        std::vector<RecoveryFolder::Leftover> claimedByOther;
        if (writer == QLatin1String("claimed")) {
            claimedByOther = other.claimLeftovers();
            QCOMPARE(claimedByOther.size(), size_t(1));
        }

        RecoveryFolder folder(dir.path());
        const Result<> ownOpened = folder.open();
        QVERIFY2(ownOpened.ok(), qPrintable(ownOpened.error()));
        const std::vector<RecoveryFolder::Leftover> found = folder.claimLeftovers();
        QCOMPARE(found.size(), size_t(claimed ? 1 : 0));
        if (claimed) {
            QCOMPARE(found.front().copy, copy);
            // Held now: a third editor does not get it too.
            RecoveryFolder third(dir.path());
            QVERIFY(third.open().ok());
            QVERIFY(third.claimLeftovers().empty());
        }
        QCOMPARE(QFileInfo::exists(lock), lockStays);
        QCOMPARE(QFileInfo::exists(copy), writer != QLatin1String("no copy"));
        // An editor never claims its own copy.
        touch(folder.ownCopy());
        QVERIFY(folder.claimLeftovers().empty());
    }

    void newestWorkComesFirst()
    {
        QTemporaryDir dir;
        const QDateTime now = QDateTime::currentDateTime();
        for (const auto& [id, age] : {std::pair{"1-a", 300}, std::pair{"2-b", 10}, std::pair{"3-c", 7200}}) {
            const QString copy = dir.filePath(QLatin1String(id) + QStringLiteral(".recovery"));
            touch(dir.filePath(QLatin1String(id) + QStringLiteral(".lock")), "");
            touch(copy);
            QFile f(copy);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(now.addSecs(-age), QFileDevice::FileModificationTime));
        }
        RecoveryFolder folder(dir.path());
        QVERIFY(folder.open().ok());
        QStringList order;
        for (const RecoveryFolder::Leftover& l : folder.claimLeftovers())
            order << QFileInfo(l.copy).completeBaseName();
        QCOMPARE(order, (QStringList{"2-b", "1-a", "3-c"}));
    }

    // The folders made on the way, and the recovery folder itself even when
    // it was made open to others, are the user's alone.
    void theFolderIsPrivate()
    {
        QTemporaryDir dir;
        const QString state = dir.filePath(QStringLiteral("state"));
        const QByteArray before = qgetenv("XDG_STATE_HOME");
        const auto restore = qScopeGuard([&] { qputenv("XDG_STATE_HOME", before); });
        qputenv("XDG_STATE_HOME", state.toLocal8Bit());
        const QString path = RecoveryFolder::defaultPath();
        QCOMPARE(path, state + QStringLiteral("/Quirkpad/recovery"));
        {
            RecoveryFolder folder(path);
            const Result<> opened = folder.open();
            QVERIFY2(opened.ok(), qPrintable(opened.error()));
        }
        for (const QString& made : {state, state + QStringLiteral("/Quirkpad"), path}) {
            struct stat st;
            QCOMPARE(::stat(QFile::encodeName(made).constData(), &st), 0);
            QCOMPARE(st.st_mode & 0777, 0700u);
        }
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                                | QFileDevice::ReadOther | QFileDevice::ExeOther));
        RecoveryFolder again(path);
        QVERIFY(again.open().ok());
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0700u);
        // Unset, or not a full path: the base directory rules' default.
        for (const char* value : {"", "relative/state"}) {
            qputenv("XDG_STATE_HOME", value);
            QCOMPARE(RecoveryFolder::defaultPath(), QDir::homePath() + QStringLiteral("/.local/state/Quirkpad/recovery"));
        }
    }
};

QP_REGISTER_TEST(RecoveryFolderTest)
#include "tst_RecoveryFolder.moc"
