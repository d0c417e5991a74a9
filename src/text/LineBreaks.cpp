#include "text/LineBreaks.h"

#include <algorithm>

namespace LineBreaks {
namespace {

// Large enough that the loop's setup is nothing, small enough that a mixed
// text is known early.
constexpr qsizetype kBlock = 64 * 1024;

// Every CR, every LF, and every CR followed by an LF in [from, to) of the
// text, a pair counted where its CR is (its LF may be in the next block).
struct Raw {
    qsizetype cr = 0;
    qsizetype lf = 0;
    qsizetype crLf = 0;
};

void countBlock(const unsigned char* p, qsizetype from, qsizetype to, qsizetype size, Raw* raw)
{
    qsizetype cr = 0;
    qsizetype lf = 0;
    qsizetype crLf = 0;
    // The text's last byte is looked at apart, so that the loop reads
    // nothing past the text and stays free of branches.
    const qsizetype pairsTo = std::min(to, size - 1);
    for (qsizetype i = from; i < pairsTo; ++i) {
        const unsigned char c = p[i];
        cr += c == '\r';
        lf += c == '\n';
        crLf += (c == '\r') & (p[i + 1] == '\n');
    }
    if (pairsTo < to) {
        cr += p[size - 1] == '\r';
        lf += p[size - 1] == '\n';
    }
    raw->cr += cr;
    raw->lf += lf;
    raw->crLf += crLf;
}

// An LF whose CR ended the block before is counted in the next one.
Counts counted(const Raw& raw)
{
    return {raw.crLf, std::max<qsizetype>(0, raw.lf - raw.crLf), raw.cr - raw.crLf};
}

Counts scan(QByteArrayView utf8, bool stopWhenMixed)
{
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    Raw raw;
    for (qsizetype from = 0; from < utf8.size(); from += kBlock) {
        countBlock(p, from, std::min(from + kBlock, utf8.size()), utf8.size(), &raw);
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
