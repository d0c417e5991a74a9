#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

// What the file at a path is right now, as far as telling a change goes:
// which file it is (a replace by rename makes a new one), its size, and the
// times of its last write and last change of status, to the nanosecond.
struct FileFingerprint {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 statusChangedNs = 0;

    // Follows a symbolic link to the file it names.
    static FileFingerprint of(const QString& path);
    friend bool operator==(const FileFingerprint&, const FileFingerprint&) = default;
};

namespace FileDigest {

// The longest file whose bytes are compared; a larger one counts as changed
// whenever its fingerprint does.
constexpr qint64 kMaxSize = qint64(512) << 20;

// A digest of the file's bytes, taken while the file is the one described:
// nothing when it is another by now, changes while it is read, cannot be
// read, or is larger than kMaxSize.
std::optional<QByteArray> of(const QString& path, const FileFingerprint& expected);

}
