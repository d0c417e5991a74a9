#pragma once
#include "base/Result.h"
#include "files/TextFormat.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// A copy of a document's unsaved text, kept so that a crash, a kill or a
// power cut loses nothing: a few header lines that say which file the text
// belongs to and how that file is stored, then the text exactly as the
// editing control held it (UTF-8; any byte, NUL and stray CR included).
namespace RecoveryFile {

// The document's file as the editor last read or wrote it, so that the next
// start can tell whether another program has changed it since.
struct FileIdentity {
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    QByteArray digest;     // of its bytes (see FileDigest); empty when not known
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

struct Header {
    QString path;          // "" for an untitled document
    TextFormat format;
    qint64 writerPid = 0;  // for whoever looks at the file by hand
    // Nothing for an untitled document, and in copies written before the
    // identity was kept.
    std::optional<FileIdentity> file;
};

// What has become of the file since its identity was taken.
enum class FileSince { Unchanged, Changed, Removed };
FileSince fileSince(const QString& path, const FileIdentity& then);

// The header lines, ending in the empty line after which `textLength`
// bytes of text follow.
QByteArray header(const Header& h, qsizetype textLength);

struct Contents {
    Header header;
    QByteArray text;
};

// Writes a copy: the old copy stays whole until the new one is complete and
// on disk, and only the user may read it. A copy that was cut short lies in
// partPath(path) until the next write.
Result<> save(const QString& path, const Header& h, QByteArrayView text);
QString partPath(const QString& path);

// A file name as one header line: printable ASCII as it is, everything else
// (a line break, a lone surrogate from bytes that are not UTF-8) as \uXXXX.
QByteArray escapedPath(const QString& path);
// Nothing when the line holds a broken escape.
std::optional<QString> unescapedPath(QByteArrayView text);

// The header at the start of a copy, and the length of the text that should
// follow it; nothing when the bytes start with no whole header.
struct Start {
    Header header;
    qsizetype textStart = 0;
    qsizetype textLength = 0;
};
std::optional<Start> parseHeader(QByteArrayView bytes);

// The copy in a file's bytes; nothing when they are not a whole copy
// (another kind of file, a damaged header, a text shorter or longer than
// the header says).
std::optional<Contents> parse(QByteArray bytes);

}
