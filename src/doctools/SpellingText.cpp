#include "doctools/SpellingText.h"
#include "doctools/CharacterReferences.h"

namespace SpellingText {

namespace {

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c.isMark() || c == QLatin1Char('_') || c.isSurrogate();
}

bool isWordCharacter(char32_t c)
{
    return QChar::isLetterOrNumber(c) || QChar::isMark(c) || c == U'_';
}

bool isApostrophe(char32_t c)
{
    return c == U'\'' || c == U'\u2019';
}

// Shown only where a line breaks; inside a word it is no part of it.
constexpr char32_t kSoftHyphen = U'\u00AD';

bool isNameChar(QChar c)
{
    return isAsciiLetter(c) || c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char(':') || c == QLatin1Char('_');
}

bool at(QStringView text, qsizetype i, QLatin1StringView what)
{
    return text.mid(i, what.size()).compare(what, Qt::CaseInsensitive) == 0;
}

// The starts of what a browser or a server treats as markup rather than text.
bool opensMarkup(QStringView text, qsizetype i)
{
    const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
    return next == QLatin1Char('!') || next == QLatin1Char('?') || next == QLatin1Char('%') || isAsciiLetter(next)
           || (next == QLatin1Char('/') && i + 2 < text.size() && isAsciiLetter(text[i + 2]));
}

// An address, a path or a file name: nothing in it is a word of the language.
bool looksLikeAddress(QStringView chunk)
{
    if (chunk.contains(QLatin1String("://")))
        return true;
    qsizetype first = 0;
    while (first < chunk.size() && !isWordChar(chunk[first]))
        ++first;
    const QStringView rest = chunk.mid(first);
    if (rest.startsWith(QLatin1String("www."), Qt::CaseInsensitive)
        || rest.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
        return true;
    for (qsizetype i = 1; i + 1 < chunk.size(); ++i) {
        const QChar c = chunk[i];
        if ((c == QLatin1Char('@') || c == QLatin1Char('.') || c == QLatin1Char('/') || c == QLatin1Char('\\'))
            && isWordChar(chunk[i - 1]) && isWordChar(chunk[i + 1]))
            return true;
    }
    return false;
}

}

bool isMarkup(QStringView text)
{
    // A construct counts when it closes before the next "<": each stretch
    // of text is looked at once, however many stray "<" there are.
    for (qsizetype i = text.indexOf(QLatin1Char('<')); i >= 0;) {
        const qsizetype next = text.indexOf(QLatin1Char('<'), i + 1);
        if (at(text, i, QLatin1String("<?")) || at(text, i, QLatin1String("<%")) || at(text, i, QLatin1String("<!--")))
            return true;
        if (opensMarkup(text, i)) {
            const QStringView construct = next < 0 ? text.mid(i) : text.mid(i, next - i);
            if (construct.contains(QLatin1Char('>')))
                return true;
        }
        i = next;
    }
    return false;
}

WordScanner::WordScanner(QStringView text, bool markup) : m_text(text), m_markup(markup) {}

std::optional<Word> WordScanner::next()
{
    while (m_pending.empty()) {
        if (m_pos >= m_text.size())
            return std::nullopt;
        const QChar c = m_text[m_pos];
        if (c.isSpace())
            ++m_pos;
        else if (!(m_markup && c == QLatin1Char('<') && skipMarkup()))
            scanChunk();
    }
    const Word w = m_pending.front();
    m_pending.pop_front();
    return w;
}

void WordScanner::skipPast(qsizetype from, QLatin1StringView end)
{
    const qsizetype found = m_text.indexOf(end, from, Qt::CaseInsensitive);
    m_pos = found < 0 ? m_text.size() : found + end.size();
}

bool WordScanner::skipMarkup()
{
    const qsizetype i = m_pos;
    if (at(m_text, i, QLatin1String("<!--"))) {
        skipPast(i + 4, QLatin1String("-->"));
    } else if (at(m_text, i, QLatin1String("<![CDATA["))) {
        skipPast(i + 9, QLatin1String("]]>"));
    } else if (at(m_text, i, QLatin1String("<?"))) {
        skipPast(i + 2, QLatin1String("?>"));
    } else if (at(m_text, i, QLatin1String("<%"))) {
        skipPast(i + 2, QLatin1String("%>"));
    } else if (at(m_text, i, QLatin1String("<!"))) {
        skipPast(i + 2, QLatin1String(">"));
    } else if (opensMarkup(m_text, i)) {
        const bool closing = m_text[i + 1] == QLatin1Char('/');
        qsizetype nameEnd = i + (closing ? 2 : 1);
        while (nameEnd < m_text.size() && isNameChar(m_text[nameEnd]))
            ++nameEnd;
        const QStringView name = m_text.mid(i + 1, nameEnd - i - 1);
        skipTagBody(nameEnd);
        const bool selfClosed = m_pos >= 2 && m_text[m_pos - 2] == QLatin1Char('/');
        // Script and style contents are code up to their closing tag, which
        // the next step then passes over as any other tag.
        for (QLatin1StringView raw : {QLatin1String("script"), QLatin1String("style")})
            if (!closing && !selfClosed && name.compare(raw, Qt::CaseInsensitive) == 0) {
                const qsizetype end = m_text.indexOf(QString(QLatin1String("</") + raw), m_pos, Qt::CaseInsensitive);
                m_pos = end < 0 ? m_text.size() : end;
            }
    } else {
        return false;
    }
    return true;
}

void WordScanner::skipTagBody(qsizetype from)
{
    qsizetype i = from;
    while (i < m_text.size()) {
        const QChar c = m_text[i];
        if (c == QLatin1Char('>')) {
            m_pos = i + 1;
            return;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const qsizetype close = m_text.indexOf(c, i + 1);
            i = close < 0 ? m_text.size() : close + 1;
        } else if (at(m_text, i, QLatin1String("<?")) || at(m_text, i, QLatin1String("<%"))) {
            // Server code inside a tag: <input <?php echo $checked ?>>
            skipPast(i + 2, m_text[i + 1] == QLatin1Char('?') ? QLatin1String("?>") : QLatin1String("%>"));
            i = m_pos;
        } else {
            ++i;
        }
    }
    m_pos = m_text.size();
}

QString spelling(QStringView text, const Word& word)
{
    return word.shown.isEmpty() ? text.mid(word.start, word.length).toString() : word.shown;
}

// One character of a chunk as a reader of the page sees it: a character as
// written (a surrogate pair is one), or a character reference that stands
// for one, or a reference to a name that is not known here.
struct WordScanner::Unit {
    enum class Kind { Written, Reference, Unknown };
    qsizetype end = 0;   // where the next one starts
    char32_t character = 0;
    Kind kind = Kind::Written;
};

WordScanner::Unit WordScanner::unitAt(qsizetype at, qsizetype limit) const
{
    const QChar c = m_text[at];
    if (m_markup && c == QLatin1Char('&')) {
        if (const auto ref = CharacterReferences::read(m_text.sliced(at, limit - at))) {
            if (!ref->character)
                return {at + ref->length, 0, Unit::Kind::Unknown};
            return {at + ref->length, *ref->character, Unit::Kind::Reference};
        }
    }
    if (c.isHighSurrogate() && at + 1 < limit && m_text[at + 1].isLowSurrogate())
        return {at + 2, QChar::surrogateToUcs4(c, m_text[at + 1]), Unit::Kind::Written};
    return {at + 1, c.unicode(), Unit::Kind::Written};
}

void WordScanner::scanChunk()
{
    // A chunk runs to the next blank (or tag): "(hello," or "well-known".
    const qsizetype start = m_pos;
    qsizetype end = start + 1;
    while (end < m_text.size() && !m_text[end].isSpace() && !(m_markup && m_text[end] == QLatin1Char('<')))
        ++end;
    m_pos = end;
    if (looksLikeAddress(m_text.mid(start, end - start)))
        return;

    qsizetype afterUnknown = -1;
    for (qsizetype i = start; i < end;) {
        const Unit first = unitAt(i, end);
        if (first.kind == Unit::Kind::Unknown) {
            // A word glued to a reference whose character is not known here
            // cannot be spelt as the page shows it, so it is left alone.
            if (!m_pending.empty() && m_pending.back().start + m_pending.back().length == i)
                m_pending.pop_back();
            afterUnknown = i = first.end;
        } else if (isWordCharacter(first.character)) {
            i = readWord(i, first, end, i != afterUnknown);
        } else {
            i = first.end;
        }
    }
}

qsizetype WordScanner::readWord(qsizetype start, Unit first, qsizetype end, bool keep)
{
    Word w{start, 0, {}};
    qsizetype shownLength = 0;
    bool letter = false;
    bool identifier = false;
    bool differs = false;
    qsizetype j = start;
    for (Unit u = first; u.kind != Unit::Kind::Unknown;) {
        bool dropped = false;
        if (!isWordCharacter(u.character)) {
            // An apostrophe between letters (don't, l'homme) and a soft
            // hyphen inside the word belong to it.
            const bool apostrophe = isApostrophe(u.character);
            if ((!apostrophe && u.character != kSoftHyphen) || u.end >= end)
                break;
            const Unit next = unitAt(u.end, end);
            if (next.kind == Unit::Kind::Unknown
                || !(apostrophe ? QChar::isLetter(next.character) : isWordCharacter(next.character)))
                break;
            dropped = !apostrophe;
        }
        letter = letter || QChar::isLetter(u.character);
        identifier = identifier || QChar::isNumber(u.character) || u.character == U'_';

        // What the page shows differs from the text from the first
        // reference or dropped character on; only then is it kept apart.
        qsizetype units = u.end - j;
        if (dropped)
            units = 0;
        else if (u.kind == Unit::Kind::Reference)
            units = QChar::requiresSurrogates(u.character) ? 2 : 1;
        if (!differs && (dropped || u.kind == Unit::Kind::Reference)) {
            differs = true;
            w.shown = m_text.sliced(start, j - start).toString();
        }
        // Past the longest word it is no word, and what it shows is not kept.
        if (differs && units > 0 && shownLength + units <= kLongestWord) {
            if (u.kind == Unit::Kind::Written)
                w.shown += m_text.sliced(j, u.end - j);
            else
                w.shown += QChar::fromUcs4(u.character);
        }
        shownLength += units;
        j = u.end;
        if (j >= end)
            break;
        u = unitAt(j, end);
    }
    w.length = j - start;
    if (keep && letter && !identifier && shownLength <= kLongestWord)
        m_pending.push_back(std::move(w));
    return j;
}

}
