#include "html/PageProblems.h"
#include "html/HtmlNames.h"
#include "html/HtmlTokenizer.h"

#include <QStringList>

#include <algorithm>

namespace PageProblems {

namespace {

bool isLetter(char c)
{
    const char lower = char(c | 0x20);
    return lower >= 'a' && lower <= 'z';
}

bool isLineBreak(char c)
{
    return c == '\n' || c == '\r';
}

bool startsWithNoCase(QByteArrayView text, qsizetype at, QByteArrayView word)
{
    return at + word.size() <= text.size() && Html::sameNameNoCase(text.sliced(at, word.size()), word);
}

bool startsServerCode(QByteArrayView page, qsizetype at)
{
    if (at + 1 >= page.size() || page[at] != '<' || (page[at + 1] != '?' && page[at + 1] != '%'))
        return false;
    const bool xmlDeclaration = startsWithNoCase(page, at + 2, "xml")
                                && (at + 5 >= page.size() || Html::isSpace(page[at + 5]) || page[at + 5] == '?');
    return !xmlDeclaration;
}

// The length of the UTF-8 sequence that starts at `at` (a stray byte is one).
qsizetype characterLength(QByteArrayView text, qsizetype at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const qsizetype expected = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    qsizetype length = 1;
    while (length < expected && at + length < text.size()
           && (static_cast<unsigned char>(text[at + length]) & 0xC0) == 0x80)
        ++length;
    return length;
}

// The start of the character whose bytes end just before `at`.
qsizetype characterBefore(QByteArrayView text, qsizetype at)
{
    qsizetype p = at - 1;
    while (p > 0 && at - p < 4 && (static_cast<unsigned char>(text[p]) & 0xC0) == 0x80)
        --p;
    return p;
}

bool isWordByte(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || isLetter(c) || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

// A line break as one character: CR LF together.
Span lineBreakAt(QByteArrayView text, qsizetype at)
{
    const qsizetype end = text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? at + 2 : at + 1;
    return {at, end};
}

}

QByteArray withoutServerCode(QByteArrayView page)
{
    QByteArray out = page.toByteArray();
    enum class State { Text, Tag, Quoted, RawText };
    State state = State::Text;
    // Inside a tag: the last thing read was "=" (a value comes next).
    bool valueNext = false;
    char quote = 0;
    // The element whose end tag ends the raw text of a script or style.
    QByteArrayView rawEnd;
    QByteArrayView startName;
    const qsizetype n = page.size();
    for (qsizetype p = 0; p < n;) {
        if (state == State::Text || state == State::RawText) {
            p = page.indexOf('<', p);
            if (p < 0)
                break;
        }
        if (startsServerCode(page, p)) {
            const qsizetype end = Html::endOfServerCode(page, p);
            const char fill = state == State::Quoted || (state == State::Tag && valueNext) ? 'x' : ' ';
            for (qsizetype i = p; i < end; ++i)
                if (!isLineBreak(page[i]))
                    out[i] = fill;
            p = end;
            valueNext = false;
            continue;
        }
        const char c = page[p];
        switch (state) {
        case State::Text:
            if (page.sliced(p).startsWith("<!--")) {
                const qsizetype end = page.indexOf("-->", p + 4);
                p = end < 0 ? n : end + 3;
            } else if (p + 1 < n && (isLetter(page[p + 1]) || page[p + 1] == '/')) {
                state = State::Tag;
                valueNext = false;
                qsizetype nameEnd = p + 1;
                while (nameEnd < n && isLetter(page[nameEnd]))
                    ++nameEnd;
                startName = page.sliced(p + 1, nameEnd - p - 1);
                p = nameEnd;
            } else {
                ++p;
            }
            break;
        case State::RawText:
            if (p + 1 < n && page[p + 1] == '/' && startsWithNoCase(page, p + 2, rawEnd)) {
                state = State::Tag;
                startName = {};
                p += 2 + rawEnd.size();
            } else {
                ++p;
            }
            break;
        case State::Tag:
            if (c == '>') {
                const bool raw = Html::sameNameNoCase(startName, "script") || Html::sameNameNoCase(startName, "style");
                state = raw ? State::RawText : State::Text;
                rawEnd = raw ? startName : QByteArrayView();
            } else if ((c == '"' || c == '\'') && valueNext) {
                state = State::Quoted;
                quote = c;
            } else if (c == '=') {
                valueNext = true;
            } else if (!Html::isSpace(c)) {
                valueNext = false;
            }
            ++p;
            break;
        case State::Quoted:
            if (c == quote) {
                state = State::Tag;
                valueNext = false;
            }
            ++p;
            break;
        }
    }
    return out;
}

bool isFragment(QByteArrayView page)
{
    static const QByteArrayView frames[] = {"!doctype", "html", "head", "body", "frameset"};
    for (qsizetype p = page.indexOf('<'); p >= 0; p = page.indexOf('<', p + 1)) {
        for (QByteArrayView name : frames) {
            if (!startsWithNoCase(page, p + 1, name))
                continue;
            const qsizetype after = p + 1 + name.size();
            if (after == page.size() || Html::isSpace(page[after]) || page[after] == '>' || page[after] == '/')
                return false;
        }
    }
    return true;
}

Problems kept(Problems problems, bool fragment)
{
    auto isFrameNote = [](const TidyCheck::Problem& p) {
        if (p.key == "MISSING_DOCTYPE" || p.key == "MISSING_TITLE_ELEMENT")
            return true;
        if (p.key == "INSERTING_TAG")
            return p.message == QLatin1String("inserting implicit <body>")
                   || p.message == QLatin1String("inserting implicit <html>")
                   || p.message == QLatin1String("inserting implicit <head>");
        return p.message.endsWith(QLatin1String("isn't allowed in <head> elements"));
    };
    Problems out;
    out.reserve(problems.size());
    // Problems come in order of place: a repeat is among those of the same place.
    qsizetype placeStart = 0;
    for (TidyCheck::Problem& p : problems) {
        if (fragment && isFrameNote(p))
            continue;
        if (!out.empty() && out.back().offset != p.offset)
            placeStart = qsizetype(out.size());
        const bool repeated = std::any_of(out.begin() + placeStart, out.end(), [&](const TidyCheck::Problem& q) {
            return q.offset == p.offset && q.severity == p.severity && q.message == p.message;
        });
        if (!repeated)
            out.push_back(std::move(p));
    }
    return out;
}

Result<Problems> check(QByteArrayView page)
{
    const QByteArray shown = withoutServerCode(page);
    Result<Problems> found = TidyCheck::check(shown);
    if (!found)
        return found;
    return kept(std::move(found).value(), isFragment(shown));
}

Span underlined(QByteArrayView text, qsizetype offset)
{
    const qsizetype n = text.size();
    if (n == 0)
        return {};
    offset = std::clamp<qsizetype>(offset, 0, n);
    qsizetype lineEnd = offset;
    while (lineEnd < n && !isLineBreak(text[lineEnd]) && lineEnd - offset < kLongestMark)
        ++lineEnd;
    if (offset == lineEnd && (offset == n || isLineBreak(text[offset]))) {
        // Nothing of the line from here: the character before, on this line
        // or (an empty line) its line break.
        if (offset > 0 && !isLineBreak(text[offset - 1])) {
            const qsizetype start = characterBefore(text, offset);
            return {start, offset};
        }
        if (offset < n)
            return lineBreakAt(text, offset);
        const qsizetype before = offset >= 2 && text[offset - 2] == '\r' && text[offset - 1] == '\n' ? offset - 2
                                                                                                      : offset - 1;
        return {before, offset};
    }
    const char c = text[offset];
    qsizetype end = offset + characterLength(text, offset);
    if (c == '<' && offset + 1 < lineEnd && (isLetter(text[offset + 1]) || text[offset + 1] == '/' || text[offset + 1] == '!')) {
        const qsizetype close = text.sliced(offset, lineEnd - offset).indexOf('>');
        end = close < 0 ? lineEnd : offset + close + 1;
    } else if (c == '&') {
        while (end < lineEnd && (isLetter(text[end]) || (text[end] >= '0' && text[end] <= '9') || text[end] == '#'))
            ++end;
        if (end < lineEnd && text[end] == ';')
            ++end;
    } else if (isWordByte(c)) {
        while (end < lineEnd && isWordByte(text[end]))
            ++end;
    }
    // A mark cut at the longest ends on a whole character.
    const qsizetype least = offset + characterLength(text, offset);
    while (end > least && end < n && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return {offset, end};
}

qsizetype nextStop(const std::vector<qsizetype>& starts, qsizetype caret, bool forward)
{
    if (starts.empty())
        return -1;
    if (forward) {
        const auto after = std::upper_bound(starts.begin(), starts.end(), caret);
        return after == starts.end() ? 0 : after - starts.begin();
    }
    const auto atOrAfter = std::lower_bound(starts.begin(), starts.end(), caret);
    return atOrAfter == starts.begin() ? qsizetype(starts.size()) - 1 : (atOrAfter - starts.begin()) - 1;
}

QString summary(qsizetype errors, qsizetype warnings)
{
    auto counted = [](qsizetype n, const char* one, const char* many) {
        return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
    };
    QStringList parts;
    if (errors > 0)
        parts << counted(errors, "error", "errors");
    if (warnings > 0)
        parts << counted(warnings, "warning", "warnings");
    return parts.join(QStringLiteral(", "));
}

}
