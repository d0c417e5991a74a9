#include "doctools/MergeDocuments.h"
#include "base/NumberText.h"

#include <QFileInfo>

#include <algorithm>

namespace MergeDocuments {

namespace {

// The separator's bytes before any conversion: CR LF, lines + 1 times.
QByteArray separator(long long lines)
{
    return lines < 0 ? QByteArray() : QByteArray("\r\n").repeated(qsizetype(lines + 1));
}

// The bytes the document would have after the merge, as far as the files'
// sizes tell before they are read: the separators in the document's style.
qint64 plannedBytes(const Merge& merge, qint64 kept)
{
    const qint64 separatorBytes =
        merge.lines < 0 ? 0 : (merge.lines + 1) * (merge.style == LineBreak::CrLf ? 2 : 1);
    qint64 total = kept;
    int parts = 0;
    for (const QString& path : merge.paths) {
        if (path.isEmpty())
            continue;
        total += QFileInfo(path).size();
        if (parts++ > 0)
            total += separatorBytes;
    }
    return total;
}

}

std::optional<long long> lineCount(const QString& typed)
{
    const std::optional<double> value = NumberText::parse(typed);
    if (!value)
        return std::nullopt;
    // Every count below zero means no separator; clamping keeps the
    // rounding within range for "-1e300".
    const long long lines = NumberText::roundHalfEven(std::clamp(*value, -2.0, double(kMaxLines + 1)));
    if (lines > kMaxLines)
        return std::nullopt;
    return lines;
}

bool fileExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

Result<> checkSize(const Merge& merge, qint64 kept, qint64 maxLength)
{
    const qint64 planned = plannedBytes(merge, kept);
    if (planned > maxLength)
        return Failure(TextFile::tooLarge(planned, maxLength, false));
    return {};
}

Result<> write(const Merge& merge, qint64 kept, const TextFile::Utf8Sink& sink, qint64 maxLength)
{
    // Past the room left nothing more is handed on; the merge fails.
    const qint64 room = maxLength - kept;
    qint64 passed = 0;
    bool full = false;
    const TextFile::Utf8Sink guarded = [&](const char* utf8, qsizetype length) {
        full = full || passed + length > room;
        if (full)
            return;
        passed += length;
        sink(utf8, length);
    };
    LineBreakWriter out(merge.style, guarded);
    const QByteArray between = separator(merge.lines);
    bool first = true;
    for (const QString& path : merge.paths) {
        if (path.isEmpty())
            continue;
        if (!first)
            out.write(between.constData(), between.size());
        first = false;
        if (!QFileInfo(path).isFile())
            return Failure(QStringLiteral("Cannot read %1: it is not a regular file").arg(path));
        const Result<TextFile::ReadInfo> read =
            TextFile::read(path, [&out](const char* utf8, qsizetype length) { out.write(utf8, length); });
        if (!read)
            return Failure(QStringLiteral("Cannot read %1: %2").arg(path, read.error()));
    }
    out.finish();
    if (full)
        return Failure(TextFile::tooLarge(plannedBytes(merge, kept), maxLength, true));
    return {};
}

Result<qint64> measure(const Merge& merge, qint64 kept, qint64 maxLength)
{
    qint64 bytes = 0;
    const Result<> counted =
        write(merge, kept, [&bytes](const char*, qsizetype length) { bytes += length; }, maxLength);
    if (!counted)
        return Failure(counted.error());
    return bytes;
}

LineBreakWriter::LineBreakWriter(LineBreak style, const TextFile::Utf8Sink& sink)
    : m_lineBreak(style == LineBreak::CrLf ? "\r\n" : style == LineBreak::Lf ? "\n" : "\r"), m_sink(sink)
{
    m_held.reserve(kPiece + 2);
}

void LineBreakWriter::write(const char* utf8, qsizetype length)
{
    const char* p = utf8;
    const char* const end = utf8 + length;
    while (p < end) {
        if (m_afterCr) {
            m_afterCr = false;
            lineBreak();
            if (*p == '\n') {
                ++p;
                continue;
            }
        }
        const char* stop = std::find_if(p, end, [](char c) { return c == '\r' || c == '\n'; });
        // A long run goes on in pieces: nothing here grows with the text.
        while (p < stop) {
            const qsizetype take = std::min<qsizetype>(stop - p, kPiece - m_held.size());
            m_held.append(p, take);
            m_written += take;
            p += take;
            flushIfFull();
        }
        if (stop == end)
            break;
        if (*stop == '\r')
            m_afterCr = true;
        else
            lineBreak();
        p = stop + 1;
    }
}

void LineBreakWriter::lineBreak()
{
    m_held.append(m_lineBreak);
    m_written += m_lineBreak.size();
    flushIfFull();
}

void LineBreakWriter::flushIfFull()
{
    if (m_held.size() < kPiece)
        return;
    m_sink(m_held.constData(), m_held.size());
    m_held.resize(0);
}

void LineBreakWriter::finish()
{
    if (m_afterCr) {
        m_afterCr = false;
        lineBreak();
    }
    if (!m_held.isEmpty())
        m_sink(m_held.constData(), m_held.size());
    m_held.resize(0);
}

}
