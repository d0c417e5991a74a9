#include "files/RecoveryFolder.h"
#include "files/NativePath.h"
#include "files/RecoveryFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kCopySuffix = QStringLiteral(".recovery");
const QString kLockSuffix = QStringLiteral(".lock");
const QString kJournalSuffix = QStringLiteral(".journal");

// Every missing folder on the way is made private to the user, as the
// freedesktop base directory rules ask of the state folder.
Result<> makePrivateFolders(const QString& path)
{
    QString done;
    for (const QString& part : QDir::cleanPath(QDir(path).absolutePath()).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        done += QLatin1Char('/') + part;
        if (::mkdir(NativePath::toNative(done).constData(), 0700) != 0 && errno != EEXIST) {
            return Failure(QString::fromLocal8Bit(std::strerror(errno)) + QStringLiteral(": ") + done);
        }
    }
    // The recovery folder itself is private even when it was made otherwise.
    const QByteArray native = NativePath::toNative(path);
    struct stat st;
    if (::stat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return Failure(QStringLiteral("not a folder: ") + path);
    if ((st.st_mode & 077) != 0 && st.st_uid == ::geteuid())
        ::chmod(native.constData(), 0700);
    return {};
}

}

QString RecoveryFolder::defaultPath()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // The base directory rules ignore a relative value.
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(state + QStringLiteral("/Quirkpad/recovery"));
}

RecoveryFolder::RecoveryFolder(QString path) : m_path(std::move(path)) {}

// The process id for whoever reads the folder by hand; the random part
// keeps two editors apart even when one inherits a dead one's id.
QString RecoveryFolder::newId()
{
    return QStringLiteral("%1-%2")
        .arg(QCoreApplication::applicationPid())
        .arg(QRandomGenerator::system()->generate(), 8, 16, QLatin1Char('0'));
}

Result<FileLock> RecoveryFolder::createJournal(const QString& path)
{
    if (const Result<> made = makePrivateFolders(path); !made)
        return Failure(made.error());
    for (int attempt = 0; attempt < 8; ++attempt)
        if (Result<FileLock> lock = FileLock::create(path + QLatin1Char('/') + newId() + kJournalSuffix))
            return std::move(*lock);
    return Failure(QStringLiteral("cannot make a file in ") + path);
}

Result<> RecoveryFolder::open()
{
    if (const Result<> made = makePrivateFolders(m_path); !made)
        return made;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const QString id = newId();
        if (Result<FileLock> lock = FileLock::create(m_path + QLatin1Char('/') + id + kLockSuffix)) {
            m_own = std::move(*lock);
            m_ownCopy = m_path + QLatin1Char('/') + id + kCopySuffix;
            return {};
        }
    }
    return Failure(QStringLiteral("cannot make a lock file in ") + m_path);
}

std::vector<RecoveryFolder::Leftover> RecoveryFolder::claimLeftovers()
{
    std::vector<Leftover> found;
    const QDir dir(m_path);
    for (const QFileInfo& lockInfo : dir.entryInfoList({QLatin1Char('*') + kLockSuffix}, QDir::Files | QDir::Hidden)) {
        const QString lockPath = lockInfo.filePath();
        if (lockPath == m_own.path())
            continue;
        std::optional<FileLock> lock = FileLock::tryExisting(lockPath);
        if (!lock)
            continue;   // its editor runs, or another editor has claimed it
        const QString copy = lockPath.chopped(kLockSuffix.size()) + kCopySuffix;
        QFile::remove(RecoveryFile::partPath(copy));   // a copy its editor did not finish
        const QFileInfo copyInfo(copy);
        if (!copyInfo.isFile()) {
            lock->removeAndRelease();   // an editor that ended with nothing unsaved
            continue;
        }
        found.push_back({copy, copyInfo.lastModified(), std::move(*lock), Leftover::Kind::Copy});
    }
    for (const QFileInfo& info : dir.entryInfoList({QLatin1Char('*') + kJournalSuffix}, QDir::Files | QDir::Hidden)) {
        // Held while its save runs, here or in another editor.
        if (std::optional<FileLock> lock = FileLock::tryExisting(info.filePath()))
            found.push_back({info.filePath(), info.lastModified(), std::move(*lock), Leftover::Kind::Journal});
    }
    std::sort(found.begin(), found.end(), [](const Leftover& a, const Leftover& b) { return a.written > b.written; });
    return found;
}

void RecoveryFolder::close()
{
    m_own.removeAndRelease();
}
