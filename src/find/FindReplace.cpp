#include "find/FindReplace.h"

#include "editor/RichTextBox.h"
#include "base/Utf8.h"
#include "widgets/WorkProgress.h"

#include <QList>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace FindReplace {

namespace {

// One character decoded from UTF-8. A byte that does not begin a valid
// sequence stands for itself, as a code beyond Unicode that no typed
// character can equal.
struct Char {
    char32_t code;
    int width;
};

constexpr char32_t kStrayByte = 0x110000;

Char decode(const unsigned char* p, const unsigned char* end)
{
    const Utf8::Char c = Utf8::decode(p, end);
    if (c.status == Utf8::Status::Ok)
        return {c.code, c.width};
    return {kStrayByte + p[0], 1};
}

// The character that ends at `end`: back over continuation bytes to its
// lead byte, never below `begin`.
Char decodeBefore(const unsigned char* begin, const unsigned char* end)
{
    const unsigned char* s = end - 1;
    while (s > begin && end - s < 4 && (*s & 0xC0) == 0x80)
        --s;
    const Char c = decode(s, end);
    if (s + c.width == end)
        return c;
    return {kStrayByte + end[-1], 1};
}

// Simple case folding maps one character to one character, so ignoring
// case ignores nothing else, and an occurrence has as many characters as
// the search text.
char32_t fold(char32_t c)
{
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
    if (c >= kStrayByte)
        return c;
    return QChar::toCaseFolded(c);
}

// Knuth-Morris-Pratt over folded characters: each character of the searched
// stretch is looked at once, whatever the search text, so a search costs the
// distance it covers and never more.
class FoldedMatcher {
public:
    // `needle`: the search text in the order the scan meets it.
    explicit FoldedMatcher(const QList<uint>& needle)
    {
        for (uint c : needle)
            m_needle.push_back(fold(c));
        m_fail.assign(m_needle.size(), 0);
        for (size_t i = 1, k = 0; i < m_needle.size(); ++i) {
            while (k > 0 && m_needle[i] != m_needle[k])
                k = m_fail[k - 1];
            if (m_needle[i] == m_needle[k])
                ++k;
            m_fail[i] = k;
        }
        m_seen.resize(m_needle.size());
    }

    // Takes the next character met, which lies at `at`; true when it
    // completes an occurrence.
    bool feed(char32_t code, long at)
    {
        const char32_t c = fold(code);
        while (m_matched > 0 && m_needle[m_matched] != c)
            m_matched = m_fail[m_matched - 1];
        if (m_needle[m_matched] == c)
            ++m_matched;
        m_seen[m_count++ % m_seen.size()] = at;
        if (m_matched < m_needle.size())
            return false;
        m_matched = m_fail[m_matched - 1];
        return true;
    }
    // Where the first character of the occurrence just completed lies.
    long occurrenceFirst() const { return m_seen[(m_count - m_needle.size()) % m_seen.size()]; }
    bool idle() const { return m_matched == 0; }

    // While no occurrence is under way, only these bytes can begin one (or,
    // scanning backward, end one): an ASCII byte that folds to the character
    // sought first, or any byte of a multi-byte character, which might be a
    // case partner of it. The rest are skipped in a tight loop, which is
    // where a long document's search spends its time.
    std::array<bool, 256> starters() const
    {
        std::array<bool, 256> table{};
        for (unsigned b = 0; b < 256; ++b)
            table[b] = b >= 0x80 || fold(b) == m_needle.front();
        return table;
    }

private:
    std::vector<char32_t> m_needle;
    std::vector<size_t> m_fail;
    std::vector<long> m_seen;
    size_t m_matched = 0;
    size_t m_count = 0;
};

struct Range {
    long start;
    long end;
};

// The first occurrence that starts at or after `from`.
std::optional<Range> searchForward(QByteArrayView text, long from, const QString& what)
{
    FoldedMatcher matcher(what.toUcs4());
    const auto starters = matcher.starters();
    const auto* base = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char* const end = base + text.size();
    const unsigned char* p = base + from;
    while (p < end) {
        if (matcher.idle()) {
            while (p < end && !starters[*p])
                ++p;
            if (p == end)
                break;
        }
        const Char c = decode(p, end);
        const long at = p - base;
        p += c.width;
        if (matcher.feed(c.code, at))
            return Range{matcher.occurrenceFirst(), long(p - base)};
    }
    return std::nullopt;
}

// The last occurrence lying wholly within the first `limit` bytes: the
// search text reversed, met character by character going back from there.
std::optional<Range> searchBackward(QByteArrayView text, long limit, const QString& what)
{
    QList<uint> reversed = what.toUcs4();
    std::reverse(reversed.begin(), reversed.end());
    FoldedMatcher matcher(reversed);
    const auto enders = matcher.starters();
    const auto* base = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char* p = base + limit;
    while (p > base) {
        if (matcher.idle()) {
            while (p > base && !enders[p[-1]])
                --p;
            if (p == base)
                break;
        }
        const Char c = decodeBefore(base, p);
        const long endOfChar = p - base;
        p -= c.width;
        if (matcher.feed(c.code, endOfChar))
            return Range{long(p - base), matcher.occurrenceFirst()};
    }
    return std::nullopt;
}

}

bool findNext(RichTextBox& pad, const QString& what, Direction direction)
{
    if (what.isEmpty())
        return false;
    // The document's own buffer: a press reads as far as the next
    // occurrence and copies nothing.
    const QByteArrayView text = pad.document().utf8();
    const auto [selStart, selEnd] = pad.selectionBytes();

    std::optional<Range> found;
    if (direction == Direction::Right) {
        // Past the first character of a selection, so the occurrence just
        // found is not found again; from the caret itself otherwise.
        long from = selStart;
        if (selEnd > selStart) {
            const auto* p = reinterpret_cast<const unsigned char*>(text.data());
            from += decode(p + selStart, p + text.size()).width;
        }
        if (from < text.size())
            found = searchForward(text, from, what);
    } else if (selStart > 0) {
        // Wholly before the caret or the selected text.
        found = searchBackward(text, selStart, what);
    }
    if (!found)
        return false;
    // The occurrence may take other bytes than the search text (a letter and
    // its other case need not be as long in UTF-8), so select what matched.
    pad.selectBytes(found->start, found->end);
    return true;
}

QString notFoundMessage(const QString& what)
{
    return QStringLiteral("Cannot find \"") + what + QStringLiteral("\".");
}

QList<Occurrence> occurrencesNear(const RichTextBox& pad, long from, long to, const QString& what)
{
    QList<Occurrence> found;
    if (what.isEmpty() || to <= from)
        return found;
    // An occurrence that overlaps the stretch ends within this many bytes of
    // it: each of its characters matches one of the search text's, and no
    // character takes more than three bytes of UTF-8 per UTF-16 unit.
    const long margin = long(what.size()) * 4;
    const Document& document = pad.document();
    const long start = std::max(0L, from - margin);
    const long end = std::min(document.byteLength(), to + margin);
    const QByteArrayView text = document.utf8Range(start, end);
    long at = 0;
    while (at < text.size()) {
        const std::optional<Range> r = searchForward(text, at, what);
        if (!r || r->start + start >= to)
            break;
        if (r->end + start > from)
            found.append({r->start + start, r->end + start});
        at = r->end;
    }
    return found;
}

namespace {

// Replace All takes this much of the text at a time.
constexpr qsizetype kPiece = 1 << 20;

// The replacement of the occurrences that start in the first kPiece bytes
// of text (or fewer, to a character's start): how many bytes it takes (an
// occurrence that starts there is taken whole) and what they become.
RichTextBox::Piece replacedPiece(QByteArrayView text, QByteArrayView find, QByteArrayView replacement)
{
    qsizetype limit = std::min(text.size(), kPiece);
    while (limit > 0 && limit < text.size() && (static_cast<unsigned char>(text[limit]) & 0xC0) == 0x80)
        --limit;
    if (limit == 0)
        limit = std::min(text.size(), kPiece);
    RichTextBox::Piece piece;
    piece.text.reserve(limit);
    qsizetype at = 0;
    // glibc's memmem stays linear in the haystack whatever the needle, and
    // looks no further than an occurrence starting before the limit reaches.
    const qsizetype searchEnd = std::min(text.size(), limit + find.size() - 1);
    while (!find.isEmpty() && at < limit) {
        const auto* hit = static_cast<const char*>(
            memmem(text.data() + at, size_t(searchEnd - at), find.data(), size_t(find.size())));
        if (!hit || hit - text.data() >= limit)
            break;
        piece.text.append(text.sliced(at, hit - text.data() - at)).append(replacement);
        at = hit - text.data() + find.size();
    }
    if (at < limit) {
        piece.text.append(text.sliced(at, limit - at));
        at = limit;
    }
    piece.replaces = at;
    return piece;
}

}

QByteArray replaced(QByteArrayView text, QByteArrayView find, QByteArrayView replacement)
{
    QByteArray out;
    out.reserve(text.size());
    while (!text.isEmpty()) {
        const RichTextBox::Piece piece = replacedPiece(text, find, replacement);
        out.append(piece.text);
        text = text.sliced(piece.replaces);
    }
    return out;
}

void replaceAll(RichTextBox& pad, const QString& find, const QString& replacement)
{
    const QByteArray findUtf8 = find.toUtf8();
    const QByteArray replacementUtf8 = replacement.toUtf8();
    const qint64 total = pad.document().byteLength();
    // Once the text is changing there is no clean way back: no Cancel.
    WorkProgress progress(&pad, QStringLiteral("Replacing..."), total, false);
    qint64 done = 0;
    pad.SetTextInPieces([&](QByteArrayView rest) {
        RichTextBox::Piece piece = replacedPiece(rest, findUtf8, replacementUtf8);
        done += piece.replaces;
        progress.advance(done);
        return piece;
    });
}

}
