#include "html/HtmlTokenizer.h"

#include <cstring>

namespace Html {

namespace {

bool isLetter(char c)
{
    const char lower = char(c | 0x20);
    return lower >= 'a' && lower <= 'z';
}

qsizetype findByte(QByteArrayView page, qsizetype from, char c)
{
    if (from >= page.size())
        return -1;
    const void* hit = std::memchr(page.data() + from, c, std::size_t(page.size() - from));
    return hit ? static_cast<const char*>(hit) - page.data() : -1;
}

bool startsServerCode(QByteArrayView page, qsizetype p)
{
    return p + 1 < page.size() && page[p] == '<' && (page[p + 1] == '?' || page[p + 1] == '%');
}

bool startsWithNoCase(QByteArrayView page, qsizetype p, QByteArrayView word)
{
    return p + word.size() <= page.size() && page.sliced(p, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

// Just past the first `>` from `from`, or the end of the page.
qsizetype pastGreaterThan(QByteArrayView page, qsizetype from, bool& complete)
{
    const qsizetype gt = findByte(page, from, '>');
    complete = gt >= 0;
    return complete ? gt + 1 : page.size();
}

// One attribute of a tag, or its end.
enum class AttributeStep { Attribute, TagEnd, PageEnd };

// Reads from p (after the tag name or a previous attribute) as the browser
// does, keeping server code blocks whole wherever they stand.
AttributeStep readAttribute(QByteArrayView page, qsizetype& p, QByteArrayView& name, QByteArrayView& value,
                            bool& selfClosing)
{
    const qsizetype n = page.size();
    for (;;) {
        while (p < n && (isSpace(page[p]) || (page[p] == '/' && p + 1 < n && page[p + 1] != '>')))
            ++p;
        if (p >= n)
            return AttributeStep::PageEnd;
        if (page[p] == '>') {
            ++p;
            return AttributeStep::TagEnd;
        }
        if (page[p] == '/') { // "/>"
            p += 2;
            selfClosing = true;
            return AttributeStep::TagEnd;
        }
        break;
    }
    const qsizetype nameStart = p;
    for (bool first = true; p < n; first = false) {
        const char c = page[p];
        if (startsServerCode(page, p))
            p = endOfServerCode(page, p);
        else if (isSpace(c) || c == '/' || c == '>' || (c == '=' && !first))
            break;
        else
            ++p;
    }
    name = page.sliced(nameStart, p - nameStart);
    value = {};
    qsizetype q = p;
    while (q < n && isSpace(page[q]))
        ++q;
    if (q >= n || page[q] != '=')
        return p >= n ? AttributeStep::PageEnd : AttributeStep::Attribute;
    ++q;
    while (q < n && isSpace(page[q]))
        ++q;
    p = q;
    if (p >= n)
        return AttributeStep::PageEnd;
    const char quote = page[p];
    if (quote == '"' || quote == '\'') {
        const qsizetype start = ++p;
        qsizetype close = findByte(page, p, quote);
        // Server code inside the value may hold the quote itself.
        for (qsizetype lt = findByte(page, p, '<'); lt >= 0 && (close < 0 || lt < close);) {
            if (startsServerCode(page, lt)) {
                p = endOfServerCode(page, lt);
                close = findByte(page, p, quote);
                lt = findByte(page, p, '<');
            } else {
                lt = findByte(page, lt + 1, '<');
            }
        }
        if (close < 0) {
            p = n;
            return AttributeStep::PageEnd;
        }
        value = page.sliced(start, close - start);
        p = close + 1;
        return AttributeStep::Attribute;
    }
    const qsizetype start = p;
    while (p < n && !isSpace(page[p]) && page[p] != '>') {
        if (startsServerCode(page, p))
            p = endOfServerCode(page, p);
        else
            ++p;
    }
    value = page.sliced(start, p - start);
    return AttributeStep::Attribute;
}

// A start or end tag from its `<`; the name begins at nameStart.
Token readTag(QByteArrayView page, qsizetype at, qsizetype nameStart, Token::Kind kind)
{
    const qsizetype n = page.size();
    Token t;
    t.kind = kind;
    t.begin = at;
    qsizetype p = nameStart;
    while (p < n && !isSpace(page[p]) && page[p] != '/' && page[p] != '>')
        ++p;
    t.nameBegin = nameStart;
    t.nameEnd = p;
    QByteArrayView name, value;
    for (;;) {
        const AttributeStep step = readAttribute(page, p, name, value, t.selfClosing);
        if (step == AttributeStep::TagEnd)
            break;
        if (step == AttributeStep::PageEnd) {
            t.complete = false;
            p = n;
            break;
        }
    }
    t.end = p;
    return t;
}

Token readComment(QByteArrayView page, qsizetype at)
{
    const qsizetype n = page.size();
    Token t;
    t.kind = Token::Comment;
    t.begin = at;
    qsizetype p = at + 4;
    if (p < n && page[p] == '>') { // <!-->
        t.end = p + 1;
        return t;
    }
    if (p + 1 < n && page[p] == '-' && page[p + 1] == '>') { // <!--->
        t.end = p + 2;
        return t;
    }
    for (;;) {
        const qsizetype dash = page.indexOf(QByteArrayView("--"), p);
        if (dash < 0)
            break;
        if (dash + 2 < n && page[dash + 2] == '>') {
            t.end = dash + 3;
            return t;
        }
        if (dash + 3 < n && page[dash + 2] == '!' && page[dash + 3] == '>') {
            t.end = dash + 4;
            return t;
        }
        p = dash + 1;
    }
    t.complete = false;
    t.end = n;
    return t;
}

Token readDeclaration(QByteArrayView page, qsizetype at, const ReadState& state)
{
    if (startsWithNoCase(page, at, "<!--"))
        return readComment(page, at);
    Token t;
    t.begin = at;
    if (state.cdata && page.sliced(at).startsWith("<![CDATA[")) {
        t.kind = Token::CData;
        const qsizetype close = page.indexOf(QByteArrayView("]]>"), at + 9);
        t.complete = close >= 0;
        t.end = t.complete ? close + 3 : page.size();
        return t;
    }
    t.kind = startsWithNoCase(page, at, "<!doctype") ? Token::Doctype : Token::Comment;
    qsizetype from = at + 2;
    if (t.kind == Token::Doctype && state.syntax == Syntax::Xml) { // an internal subset may hold '>'
        const qsizetype bracket = findByte(page, from, '[');
        const qsizetype gt = findByte(page, from, '>');
        if (bracket >= 0 && (gt < 0 || bracket < gt)) {
            const qsizetype close = findByte(page, bracket, ']');
            from = close >= 0 ? close : page.size();
        }
    }
    t.end = pastGreaterThan(page, from, t.complete);
    return t;
}

// Whether the '<' at p begins markup rather than being text.
bool beginsMarkup(QByteArrayView page, qsizetype p)
{
    if (p + 1 >= page.size())
        return false;
    const char c = page[p + 1];
    return isLetter(c) || c == '!' || c == '?' || c == '%' || (c == '/' && p + 2 < page.size());
}

// The markup token at `at`, a '<' that begins markup.
Token readMarkup(QByteArrayView page, qsizetype at, const ReadState& state)
{
    const qsizetype n = page.size();
    Token t;
    t.begin = t.end = at;
    if (at + 1 >= n)
        return t;
    const char c = page[at + 1];
    if (isLetter(c))
        return readTag(page, at, at + 1, Token::StartTag);
    if (c == '!')
        return readDeclaration(page, at, state);
    if (c == '?' || c == '%') {
        t.kind = Token::ServerCode;
        t.end = endOfServerCode(page, at);
        t.complete = t.end < n || page.endsWith(c == '?' ? "?>" : "%>");
        return t;
    }
    if (c == '/' && at + 2 < n) {
        const char d = page[at + 2];
        if (isLetter(d))
            return readTag(page, at, at + 2, Token::EndTag);
        if (d == '>') {
            t.kind = Token::Nothing;
            t.end = at + 3;
            return t;
        }
        t.kind = Token::Comment;
        t.end = pastGreaterThan(page, at + 2, t.complete);
    }
    return t;
}

// Whether an end tag for `name` begins at p ("</name" then a space, '/' or '>').
bool isEndTagOf(QByteArrayView page, qsizetype p, QByteArrayView name)
{
    const qsizetype after = p + 2 + name.size();
    return after < page.size() && page[p + 1] == '/' && startsWithNoCase(page, p + 2, name) &&
           (isSpace(page[after]) || page[after] == '/' || page[after] == '>');
}

// Where the text of a raw text element ends: the start of its end tag, or
// the end of the page.
qsizetype endOfText(QByteArrayView page, qsizetype at, const ReadState& state)
{
    const QByteArrayView name = nameOf(state.textEnd);
    const qsizetype n = page.size();
    enum { Plain, Escaped, DoublyEscaped } script = Plain;
    for (qsizetype p = at; p < n;) {
        if (script != Plain) {
            // The escapes of old pages ("<!-- document.write('<script>...</script>') -->")
            // end at "-->", so every byte counts until then.
            if (page[p] == '-' && p + 2 < n && page[p + 1] == '-' && page[p + 2] == '>') {
                script = Plain;
                p += 3;
                continue;
            }
            if (page[p] != '<') {
                ++p;
                continue;
            }
        } else {
            p = findByte(page, p, '<');
            if (p < 0)
                return n;
        }
        if (startsServerCode(page, p)) {
            p = endOfServerCode(page, p);
            continue;
        }
        if (isEndTagOf(page, p, name)) {
            if (script != DoublyEscaped)
                return p;
            script = Escaped;
            p += 2 + name.size();
            continue;
        }
        if (state.content == Content::ScriptData) {
            if (script == Plain && page.sliced(p).startsWith("<!--")) {
                script = Escaped;
                p += 2; // "<!-->" ends where it began
                continue;
            }
            if (script == Escaped && startsWithNoCase(page, p + 1, "script") && p + 7 < n &&
                (isSpace(page[p + 7]) || page[p + 7] == '/' || page[p + 7] == '>')) {
                script = DoublyEscaped;
                p += 7;
                continue;
            }
        }
        ++p;
    }
    return n;
}

Token textUpTo(qsizetype at, qsizetype end, qsizetype pageSize)
{
    Token t;
    t.begin = at;
    t.end = end;
    t.complete = end < pageSize;
    return t;
}

}

qsizetype endOfServerCode(QByteArrayView page, qsizetype at)
{
    const char closer[] = {page[at + 1], '>'};
    const qsizetype close = page.indexOf(QByteArrayView(closer, 2), at + 1);
    return close < 0 ? page.size() : close + 2;
}

Token readToken(QByteArrayView page, qsizetype at, const ReadState& state)
{
    const qsizetype n = page.size();
    switch (state.content) {
    case Content::Plaintext: return textUpTo(at, n, n);
    case Content::Rcdata:
    case Content::RawText:
    case Content::ScriptData: {
        if (page[at] == '<' && isEndTagOf(page, at, nameOf(state.textEnd)))
            return readTag(page, at, at + 2, Token::EndTag);
        return textUpTo(at, endOfText(page, at, state), n);
    }
    case Content::Data: break;
    }
    for (qsizetype p = at;;) {
        p = findByte(page, p, '<');
        if (p < 0)
            return textUpTo(at, n, n);
        if (beginsMarkup(page, p))
            return p > at ? textUpTo(at, p, n) : readMarkup(page, p, state);
        ++p;
    }
}

std::optional<QByteArrayView> attributeOf(QByteArrayView page, const Token& tag, QByteArrayView name)
{
    qsizetype p = tag.nameEnd;
    QByteArrayView attribute, value;
    bool selfClosing = false;
    while (p < tag.end && readAttribute(page, p, attribute, value, selfClosing) == AttributeStep::Attribute) {
        if (attribute.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return std::nullopt;
}

}
