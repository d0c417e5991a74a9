#pragma once
#include "base/Result.h"
#include "files/TextFormat.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <limits>

// Reading and writing document files. Text travels as UTF-8 between the file
// and the editing control, in pieces, so that a large file is never held
// twice; the file's own encoding, byte-order mark and line breaks are kept in
// a TextFormat and used again when the document is written back. Paths may
// carry bytes that are not UTF-8 (see NativePath).
namespace TextFile {

using Utf8Sink = std::function<void(const char* utf8, qsizetype length)>;
// Told the exact length of the whole text in UTF-8 before the first piece,
// once the file is known to be readable and small enough, so that the
// receiver can make room for it once. Told again when the text must start
// over (a file that looked like UTF-8 and is not): the receiver drops what
// it got.
using LengthHint = std::function<void(qsizetype utf8Length)>;

// The longest text, in UTF-8 bytes, that a document can have: the editing
// control counts positions in 32-bit integers.
constexpr qint64 kMaxTextLength = std::numeric_limits<int>::max();

// What a read found out about the file.
struct ReadInfo {
    TextFormat format;
    qint64 fileSize = 0;
};

// Decodes the file and hands its text to the sink as UTF-8, in pieces of
// whole characters, read through fixed-size buffers, never a memory map (a
// file truncated under a map kills the reader). A UTF-8 file is decoded in
// one pass when there is a hint; any other is read once to learn its
// encoding and length, and again to decode it. A file whose text would be
// longer than maxLength is refused before the hint. A file that changes
// while it is read fails with a description that says so. The sink is not
// called when the file cannot be read.
//
// The hint is the one sign that the receiver's text is at stake: a failure
// before it leaves the receiver as it was; a failure after it (the file
// changed, a read failed) leaves the receiver with part of the file, or
// nothing, as it dropped what it held when told. Without a hint, a failure
// may come after the sink got part of the file.
Result<ReadInfo> read(const QString& path, const Utf8Sink& sink, const LengthHint& hint = {},
                      qint64 maxLength = kMaxTextLength);

// Why a file is refused as too large: it has fileBytes bytes, more than
// maxLength; or (asText) its bytes make more than maxLength bytes of text.
QString tooLarge(qint64 fileBytes, qint64 maxLength, bool asText);

// Reads the whole file into one UTF-8 buffer (small files, tests).
Result<QByteArray> readAll(const QString& path);

// Decodes bytes as a file would be decoded.
TextFormat decode(QByteArrayView fileBytes, const Utf8Sink& sink, const LengthHint& hint = {});

struct WriteInfo {
    // The format the file was written in: the one asked for, or UTF-8 when
    // the text holds characters the asked-for encoding cannot store.
    TextFormat written;
    bool switchedToUtf8 = false;
};

// Encodes the text in the format (line breaks are written as they stand in
// the text) and replaces the file. A symbolic link is followed, so the link
// stays a link; the file keeps its permissions, owner and group.
//
// Normally a new file is written beside the old one and renamed over it, so
// the old file stays whole until the new one is complete. Where that would
// change who owns the file (another user's file), cut a hard link off, or
// where the folder allows no new file although the file itself may be
// written, the file is overwritten in place instead, after its old and new
// bytes have been put in a journal; a failed write puts the old bytes back,
// and a write cut short leaves the journal for the next start (see
// SafeWrite and SaveJournal).
Result<WriteInfo> write(const QString& path, QByteArrayView utf8, const TextFormat& format);

// The bytes the text becomes in the format; *unencodable is set when some
// character has no place in the encoding (the result is then incomplete).
QByteArray encode(QByteArrayView utf8, const TextFormat& format, bool* unencodable = nullptr);

// True when every character of the text can be stored in the encoding.
bool canEncode(QByteArrayView utf8, Encoding encoding);

}
