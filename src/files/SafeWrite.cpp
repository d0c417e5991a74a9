#include "files/SafeWrite.h"
#include "files/NativePath.h"
#include "files/PosixFile.h"
#include "files/RecoveryFolder.h"
#include "files/SaveJournal.h"

#include <QCryptographicHash>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace SafeWrite {
namespace {

using PosixFile::describe;
using PosixFile::Fd;
using PosixFile::writeAll;

// Follows symbolic links to the file they finally name (which may not exist
// yet), so that saving through a link writes the file and keeps the link.
Result<QByteArray> resolveLinks(QByteArray path)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        QByteArray target(st.st_size > 0 ? st.st_size + 1 : 4096, Qt::Uninitialized);
        const ssize_t n = ::readlink(path.constData(), target.data(), size_t(target.size()));
        if (n < 0)
            return Failure(describe(errno));
        target.truncate(n);
        if (!target.startsWith('/')) {
            const qsizetype slash = path.lastIndexOf('/');
            target.prepend(slash < 0 ? QByteArray() : path.left(slash + 1));
        }
        path = target;
    }
    return Failure(describe(ELOOP));
}

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

TestHooks& hooks()
{
    static TestHooks h;
    return h;
}

void reached(Step step)
{
    if (hooks().atStep)
        hooks().atStep(step);
}

// A file under the temporary name whose save no longer runs (it holds no
// lock) goes: a save killed between naming and renaming left it.
void removeDeadTemp(const QByteArray& temp)
{
    Fd fd(::open(temp.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat held, named;
    if (fd.get() < 0 || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0 || ::fstat(fd.get(), &held) != 0
        || ::lstat(temp.constData(), &named) != 0 || !S_ISREG(held.st_mode) || held.st_dev != named.st_dev
        || held.st_ino != named.st_ino)
        return;
    ::unlink(temp.constData());
}

// The temporary name is taken by a save that still runs (another editor's).
QString savedElsewhere()
{
    return QStringLiteral("The file is being saved by another program at this moment");
}

enum class Atomic { Done, InPlaceInstead, NamedInstead };

// A new file beside the target, given the target's owner, group and
// permissions, filled, synced, named and renamed over it. It is locked for
// as long as the save runs, so that another save of the file never takes
// it for a leftover. InPlaceInstead when the folder allows no new file, or
// the file's owner or group cannot be given to a new one; NamedInstead when
// an unnamed file cannot be given a name (no /proc).
Result<Atomic> writeBeside(const QByteArray& target, const struct stat* old, const Content& content, bool named)
{
    const QByteArray folder = folderOf(target);
    const QByteArray temp = folder + '/' + tempName(target.mid(target.lastIndexOf('/') + 1));
    removeDeadTemp(temp);
    int made = named ? -1 : ::open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (made < 0) {
        // No unnamed files here (an older kernel, some file systems).
        named = true;
        made = ::open(temp.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    }
    Fd fd(made);
    if (fd.get() < 0) {
        const int e = errno;
        if (old && (e == EACCES || e == EPERM))
            return Atomic::InPlaceInstead;
        return Failure(e == EEXIST ? savedElsewhere() : describe(e));
    }
    auto discard = [&] {
        if (named)
            ::unlink(temp.constData());
    };
    auto fail = [&](int e) -> Result<Atomic> {
        discard();
        return Failure(describe(e));
    };
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
        return fail(errno);
    if (old) {
        struct stat mine;
        if (::fstat(fd.get(), &mine) != 0)
            return fail(errno);
        if (mine.st_uid != old->st_uid || mine.st_gid != old->st_gid) {
            const uid_t uid = mine.st_uid == old->st_uid ? uid_t(-1) : old->st_uid;
            const gid_t gid = mine.st_gid == old->st_gid ? gid_t(-1) : old->st_gid;
            if (::fchown(fd.get(), uid, gid) != 0) {
                discard();
                return Atomic::InPlaceInstead;
            }
        }
    }
    // After the owner: a change of owner clears some permission bits.
    if (::fchmod(fd.get(), old ? (old->st_mode & 0777) : newFileMode()) != 0)
        return fail(errno);
    bool first = true;
    if (!content([&](const char* p, qsizetype n) {
            if (!writeAll(fd.get(), p, n))
                return false;
            if (std::exchange(first, false))
                reached(Step::TempPartlyWritten);
            return true;
        }))
        return fail(errno);
    if (::fdatasync(fd.get()) != 0)
        return fail(errno);
    if (!named) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd.get());
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, temp.constData(), AT_SYMLINK_FOLLOW) != 0) {
            const int e = errno;
            if (e == EEXIST)
                return Failure(savedElsewhere());
            return e == ENOENT ? Result<Atomic>(Atomic::NamedInstead) : fail(e);
        }
        named = true;
    }
    reached(Step::TempNamed);
    if (::rename(temp.constData(), target.constData()) != 0)
        return fail(errno);
    // Closed only now: until the rename the lock says the save still runs.
    if (!fd.close())
        return Failure(describe(errno));
    return Atomic::Done;
}

// Overwrites the file itself, so that its owner, group, links and any other
// attribute stay. The journal holds the old and the new bytes first; a write
// that fails puts the old ones back, and one cut short leaves the journal
// for the next start.
Result<> writeInPlace(const QByteArray& target, const Content& content)
{
    Fd file(::open(target.constData(), O_RDWR | O_CLOEXEC));
    if (file.get() < 0)
        return Failure(describe(errno));
    Result<SaveJournal::Writer> journal =
        SaveJournal::Writer::begin(RecoveryFolder::defaultPath(), target, file.get(), content);
    if (!journal)
        return Failure(QStringLiteral("No copy of the file could be made before writing it: ") + journal.error());
    reached(Step::JournalWhole);
    const Result<> written = journal->writeNew(file.get(), [] { reached(Step::InPlacePartlyWritten); });
    if (written) {
        reached(Step::InPlaceWhole);
        journal->finish();
        return {};
    }
    if (journal->writeOriginal(file.get())) {
        journal->finish();
        return written;
    }
    return Failure(written.error()
                   + QStringLiteral(". The file could not be put back as it was; its old content is kept in %1, and "
                                    "Quirkpad offers to put it back when it next starts")
                         .arg(journal->keep()));
}

}

QByteArray tempName(const QByteArray& fileName)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(fileName);
    hash.addData("/" + QByteArray::number(::geteuid()));
    return ".quirkpad-save-" + hash.result().left(8).toHex() + ".tmp";
}

void setTestHooks(const TestHooks& h)
{
    hooks() = h;
}

Result<> replace(const QByteArray& path, const Content& content)
{
    const Result<QByteArray> resolved = resolveLinks(path);
    if (!resolved)
        return Failure(resolved.error());
    const QByteArray& target = *resolved;
    struct stat old;
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return Failure(describe(EISDIR));
    if (exists && !S_ISREG(old.st_mode))
        return Failure(QStringLiteral("Not a regular file"));
    // A file the user may not write is not replaced behind its back, even
    // where the folder would allow a new file in its place.
    if (exists && ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
        return Failure(describe(errno));
    // A second hard link would keep the old text if the name got a new file.
    if (exists && old.st_nlink > 1)
        return writeInPlace(target, content);
    Result<Atomic> done = writeBeside(target, exists ? &old : nullptr, content, hooks().namedTempFiles);
    if (done && *done == Atomic::NamedInstead)
        done = writeBeside(target, exists ? &old : nullptr, content, true);
    if (!done)
        return Failure(done.error());
    switch (*done) {
    case Atomic::Done: return {};
    case Atomic::InPlaceInstead:
    case Atomic::NamedInstead: break;
    }
    return writeInPlace(target, content);
}

}
