#include "platform/TextFile.h"
#include "platform/Cp1252.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringView>

#include <cstdint>
#include <cstring>

namespace TextFile {
namespace {

constexpr qsizetype kChunk = 1 << 20;

void decodeUtf16(QByteArrayView bytes, bool bigEndian, const Utf8Sink& sink)
{
    QByteArray units;
    const qsizetype total = bytes.size() / 2;
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    qsizetype at = 0;
    while (at < total) {
        qsizetype n = std::min<qsizetype>(kChunk / 2, total - at);
        units.resize(n * 2);
        auto* out = reinterpret_cast<char16_t*>(units.data());
        for (qsizetype i = 0; i < n; ++i) {
            const std::uint8_t* u = p + 2 * (at + i);
            out[i] = bigEndian ? char16_t(u[0] << 8 | u[1]) : char16_t(u[1] << 8 | u[0]);
        }
        // Never split a surrogate pair between two pieces.
        if (at + n < total && out[n - 1] >= 0xD800 && out[n - 1] <= 0xDBFF)
            --n;
        const QByteArray utf8 = QStringView(out, n).toUtf8();
        sink(utf8.constData(), utf8.size());
        at += n;
    }
}

int utf8Width(char32_t c)
{
    return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

qsizetype utf8LengthOfCp1252(QByteArrayView bytes)
{
    qsizetype length = 0;
    for (char b : bytes)
        length += utf8Width(Cp1252::toUnicode(std::uint8_t(b)));
    return length;
}

// Whole, valid UTF-16 (checked before): a surrogate pair is 4 bytes of UTF-8.
qsizetype utf8LengthOfUtf16(QByteArrayView bytes, bool bigEndian)
{
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    qsizetype length = 0;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t u = bigEndian ? char16_t(p[i] << 8 | p[i + 1]) : char16_t(p[i + 1] << 8 | p[i]);
        length += (u >= 0xD800 && u <= 0xDFFF) ? 2 : utf8Width(u);
    }
    return length;
}

void decodeCp1252(QByteArrayView bytes, const Utf8Sink& sink)
{
    // Each piece is written into a buffer sized for its worst case; runs of
    // ASCII, most of a web page, are copied as they are.
    QByteArray utf8(kChunk * 3, Qt::Uninitialized);
    const auto* in = reinterpret_cast<const std::uint8_t*>(bytes.data());
    for (qsizetype at = 0; at < bytes.size(); at += kChunk) {
        const qsizetype n = std::min(kChunk, bytes.size() - at);
        char* out = utf8.data();
        qsizetype i = 0;
        while (i < n) {
            qsizetype run = i;
            while (run < n && in[at + run] < 0x80)
                ++run;
            std::memcpy(out, in + at + i, size_t(run - i));
            out += run - i;
            i = run;
            if (i == n)
                break;
            const char16_t c = Cp1252::toUnicode(in[at + i++]);
            if (c < 0x800) {
                *out++ = char(0xC0 | (c >> 6));
                *out++ = char(0x80 | (c & 0x3F));
            } else {
                *out++ = char(0xE0 | (c >> 12));
                *out++ = char(0x80 | ((c >> 6) & 0x3F));
                *out++ = char(0x80 | (c & 0x3F));
            }
        }
        sink(utf8.constData(), out - utf8.constData());
    }
}

// Walks UTF-8 text one code point at a time. Bytes that do not form a
// character (the editor never produces them) come out as U+FFFD.
class Utf8Reader {
public:
    explicit Utf8Reader(QByteArrayView t)
        : p(reinterpret_cast<const std::uint8_t*>(t.data())), end(p + t.size()) {}
    bool atEnd() const { return p >= end; }
    // The run of ASCII bytes from here (possibly empty), consumed.
    QByteArrayView asciiRun(qsizetype limit)
    {
        const std::uint8_t* start = p;
        const std::uint8_t* stop = end - p > limit ? p + limit : end;
        while (p < stop && *p < 0x80)
            ++p;
        return QByteArrayView(reinterpret_cast<const char*>(start), p - start);
    }
    char32_t next()
    {
        const std::uint8_t c = *p++;
        if (c < 0x80)
            return c;
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
        if (extra < 0 || end - p < extra)
            return 0xFFFD;
        char32_t cp = c & (0x3F >> extra);
        for (int i = 0; i < extra; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return 0xFFFD;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        p += extra;
        return cp;
    }

private:
    const std::uint8_t* p;
    const std::uint8_t* end;
};

const char kUtf8Bom[] = "\xEF\xBB\xBF";

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
bool encodeBody(QByteArrayView utf8, Encoding enc, const std::function<bool(const QByteArray&)>& out,
                bool* unencodable)
{
    if (enc == Encoding::Utf8) {
        for (qsizetype at = 0; at < utf8.size(); at += kChunk)
            if (!out(utf8.sliced(at, std::min(kChunk, utf8.size() - at)).toByteArray()))
                return false;
        return true;
    }
    Utf8Reader r(utf8);
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
    while (!r.atEnd()) {
        const QByteArrayView ascii = r.asciiRun(kChunk);
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
        if (r.atEnd())
            break;
        const char32_t cp = r.next();
        if (enc == Encoding::Cp1252) {
            const int b = Cp1252::fromUnicode(cp);
            if (b < 0) {
                if (unencodable)
                    *unencodable = true;
                continue;
            }
            piece.append(char(b));
        } else if (cp >= 0x10000) {
            put16(char16_t(0xD800 + ((cp - 0x10000) >> 10)));
            put16(char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            put16(char16_t(cp));
        }
        if (piece.size() >= kChunk) {
            if (!out(piece))
                return false;
            piece.resize(0);
        }
    }
    return piece.isEmpty() || out(piece);
}

}

TextFormat decode(QByteArrayView bytes, const Utf8Sink& sink, const LengthHint& hint)
{
    TextFormat f;
    auto tell = [&hint](qsizetype length) {
        if (hint)
            hint(length);
    };
    if (bytes.startsWith(QByteArrayView(kUtf8Bom, 3)) && TextFormats::isValidUtf8(bytes.sliced(3))) {
        f.encoding = Encoding::Utf8;
        f.bom = true;
        const QByteArrayView body = bytes.sliced(3);
        f.lineBreak = TextFormats::detectLineBreak(body);
        tell(body.size());
        sink(body.data(), body.size());
    } else if (bytes.startsWith("\xFF\xFE") && TextFormats::isValidUtf16(bytes.sliced(2), false)) {
        f.encoding = Encoding::Utf16LE;
        f.bom = true;
        f.lineBreak = TextFormats::detectLineBreakUtf16(bytes.sliced(2), false);
        if (hint)
            hint(utf8LengthOfUtf16(bytes.sliced(2), false));
        decodeUtf16(bytes.sliced(2), false, sink);
    } else if (bytes.startsWith("\xFE\xFF") && TextFormats::isValidUtf16(bytes.sliced(2), true)) {
        f.encoding = Encoding::Utf16BE;
        f.bom = true;
        f.lineBreak = TextFormats::detectLineBreakUtf16(bytes.sliced(2), true);
        if (hint)
            hint(utf8LengthOfUtf16(bytes.sliced(2), true));
        decodeUtf16(bytes.sliced(2), true, sink);
    } else if (TextFormats::isValidUtf8(bytes)) {
        f.encoding = Encoding::Utf8;
        f.lineBreak = TextFormats::detectLineBreak(bytes);
        tell(bytes.size());
        sink(bytes.data(), bytes.size());
    } else {
        // Anything else is taken byte by byte; every byte has a character,
        // so nothing is lost on the way back.
        f.encoding = Encoding::Cp1252;
        f.lineBreak = TextFormats::detectLineBreak(bytes);   // CR and LF are the same bytes
        if (hint)
            hint(utf8LengthOfCp1252(bytes));
        decodeCp1252(bytes, sink);
    }
    return f;
}

ReadResult read(const QString& path, const Utf8Sink& sink, const LengthHint& hint)
{
    ReadResult r;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        r.error = file.errorString();
        return r;
    }
    r.fileSize = file.size();
    QByteArray buffer;
    QByteArrayView bytes;
    // Mapping the file avoids a heap copy of a large document.
    uchar* mapped = r.fileSize > 0 ? file.map(0, r.fileSize) : nullptr;
    if (mapped) {
        bytes = QByteArrayView(reinterpret_cast<const char*>(mapped), r.fileSize);
    } else {
        buffer = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            r.error = file.errorString();
            return r;
        }
        bytes = buffer;
    }

    r.format = decode(bytes, sink, hint);
    if (mapped)
        file.unmap(mapped);
    r.ok = true;
    return r;
}

ReadResult readAll(const QString& path, QByteArray* utf8)
{
    utf8->clear();
    return read(path, [utf8](const char* p, qsizetype n) { utf8->append(p, n); });
}

bool canEncode(QByteArrayView utf8, Encoding enc)
{
    if (enc != Encoding::Cp1252)
        return true;
    Utf8Reader r(utf8);
    while (!r.atEnd()) {
        r.asciiRun(utf8.size());
        if (!r.atEnd() && Cp1252::fromUnicode(r.next()) < 0)
            return false;
    }
    return true;
}

QByteArray encode(QByteArrayView utf8, const TextFormat& format, bool* unencodable)
{
    QByteArray out = bomFor(format);
    if (unencodable)
        *unencodable = false;
    encodeBody(utf8, format.encoding, [&](const QByteArray& piece) { out.append(piece); return true; },
               unencodable);
    return out;
}

WriteResult write(const QString& path, QByteArrayView utf8, const TextFormat& format)
{
    WriteResult r;
    r.written = format;
    if (!canEncode(utf8, format.encoding)) {
        // Never drop a character: store the document as UTF-8 instead.
        r.written.encoding = Encoding::Utf8;
        r.written.bom = false;
        r.switchedToUtf8 = true;
    }

    QString target = path;
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString resolved = info.symLinkTarget();
        if (!resolved.isEmpty())
            target = resolved;
    }
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() && targetInfo.isDir()) {
        r.error = QStringLiteral("Is a directory");
        return r;
    }
    if (targetInfo.exists() && !targetInfo.isWritable()) {
        // The atomic rename would replace a file the user has made read-only.
        r.error = QStringLiteral("Permission denied");
        return r;
    }

    QSaveFile file(target);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        r.error = file.errorString();
        return r;
    }
    auto put = [&file](const QByteArray& piece) { return file.write(piece) == piece.size(); };
    const QByteArray bom = bomFor(r.written);
    bool ok = bom.isEmpty() || put(bom);
    if (ok && r.written.encoding == Encoding::Utf8) {
        // The editor's own bytes go out as they are, without a copy.
        ok = file.write(utf8.data(), utf8.size()) == utf8.size();
    } else if (ok) {
        ok = encodeBody(utf8, r.written.encoding, put, nullptr);
    }
    if (!ok) {
        r.error = file.errorString();
        file.cancelWriting();
        return r;
    }
    if (!file.commit()) {
        r.error = file.errorString();
        return r;
    }
    r.ok = true;
    return r;
}

}
