#include "html/HtmlParser.h"

namespace Html {

Parser::Parser(Syntax syntax)
{
    m_read.syntax = syntax;
    m_stack.reserve(64);
    m_counts.reserve(256);
}

Token Parser::peek(QByteArrayView page) const
{
    return readToken(page, m_position, readState());
}

ReadState Parser::readState() const
{
    ReadState state = m_read;
    state.cdata = state.syntax == Syntax::Xml || (!m_stack.empty() && m_stack.back().space != Space::Html);
    return state;
}

void Parser::consume(QByteArrayView page, const Token& token)
{
    m_position = token.end;
    if (m_read.syntax == Syntax::Xml) {
        xmlToken(page, token);
    } else if (token.kind == Token::Text) {
        if (m_read.content == Content::Data)
            text(page, token.begin, token.end);
    } else if (token.isTag() && token.complete) { // a tag cut by the end of the page is dropped
        const Tag tag = tagOf(token.name(page));
        const bool start = token.kind == Token::StartTag;
        if (m_mode != Mode::Text && inForeignContent(start, tag)) {
            if (start)
                foreignStartTag(page, token, tag);
            else
                foreignEndTag(page, token, tag);
        } else if (start) {
            startTag(page, token, tag, m_mode);
        } else {
            endTag(page, token, tag, m_mode);
        }
    } else if (token.kind == Token::Doctype && m_mode == Mode::Initial) {
        doctype(page, token);
    }
    m_keepOpen = false;
}

void Parser::skipByteOrderMark(QByteArrayView page)
{
    if (m_position == 0 && page.startsWith("\xEF\xBB\xBF"))
        m_position = 3;
}

bool Parser::readsAsForeign(Tag startTag) const
{
    return m_read.syntax == Syntax::Html && m_mode != Mode::Text && inForeignContent(true, startTag) &&
           !leavesForeignContent(startTag);
}

void Parser::consumeTextUpTo(QByteArrayView page, const Token& text, qsizetype end)
{
    m_position = end;
    if (m_read.syntax == Syntax::Html && m_read.content == Content::Data)
        this->text(page, text.begin, end);
}

qsizetype Parser::heapBytes() const
{
    return qsizetype(m_stack.capacity() * sizeof(Element) + m_counts.capacity() * sizeof(ChildCount) +
                     m_formatting.capacity() * sizeof(Formatting));
}

int Parser::openBelow(int index) const
{
    for (--index; index >= 0; --index)
        if (!m_stack[std::size_t(index)].has(Element::Closed))
            return index;
    return -1;
}

int Parser::body() const
{
    for (int i = 0; i < depth(); ++i)
        if (element(i).is(Tag::Body))
            return i;
    return -1;
}

QByteArrayView Parser::nameOf(QByteArrayView page, int index) const
{
    const Element& e = element(index);
    return e.nameBegin >= 0 ? page.sliced(e.nameBegin, e.nameLength) : Html::nameOf(e.tag);
}

bool Parser::sameName(QByteArrayView page, const Element& a, const Element& b) const
{
    if (m_read.syntax == Syntax::Html && (a.tag != Tag::Other || b.tag != Tag::Other))
        return a.tag == b.tag;
    const QByteArrayView x = page.sliced(a.nameBegin, a.nameLength), y = page.sliced(b.nameBegin, b.nameLength);
    return m_read.syntax == Syntax::Html ? sameNameNoCase(x, y) : x == y;
}

// ---------------------------------------------------------------- the stack

int Parser::appropriateParent() const
{
    const int c = current();
    if (m_fosterParenting && c >= 0) {
        const Element& e = element(c);
        if (e.is(Tag::Table) || e.is(Tag::Tbody) || e.is(Tag::Tfoot) || e.is(Tag::Thead) || e.is(Tag::Tr)) {
            // Misplaced content of a table goes just before the table.
            const int table = find(Tag::Table);
            if (table >= 0)
                return element(table).parent >= 0 ? element(table).parent : openBelow(table);
        }
    }
    return c;
}

Element Parser::copyOf(const Formatting& f, qint32 countsBegin)
{
    Element copy;
    copy.tagBegin = f.tagBegin;
    copy.nameBegin = f.nameBegin;
    copy.nameLength = f.nameLength;
    copy.serial = m_nextSerial++;
    copy.tag = f.tag;
    copy.flags = Element::Copy;
    copy.countsBegin = countsBegin;
    return copy;
}

qint32 Parser::countChild(QByteArrayView page, int parent, const Element& child)
{
    const qint32 begin = element(parent).countsBegin;
    const qint32 end = parent + 1 < depth() ? element(parent + 1).countsBegin : qint32(m_counts.size());
    for (qint32 i = begin; i < end; ++i) {
        ChildCount& c = m_counts[std::size_t(i)];
        Element key;
        key.tag = c.tag;
        key.nameBegin = c.nameBegin;
        key.nameLength = c.nameLength;
        if (sameName(page, key, child))
            return c.count++;
    }
    const ChildCount first{child.nameBegin, child.nameLength, 1, child.tag};
    if (parent == current()) {
        m_counts.push_back(first);
        return 0;
    }
    m_counts.insert(m_counts.begin() + end, first);
    for (int j = parent + 1; j < depth(); ++j)
        ++m_stack[std::size_t(j)].countsBegin;
    return 0;
}

int Parser::insert(QByteArrayView page, const Source& source, Tag tag, Space space, int parent)
{
    Element e;
    e.tagBegin = source.tagBegin;
    e.nameBegin = source.nameBegin;
    e.nameLength = source.nameLength;
    e.serial = m_nextSerial++;
    e.parent = parent == -2 ? appropriateParent() : parent;
    e.tag = tag;
    e.space = space;
    e.flags = source.copy ? Element::Copy : 0;
    e.index = e.parent >= 0 ? countChild(page, e.parent, e) : 0;
    e.countsBegin = qint32(m_counts.size());
    m_stack.push_back(e);
    if (m_observer)
        m_observer->inserted(*this, current());
    return current();
}

int Parser::insertFor(QByteArrayView page, const Token& token, Tag tag, Space space)
{
    return insert(page, Source{token.begin, token.nameBegin, qint32(token.nameEnd - token.nameBegin), false}, tag,
                  space);
}

void Parser::insertVoid(QByteArrayView page, const Token& token, Tag tag, Space space)
{
    insertFor(page, token, tag, space);
    if (!m_keepOpen)
        pop();
}

void Parser::insertImplied(QByteArrayView page, Tag tag)
{
    insert(page, Source{}, tag, Space::Html);
    if (tag == Tag::Head)
        m_head = m_stack.back();
}

void Parser::pop()
{
    if (m_observer)
        m_observer->removing(*this, current());
    m_counts.resize(std::size_t(m_stack.back().countsBegin));
    m_stack.pop_back();
    dropClosedOnTop();
}

void Parser::dropClosedOnTop()
{
    while (!m_stack.empty() && m_stack.back().has(Element::Closed)) {
        m_counts.resize(std::size_t(m_stack.back().countsBegin));
        m_stack.pop_back();
    }
}

void Parser::removeAt(int index)
{
    if (index == current()) {
        pop();
        return;
    }
    if (m_observer)
        m_observer->removing(*this, index);
    for (int j = index + 1; j < depth(); ++j) {
        if (element(j).parent == index) { // still the parent of an open element
            m_stack[std::size_t(index)].flags |= Element::Closed;
            return;
        }
    }
    const qint32 begin = element(index).countsBegin, end = element(index + 1).countsBegin;
    m_counts.erase(m_counts.begin() + begin, m_counts.begin() + end);
    m_stack.erase(m_stack.begin() + index);
    for (int j = index; j < depth(); ++j) {
        Element& e = m_stack[std::size_t(j)];
        e.countsBegin -= end - begin;
        if (e.parent > index)
            --e.parent;
    }
}

void Parser::popUntil(Tag tag)
{
    while (!m_stack.empty()) {
        const bool last = m_stack.back().is(tag);
        pop();
        if (last)
            return;
    }
}

void Parser::popUntilAny(std::initializer_list<Tag> tags)
{
    while (!m_stack.empty()) {
        const Element& e = m_stack.back();
        bool last = false;
        for (Tag t : tags)
            last = last || e.is(t);
        pop();
        if (last)
            return;
    }
}

void Parser::popUntilIndex(int index)
{
    while (depth() > index)
        pop();
}

int Parser::find(Tag tag) const
{
    for (int i = current(); i >= 0; i = openBelow(i))
        if (element(i).is(tag))
            return i;
    return -1;
}

bool Parser::inScope(Tag tag, Scope scope) const
{
    for (int i = current(); i >= 0; i = openBelow(i)) {
        const Element& e = element(i);
        if (e.is(tag))
            return true;
        switch (scope) {
        case Scope::Select:
            if (!e.is(Tag::Optgroup) && !e.is(Tag::Option))
                return false;
            break;
        case Scope::Table:
            if (e.is(Tag::Html) || e.is(Tag::Table) || e.is(Tag::Template))
                return false;
            break;
        case Scope::ListItem:
        case Scope::Button:
        case Scope::Default:
            if (boundsScope(e.tag, e.space) || (scope == Scope::ListItem && (e.is(Tag::Ol) || e.is(Tag::Ul))) ||
                (scope == Scope::Button && e.is(Tag::Button)))
                return false;
            break;
        }
    }
    return false;
}

bool Parser::indexInScope(int index) const
{
    for (int i = current(); i >= 0; i = openBelow(i)) {
        if (i == index)
            return true;
        if (boundsScope(element(i).tag, element(i).space))
            return false;
    }
    return false;
}

void Parser::generateImpliedEnds(Tag except, bool thorough)
{
    while (!m_stack.empty()) {
        const Element& e = m_stack.back();
        if (e.space != Space::Html || !hasImpliedEnd(e.tag, thorough) || e.tag == except)
            return;
        pop();
    }
}

void Parser::closeParagraphInButtonScope()
{
    if (!inScope(Tag::P, Scope::Button))
        return;
    generateImpliedEnds(Tag::P);
    popUntil(Tag::P);
}

void Parser::setRawText(Tag tag, Content content)
{
    m_read.content = content;
    m_read.textEnd = tag;
    m_textReturn = m_mode;
    m_mode = Mode::Text;
}

// ---------------------------------------------------------------- formatting elements

int Parser::formattingIndexOnStack(const Formatting& entry) const
{
    for (int i = current(); i >= 0; i = openBelow(i))
        if (element(i).serial == entry.serial)
            return i;
    return -1;
}

void Parser::pushFormatting(QByteArrayView page, const Token& token, int element)
{
    Formatting f;
    f.tagBegin = token.begin;
    f.nameBegin = token.nameBegin;
    f.nameLength = qint32(token.nameEnd - token.nameBegin);
    f.attributesEnd = token.end;
    f.serial = this->element(element).serial;
    f.tag = this->element(element).tag;
    // No more than three alike after the last marker: the earliest goes.
    const auto attributes = [&](const Formatting& e) {
        const qsizetype from = e.nameBegin + e.nameLength;
        return page.sliced(from, e.attributesEnd - from).trimmed();
    };
    int alike = 0, earliest = -1;
    for (int i = int(m_formatting.size()) - 1; i >= 0 && !m_formatting[std::size_t(i)].marker(); --i) {
        const Formatting& e = m_formatting[std::size_t(i)];
        if (e.tag == f.tag && attributes(e) == attributes(f)) {
            ++alike;
            earliest = i;
        }
    }
    if (alike >= 3)
        m_formatting.erase(m_formatting.begin() + earliest);
    m_formatting.push_back(f);
}

void Parser::pushMarker()
{
    m_formatting.push_back(Formatting{});
}

void Parser::clearFormattingToMarker()
{
    while (!m_formatting.empty()) {
        const bool marker = m_formatting.back().marker();
        m_formatting.pop_back();
        if (marker)
            return;
    }
}

void Parser::reconstructFormatting(QByteArrayView page)
{
    if (m_formatting.empty() || m_formatting.back().marker() || formattingIndexOnStack(m_formatting.back()) >= 0)
        return;
    std::size_t i = m_formatting.size() - 1;
    while (i > 0 && !m_formatting[i - 1].marker() && formattingIndexOnStack(m_formatting[i - 1]) < 0)
        --i;
    for (; i < m_formatting.size(); ++i) {
        Formatting& f = m_formatting[i];
        insert(page, Source{f.tagBegin, f.nameBegin, f.nameLength, true}, f.tag, Space::Html);
        f.serial = m_stack.back().serial;
    }
}

// The browser's repair of a formatting element's end tag met out of order
// (<b>1<p>2</b>3</p>). False: handle it as any other end tag.
bool Parser::adoptionAgency(QByteArrayView page, Tag subject)
{
    const auto listIndexOf = [&](quint32 serial) {
        for (int i = int(m_formatting.size()) - 1; i >= 0; --i)
            if (!m_formatting[std::size_t(i)].marker() && m_formatting[std::size_t(i)].serial == serial)
                return i;
        return -1;
    };
    const auto stackIndexOf = [&](quint32 serial) {
        for (int i = current(); i >= 0; i = openBelow(i))
            if (element(i).serial == serial)
                return i;
        return -1;
    };
    if (!m_stack.empty() && m_stack.back().is(subject) && listIndexOf(m_stack.back().serial) < 0) {
        pop();
        return true;
    }
    for (int outer = 0; outer < 8; ++outer) {
        int fi = -1;
        for (int i = int(m_formatting.size()) - 1; i >= 0 && !m_formatting[std::size_t(i)].marker(); --i) {
            if (m_formatting[std::size_t(i)].tag == subject) {
                fi = i;
                break;
            }
        }
        if (fi < 0)
            return false;
        const int fs = formattingIndexOnStack(m_formatting[std::size_t(fi)]);
        if (fs < 0) {
            m_formatting.erase(m_formatting.begin() + fi);
            return true;
        }
        if (!indexInScope(fs))
            return true;
        int fb = -1;
        for (int i = fs + 1; i < depth() && fb < 0; ++i)
            if (!element(i).has(Element::Closed) && isSpecial(element(i).tag, element(i).space))
                fb = i;
        if (fb < 0) {
            popUntilIndex(fs);
            m_formatting.erase(m_formatting.begin() + fi);
            return true;
        }
        const quint32 formattingSerial = element(fs).serial, blockSerial = element(fb).serial;
        const quint32 commonSerial = element(openBelow(fs)).serial;
        int bookmark = fi;
        quint32 lastSerial = blockSerial;
        quint32 nextSerial = element(openBelow(fb)).serial;
        for (int inner = 1;; ++inner) {
            const quint32 nodeSerial = nextSerial;
            const int node = stackIndexOf(nodeSerial);
            nextSerial = element(openBelow(node)).serial;
            if (nodeSerial == formattingSerial)
                break;
            int entry = listIndexOf(nodeSerial);
            if (inner > 3 && entry >= 0) {
                m_formatting.erase(m_formatting.begin() + entry);
                if (entry < bookmark)
                    --bookmark;
                entry = -1;
            }
            if (entry < 0) {
                removeAt(node);
                continue;
            }
            // The node is replaced by a copy that takes the last node as its child.
            if (m_observer)
                m_observer->removing(*this, node);
            const qint32 begin = element(node).countsBegin, end = element(node + 1).countsBegin;
            m_counts.erase(m_counts.begin() + begin, m_counts.begin() + end);
            for (int j = node + 1; j < depth(); ++j)
                m_stack[std::size_t(j)].countsBegin -= end - begin;
            Formatting& f = m_formatting[std::size_t(entry)];
            const Element copy = copyOf(f, begin);
            m_stack[std::size_t(node)] = copy;
            f.serial = copy.serial;
            if (lastSerial == blockSerial)
                bookmark = entry + 1;
            const int last = stackIndexOf(lastSerial);
            m_stack[std::size_t(last)].parent = node;
            m_stack[std::size_t(last)].index = countChild(page, node, element(last));
            lastSerial = copy.serial;
        }
        // The last node goes into the common ancestor (or before its table).
        const int common = stackIndexOf(commonSerial);
        int parent = common;
        const Element& c = element(common);
        if (c.is(Tag::Table) || c.is(Tag::Tbody) || c.is(Tag::Tfoot) || c.is(Tag::Thead) || c.is(Tag::Tr)) {
            const int table = find(Tag::Table);
            parent = element(table).parent >= 0 ? element(table).parent : openBelow(table);
        }
        const int last = stackIndexOf(lastSerial);
        m_stack[std::size_t(last)].parent = parent;
        m_stack[std::size_t(last)].index = countChild(page, parent, element(last));
        // A copy of the formatting element takes the furthest block's children.
        const Formatting f = m_formatting[std::size_t(fi)];
        const int block = stackIndexOf(blockSerial);
        const qint32 blockCounts = element(block).countsBegin;
        m_counts.insert(m_counts.begin() + blockCounts, ChildCount{f.nameBegin, f.nameLength, 1, f.tag});
        for (int j = block + 1; j < depth(); ++j) {
            Element& e = m_stack[std::size_t(j)];
            ++e.countsBegin;
            if (e.parent == block)
                e.parent = block + 1;
            else if (e.parent > block)
                ++e.parent;
        }
        Element copy = copyOf(f, blockCounts + 1);
        copy.parent = block;
        m_stack.insert(m_stack.begin() + block + 1, copy);
        Formatting moved = f;
        moved.serial = copy.serial;
        m_formatting.erase(m_formatting.begin() + fi);
        if (fi < bookmark)
            --bookmark;
        m_formatting.insert(m_formatting.begin() + bookmark, moved);
        removeAt(stackIndexOf(formattingSerial));
        if (m_observer)
            for (int i = stackIndexOf(commonSerial) + 1; i < depth(); ++i)
                if (!element(i).has(Element::Closed))
                    m_observer->moved(*this, i);
    }
    return true;
}

// ---------------------------------------------------------------- XML

void Parser::xmlToken(QByteArrayView page, const Token& token)
{
    if (!token.isTag() || !token.complete)
        return;
    if (token.kind == Token::StartTag) {
        insert(page, Source{token.begin, token.nameBegin, qint32(token.nameEnd - token.nameBegin), false}, Tag::Other,
               Space::Html, current());
        if (token.selfClosing && !m_keepOpen)
            pop();
        return;
    }
    const QByteArrayView name = token.name(page);
    for (int i = current(); i >= 0; i = openBelow(i)) {
        if (nameOf(page, i) == name) {
            popUntilIndex(i);
            return;
        }
    }
}

}
