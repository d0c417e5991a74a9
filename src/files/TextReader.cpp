#include "files/TextReader.h"
#include "files/Cp1252.h"
#include "files/PosixFile.h"
#include "base/Utf8.h"

#include <QLocale>
#include <QStringView>
#include <QSysInfo>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>
#include <unistd.h>
#include <vector>

QString TextFile::tooLarge(qint64 fileBytes, qint64 maxLength, bool asText)
{
    const auto number = [](qint64 n) { return QLocale::system().toString(n); };
    if (asText)
        return QStringLiteral("The file is too large to edit: its %1 bytes make more than %2 bytes of text, "
                              "the most the editor can hold")
            .arg(number(fileBytes), number(maxLength));
    return QStringLiteral("The file is too large to edit: it has %1 bytes, and the editor can hold at most %2")
        .arg(number(fileBytes), number(maxLength));
}

namespace TextReader {

using TextFile::LengthHint;
using TextFile::ReadInfo;
using TextFile::Utf8Sink;

Result<qsizetype> FileSource::read(char* into, qsizetype n)
{
    const qsizetype got = PosixFile::readUpTo(m_fd, into, n);
    if (got < 0)
        return Failure(PosixFile::describe(errno));
    return got;
}

Result<> FileSource::rewind()
{
    if (::lseek(m_fd, 0, SEEK_SET) != 0)
        return Failure(PosixFile::describe(errno));
    return {};
}

Result<qsizetype> MemorySource::read(char* into, qsizetype n)
{
    n = std::min(n, m_bytes.size() - m_at);
    std::memcpy(into, m_bytes.data() + m_at, size_t(n));
    m_at += n;
    return n;
}

Result<> MemorySource::rewind()
{
    m_at = 0;
    return {};
}

namespace {

constexpr qsizetype kChunk = 1 << 20;

// What one pass over the bytes found.
struct Pass {
    Result<> read;          // a failure of the source
    bool fits = true;       // the bytes are text in the encoding
    bool tooLong = false;   // stopped: more text, or more bytes, than allowed
    qint64 bytes = 0;
    qint64 utf8Length = 0;
};

// Each take* takes the bytes [p, p + n) as text in its encoding, whole
// characters only: it returns how many bytes it took (the rest begin a
// character cut off by the end of the buffer), or -1 when they are no text in
// the encoding, and adds the length of their UTF-8 to *length. UTF-8 itself
// is handed on from the read buffer as it is; Windows-1252, given out (room
// for three bytes per byte in), is written there as UTF-8.
qsizetype takeUtf8(const std::uint8_t* p, qsizetype n, qint64* length)
{
    const std::uint8_t* valid = Utf8::validUpTo(p, p + n);
    if (valid != p + n && Utf8::decode(valid, p + n).status != Utf8::Status::Cut)
        return -1;
    *length += valid - p;
    return valid - p;
}

qsizetype takeCp1252(const std::uint8_t* p, qsizetype n, qint64* length, char* out, qsizetype* produced)
{
    const std::uint8_t* const end = p + n;
    const std::uint8_t* at = p;
    char* o = out;
    qint64 added = 0;
    while (at < end) {
        // Runs of ASCII, most of a web page, are the same bytes in UTF-8.
        const std::uint8_t* ascii = Utf8::skipAscii(at, end);
        if (o) {
            std::memcpy(o, at, size_t(ascii - at));
            o += ascii - at;
        }
        at = ascii;
        if (at == end)
            break;
        const char16_t c = Cp1252::toUnicode(*at++);
        if (o)
            o += Utf8::encode(c, o);
        else
            added += Utf8::width(c) - 1;
    }
    if (o) {
        *produced = o - out;
        *length += o - out;
    } else {
        *length += n + added;
    }
    return n;
}

// UTF-16 in the file's byte order, checked (every surrogate paired) and
// measured; returns the units taken, -1 for no UTF-16. The text itself is
// converted by Qt's own converter, once the units are known to be sound.
template <bool BigEndian>
qsizetype checkUtf16(const std::uint8_t* p, qsizetype units, qint64* length)
{
    auto unit = [p](qsizetype i) {
        return BigEndian ? char16_t(p[2 * i] << 8 | p[2 * i + 1]) : char16_t(p[2 * i + 1] << 8 | p[2 * i]);
    };
    // Four ASCII units at a time, most of a page: in each 16-bit lane the
    // high byte is zero and the low one below 0x80.
    constexpr bool kHostBigEndian = QSysInfo::ByteOrder == QSysInfo::BigEndian;
    constexpr std::uint64_t kNotAscii = BigEndian == kHostBigEndian ? 0xFF80FF80FF80FF80ULL : 0x80FF80FF80FF80FFULL;
    qint64 counted = 0;
    qsizetype i = 0;
    while (i < units) {
        std::uint64_t word;
        while (units - i >= 4 && (std::memcpy(&word, p + 2 * i, 8), (word & kNotAscii) == 0)) {
            counted += 4;
            i += 4;
        }
        if (i == units)
            break;
        const char16_t u = unit(i);
        if (u < 0xD800 || u > 0xDFFF) {
            counted += Utf8::width(u);
            ++i;
            continue;
        }
        if (u >= 0xDC00)
            return -1;
        if (i + 1 == units)
            break;   // its partner is in the next buffer
        const char16_t low = unit(i + 1);
        if (low < 0xDC00 || low > 0xDFFF)
            return -1;
        counted += 4;
        i += 2;
    }
    *length += counted;
    return i;
}

// The checked units as UTF-8.
QByteArray utf16ToUtf8(const std::uint8_t* p, qsizetype units, bool bigEndian, std::vector<char16_t>* buffer)
{
    buffer->resize(size_t(units));
    std::memcpy(buffer->data(), p, size_t(2 * units));
    if (bigEndian != (QSysInfo::ByteOrder == QSysInfo::BigEndian))
        for (char16_t& u : *buffer)
            u = char16_t(u << 8 | u >> 8);
    return QStringView(buffer->data(), units).toUtf8();
}

// Reads the source from its start in fixed-size pieces and takes the bytes
// after the first `skip` (a byte-order mark) as text in the encoding. With a
// sink, the text goes to it as UTF-8. Stops once the text passes maxLength
// or the bytes pass maxBytes.
Pass walk(Source& source, Encoding encoding, qsizetype skip, const Utf8Sink* sink, qint64 maxLength,
          qint64 maxBytes)
{
    Pass pass;
    // Room before the new bytes for those of a character cut off last time.
    constexpr qsizetype kCarryRoom = 8;
    QByteArray in(kCarryRoom + kChunk, Qt::Uninitialized);
    QByteArray out;
    if (sink && encoding == Encoding::Cp1252)
        out.resize(3 * (kChunk + kCarryRoom));
    std::vector<char16_t> units;
    qsizetype carried = 0;
    for (bool first = true;; first = false) {
        const Result<qsizetype> read = source.read(in.data() + carried, kChunk);
        if (!read) {
            pass.read = Failure(read.error());
            return pass;
        }
        const qsizetype got = *read;
        pass.bytes += got;
        if (pass.bytes > maxBytes) {
            pass.tooLong = true;
            return pass;
        }
        const auto* p = reinterpret_cast<const std::uint8_t*>(in.constData());
        qsizetype n = carried + got;
        if (first) {
            const qsizetype mark = std::min(skip, n);
            p += mark;
            n -= mark;
        }
        qsizetype produced = 0;
        qsizetype taken = -1;
        switch (encoding) {
        case Encoding::Utf8: taken = takeUtf8(p, n, &pass.utf8Length); break;
        case Encoding::Cp1252:
            taken = takeCp1252(p, n, &pass.utf8Length, sink ? out.data() : nullptr, &produced);
            break;
        case Encoding::Utf16LE: taken = 2 * checkUtf16<false>(p, n / 2, &pass.utf8Length); break;
        case Encoding::Utf16BE: taken = 2 * checkUtf16<true>(p, n / 2, &pass.utf8Length); break;
        }
        if (taken < 0) {
            pass.fits = false;
            return pass;
        }
        if (pass.utf8Length > maxLength) {
            pass.tooLong = true;
            return pass;
        }
        if (sink && taken > 0) {
            if (encoding == Encoding::Utf8) {
                (*sink)(reinterpret_cast<const char*>(p), taken);
            } else if (encoding == Encoding::Cp1252) {
                (*sink)(out.constData(), produced);
            } else {
                const QByteArray utf8 = utf16ToUtf8(p, taken / 2, encoding == Encoding::Utf16BE, &units);
                (*sink)(utf8.constData(), utf8.size());
            }
        }
        const qsizetype rest = n - taken;
        if (got == 0) {
            // A character cut off by the end of the file is no character.
            pass.fits = rest == 0;
            return pass;
        }
        if (rest > kCarryRoom) {   // cannot happen: a cut character has at most 3 bytes
            pass.fits = false;
            return pass;
        }
        std::memmove(in.data(), p + taken, size_t(rest));
        carried = rest;
    }
}

// The style of the first line break, found in the text as it passes.
class FirstLineBreak {
public:
    void feed(const char* p, qsizetype n)
    {
        if (m_found || n == 0)
            return;
        if (m_sawCr) {
            found(p[0] == '\n' ? LineBreak::CrLf : LineBreak::Cr);
            return;
        }
        // memchr, not a loop: a long single line has no break to stop at.
        const auto* lf = static_cast<const char*>(std::memchr(p, '\n', size_t(n)));
        const auto* cr = static_cast<const char*>(std::memchr(p, '\r', size_t(lf ? lf - p : n)));
        if (cr) {
            if (cr + 1 == p + n)
                m_sawCr = true;   // the next piece says which
            else
                found(cr[1] == '\n' ? LineBreak::CrLf : LineBreak::Cr);
        } else if (lf) {
            found(LineBreak::Lf);
        }
    }
    LineBreak style() const { return m_found ? m_style : m_sawCr ? LineBreak::Cr : LineBreak::CrLf; }

private:
    void found(LineBreak style)
    {
        m_style = style;
        m_found = true;
    }
    LineBreak m_style = LineBreak::CrLf;
    bool m_found = false;
    bool m_sawCr = false;
};

const char kUtf8Bom[] = "\xEF\xBB\xBF";

using TextFile::tooLarge;

const QString kChanged = QStringLiteral("The file changed while it was being read");

// One pass that decodes into the sink and checks that it found the file as
// the first look said: `bytes` bytes, `length` bytes of text.
struct Decoded {
    Pass pass;
    LineBreak lineBreak;
    bool asExpected(qint64 bytes, qint64 length) const
    {
        return pass.read && pass.fits && !pass.tooLong && pass.bytes == bytes && pass.utf8Length == length;
    }
};

Decoded decodeInto(Source& source, Encoding encoding, qsizetype skip, const Utf8Sink& sink, qint64 bytes,
                   qint64 length)
{
    FirstLineBreak lineBreak;
    const Utf8Sink watched = [&](const char* p, qsizetype n) {
        lineBreak.feed(p, n);
        sink(p, n);
    };
    Decoded d;
    d.pass = walk(source, encoding, skip, &watched, length, bytes);
    d.lineBreak = lineBreak.style();
    return d;
}

// Whether the first buffer of the source is UTF-8 (a character may be cut
// off at its end); rewinds the source.
bool startsAsUtf8(Source& source)
{
    QByteArray first(kChunk, Qt::Uninitialized);
    const Result<qsizetype> got = source.read(first.data(), first.size());
    if (!got || !source.rewind())
        return false;
    qint64 length = 0;
    return takeUtf8(reinterpret_cast<const std::uint8_t*>(first.constData()), *got, &length) >= 0;
}

}

// Decodes the source into the sink, telling the hint the exact length of
// the text first. A file that claims UTF-8 (most do) is decoded at once,
// checked as it goes, when even as Windows-1252 it would fit: its length is
// its size; should it turn out to be no UTF-8, the hint is told again. Any
// other file, or one that turns out not to be UTF-8, is read once to learn
// its encoding and length (nothing kept) and again to decode it. Every pass
// must find what the one before it found, or the file changed in between.
Result<ReadInfo> decode(Source& source, qint64 size, const Utf8Sink& sink, const LengthHint& hint, qint64 maxLength)
{
    char head[3];
    const Result<qsizetype> headLength = source.read(head, 3);
    if (!headLength)
        return Failure(headLength.error());
    if (const Result<> rewound = source.rewind(); !rewound)
        return Failure(rewound.error());
    const QByteArrayView start(head, *headLength);
    Encoding encoding = Encoding::Utf8;
    qsizetype skip = 0;
    if (start.startsWith(QByteArrayView(kUtf8Bom, 3))) {
        skip = 3;
    } else if (start.startsWith("\xFF\xFE")) {
        encoding = Encoding::Utf16LE;
        skip = 2;
    } else if (start.startsWith("\xFE\xFF")) {
        encoding = Encoding::Utf16BE;
        skip = 2;
    }
    // Outside UTF-16 every byte is at least a byte of text: a file larger
    // than a document can be is refused without reading it.
    const bool utf16 = encoding == Encoding::Utf16LE || encoding == Encoding::Utf16BE;
    if (!utf16 && size - skip > maxLength)
        return Failure(tooLarge(size, maxLength, false));
    auto succeed = [&](const Decoded& d) -> Result<ReadInfo> {
        return ReadInfo{TextFormat{encoding, skip > 0, d.lineBreak}, d.pass.bytes};
    };
    // Once the receiver has been told a length, every failure leaves it
    // with part of the file or nothing.
    bool told = false;

    // Only a receiver that can be told to start again may get text before
    // the file is known to be UTF-8, and only once its first piece is: a
    // receiver that made room for one length and then needs more holds both
    // for a moment.
    if (hint && encoding == Encoding::Utf8 && size <= maxLength / 3 && startsAsUtf8(source)) {
        hint(size - skip);
        told = true;
        const Decoded d = decodeInto(source, encoding, skip, sink, size, size - skip);
        if (d.asExpected(size, size - skip))
            return succeed(d);
        if (!d.pass.read)
            return Failure(d.pass.read.error());
        if (d.pass.fits || !source.rewind())
            return Failure(kChanged);
        // Not UTF-8 after all: read as Windows-1252 below, and the receiver
        // is told again, to drop what it got.
        encoding = Encoding::Cp1252;
        skip = 0;
    }

    constexpr qint64 kUnlimited = std::numeric_limits<qint64>::max();
    Pass scan = walk(source, encoding, skip, nullptr, maxLength, kUnlimited);
    if (scan.read && !scan.fits) {
        // Anything else is taken byte by byte; every byte has a character,
        // so nothing is lost on the way back.
        encoding = Encoding::Cp1252;
        skip = 0;
        const Result<> rewound = source.rewind();
        scan = rewound ? walk(source, encoding, skip, nullptr, maxLength, kUnlimited) : Pass{rewound};
    }
    if (!scan.read)
        return Failure(scan.read.error());
    if (const Result<> rewound = source.rewind(); !rewound)
        return Failure(rewound.error());
    if (scan.tooLong) {
        if (told)   // it fitted a moment ago
            return Failure(kChanged);
        return Failure(tooLarge(std::max(size, scan.bytes), maxLength, size <= maxLength));
    }
    if (hint)
        hint(scan.utf8Length);
    const Decoded d = decodeInto(source, encoding, skip, sink, scan.bytes, scan.utf8Length);
    if (d.asExpected(scan.bytes, scan.utf8Length))
        return succeed(d);
    return Failure(d.pass.read ? kChanged : d.pass.read.error());
}

}
