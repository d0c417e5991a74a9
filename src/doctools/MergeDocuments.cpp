#include "doctools/MergeDocuments.h"
#include "base/NumberText.h"
#include "files/TextFile.h"

#include <QFileInfo>

#include <algorithm>

namespace MergeDocuments {

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

QString join(const std::array<std::optional<QString>, 3>& texts, long long lines)
{
    const QString separator = lines < 0 ? QString() : QStringLiteral("\r\n").repeated(qsizetype(lines + 1));
    QString joined;
    bool first = true;
    for (const std::optional<QString>& text : texts) {
        if (!text)
            continue;
        if (!first)
            joined += separator;
        joined += *text;
        first = false;
    }
    return joined;
}

bool fileExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

ReadResult readText(const QString& path)
{
    ReadResult r;
    const QFileInfo info(path);
    if (!info.isFile()) {
        r.error = QStringLiteral("Cannot read %1: it is not a regular file").arg(path);
        return r;
    }
    QByteArray utf8;
    const TextFile::ReadResult read = TextFile::readAll(path, &utf8);
    if (!read.ok) {
        r.error = QStringLiteral("Cannot read %1: %2").arg(path, read.error);
        return r;
    }
    r.text = QString::fromUtf8(utf8);
    return r;
}

}
