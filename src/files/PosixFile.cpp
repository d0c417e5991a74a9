#include "files/PosixFile.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace PosixFile {

QString describe(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

Fd::~Fd()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool Fd::close()
{
    const int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0;
}

bool writeAll(int fd, const char* p, qsizetype n)
{
    while (n > 0) {
        const ssize_t done = ::write(fd, p, size_t(n));
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += done;
        n -= done;
    }
    return true;
}

qsizetype readUpTo(int fd, char* into, qsizetype n)
{
    qsizetype total = 0;
    while (total < n) {
        const ssize_t got = ::read(fd, into + total, size_t(n - total));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (got == 0)
            break;
        total += got;
    }
    return total;
}

}
