#include "files/RecoveryFile.h"
#include "files/FileFingerprint.h"
#include "files/NativePath.h"
#include "files/PosixFile.h"

#include <QList>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace RecoveryFile {
namespace {

const QByteArray kMagic = QByteArrayLiteral("Quirkpad recovery copy 1");

struct EncodingName {
    Encoding encoding;
    const char* name;
};
constexpr EncodingName kEncodings[] = {
    {Encoding::Utf8, "utf-8"},
    {Encoding::Utf16LE, "utf-16le"},
    {Encoding::Utf16BE, "utf-16be"},
    {Encoding::Cp1252, "windows-1252"},
};

struct LineBreakName {
    LineBreak lineBreak;
    const char* name;
};
constexpr LineBreakName kLineBreaks[] = {
    {LineBreak::CrLf, "crlf"},
    {LineBreak::Lf, "lf"},
    {LineBreak::Cr, "cr"},
};

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

QString describeWriteFailure(int error)
{
    // strerror's "No space left on device" leaves the user to work out why.
    return error == ENOSPC ? QStringLiteral("The disk is full") : PosixFile::describe(error);
}

}

QByteArray escapedPath(const QString& path)
{
    QByteArray out;
    out.reserve(path.size());
    for (const QChar c : path) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7F && u != '\\')
            out += char(u);
        else
            out += "\\u" + QByteArray::number(u, 16).rightJustified(4, '0');
    }
    return out;
}

std::optional<QString> unescapedPath(QByteArrayView text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\\') {
            out += QLatin1Char(c);
            continue;
        }
        if (i + 6 > text.size() || text[i + 1] != 'u')
            return std::nullopt;
        char16_t u = 0;
        for (qsizetype k = i + 2; k < i + 6; ++k) {
            const int digit = hexDigit(text[k]);
            if (digit < 0)
                return std::nullopt;
            u = char16_t(u * 16 + digit);
        }
        out += QChar(u);
        i += 5;
    }
    return out;
}

QByteArray header(const Header& h, qsizetype textLength)
{
    QByteArray out = kMagic + '\n';
    out += "path: " + escapedPath(h.path) + '\n';
    for (const EncodingName& e : kEncodings)
        if (e.encoding == h.format.encoding)
            out += QByteArray("encoding: ") + e.name + '\n';
    out += QByteArray("bom: ") + (h.format.bom ? "yes" : "no") + '\n';
    for (const LineBreakName& l : kLineBreaks)
        if (l.lineBreak == h.format.lineBreak)
            out += QByteArray("line-break: ") + l.name + '\n';
    out += "writer-pid: " + QByteArray::number(h.writerPid) + '\n';
    if (h.file && !h.file->exists) {
        out += "file-size: none\n";
    } else if (h.file) {
        out += "file-size: " + QByteArray::number(h.file->size) + '\n';
        out += "file-modified: " + QByteArray::number(h.file->modifiedNs) + '\n';
        if (!h.file->digest.isEmpty())
            out += "file-digest: " + h.file->digest.toHex() + '\n';
    }
    out += "text-length: " + QByteArray::number(textLength) + '\n';
    out += '\n';
    return out;
}

QString partPath(const QString& path)
{
    return path + QStringLiteral(".part");
}

Result<> save(const QString& path, const Header& h, QByteArrayView text)
{
    const QByteArray native = NativePath::toNative(path);
    const QByteArray part = NativePath::toNative(partPath(path));
    PosixFile::Fd fd(::open(part.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (fd.get() < 0)
        return Failure(describeWriteFailure(errno));
    const QByteArray head = header(h, text.size());
    if (!PosixFile::writeAll(fd.get(), head.constData(), head.size())
        || !PosixFile::writeAll(fd.get(), text.data(), text.size()) || ::fdatasync(fd.get()) != 0 || !fd.close()
        || ::rename(part.constData(), native.constData()) != 0) {
        const int error = errno;
        ::unlink(part.constData());
        return Failure(describeWriteFailure(error));
    }
    return {};
}

FileSince fileSince(const QString& path, const FileIdentity& then)
{
    const FileFingerprint now = FileFingerprint::of(path);
    if (!now.exists)
        return then.exists ? FileSince::Removed : FileSince::Unchanged;
    if (!then.exists || now.size != then.size)
        return FileSince::Changed;
    if (now.modifiedNs == then.modifiedNs)
        return FileSince::Unchanged;
    // Touched, or written again with the same bytes, is no change.
    const std::optional<QByteArray> digest = FileDigest::of(path, now);
    return digest && !then.digest.isEmpty() && *digest == then.digest ? FileSince::Unchanged : FileSince::Changed;
}

std::optional<Start> parseHeader(QByteArrayView bytes)
{
    const qsizetype end = bytes.indexOf(QByteArrayView("\n\n"));
    if (end < 0)
        return std::nullopt;
    const QList<QByteArray> lines = bytes.first(end).toByteArray().split('\n');
    if (lines.first() != kMagic)
        return std::nullopt;

    Start s;
    bool havePath = false, haveEncoding = false, haveBom = false, haveLineBreak = false, haveLength = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        const qsizetype colon = line.indexOf(": ");
        if (colon < 0)
            return std::nullopt;
        const QByteArray key = line.left(colon);
        const QByteArray value = line.mid(colon + 2);
        if (key == "path") {
            const std::optional<QString> path = unescapedPath(value);
            if (!path)
                return std::nullopt;
            s.header.path = *path;
            havePath = true;
        } else if (key == "encoding") {
            for (const EncodingName& e : kEncodings)
                if (value == e.name) {
                    s.header.format.encoding = e.encoding;
                    haveEncoding = true;
                }
        } else if (key == "bom") {
            haveBom = value == "yes" || value == "no";
            s.header.format.bom = value == "yes";
        } else if (key == "line-break") {
            for (const LineBreakName& l : kLineBreaks)
                if (value == l.name) {
                    s.header.format.lineBreak = l.lineBreak;
                    haveLineBreak = true;
                }
        } else if (key == "writer-pid") {
            s.header.writerPid = value.toLongLong();
        } else if (key == "file-size") {
            // A copy whose identity lines are damaged is still the user's
            // text: it only cannot tell a change of its file.
            bool number = false;
            const qint64 size = value.toLongLong(&number);
            if (value == "none")
                s.header.file = FileIdentity{};
            else if (number && size >= 0)
                s.header.file = FileIdentity{true, size, 0, {}};
        } else if (key == "file-modified" && s.header.file) {
            s.header.file->modifiedNs = value.toLongLong();
        } else if (key == "file-digest" && s.header.file) {
            s.header.file->digest = QByteArray::fromHex(value);
        } else if (key == "text-length") {
            s.textLength = value.toLongLong(&haveLength);
            haveLength = haveLength && s.textLength >= 0;
        }
        // Other keys belong to a later version of the copy and are passed over.
    }
    if (!havePath || !haveEncoding || !haveBom || !haveLineBreak || !haveLength)
        return std::nullopt;
    s.textStart = end + 2;
    return s;
}

std::optional<Contents> parse(QByteArray bytes)
{
    const std::optional<Start> start = parseHeader(bytes);
    if (!start || bytes.size() - start->textStart != start->textLength)
        return std::nullopt;
    // In place: the copy of a large document is not held twice.
    bytes.remove(0, start->textStart);
    return Contents{start->header, std::move(bytes)};
}

}
