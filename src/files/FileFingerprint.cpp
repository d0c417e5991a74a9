#include "files/FileFingerprint.h"
#include "files/NativePath.h"

#include <QCryptographicHash>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FileFingerprint fromStat(const struct stat& st)
{
    FileFingerprint f;
    f.exists = true;
    f.device = st.st_dev;
    f.inode = st.st_ino;
    f.size = st.st_size;
    f.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    f.statusChangedNs = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return f;
}

}

FileFingerprint FileFingerprint::of(const QString& path)
{
    struct stat st;
    if (path.isEmpty() || ::stat(NativePath::toNative(path).constData(), &st) != 0)
        return {};
    return fromStat(st);
}

namespace FileDigest {

std::optional<QByteArray> of(const QString& path, const FileFingerprint& expected)
{
    if (!expected.exists || expected.size > kMaxSize)
        return std::nullopt;
    const int fd = ::open(NativePath::toNative(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat before;
    std::optional<QByteArray> digest;
    if (::fstat(fd, &before) == 0 && fromStat(before) == expected) {
        // Not a guard against anyone: only a way to tell whether the bytes
        // are the ones seen before, cheaply.
        QCryptographicHash hash(QCryptographicHash::Sha1);
        QByteArray buffer(1 << 20, Qt::Uninitialized);
        ssize_t n;
        while ((n = ::read(fd, buffer.data(), size_t(buffer.size()))) > 0 || (n < 0 && errno == EINTR))
            if (n > 0)
                hash.addData(QByteArrayView(buffer.constData(), n));
        struct stat after;
        if (n == 0 && ::fstat(fd, &after) == 0 && fromStat(after) == expected)
            digest = hash.result();
    }
    ::close(fd);
    return digest;
}

}
