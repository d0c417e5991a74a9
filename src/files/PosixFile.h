#pragma once
#include <QString>

// Plain POSIX file access for the document files: descriptors that close
// themselves, whole reads and writes that ride out interruptions, and the
// system's own words for a failure.
namespace PosixFile {

QString describe(int error);

// A file descriptor closed on every way out.
class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd();
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    // Closes now and says whether the close went well: a delayed write
    // error shows up here.
    bool close();

private:
    int m_fd;
};

bool writeAll(int fd, const char* p, qsizetype n);

// Up to n bytes, fewer only at the end of the file; -1 on failure (errno).
qsizetype readUpTo(int fd, char* into, qsizetype n);

}
