#include "html/HtmlOutline.h"

#include <QHash>

#include <algorithm>

using namespace Html;

namespace {

// The element's step name: the lower-case name of a known tag ("image" is
// made an img), else the name as written with ASCII letters lowered.
bool stepNameIs(QByteArrayView page, const Parser& parser, int index, QByteArrayView name)
{
    const Element& e = parser.element(index);
    if (e.tag != Tag::Other)
        return Html::nameOf(e.tag) == name;
    return sameNameNoCase(parser.nameOf(page, index), name);
}

QByteArray stepName(QByteArrayView page, const Parser& parser, int index)
{
    const Element& e = parser.element(index);
    if (e.tag != Tag::Other)
        return Html::nameOf(e.tag).toByteArray();
    QByteArray name = parser.nameOf(page, index).toByteArray();
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = char(c + 32);
    return name;
}

Token readStartTag(QByteArrayView page, const Element& e, Syntax syntax)
{
    ReadState state;
    state.syntax = syntax;
    return readToken(page, e.tagBegin, state);
}

// The id as the browser will have it, when the source says it exactly.
QByteArray exactId(QByteArrayView page, const Element& e)
{
    if (e.tagBegin < 0)
        return {};
    const Token tag = readStartTag(page, e, Syntax::Html);
    if (tag.kind != Token::StartTag)
        return {};
    const std::optional<QByteArrayView> id = attributeOf(page, tag, "id");
    if (!id || id->contains('&') || id->contains('<'))
        return {};
    return id->toByteArray();
}

bool hidesContent(const Element& e)
{
    return e.is(Tag::Head) || e.is(Tag::Script) || e.is(Tag::Style) || e.is(Tag::Template);
}

std::optional<ElementPath> pathOf(QByteArrayView page, const Parser& parser, int index)
{
    const int body = parser.body();
    if (index < 0 || body < 0 || index == body)
        return std::nullopt;
    ElementPath path;
    for (int i = index; i != body; i = parser.element(i).parent) {
        if (i < 0 || hidesContent(parser.element(i)))
            return std::nullopt;
        path.prepend(PathStep{stepName(page, parser, i), parser.element(i).index, exactId(page, parser.element(i))});
    }
    return path;
}

int indexOfSerial(const Parser& parser, quint32 serial)
{
    for (int i = parser.current(); i >= 0; i = parser.openBelow(i))
        if (parser.element(i).serial == serial)
            return i;
    return -1;
}

// The innermost open element that has a start tag of its own in the text.
int innermostWritten(const Parser& parser)
{
    for (int i = parser.current(); i >= 0; i = parser.openBelow(i))
        if (!parser.element(i).implied() && !parser.element(i).has(Element::Copy))
            return i;
    return -1;
}

Element nameKey(QByteArrayView page, const Token& tag, Syntax syntax)
{
    Element key;
    key.tag = syntax == Syntax::Html ? tagOf(tag.name(page)) : Tag::Other;
    key.nameBegin = tag.nameBegin;
    key.nameLength = qint32(tag.nameEnd - tag.nameBegin);
    return key;
}

// The element created for one start tag.
struct InsertWatch : TreeObserver {
    explicit InsertWatch(qsizetype tagBegin) : tagBegin(tagBegin) {}
    void inserted(const Parser& parser, int index) override
    {
        const Element& e = parser.element(index);
        if (!serial && e.tagBegin == tagBegin && !e.has(Element::Copy))
            serial = e.serial;
    }
    qsizetype tagBegin;
    quint32 serial = 0;
};

// The element an end tag closes: the first to go that has the tag's name.
struct EndWatch : TreeObserver {
    EndWatch(QByteArrayView page, const Element& key, bool wantPath) : page(page), key(key), wantPath(wantPath) {}
    void removing(const Parser& parser, int index) override
    {
        if (serial || !parser.sameName(page, parser.element(index), key))
            return;
        serial = parser.element(index).serial;
        if (wantPath)
            path = pathOf(page, parser, index);
    }
    QByteArrayView page;
    Element key;
    bool wantPath;
    quint32 serial = 0;
    std::optional<ElementPath> path;
};

struct CloseWatch : TreeObserver {
    explicit CloseWatch(quint32 serial) : serial(serial) {}
    void removing(const Parser& parser, int index) override { closed = closed || parser.element(index).serial == serial; }
    quint32 serial;
    bool closed = false;
};

// The element at a path, looked for as elements are created and moved.
struct PathWatch : TreeObserver {
    PathWatch(QByteArrayView page, const ElementPath& path) : page(page), path(path) {}
    void inserted(const Parser& parser, int index) override { check(parser, index); }
    void moved(const Parser& parser, int index) override { check(parser, index); }
    void check(const Parser& parser, int index)
    {
        const Element& e = parser.element(index);
        if (done || (path.isEmpty() ? !e.is(Tag::Body) : e.index != path.last().index))
            return;
        int i = index;
        for (qsizetype k = path.size() - 1; k >= 0; --k) {
            if (i < 0 || parser.element(i).index != path[k].index || !stepNameIs(page, parser, i, path[k].tag))
                return;
            i = parser.element(i).parent;
        }
        if (path.isEmpty() ? e.parent != 0 : i != parser.body())
            return;
        done = true;
        i = index;
        for (qsizetype k = path.size() - 1; k >= 0; --k, i = parser.element(i).parent) {
            const QByteArray id = exactId(page, parser.element(i));
            if (!path[k].id.isEmpty() && !id.isEmpty() && id != path[k].id)
                return;
        }
        if (!e.implied() && !e.has(Element::Copy))
            result = e.tagBegin;
    }
    QByteArrayView page;
    const ElementPath& path;
    bool done = false;
    std::optional<qsizetype> result;
};

}

HtmlOutline::HtmlOutline(Syntax syntax, qsizetype interval) : m_syntax(syntax), m_interval(qMax<qsizetype>(1, interval))
{
}

void HtmlOutline::setSyntax(Syntax syntax)
{
    m_syntax = syntax;
    m_checkpoints.clear();
}

void HtmlOutline::textChanged(qsizetype position)
{
    const auto after = std::upper_bound(m_checkpoints.begin(), m_checkpoints.end(), position,
                                        [](qsizetype p, const Checkpoint& c) { return p < c.position; });
    m_checkpoints.erase(after, m_checkpoints.end());
}

qsizetype HtmlOutline::keptBytes() const
{
    qsizetype bytes = qsizetype(m_checkpoints.capacity() * sizeof(Checkpoint));
    for (const Checkpoint& c : m_checkpoints)
        bytes += c.parser.heapBytes();
    return bytes;
}

size_t HtmlOutline::checkOf(QByteArrayView page, qsizetype position) const
{
    const qsizetype from = qMax<qsizetype>(0, position - 32);
    return qHashBits(page.data() + from, size_t(position - from));
}

Parser HtmlOutline::resumeBefore(QByteArrayView page, qsizetype position)
{
    for (;;) {
        auto at = std::upper_bound(m_checkpoints.begin(), m_checkpoints.end(), position,
                                   [](qsizetype p, const Checkpoint& c) { return p < c.position; });
        if (at == m_checkpoints.begin())
            break;
        --at;
        // A kept state whose bytes changed untold is dropped, with all after it.
        if (at->position <= page.size() && checkOf(page, at->position) == at->check)
            return at->parser;
        m_checkpoints.erase(at, m_checkpoints.end());
    }
    Parser fresh(m_syntax);
    fresh.skipByteOrderMark(page);
    return fresh;
}

void HtmlOutline::advance(QByteArrayView page, Parser& parser, const Token& token)
{
    parser.consume(page, token);
    const qsizetype last = m_checkpoints.empty() ? 0 : m_checkpoints.back().position;
    if (token.kind == Token::Text || !token.complete || token.end < last + m_interval)
        return;
    m_checkpoints.push_back(Checkpoint{token.end, checkOf(page, token.end), parser});
    m_checkpoints.back().parser.setObserver(nullptr);
}

HtmlOutline::Reach HtmlOutline::reach(QByteArrayView page, qsizetype position)
{
    Reach r{resumeBefore(page, position), std::nullopt};
    Parser& p = r.parser;
    while (p.position() < position) {
        const Token t = p.peek(page);
        if (t.end > position) {
            r.holding = t;
            break;
        }
        advance(page, p, t);
    }
    return r;
}

// Moves `parser` to the last kept state after `after` in which the element
// (known by its start tag) is still open: it cannot end before.
bool HtmlOutline::keptStillHolds(QByteArrayView page, const Element& element, qsizetype after, Parser& parser)
{
    const qsizetype tagBegin = element.tagBegin;
    const Tag tag = m_syntax == Syntax::Html && element.space == Space::Html ? element.tag : Tag::Other;
    const auto holds = [&](const Checkpoint& c) {
        // body and html are never closed, only ended
        if ((tag == Tag::Body && c.parser.bodyEnded()) || (tag == Tag::Html && c.parser.htmlEnded()))
            return false;
        for (int i = c.parser.current(); i >= 0; i = c.parser.openBelow(i))
            if (c.parser.element(i).tagBegin == tagBegin && !c.parser.element(i).has(Element::Copy))
                return true;
        return false;
    };
    auto first = std::upper_bound(m_checkpoints.begin(), m_checkpoints.end(), after,
                                  [](qsizetype p, const Checkpoint& c) { return p < c.position; });
    // Open from its start tag until it ends, never again: the kept states
    // that hold it come first.
    auto end = std::partition_point(first, m_checkpoints.end(), holds);
    if (end == first)
        return false;
    --end;
    if (end->position > page.size() || checkOf(page, end->position) != end->check) {
        m_checkpoints.erase(first, m_checkpoints.end());
        return false;
    }
    parser = end->parser;
    return true;
}

std::optional<QByteArray> HtmlOutline::closingTagAfter(QByteArrayView page, qsizetype caret)
{
    if (caret < 3 || caret > page.size() || page[caret - 1] != '>')
        return std::nullopt;
    const Reach r = reach(page, caret - 1);
    if (!r.holding)
        return std::nullopt;
    const Token& t = *r.holding;
    if (t.kind != Token::StartTag || !t.complete || t.end != caret || t.selfClosing)
        return std::nullopt;
    const QByteArrayView name = t.name(page);
    if (m_syntax == Syntax::Html && isVoid(tagOf(name)) && !r.parser.readsAsForeign(tagOf(name)))
        return std::nullopt;
    const QByteArrayView after = page.sliced(caret);
    const qsizetype end = 2 + name.size();
    if (after.startsWith("</") && after.size() >= end) {
        const QByteArrayView following = after.sliced(2, name.size());
        const bool same = m_syntax == Syntax::Html ? sameNameNoCase(following, name) : following == name;
        if (same && (after.size() == end || after[end] == '>' || isSpace(after[end])))
            return std::nullopt;
    }
    return QByteArray("</") + name.toByteArray() + '>';
}

std::optional<QByteArray> HtmlOutline::nameToClose(QByteArrayView page, qsizetype caret)
{
    if (caret < 2 || caret > page.size() || page.sliced(caret - 2, 2) != "</")
        return std::nullopt;
    const Reach r = reach(page, caret - 2);
    if (r.holding && r.holding->kind != Token::Text)
        return std::nullopt;
    if (r.parser.readState().content == Content::Plaintext)
        return std::nullopt;
    const int open = innermostWritten(r.parser);
    if (open < 0)
        return std::nullopt;
    return r.parser.nameOf(page, open).toByteArray();
}

std::optional<TagPair> HtmlOutline::tagPairAt(QByteArrayView page, qsizetype position)
{
    position = std::clamp<qsizetype>(position, 0, page.size());
    Reach r = reach(page, position);
    Parser& p = r.parser;
    std::optional<Token> tag = r.holding;
    if (!tag && p.position() < page.size()) {
        const Token next = p.peek(page);
        if (next.isTag())
            tag = next;
    }
    int target = -1;
    if (tag && tag->isTag()) {
        if (!tag->complete)
            return std::nullopt;
        if (tag->kind == Token::EndTag) {
            Parser probe = p;
            EndWatch watch(page, nameKey(page, *tag, m_syntax), false);
            probe.setObserver(&watch);
            probe.consume(page, *tag);
            target = watch.serial ? indexOfSerial(p, watch.serial) : -1;
            if (!watch.serial) { // body and html end, never close
                const Tag ended = tagOf(tag->name(page));
                if (ended == Tag::Html && probe.htmlEnded() && !p.htmlEnded() && p.depth() > 0)
                    target = 0;
                else if (ended == Tag::Body && probe.bodyEnded() && !p.bodyEnded())
                    target = p.body();
            }
            if (target < 0 || p.element(target).implied() || p.element(target).has(Element::Copy))
                return std::nullopt;
            const Token start = readStartTag(page, p.element(target), m_syntax);
            return TagPair{{start.begin, start.end}, {start.nameBegin, start.nameEnd},
                           {tag->begin, tag->end}, {tag->nameBegin, tag->nameEnd}};
        }
        InsertWatch watch(tag->begin);
        p.setObserver(&watch);
        p.consume(page, *tag);
        p.setObserver(nullptr);
        target = watch.serial ? indexOfSerial(p, watch.serial) : -1;
        if (target < 0) // ignored, void or self-closed
            return std::nullopt;
    } else {
        if (tag && tag->kind == Token::Text) {
            if (p.readState().content == Content::Data)
                p.consumeTextUpTo(page, *tag, position);
            else
                p.consume(page, *tag);
        }
        target = innermostWritten(p);
        if (target < 0)
            return std::nullopt;
    }
    const Element element = p.element(target);
    const Token start = readStartTag(page, element, m_syntax);
    TagPair pair{{start.begin, start.end}, {start.nameBegin, start.nameEnd}, {}, {}};
    // Read on until the element goes: by its own end tag, or implied.
    quint32 serial = element.serial;
    if (keptStillHolds(page, element, p.position(), p))
        for (int i = p.current(); i >= 0; i = p.openBelow(i))
            if (p.element(i).tagBegin == element.tagBegin && !p.element(i).has(Element::Copy))
                serial = p.element(i).serial;
    CloseWatch watch(serial);
    p.setObserver(&watch);
    const bool html = m_syntax == Syntax::Html && element.is(Tag::Html);
    const bool body = m_syntax == Syntax::Html && element.is(Tag::Body);
    while (p.position() < page.size()) {
        const Token t = p.peek(page);
        advance(page, p, t);
        const bool ownEnd = t.kind == Token::EndTag && t.complete && p.sameName(page, element, nameKey(page, t, m_syntax));
        if (watch.closed || (html && p.htmlEnded()) || (body && p.bodyEnded())) {
            if (ownEnd)
                pair.end = {t.begin, t.end}, pair.endName = {t.nameBegin, t.nameEnd};
            break;
        }
    }
    return pair;
}

std::optional<ElementPath> HtmlOutline::elementPathAt(QByteArrayView page, qsizetype position)
{
    if (m_syntax != Syntax::Html)
        return std::nullopt;
    position = std::clamp<qsizetype>(position, 0, page.size());
    Reach r = reach(page, position);
    Parser& p = r.parser;
    if (r.holding) {
        const Token& t = *r.holding;
        if (t.kind == Token::StartTag && t.complete) {
            InsertWatch watch(t.begin);
            p.setObserver(&watch);
            p.keepNextElementOpen();
            p.consume(page, t);
            p.setObserver(nullptr);
            const int element = watch.serial ? indexOfSerial(p, watch.serial) : -1;
            return pathOf(page, p, element >= 0 ? element : p.current());
        }
        if (t.kind == Token::EndTag && t.complete) {
            Parser probe = p;
            EndWatch watch(page, nameKey(page, t, m_syntax), true);
            probe.setObserver(&watch);
            probe.consume(page, t);
            if (watch.serial)
                return watch.path;
        } else if (t.kind == Token::Text && p.readState().content == Content::Data) {
            p.consumeTextUpTo(page, t, position);
        }
    }
    return pathOf(page, p, p.current());
}

std::optional<qsizetype> HtmlOutline::startTagOf(QByteArrayView page, const ElementPath& path)
{
    if (m_syntax != Syntax::Html)
        return std::nullopt;
    Parser p(m_syntax);
    p.skipByteOrderMark(page);
    PathWatch watch(page, path);
    p.setObserver(&watch);
    while (!watch.done && p.position() < page.size())
        p.consume(page, p.peek(page));
    return watch.result;
}
