#pragma once
#include "platform/TextFormat.h"

#include <QByteArray>
#include <QString>
#include <functional>

// Reading and writing document files. Text travels as UTF-8 between the file
// and the editing control, in pieces, so that a large file is never held
// twice; the file's own encoding, byte-order mark and line breaks are kept in
// a TextFormat and used again when the document is written back.
namespace TextFile {

using Utf8Sink = std::function<void(const char* utf8, qsizetype length)>;
// Told the exact length of the whole text in UTF-8 before the first piece,
// so that the receiver can make room for it once.
using LengthHint = std::function<void(qsizetype utf8Length)>;

struct ReadResult {
    bool ok = false;
    QString error;      // the system's description of a failure
    TextFormat format;
    qint64 fileSize = 0;
};

// Decodes the file and hands its text to the sink as UTF-8, in one or more
// pieces. The sink is not called when the file cannot be read.
ReadResult read(const QString& path, const Utf8Sink& sink, const LengthHint& hint = {});

// Reads the whole file into one UTF-8 buffer (small files, tests).
ReadResult readAll(const QString& path, QByteArray* utf8);

// Decodes bytes as a file would be decoded.
TextFormat decode(QByteArrayView fileBytes, const Utf8Sink& sink, const LengthHint& hint = {});

struct WriteResult {
    bool ok = false;
    QString error;
    // The format the file was written in: the one asked for, or UTF-8 when
    // the text holds characters the asked-for encoding cannot store.
    TextFormat written;
    bool switchedToUtf8 = false;
};

// Encodes the text in the format (line breaks are written as they stand in
// the text) and replaces the file atomically: the old file stays whole until
// the new one is complete, and keeps its permissions. A symbolic link is
// followed, so the link stays a link.
WriteResult write(const QString& path, QByteArrayView utf8, const TextFormat& format);

// The bytes the text becomes in the format; *unencodable is set when some
// character has no place in the encoding (the result is then incomplete).
QByteArray encode(QByteArrayView utf8, const TextFormat& format, bool* unencodable = nullptr);

// True when every character of the text can be stored in the encoding.
bool canEncode(QByteArrayView utf8, Encoding encoding);

}
