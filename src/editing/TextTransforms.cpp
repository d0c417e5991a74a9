#include "editing/TextTransforms.h"

#include <QStringView>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <iterator>

namespace TextTransforms {

namespace {

// Pieces of about this many bytes are decoded at a time, so that a
// transform of a selection of any size holds little more than the result.
constexpr qsizetype kPiece = 64 * 1024;

// Progress is told after about this many bytes: a few milliseconds' work.
constexpr qsizetype kProgressBytes = 1024 * 1024;

// Tells the progress, if any, at most once per kProgressBytes; false when
// the work is to stop.
class ProgressTeller {
public:
    explicit ProgressTeller(const Progress& progress) : m_progress(progress) {}
    bool at(qsizetype done)
    {
        if (!m_progress || done < m_next)
            return true;
        m_next = done + kProgressBytes;
        return m_progress(done);
    }

private:
    const Progress& m_progress;
    qsizetype m_next = kProgressBytes;
};

bool isAscii(char c)
{
    return static_cast<unsigned char>(c) < 0x80;
}

bool isContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

bool isLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

// Where a piece of at most `size` bytes from `from` can end without
// splitting a character.
qsizetype pieceEnd(QByteArrayView text, qsizetype from, qsizetype size)
{
    qsizetype end = std::min(text.size(), from + size);
    while (end < text.size() && end > from + 1 && isContinuation(text[end]))
        --end;
    return end;
}

// Whether a unit surely ends between text[i - 1] and text[i]: two ASCII
// characters that are not both line breaks. No ASCII character attaches to
// the one before it (none is a combining mark or a joiner) or takes the one
// after it (none is a prefix), and a run of line breaks is one unit.
bool unitEndsBefore(const char* text, qsizetype i)
{
    return isAscii(text[i - 1]) && isAscii(text[i]) && !(isLineBreak(text[i - 1]) && isLineBreak(text[i]));
}

// The UTF-8 length of UTF-16 text.
qsizetype utf8Length(QStringView text)
{
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80)
            bytes += 1;
        else if (c < 0x800)
            bytes += 2;
        else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            bytes += 4;
            ++i;
        } else {
            bytes += 3;
        }
    }
    return bytes;
}

// Gathers the units of a piece in order and turns the bytes of each one
// round, so that turning the whole text round afterwards puts every unit
// back in its own order. Adjacent line breaks join into one unit.
class UnitTurner {
public:
    explicit UnitTurner(char* text) : m_text(text) {}

    void add(qsizetype start, qsizetype length)
    {
        const bool lineBreak = isLineBreak(m_text[start]);
        if (m_length > 0 && m_lineBreak && lineBreak && m_start + m_length == start) {
            m_length += length;
            return;
        }
        flush();
        m_start = start;
        m_length = length;
        m_lineBreak = lineBreak;
    }
    void flush()
    {
        if (m_length > 1)
            std::reverse(m_text + m_start, m_text + m_start + m_length);
        m_length = 0;
    }
    // Where the unit not yet turned starts (it may go on past the piece).
    qsizetype pendingStart() const { return m_start; }
    bool pending() const { return m_length > 0; }

private:
    char* m_text;
    qsizetype m_start = 0;
    qsizetype m_length = 0;
    bool m_lineBreak = false;
};

// Turns the units of text[from, end) round. When `end` is not surely the
// end of a unit, the last unit is left for the next piece. Returns where the
// units turned end.
qsizetype turnUnits(char* text, qsizetype from, qsizetype end, bool endIsSure)
{
    UnitTurner turner(text);
    if (std::all_of(text + from, text + end, isAscii)) {
        for (qsizetype i = from; i < end; ++i)
            turner.add(i, 1);
    } else if (const QString piece = QString::fromUtf8(text + from, end - from); utf8Length(piece) == end - from) {
        // What a reader sees as one character: a letter with its combining
        // marks, a surrogate pair, CR LF.
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, piece);
        qsizetype unitStart = 0;
        qsizetype byte = from;
        for (qsizetype b = finder.toNextBoundary(); b != -1; b = finder.toNextBoundary()) {
            if (b <= unitStart)
                continue;
            const qsizetype bytes = utf8Length(QStringView(piece).sliced(unitStart, b - unitStart));
            turner.add(byte, bytes);
            byte += bytes;
            unitStart = b;
        }
    } else {
        // Not UTF-8 throughout: each byte sequence of one character is a unit.
        for (qsizetype i = from; i < end;) {
            qsizetype next = i + 1;
            while (next < end && next - i < 4 && isContinuation(text[next]))
                ++next;
            turner.add(i, next - i);
            i = next;
        }
    }
    if (!endIsSure && turner.pending())
        return turner.pendingStart();
    turner.flush();
    return end;
}

// Case mapping takes a character at a time (the platform's mapping looks at
// no neighbours), so it can go piece by piece. ASCII is mapped in place;
// other text goes to the platform in short pieces, because its conversion
// moves the rest of the string for every character that grows ("ß" to
// "SS"), which on a long string costs time by the square of its length.
constexpr qsizetype kCasePiece = 64;

template <typename Convert>
QByteArray caseMapped(QByteArrayView text, char (*ascii)(char), Convert convert, const Progress& progress)
{
    QByteArray out;
    out.reserve(text.size());
    ProgressTeller teller(progress);
    qsizetype i = 0;
    while (i < text.size() && teller.at(i)) {
        qsizetype run = i;
        while (run < text.size() && isAscii(text[run]))
            ++run;
        if (run > i) {
            const qsizetype at = out.size();
            out.append(text.sliced(i, run - i));
            for (char* p = out.data() + at; p != out.data() + out.size(); ++p)
                *p = ascii(*p);
            i = run;
            continue;
        }
        const qsizetype end = pieceEnd(text, i, kCasePiece);
        out.append(convert(QString::fromUtf8(text.sliced(i, end - i))).toUtf8());
        i = end;
    }
    return out;
}

char asciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

}

QByteArray upperCaseUtf8(QByteArrayView text, const Progress& progress)
{
    return caseMapped(text, asciiUpper, [](QString&& piece) { return std::move(piece).toUpper(); }, progress);
}

QByteArray lowerCaseUtf8(QByteArrayView text, const Progress& progress)
{
    return caseMapped(text, asciiLower, [](QString&& piece) { return std::move(piece).toLower(); }, progress);
}

void reverseUtf8(QByteArray& text, const Progress& progress)
{
    char* const p = text.data();
    const qsizetype n = text.size();
    qsizetype from = 0;
    qsizetype pieceSize = kPiece;
    // Turning the units round is the first half of the work, turning the
    // whole round the second.
    const Progress firstHalf = progress ? Progress([&progress](qsizetype done) { return progress(done / 2); })
                                        : Progress();
    ProgressTeller teller(firstHalf);
    while (from < n) {
        if (!teller.at(from))
            return;
        // ASCII that is neither a line break nor followed by what may attach
        // to it is a unit of one byte, already in its own order.
        while (from < n && isAscii(p[from]) && !isLineBreak(p[from]) && (from + 1 == n || isAscii(p[from + 1])))
            ++from;
        if (from == n)
            break;
        // A piece that ends where a unit surely ends, if there is such a
        // place; otherwise its last unit waits for the next piece.
        qsizetype end = pieceEnd(text, from, pieceSize);
        bool sure = end == n;
        for (qsizetype i = end; !sure && i > from + 1; --i)
            if (unitEndsBefore(p, i)) {
                end = i;
                sure = true;
            }
        const qsizetype done = turnUnits(p, from, end, sure);
        if (done == from) {
            // One unit longer than the piece: take a longer piece.
            pieceSize *= 2;
            continue;
        }
        from = done;
        pieceSize = kPiece;
    }
    // The whole text turned round, a stretch at a time from both ends, so
    // that progress is told on the way.
    for (qsizetype i = 0; i < n / 2; i += kProgressBytes) {
        const qsizetype stretch = std::min(kProgressBytes, n / 2 - i);
        std::swap_ranges(p + i, p + i + stretch, std::reverse_iterator<char*>(p + n - i));
        if (progress && !progress(n / 2 + i + stretch))
            return;
    }
}

QString longTimeFormat(const QLocale& locale)
{
    // Qt's long format adds a time-zone field ("t", "tttt", ...) that the
    // regional long time of a desktop does not show. Drop every such field
    // outside quoted literals, with the blank that separates it.
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            out += c;
            continue;
        }
        if (quoted || c != QLatin1Char('t')) {
            out += c;
            continue;
        }
        while (i + 1 < format.size() && format[i + 1] == QLatin1Char('t'))
            ++i;
        if (!out.isEmpty() && out.back().isSpace()) {
            while (!out.isEmpty() && out.back().isSpace())
                out.chop(1);
        } else {
            while (i + 1 < format.size() && format[i + 1].isSpace())
                ++i;
        }
    }
    return out;
}

QString longTimeText(const QTime& time, const QLocale& locale)
{
    return locale.toString(time, longTimeFormat(locale));
}

QString shortDateText(const QDate& date, const QLocale& locale)
{
    return locale.toString(date, QLocale::ShortFormat);
}

QString generalDateTimeText(const QDateTime& moment, const QLocale& locale)
{
    const QTime t = moment.time();
    const QString date = shortDateText(moment.date(), locale);
    if (t.hour() == 0 && t.minute() == 0 && t.second() == 0)
        return date;
    return date + QLatin1Char(' ') + longTimeText(t, locale);
}

}
