#pragma once
#include <QByteArrayView>
#include <QList>

#include <functional>

// How many characters stand before a byte position of a long UTF-8 text,
// counted as StatusText counts them (a CR LF is one), without reading the
// whole text again on every question: the counts at every block boundary
// read so far are kept, and a question reads at most one block beyond the
// last boundary before it. An edit keeps the counts before the byte where it
// starts; only those after it are read again, and only when asked for.
class CharacterIndex {
public:
    // The bytes [from, to) of the text; to may run past its end (then up to
    // the end).
    using Bytes = std::function<QByteArrayView(qsizetype from, qsizetype to)>;

    static constexpr qsizetype kBlock = 64 * 1024;

    explicit CharacterIndex(Bytes bytes) : m_bytes(std::move(bytes)) {}

    // The characters in [0, position).
    qsizetype charactersBefore(qsizetype position);
    // The characters in [from, to).
    qsizetype characters(qsizetype from, qsizetype to) { return charactersBefore(to) - charactersBefore(from); }

    // The text changed from this byte on (an insertion or deletion there).
    void changedFrom(qsizetype position);
    // The whole text changed.
    void clear() { m_counts = {0}; }

    // How many block boundaries are known: for tests that check what is read.
    qsizetype knownBlocks() const { return m_counts.size() - 1; }

private:
    // The characters of [from, to), the LF of a CR LF just after `to`
    // looked at, so that counts of neighbouring ranges add up.
    qsizetype counted(qsizetype from, qsizetype to) const;

    Bytes m_bytes;
    // m_counts[k]: the characters before byte k * kBlock.
    QList<qsizetype> m_counts{0};
};
