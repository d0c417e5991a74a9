#include "platform/TextFile.h"
#include "platform/AppPaths.h"
#include "platform/Cp1252.h"
#include "platform/NativePath.h"
#include "platform/Utf8.h"

#include <QLocale>
#include <QStringView>
#include <QSysInfo>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace TextFile {
namespace {

constexpr qsizetype kChunk = 1 << 20;

QString describe(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString number(qint64 n)
{
    return QLocale::system().toString(n);
}

// ---------------------------------------------------------------- descriptors

// A file descriptor closed on every way out.
class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    // Closes now and says whether the close went well: a delayed write
    // error shows up here.
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

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

// Up to n bytes, fewer only at the end of the file; -1 on failure (errno).
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

// ---------------------------------------------------------------- reading

// The bytes of a file, or of memory, read from the start as often as needed.
class Source {
public:
    virtual ~Source() = default;
    // Up to n bytes, fewer only at the end; -1 on failure (error says why).
    virtual qsizetype read(char* into, qsizetype n) = 0;
    virtual bool rewind() = 0;
    QString error;
};

class FileSource : public Source {
public:
    explicit FileSource(int fd) : m_fd(fd) {}
    qsizetype read(char* into, qsizetype n) override
    {
        const qsizetype got = readUpTo(m_fd, into, n);
        if (got < 0)
            error = describe(errno);
        return got;
    }
    bool rewind() override
    {
        if (::lseek(m_fd, 0, SEEK_SET) == 0)
            return true;
        error = describe(errno);
        return false;
    }

private:
    int m_fd;
};

class MemorySource : public Source {
public:
    explicit MemorySource(QByteArrayView bytes) : m_bytes(bytes) {}
    qsizetype read(char* into, qsizetype n) override
    {
        n = std::min(n, m_bytes.size() - m_at);
        std::memcpy(into, m_bytes.data() + m_at, size_t(n));
        m_at += n;
        return n;
    }
    bool rewind() override
    {
        m_at = 0;
        return true;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
};

// What one pass over the bytes found.
struct Pass {
    bool readOk = true;     // false: the source failed
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
        const qsizetype got = source.read(in.data() + carried, kChunk);
        if (got < 0) {
            pass.readOk = false;
            return pass;
        }
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
        for (const char* end = p + n; p < end; ++p) {
            if (*p == '\n') {
                found(LineBreak::Lf);
                return;
            }
            if (*p == '\r') {
                if (p + 1 == end)
                    m_sawCr = true;   // the next piece says which
                else
                    found(p[1] == '\n' ? LineBreak::CrLf : LineBreak::Cr);
                return;
            }
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

QString tooLarge(qint64 fileBytes, qint64 maxLength, bool asText)
{
    if (asText)
        return QStringLiteral("The file is too large to edit: its %1 bytes make more than %2 bytes of text, "
                              "the most the editor can hold")
            .arg(number(fileBytes), number(maxLength));
    return QStringLiteral("The file is too large to edit: it has %1 bytes, and the editor can hold at most %2")
        .arg(number(fileBytes), number(maxLength));
}

const QString kChanged = QStringLiteral("The file changed while it was being read");

// One pass that decodes into the sink and checks that it found the file as
// the first look said: `bytes` bytes, `length` bytes of text.
struct Decoded {
    Pass pass;
    LineBreak lineBreak;
    bool asExpected(qint64 bytes, qint64 length) const
    {
        return pass.readOk && pass.fits && !pass.tooLong && pass.bytes == bytes && pass.utf8Length == length;
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
    const qsizetype got = source.read(first.data(), first.size());
    if (got < 0 || !source.rewind())
        return false;
    qint64 length = 0;
    return takeUtf8(reinterpret_cast<const std::uint8_t*>(first.constData()), got, &length) >= 0;
}

// Decodes the source into the sink, telling the hint the exact length of
// the text first. A file that claims UTF-8 (most do) is decoded at once,
// checked as it goes, when even as Windows-1252 it would fit: its length is
// its size; should it turn out to be no UTF-8, the hint is told again. Any other file, or one that turns out not to be UTF-8, is read
// once to learn its encoding and length (nothing kept) and again to decode
// it. Every pass must find what the one before it found, or the file
// changed in between.
ReadResult readFrom(Source& source, qint64 size, const Utf8Sink& sink, const LengthHint& hint, qint64 maxLength)
{
    ReadResult r;
    r.fileSize = size;
    char head[3];
    const qsizetype headLength = source.read(head, 3);
    if (headLength < 0 || !source.rewind()) {
        r.error = source.error;
        return r;
    }
    const QByteArrayView start(head, headLength);
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
    if (!utf16 && size - skip > maxLength) {
        r.error = tooLarge(size, maxLength, false);
        return r;
    }
    auto fail = [&](const QString& error) {
        r.error = error;
        r.textLost = true;
        return r;
    };
    auto succeed = [&](const Decoded& d) {
        r.format.encoding = encoding;
        r.format.bom = skip > 0;
        r.format.lineBreak = d.lineBreak;
        r.fileSize = d.pass.bytes;
        r.ok = true;
        return r;
    };

    // Only a receiver that can be told to start again may get text before
    // the file is known to be UTF-8, and only once its first piece is: a
    // receiver that made room for one length and then needs more holds both
    // for a moment.
    if (hint && encoding == Encoding::Utf8 && size <= maxLength / 3 && startsAsUtf8(source)) {
        hint(size - skip);
        r.textLost = true;
        const Decoded d = decodeInto(source, encoding, skip, sink, size, size - skip);
        if (d.asExpected(size, size - skip))
            return succeed(d);
        if (!d.pass.readOk)
            return fail(source.error);
        if (d.pass.fits || !source.rewind())
            return fail(kChanged);
        // Not UTF-8 after all: read as Windows-1252 below, and the receiver
        // is told again, to drop what it got.
        encoding = Encoding::Cp1252;
        skip = 0;
    }

    constexpr qint64 kUnlimited = std::numeric_limits<qint64>::max();
    Pass scan = walk(source, encoding, skip, nullptr, maxLength, kUnlimited);
    if (scan.readOk && !scan.fits) {
        // Anything else is taken byte by byte; every byte has a character,
        // so nothing is lost on the way back.
        encoding = Encoding::Cp1252;
        skip = 0;
        scan = source.rewind() ? walk(source, encoding, skip, nullptr, maxLength, kUnlimited) : Pass{false};
    }
    if (!scan.readOk || !source.rewind())
        return r.textLost ? fail(source.error) : (r.error = source.error, r);
    if (scan.tooLong) {
        if (r.textLost)   // it fitted a moment ago
            return fail(kChanged);
        r.error = tooLarge(std::max(size, scan.bytes), maxLength, size <= maxLength);
        return r;
    }
    if (hint)
        hint(scan.utf8Length);
    const Decoded d = decodeInto(source, encoding, skip, sink, scan.bytes, scan.utf8Length);
    if (d.asExpected(scan.bytes, scan.utf8Length))
        return succeed(d);
    return fail(d.pass.readOk ? kChanged : source.error);
}

QString openError(int error, const QString& path)
{
    // A name Qt could not decode (from a file dialog) names no file.
    if (error == ENOENT && NativePath::mayBeMangled(path))
        return QStringLiteral("The file name is not valid UTF-8, so the file cannot be found under it");
    return describe(error);
}

// ---------------------------------------------------------------- encoding

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

using Put = std::function<bool(const char*, qsizetype)>;

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

// ---------------------------------------------------------------- writing

// Follows symbolic links to the file they finally name (which may not exist
// yet), so that saving through a link writes the file and keeps the link.
bool resolveLinks(QByteArray* path, QString* error)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(path->constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        QByteArray target(st.st_size > 0 ? st.st_size + 1 : 4096, Qt::Uninitialized);
        const ssize_t n = ::readlink(path->constData(), target.data(), size_t(target.size()));
        if (n < 0) {
            *error = describe(errno);
            return false;
        }
        target.truncate(n);
        if (!target.startsWith('/')) {
            const qsizetype slash = path->lastIndexOf('/');
            target.prepend(slash < 0 ? QByteArray() : path->left(slash + 1));
        }
        *path = target;
    }
    *error = describe(ELOOP);
    return false;
}

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writes the whole new content through `put`.
using Content = std::function<bool(const Put& put)>;

enum class Atomic { Done, Failed, InPlaceInstead };

// A new file beside the target, given the target's owner, group and
// permissions, filled, synced and renamed over it. InPlaceInstead when the
// folder allows no new file, or the file's owner or group cannot be given
// to a new one.
Atomic writeBeside(const QByteArray& target, const struct stat* old, const Content& content, QString* error)
{
    const QByteArray folder = folderOf(target);
    const QByteArray name = target.mid(target.lastIndexOf('/') + 1);
    QByteArray temp = folder + "/." + name + ".XXXXXX";
    Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        const int e = errno;
        if (old && (e == EACCES || e == EPERM))
            return Atomic::InPlaceInstead;
        *error = describe(e);
        return Atomic::Failed;
    }
    auto fail = [&](int e) {
        ::unlink(temp.constData());
        *error = describe(e);
        return Atomic::Failed;
    };
    if (old) {
        struct stat mine;
        if (::fstat(fd.get(), &mine) != 0)
            return fail(errno);
        if (mine.st_uid != old->st_uid || mine.st_gid != old->st_gid) {
            const uid_t uid = mine.st_uid == old->st_uid ? uid_t(-1) : old->st_uid;
            const gid_t gid = mine.st_gid == old->st_gid ? gid_t(-1) : old->st_gid;
            if (::fchown(fd.get(), uid, gid) != 0) {
                ::unlink(temp.constData());
                return Atomic::InPlaceInstead;
            }
        }
    }
    // After the owner: a change of owner clears some permission bits.
    if (::fchmod(fd.get(), old ? (old->st_mode & 0777) : newFileMode()) != 0)
        return fail(errno);
    if (!content([&](const char* p, qsizetype n) { return writeAll(fd.get(), p, n); }))
        return fail(errno);
    if (::fdatasync(fd.get()) != 0)
        return fail(errno);
    if (!fd.close())
        return fail(errno);
    if (::rename(temp.constData(), target.constData()) != 0)
        return fail(errno);
    return Atomic::Done;
}

// Copies everything from one descriptor (read from its start) to another
// (written from its start), and cuts the destination to that length.
bool copyWhole(int from, int to)
{
    if (::lseek(from, 0, SEEK_SET) != 0 || ::lseek(to, 0, SEEK_SET) != 0)
        return false;
    QByteArray buffer(kChunk, Qt::Uninitialized);
    off_t total = 0;
    for (;;) {
        const qsizetype got = readUpTo(from, buffer.data(), buffer.size());
        if (got < 0)
            return false;
        if (got == 0)
            break;
        if (!writeAll(to, buffer.constData(), got))
            return false;
        total += got;
    }
    return ::ftruncate(to, total) == 0 && ::fdatasync(to) == 0;
}

// Overwrites the file itself, so that its owner, group, links and any other
// attribute stay: a copy goes to the temporary folder first and comes back
// if the write fails.
bool writeInPlace(const QByteArray& target, const Content& content, QString* error)
{
    Fd file(::open(target.constData(), O_RDWR | O_CLOEXEC));
    if (file.get() < 0) {
        *error = describe(errno);
        return false;
    }
    const QString folder = AppPaths::tempDir();
    if (folder.isEmpty()) {
        *error = QStringLiteral("No temporary folder for a copy of the file");
        return false;
    }
    QByteArray copyPath = NativePath::toNative(folder) + "/saved-copy-XXXXXX";
    Fd copy(::mkostemp(copyPath.data(), O_CLOEXEC));
    if (copy.get() < 0 || !copyWhole(file.get(), copy.get())) {
        *error = QStringLiteral("No copy of the file could be made before writing it: ") + describe(errno);
        if (copy.get() >= 0)
            ::unlink(copyPath.constData());
        return false;
    }
    off_t written = 0;
    const bool ok = ::lseek(file.get(), 0, SEEK_SET) == 0
                    && content([&](const char* p, qsizetype n) {
                           written += n;
                           return writeAll(file.get(), p, n);
                       })
                    && ::ftruncate(file.get(), written) == 0 && ::fdatasync(file.get()) == 0;
    if (ok) {
        ::unlink(copyPath.constData());
        return true;
    }
    const int failure = errno;
    *error = describe(failure);
    if (copyWhole(copy.get(), file.get())) {
        ::unlink(copyPath.constData());
    } else {
        *error += QStringLiteral(". The file could not be put back as it was; its old content is in %1 "
                                 "until Quirkpad closes")
                      .arg(NativePath::fromNative(copyPath));
    }
    return false;
}

}

TextFormat decode(QByteArrayView bytes, const Utf8Sink& sink, const LengthHint& hint)
{
    MemorySource source(bytes);
    return readFrom(source, bytes.size(), sink, hint, std::numeric_limits<qint64>::max()).format;
}

ReadResult read(const QString& path, const Utf8Sink& sink, const LengthHint& hint, qint64 maxLength)
{
    ReadResult r;
    // Never blocks on a named pipe: only regular files are read.
    Fd fd(::open(NativePath::toNative(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        r.error = openError(errno, path);
        return r;
    }
    struct stat st;
    if (::fstat(fd.get(), &st) != 0) {
        r.error = describe(errno);
        return r;
    }
    if (!S_ISREG(st.st_mode)) {
        r.error = S_ISDIR(st.st_mode) ? describe(EISDIR) : QStringLiteral("Not a regular file");
        return r;
    }
    ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    // Ordinary reads into buffers of our own: a file another program
    // truncates while it is read shortens a read, where a memory map would
    // kill the editor with SIGBUS.
    FileSource source(fd.get());
    return readFrom(source, st.st_size, sink, hint, maxLength);
}

ReadResult readAll(const QString& path, QByteArray* utf8)
{
    utf8->clear();
    ReadResult r = read(
        path, [utf8](const char* p, qsizetype n) { utf8->append(p, n); },
        [utf8](qsizetype length) {
            utf8->clear();
            utf8->reserve(length);
        });
    if (!r.ok)
        utf8->clear();
    return r;
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
    const Content content = [&](const Put& put) {
        const QByteArray bom = bomFor(r.written);
        return (bom.isEmpty() || put(bom.constData(), bom.size()))
               && encodeBody(utf8, r.written.encoding, put, nullptr);
    };

    QByteArray target = NativePath::toNative(path);
    if (!resolveLinks(&target, &r.error))
        return r;
    struct stat old;
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) {
        r.error = describe(EISDIR);
        return r;
    }
    if (exists && !S_ISREG(old.st_mode)) {
        r.error = QStringLiteral("Not a regular file");
        return r;
    }
    // A file the user may not write is not replaced behind its back, even
    // where the folder would allow a new file in its place.
    if (exists && ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0) {
        r.error = describe(errno);
        return r;
    }
    // A second hard link would keep the old text if the name got a new file.
    if (exists && old.st_nlink > 1) {
        r.ok = writeInPlace(target, content, &r.error);
        return r;
    }
    switch (writeBeside(target, exists ? &old : nullptr, content, &r.error)) {
    case Atomic::Done: r.ok = true; break;
    case Atomic::Failed: break;
    case Atomic::InPlaceInstead: r.ok = writeInPlace(target, content, &r.error); break;
    }
    return r;
}

}
