#include "doctools/SpellingText.h"

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

bool isApostrophe(QChar c)
{
    return c == QLatin1Char('\'') || c == QChar(0x2019);
}

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

qsizetype WordScanner::entityEnd(qsizetype at, qsizetype limit) const
{
    // &name; &#123; &#x7B; (the semicolon may be missing, as browsers allow)
    qsizetype i = at + 1;
    if (i < limit && m_text[i] == QLatin1Char('#'))
        ++i;
    const qsizetype nameStart = i;
    while (i < limit && (isAsciiLetter(m_text[i]) || m_text[i].isDigit()))
        ++i;
    if (i == nameStart)
        return -1;
    if (i < limit && m_text[i] == QLatin1Char(';'))
        ++i;
    return i;
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

    qsizetype afterEntity = -1;
    for (qsizetype i = start; i < end;) {
        if (m_markup && m_text[i] == QLatin1Char('&')) {
            const qsizetype e = entityEnd(i, end);
            if (e > 0) {
                // A word glued to an entity (caf&eacute;) is not spelt as
                // written, so it is left alone.
                if (!m_pending.empty() && m_pending.back().start + m_pending.back().length == i)
                    m_pending.pop_back();
                afterEntity = i = e;
                continue;
            }
        }
        if (!isWordChar(m_text[i])) {
            ++i;
            continue;
        }
        qsizetype j = i;
        bool letter = false;
        bool identifier = false;
        while (j < end) {
            const QChar c = m_text[j];
            if (isWordChar(c)) {
                letter = letter || c.isLetter() || c.isSurrogate();
                identifier = identifier || c.isDigit() || c.isNumber() || c == QLatin1Char('_');
                ++j;
            } else if (isApostrophe(c) && j + 1 < end && (m_text[j + 1].isLetter() || m_text[j + 1].isSurrogate())) {
                ++j;   // don't, l'homme
            } else {
                break;
            }
        }
        if (letter && !identifier && j - i <= kLongestWord && i != afterEntity)
            m_pending.push_back({i, j - i});
        i = j;
    }
}

}
