#include "text/CharacterIndex.h"
#include "text/ByteScan.h"

#include <algorithm>

qsizetype CharacterIndex::counted(qsizetype from, qsizetype to) const
{
    if (to <= from)
        return 0;
    const QByteArrayView bytes = m_bytes(from, to + 1);
    const qsizetype end = std::min(to - from, bytes.size());
    const ByteScan::Counts c = ByteScan::scan(bytes.data(), bytes.size(), 0, end);
    return end - c.continuation - c.crLf;
}

qsizetype CharacterIndex::charactersBefore(qsizetype position)
{
    position = std::max<qsizetype>(position, 0);
    const qsizetype block = position / kBlock;
    while (m_counts.size() <= block) {
        const qsizetype k = m_counts.size() - 1;
        m_counts.append(m_counts.last() + counted(k * kBlock, (k + 1) * kBlock));
    }
    return m_counts[block] + counted(block * kBlock, position);
}

void CharacterIndex::changedFrom(qsizetype position)
{
    // The count at boundary b reads the bytes up to b itself (the LF of a
    // CR LF that straddles it): it holds while the change starts after b.
    const qsizetype kept = position <= 0 ? 1 : (position - 1) / kBlock + 1;
    if (m_counts.size() > kept)
        m_counts.resize(kept);
}
