#pragma once
#include "base/Result.h"

#include <QString>
#include <optional>

// A lock on a file that the system holds for as long as this process keeps
// it and lets go of when the process ends, however it ends (a crash, kill -9,
// a power cut): whether the lock can be taken says whether its owner still
// runs, without trusting process ids that the system hands out again.
// Locks taken twice in one process exclude each other too.
class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Makes a new file at path (mode 0600) that is locked before anyone can
    // see it under that name. Fails, with the system's description, when the
    // name is taken or the folder refuses.
    static Result<FileLock> create(const QString& path);
    // Takes the lock of an existing file without waiting. Nothing when its
    // owner holds it, or the file is gone or replaced meanwhile.
    static std::optional<FileLock> tryExisting(const QString& path);

    bool isHeld() const { return m_fd >= 0; }
    // The locked file, open for reading and writing when made by create().
    int fd() const { return m_fd; }
    QString path() const { return m_path; }

    // Lets go; the file stays for its next owner.
    void release();
    // Removes the file, then lets go, so that nobody takes a lock on a
    // file about to disappear.
    void removeAndRelease();

private:
    FileLock(int fd, QString path) : m_fd(fd), m_path(std::move(path)) {}
    int m_fd = -1;
    QString m_path;
};
