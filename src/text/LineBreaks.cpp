#include "text/LineBreaks.h"
#include "text/ByteScan.h"

#include <algorithm>

namespace LineBreaks {
namespace {

// Large enough that the loop's setup is nothing, small enough that a mixed
// text is known early.
constexpr qsizetype kBlock = 64 * 1024;

// The LF of a pair whose CR ended a block is counted with the next block.
Counts counted(const ByteScan::Counts& raw)
{
    return {raw.crLf, std::max<qsizetype>(0, raw.lf - raw.crLf), raw.cr - raw.crLf};
}

Counts scan(QByteArrayView utf8, bool stopWhenMixed)
{
    ByteScan::Counts raw;
    for (qsizetype from = 0; from < utf8.size(); from += kBlock) {
        const qsizetype to = std::min(from + kBlock, utf8.size());
        const ByteScan::Counts block = ByteScan::scan(utf8.data(), utf8.size(), from, to);
        raw.cr += block.cr;
        raw.lf += block.lf;
        raw.crLf += block.crLf;
        if (stopWhenMixed && styleOf(counted(raw)) == Style::Mixed)
            break;
    }
    return counted(raw);
}

}

Counts count(QByteArrayView utf8)
{
    return scan(utf8, false);
}

Style styleOf(const Counts& counts)
{
    const int kinds = (counts.crLf > 0) + (counts.lf > 0) + (counts.cr > 0);
    if (kinds > 1)
        return Style::Mixed;
    return counts.crLf > 0 ? Style::CrLf : counts.lf > 0 ? Style::Lf : counts.cr > 0 ? Style::Cr : Style::None;
}

Style detect(QByteArrayView utf8)
{
    return styleOf(scan(utf8, true));
}

QString name(Style style)
{
    switch (style) {
    case Style::CrLf: return QStringLiteral("CR LF");
    case Style::Lf: return QStringLiteral("LF");
    case Style::Cr: return QStringLiteral("CR");
    case Style::Mixed: return QStringLiteral("Mixed");
    case Style::None: break;
    }
    return QString();
}

}
