#include "files/FileLock.h"
#include "files/NativePath.h"
#include "files/PosixFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int openNoInherit(const QByteArray& path, int flags, mode_t mode = 0)
{
    // Never handed to a program the editor starts: a child that outlived a
    // crashed editor would keep its lock, and its work would never be offered.
    int fd;
    do
        fd = ::open(path.constData(), flags | O_CLOEXEC, mode);
    while (fd < 0 && errno == EINTR);
    return fd;
}

bool lockNow(int fd)
{
    int rc;
    do
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    return rc == 0;
}

}

FileLock::~FileLock()
{
    release();
}

FileLock::FileLock(FileLock&& other) noexcept : m_fd(other.m_fd), m_path(std::move(other.m_path))
{
    other.m_fd = -1;
}

FileLock& FileLock::operator=(FileLock&& other) noexcept
{
    if (this != &other) {
        release();
        m_fd = other.m_fd;
        m_path = std::move(other.m_path);
        other.m_fd = -1;
    }
    return *this;
}

Result<FileLock> FileLock::create(const QString& path)
{
    // Locked under a name nobody looks for, then renamed: another editor
    // that finds the file finds it locked.
    const QByteArray final = NativePath::toNative(path);
    const QByteArray fresh = final + ".new";
    const int fd = openNoInherit(fresh, O_RDWR | O_CREAT | O_EXCL, 0600);
    if (fd < 0)
        return Failure(PosixFile::describe(errno));
    bool named = lockNow(fd) && ::link(fresh.constData(), final.constData()) == 0;
    if (named) {
        ::unlink(fresh.constData());
    } else if (errno == EPERM || errno == EOPNOTSUPP || errno == ENOSYS) {
        // A file system without hard links: a rename, which would replace a
        // file of the same name; the callers' names are unique.
        named = ::rename(fresh.constData(), final.constData()) == 0;
    }
    if (!named) {
        const int error = errno;
        ::unlink(fresh.constData());
        ::close(fd);
        return Failure(PosixFile::describe(error));
    }
    return FileLock(fd, path);
}

std::optional<FileLock> FileLock::tryExisting(const QString& path)
{
    const QByteArray native = NativePath::toNative(path);
    const int fd = openNoInherit(native, O_RDONLY);
    if (fd < 0)
        return std::nullopt;
    // Locked, and still the file of that name: one removed by its owner
    // between our open and our lock is no lock at all.
    struct stat held, named;
    if (!lockNow(fd) || ::fstat(fd, &held) != 0 || ::stat(native.constData(), &named) != 0
        || held.st_dev != named.st_dev || held.st_ino != named.st_ino) {
        ::close(fd);
        return std::nullopt;
    }
    return FileLock(fd, path);
}

void FileLock::release()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void FileLock::removeAndRelease()
{
    if (m_fd >= 0)
        ::unlink(NativePath::toNative(m_path).constData());
    release();
}
