#include "files/SaveJournal.h"
#include "files/NativePath.h"
#include "files/PosixFile.h"
#include "files/RecoveryFile.h"
#include "files/RecoveryFolder.h"

#include <QList>
#include <QMutex>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace SaveJournal {
namespace {

using PosixFile::describe;
using PosixFile::Fd;
using PosixFile::writeAll;

const QByteArray kMagic = QByteArrayLiteral("Quirkpad interrupted save 1");
const QByteArray kCopying = QByteArrayLiteral("state: copying\n");
const QByteArray kWriting = QByteArrayLiteral("state: writing\n");
constexpr int kLengthDigits = 20;
constexpr qsizetype kBuffer = 1 << 20;

QByteArray lengthField(qint64 n)
{
    return QByteArray::number(n).rightJustified(kLengthDigits, '0');
}

bool pwriteAll(int fd, const QByteArray& bytes, off_t at)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), at + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        done += n;
    }
    return true;
}

// Hands `length` bytes of the file from `offset` on (-1: to its end) to
// `put` in pieces; the number handed on, or -1 with errno set.
qint64 readRange(int from, qint64 offset, qint64 length, const SafeWrite::Put& put)
{
    QByteArray buffer(kBuffer, Qt::Uninitialized);
    qint64 total = 0;
    while (length < 0 || total < length) {
        const qint64 want = length < 0 ? kBuffer : std::min<qint64>(kBuffer, length - total);
        const ssize_t got = ::pread(from, buffer.data(), size_t(want), off_t(offset + total));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0) {
            if (length < 0)
                break;
            errno = EIO;   // shorter than the journal says: it was changed under us
            return -1;
        }
        if (!put(buffer.constData(), got))
            return -1;
        total += got;
    }
    return total;
}

// Bytes of the journal written over the file from its start; the file is
// cut to their length and put on disk.
Result<> overwrite(int journal, qint64 offset, qint64 length, int file, const std::function<void()>& afterFirstPiece)
{
    if (::lseek(file, 0, SEEK_SET) != 0)
        return Failure(describe(errno));
    bool first = true;
    const qint64 written = readRange(journal, offset, length, [&](const char* p, qsizetype n) {
        if (!writeAll(file, p, n))
            return false;
        if (first && afterFirstPiece)
            afterFirstPiece();
        first = false;
        return true;
    });
    if (written != length || ::ftruncate(file, off_t(length)) != 0 || ::fdatasync(file) != 0)
        return Failure(describe(errno));
    return {};
}

void syncFolder(const QString& folder)
{
    // The journal's name reaches the disk too, or a power cut could lose it.
    Fd dir(::open(NativePath::toNative(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get());
}

// Journals whose files could not be put back: locked until this process
// ends, so that no other editor offers them while this one still might.
void holdUntilExit(FileLock lock)
{
    static QMutex mutex;
    static std::vector<FileLock> held;
    const QMutexLocker guard(&mutex);
    held.push_back(std::move(lock));
}

}

Writer::Writer(FileLock lock, qint64 originalLength, qint64 newLength, qint64 dataStart)
    : m_lock(std::move(lock)), m_originalLength(originalLength), m_newLength(newLength), m_dataStart(dataStart)
{
}

Result<Writer> Writer::begin(const QString& folder, const QByteArray& target, int fileFd,
                             const SafeWrite::Content& content)
{
    Result<FileLock> lock = RecoveryFolder::createJournal(folder);
    if (!lock)
        return Failure(lock.error());
    const int out = lock->fd();
    // The next start may run in another folder.
    QByteArray absolute = target;
    char cwd[PATH_MAX];
    if (!absolute.startsWith('/') && ::getcwd(cwd, sizeof cwd))
        absolute.prepend(QByteArray(cwd) + '/');
    QByteArray head = kMagic + '\n';
    head += "path: " + RecoveryFile::escapedPath(NativePath::fromNative(absolute)) + '\n';
    const qsizetype stateAt = head.size();
    head += kCopying;
    const qsizetype originalAt = head.size() + qsizetype(qstrlen("original-length: "));
    head += "original-length: " + lengthField(0) + '\n';
    const qsizetype newAt = head.size() + qsizetype(qstrlen("new-length: "));
    head += "new-length: " + lengthField(0) + "\n\n";

    const auto failed = [&lock]() -> Result<Writer> {
        const int error = errno;
        lock->removeAndRelease();
        return Failure(describe(error));
    };
    if (!writeAll(out, head.constData(), head.size()))
        return failed();
    const qint64 original = readRange(fileFd, 0, -1, [out](const char* p, qsizetype n) { return writeAll(out, p, n); });
    if (original < 0)
        return failed();
    qint64 fresh = 0;
    if (!content([&](const char* p, qsizetype n) {
            fresh += n;
            return writeAll(out, p, n);
        }))
        return failed();
    // Whole: the lengths, then the state that says the file may be touched.
    if (!pwriteAll(out, lengthField(original), originalAt) || !pwriteAll(out, lengthField(fresh), newAt)
        || ::fdatasync(out) != 0 || !pwriteAll(out, kWriting, stateAt) || ::fdatasync(out) != 0)
        return failed();
    syncFolder(folder);
    return Writer(std::move(*lock), original, fresh, head.size());
}

Result<> Writer::writeNew(int fileFd, const std::function<void()>& afterFirstPiece) const
{
    return overwrite(m_lock.fd(), m_dataStart + m_originalLength, m_newLength, fileFd, afterFirstPiece);
}

Result<> Writer::writeOriginal(int fileFd) const
{
    return overwrite(m_lock.fd(), m_dataStart, m_originalLength, fileFd, {});
}

void Writer::finish()
{
    m_lock.removeAndRelease();
}

QString Writer::keep()
{
    const QString path = m_lock.path();
    holdUntilExit(std::move(m_lock));
    return path;
}

std::optional<Layout> inspect(const QString& journal)
{
    Fd fd(::open(NativePath::toNative(journal).constData(), O_RDONLY | O_CLOEXEC));
    struct stat st;
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0)
        return std::nullopt;
    QByteArray head(64 * 1024, Qt::Uninitialized);   // an escaped path may be long
    const qsizetype got = PosixFile::readUpTo(fd.get(), head.data(), head.size());
    if (got < 0)
        return std::nullopt;
    head.truncate(got);
    const qsizetype end = head.indexOf("\n\n");
    if (end < 0)
        return std::nullopt;
    const QList<QByteArray> lines = head.left(end).split('\n');
    if (lines.size() != 5 || lines[0] != kMagic || !lines[1].startsWith("path: ")
        || !lines[3].startsWith("original-length: ") || !lines[4].startsWith("new-length: "))
        return std::nullopt;
    Layout l;
    const std::optional<QString> path = RecoveryFile::unescapedPath(QByteArrayView(lines[1]).sliced(6));
    bool okOriginal = false, okNew = false;
    l.originalLength = lines[3].mid(17).toLongLong(&okOriginal);
    l.newLength = lines[4].mid(12).toLongLong(&okNew);
    if (!path || path->isEmpty() || !okOriginal || !okNew || l.originalLength < 0 || l.newLength < 0)
        return std::nullopt;
    l.path = *path;
    l.fileTouched = lines[2] + '\n' == kWriting;
    l.originalStart = end + 2;
    l.newStart = l.originalStart + l.originalLength;
    // A journal cut short before it was whole never let the file be touched.
    if (!l.fileTouched || l.newStart + l.newLength != qint64(st.st_size))
        return std::nullopt;
    return l;
}

bool saveWasComplete(const QString& journal, const Layout& layout)
{
    Fd in(::open(NativePath::toNative(journal).constData(), O_RDONLY | O_CLOEXEC));
    Fd file(::open(NativePath::toNative(layout.path).constData(), O_RDONLY | O_CLOEXEC));
    struct stat st;
    if (in.get() < 0 || file.get() < 0 || ::fstat(file.get(), &st) != 0 || st.st_size != layout.newLength)
        return false;
    QByteArray mine(kBuffer, Qt::Uninitialized);
    const qint64 compared = readRange(in.get(), layout.newStart, layout.newLength, [&](const char* p, qsizetype n) {
        const qsizetype got = PosixFile::readUpTo(file.get(), mine.data(), n);
        return got == n && std::memcmp(mine.constData(), p, size_t(n)) == 0;
    });
    return compared == layout.newLength;
}

Result<> putBack(const QString& journal, const Layout& layout)
{
    Fd in(::open(NativePath::toNative(journal).constData(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0)
        return Failure(describe(errno));
    return SafeWrite::replace(NativePath::toNative(layout.path), [&](const SafeWrite::Put& put) {
        return readRange(in.get(), layout.originalStart, layout.originalLength, put) == layout.originalLength;
    });
}

Result<QByteArray> newBytes(const QString& journal, const Layout& layout)
{
    Fd in(::open(NativePath::toNative(journal).constData(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0)
        return Failure(describe(errno));
    QByteArray bytes;
    bytes.reserve(layout.newLength);
    if (readRange(in.get(), layout.newStart, layout.newLength, [&](const char* p, qsizetype n) {
            bytes.append(p, n);
            return true;
        }) != layout.newLength)
        return Failure(describe(errno));
    return bytes;
}

}
