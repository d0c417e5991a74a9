#include "files/TextFile.h"
#include "files/Cp1252.h"
#include "files/NativePath.h"
#include "files/PosixFile.h"
#include "files/SafeWrite.h"
#include "files/TextReader.h"
#include "base/Utf8.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace TextFile {
namespace {

using PosixFile::describe;
using PosixFile::Fd;
using SafeWrite::Put;

constexpr qsizetype kChunk = 1 << 20;   // bytes of encoded text handed on at a time
const char kUtf8Bom[] = "\xEF\xBB\xBF";

QString openError(int error, const QString& path)
{
    // A name Qt could not decode (from a file dialog) names no file.
    if (error == ENOENT && NativePath::mayBeMangled(path))
        return QStringLiteral("The file name is not valid UTF-8, so the file cannot be found under it");
    return describe(error);
}

QByteArray bomFor(const TextFormat& f)
{
    switch (f.encoding) {
    case Encoding::Utf8: return f.bom ? QByteArray(kUtf8Bom, 3) : QByteArray();
    case Encoding::Utf16LE: return QByteArray("\xFF\xFE", 2);
    case Encoding::Utf16BE: return QByteArray("\xFE\xFF", 2);
    case Encoding::Cp1252: break;
    }
    return {};
}

// Encodes without the byte-order mark, piece by piece, handing each piece on.
bool encodeBody(QByteArrayView utf8, Encoding enc, const Put& out, bool* unencodable)
{
    if (enc == Encoding::Utf8)
        return utf8.isEmpty() || out(utf8.data(), utf8.size());
    const auto* p = reinterpret_cast<const std::uint8_t*>(utf8.data());
    const auto* const end = p + utf8.size();
    QByteArray piece;
    piece.reserve(3 * kChunk + 8);
    auto put16 = [&](char16_t u) {
        if (enc == Encoding::Utf16LE) {
            piece.append(char(u & 0xFF));
            piece.append(char(u >> 8));
        } else {
            piece.append(char(u >> 8));
            piece.append(char(u & 0xFF));
        }
    };
    while (p < end) {
        const auto* asciiEnd = Utf8::skipAscii(p, std::min(end, p + kChunk));
        const QByteArrayView ascii(reinterpret_cast<const char*>(p), asciiEnd - p);
        p = asciiEnd;
        if (enc == Encoding::Cp1252) {
            // ASCII is the same byte in the code page: copy runs of it whole.
            piece.append(ascii);
        } else if (!ascii.isEmpty()) {
            // In UTF-16 an ASCII character is its byte and a zero byte.
            const qsizetype at = piece.size();
            piece.resize(at + 2 * ascii.size());
            char* d = piece.data() + at;
            const int low = enc == Encoding::Utf16LE ? 0 : 1;
            for (const char c : ascii) {
                d[low] = c;
                d[1 - low] = 0;
                d += 2;
            }
        }
        if (p < end && *p >= 0x80) {
            // Bytes that form no character (the editor never makes them)
            // stand for U+FFFD.
            const Utf8::Char c = Utf8::decode(p, end);
            const char32_t cp = c.status == Utf8::Status::Ok ? c.code : char32_t(0xFFFD);
            p += c.status == Utf8::Status::Ok ? c.width : 1;
            if (enc == Encoding::Cp1252) {
                const int b = Cp1252::fromUnicode(cp);
                if (b < 0) {
                    if (unencodable)
                        *unencodable = true;
                } else {
                    piece.append(char(b));
                }
            } else if (cp >= 0x10000) {
                put16(char16_t(0xD800 + ((cp - 0x10000) >> 10)));
                put16(char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF)));
            } else {
                put16(char16_t(cp));
            }
        }
        if (piece.size() >= kChunk) {
            if (!out(piece.constData(), piece.size()))
                return false;
            piece.resize(0);
        }
    }
    return piece.isEmpty() || out(piece.constData(), piece.size());
}

}

TextFormat decode(QByteArrayView bytes, const Utf8Sink& sink, const LengthHint& hint)
{
    // Bytes in memory neither change nor fail to be read.
    TextReader::MemorySource source(bytes);
    const Result<ReadInfo> r =
        TextReader::decode(source, bytes.size(), sink, hint, std::numeric_limits<qint64>::max());
    return r ? r->format : TextFormat{};
}

Result<ReadInfo> read(const QString& path, const Utf8Sink& sink, const LengthHint& hint, qint64 maxLength)
{
    // Never blocks on a named pipe: only regular files are read.
    Fd fd(::open(NativePath::toNative(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0)
        return Failure(openError(errno, path));
    struct stat st;
    if (::fstat(fd.get(), &st) != 0)
        return Failure(describe(errno));
    if (!S_ISREG(st.st_mode))
        return Failure(S_ISDIR(st.st_mode) ? describe(EISDIR) : QStringLiteral("Not a regular file"));
    ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    TextReader::FileSource source(fd.get());
    return TextReader::decode(source, st.st_size, sink, hint, maxLength);
}

Result<QByteArray> readAll(const QString& path)
{
    QByteArray utf8;
    const Result<ReadInfo> r = read(
        path, [&utf8](const char* p, qsizetype n) { utf8.append(p, n); },
        [&utf8](qsizetype length) {
            utf8.clear();
            utf8.reserve(length);
        });
    if (!r)
        return Failure(r.error());
    return utf8;
}

bool canEncode(QByteArrayView utf8, Encoding enc)
{
    if (enc != Encoding::Cp1252)
        return true;
    const auto* p = reinterpret_cast<const std::uint8_t*>(utf8.data());
    const auto* const end = p + utf8.size();
    while ((p = Utf8::skipAscii(p, end)) < end) {
        const Utf8::Char c = Utf8::decode(p, end);
        if (c.status != Utf8::Status::Ok || Cp1252::fromUnicode(c.code) < 0)
            return false;
        p += c.width;
    }
    return true;
}

QByteArray encode(QByteArrayView utf8, const TextFormat& format, bool* unencodable)
{
    QByteArray out = bomFor(format);
    if (unencodable)
        *unencodable = false;
    encodeBody(utf8, format.encoding, [&](const char* p, qsizetype n) { out.append(p, n); return true; },
               unencodable);
    return out;
}

Result<WriteInfo> write(const QString& path, QByteArrayView utf8, const TextFormat& format)
{
    WriteInfo info{format, false};
    if (!canEncode(utf8, format.encoding)) {
        // Never drop a character: store the document as UTF-8 instead.
        info.written.encoding = Encoding::Utf8;
        info.written.bom = false;
        info.switchedToUtf8 = true;
    }
    const SafeWrite::Content content = [&](const Put& put) {
        const QByteArray bom = bomFor(info.written);
        return (bom.isEmpty() || put(bom.constData(), bom.size()))
               && encodeBody(utf8, info.written.encoding, put, nullptr);
    };
    if (const Result<> replaced = SafeWrite::replace(NativePath::toNative(path), content); !replaced)
        return Failure(replaced.error());
    return info;
}

}
