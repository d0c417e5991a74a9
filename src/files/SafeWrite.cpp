#include "files/SafeWrite.h"
#include "files/AppPaths.h"
#include "files/NativePath.h"
#include "files/PosixFile.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SafeWrite {
namespace {

using PosixFile::describe;
using PosixFile::Fd;
using PosixFile::readUpTo;
using PosixFile::writeAll;

constexpr qsizetype kCopyBuffer = 1 << 20;

// Follows symbolic links to the file they finally name (which may not exist
// yet), so that saving through a link writes the file and keeps the link.
bool resolveLinks(QByteArray* path, QString* error)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(path->constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        QByteArray target(st.st_size > 0 ? st.st_size + 1 : 4096, Qt::Uninitialized);
        const ssize_t n = ::readlink(path->constData(), target.data(), size_t(target.size()));
        if (n < 0) {
            *error = describe(errno);
            return false;
        }
        target.truncate(n);
        if (!target.startsWith('/')) {
            const qsizetype slash = path->lastIndexOf('/');
            target.prepend(slash < 0 ? QByteArray() : path->left(slash + 1));
        }
        *path = target;
    }
    *error = describe(ELOOP);
    return false;
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

enum class Atomic { Done, Failed, InPlaceInstead };

// A new file beside the target, given the target's owner, group and
// permissions, filled, synced and renamed over it. InPlaceInstead when the
// folder allows no new file, or the file's owner or group cannot be given
// to a new one.
Atomic writeBeside(const QByteArray& target, const struct stat* old, const Content& content, QString* error)
{
    const QByteArray folder = folderOf(target);
    const QByteArray name = target.mid(target.lastIndexOf('/') + 1);
    QByteArray temp = folder + "/." + name + ".XXXXXX";
    Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        const int e = errno;
        if (old && (e == EACCES || e == EPERM))
            return Atomic::InPlaceInstead;
        *error = describe(e);
        return Atomic::Failed;
    }
    auto fail = [&](int e) {
        ::unlink(temp.constData());
        *error = describe(e);
        return Atomic::Failed;
    };
    if (old) {
        struct stat mine;
        if (::fstat(fd.get(), &mine) != 0)
            return fail(errno);
        if (mine.st_uid != old->st_uid || mine.st_gid != old->st_gid) {
            const uid_t uid = mine.st_uid == old->st_uid ? uid_t(-1) : old->st_uid;
            const gid_t gid = mine.st_gid == old->st_gid ? gid_t(-1) : old->st_gid;
            if (::fchown(fd.get(), uid, gid) != 0) {
                ::unlink(temp.constData());
                return Atomic::InPlaceInstead;
            }
        }
    }
    // After the owner: a change of owner clears some permission bits.
    if (::fchmod(fd.get(), old ? (old->st_mode & 0777) : newFileMode()) != 0)
        return fail(errno);
    if (!content([&](const char* p, qsizetype n) { return writeAll(fd.get(), p, n); }))
        return fail(errno);
    if (::fdatasync(fd.get()) != 0)
        return fail(errno);
    if (!fd.close())
        return fail(errno);
    if (::rename(temp.constData(), target.constData()) != 0)
        return fail(errno);
    return Atomic::Done;
}

// Copies everything from one descriptor (read from its start) to another
// (written from its start), and cuts the destination to that length.
bool copyWhole(int from, int to)
{
    if (::lseek(from, 0, SEEK_SET) != 0 || ::lseek(to, 0, SEEK_SET) != 0)
        return false;
    QByteArray buffer(kCopyBuffer, Qt::Uninitialized);
    off_t total = 0;
    for (;;) {
        const qsizetype got = readUpTo(from, buffer.data(), buffer.size());
        if (got < 0)
            return false;
        if (got == 0)
            break;
        if (!writeAll(to, buffer.constData(), got))
            return false;
        total += got;
    }
    return ::ftruncate(to, total) == 0 && ::fdatasync(to) == 0;
}

// Overwrites the file itself, so that its owner, group, links and any other
// attribute stay: a copy goes to the temporary folder first and comes back
// if the write fails.
bool writeInPlace(const QByteArray& target, const Content& content, QString* error)
{
    Fd file(::open(target.constData(), O_RDWR | O_CLOEXEC));
    if (file.get() < 0) {
        *error = describe(errno);
        return false;
    }
    const QString folder = AppPaths::tempDir();
    if (folder.isEmpty()) {
        *error = QStringLiteral("No temporary folder for a copy of the file");
        return false;
    }
    QByteArray copyPath = NativePath::toNative(folder) + "/saved-copy-XXXXXX";
    Fd copy(::mkostemp(copyPath.data(), O_CLOEXEC));
    if (copy.get() < 0 || !copyWhole(file.get(), copy.get())) {
        *error = QStringLiteral("No copy of the file could be made before writing it: ") + describe(errno);
        if (copy.get() >= 0)
            ::unlink(copyPath.constData());
        return false;
    }
    off_t written = 0;
    const bool ok = ::lseek(file.get(), 0, SEEK_SET) == 0
                    && content([&](const char* p, qsizetype n) {
                           written += n;
                           return writeAll(file.get(), p, n);
                       })
                    && ::ftruncate(file.get(), written) == 0 && ::fdatasync(file.get()) == 0;
    if (ok) {
        ::unlink(copyPath.constData());
        return true;
    }
    const int failure = errno;
    *error = describe(failure);
    if (copyWhole(copy.get(), file.get())) {
        ::unlink(copyPath.constData());
    } else {
        *error += QStringLiteral(". The file could not be put back as it was; its old content is in %1 "
                                 "until Quirkpad closes")
                      .arg(NativePath::fromNative(copyPath));
    }
    return false;
}

}

bool replace(const QByteArray& path, const Content& content, QString* error)
{
    QByteArray target = path;
    if (!resolveLinks(&target, error))
        return false;
    struct stat old;
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) {
        *error = describe(EISDIR);
        return false;
    }
    if (exists && !S_ISREG(old.st_mode)) {
        *error = QStringLiteral("Not a regular file");
        return false;
    }
    // A file the user may not write is not replaced behind its back, even
    // where the folder would allow a new file in its place.
    if (exists && ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0) {
        *error = describe(errno);
        return false;
    }
    // A second hard link would keep the old text if the name got a new file.
    if (exists && old.st_nlink > 1)
        return writeInPlace(target, content, error);
    switch (writeBeside(target, exists ? &old : nullptr, content, error)) {
    case Atomic::Done: return true;
    case Atomic::Failed: return false;
    case Atomic::InPlaceInstead: break;
    }
    return writeInPlace(target, content, error);
}

}
