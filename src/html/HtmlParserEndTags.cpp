// End tags in the insertion modes of the HTML parsing algorithm: which
// elements they close, and which they leave open by being ignored.
#include "html/HtmlParser.h"

namespace Html {

namespace {

// The blocks whose end tag closes them when open in scope.
bool isBlockWithEnd(Tag tag)
{
    return (closesParagraph(tag) && tag != Tag::P) || tag == Tag::Button || tag == Tag::Listing || tag == Tag::Pre;
}

}

void Parser::endTag(QByteArrayView page, const Token& token, Tag tag, Mode mode)
{
    const bool structural = oneOf(tag, {Tag::Head, Tag::Body, Tag::Html, Tag::Br});
    switch (mode) {
    case Mode::Initial:
        m_quirks = true;
        m_mode = Mode::BeforeHtml;
        [[fallthrough]];
    case Mode::BeforeHtml:
        if (!structural)
            return;
        insertImplied(page, Tag::Html);
        m_mode = Mode::BeforeHead;
        [[fallthrough]];
    case Mode::BeforeHead:
        if (!structural)
            return;
        insertImplied(page, Tag::Head);
        m_mode = Mode::InHead;
        [[fallthrough]];
    case Mode::InHead:
        if (tag == Tag::Template) {
            bodyEndTag(page, token, tag);
            return;
        }
        if (!structural)
            return;
        pop();
        m_mode = Mode::AfterHead;
        if (tag == Tag::Head)
            return;
        [[fallthrough]];
    case Mode::AfterHead:
        if (tag == Tag::Template) {
            bodyEndTag(page, token, tag);
            return;
        }
        if (!oneOf(tag, {Tag::Body, Tag::Html, Tag::Br}))
            return;
        insertImplied(page, Tag::Body);
        m_mode = Mode::InBody;
        [[fallthrough]];
    case Mode::InBody: bodyEndTag(page, token, tag); return;
    case Mode::Text:
        pop();
        m_mode = m_textReturn;
        m_read.content = Content::Data;
        return;
    case Mode::InTable: tableEndTag(page, token, tag); return;
    case Mode::InCaption:
        if (tag == Tag::Caption || tag == Tag::Table) {
            if (!inScope(Tag::Caption, Scope::Table))
                return;
            generateImpliedEnds();
            popUntil(Tag::Caption);
            clearFormattingToMarker();
            m_mode = Mode::InTable;
            if (tag == Tag::Table)
                endTag(page, token, tag, m_mode);
            return;
        }
        if (oneOf(tag, {Tag::Body, Tag::Col, Tag::Colgroup, Tag::Html, Tag::Tbody, Tag::Td, Tag::Tfoot, Tag::Th,
                        Tag::Thead, Tag::Tr}))
            return;
        bodyEndTag(page, token, tag);
        return;
    case Mode::InColumnGroup:
        if (tag == Tag::Col)
            return;
        if (tag == Tag::Template) {
            bodyEndTag(page, token, tag);
            return;
        }
        if (!m_stack.back().is(Tag::Colgroup))
            return;
        pop();
        m_mode = Mode::InTable;
        if (tag != Tag::Colgroup)
            endTag(page, token, tag, m_mode);
        return;
    case Mode::InTableBody:
        if (oneOf(tag, {Tag::Tbody, Tag::Tfoot, Tag::Thead, Tag::Table})) {
            if (tag == Tag::Table ? !inScope(Tag::Tbody, Scope::Table) && !inScope(Tag::Thead, Scope::Table) &&
                                        !inScope(Tag::Tfoot, Scope::Table)
                                  : !inScope(tag, Scope::Table))
                return;
            clearBackTo({Tag::Tbody, Tag::Tfoot, Tag::Thead, Tag::Template, Tag::Html});
            pop();
            m_mode = Mode::InTable;
            if (tag == Tag::Table)
                endTag(page, token, tag, m_mode);
            return;
        }
        if (oneOf(tag, {Tag::Body, Tag::Caption, Tag::Col, Tag::Colgroup, Tag::Html, Tag::Td, Tag::Th, Tag::Tr}))
            return;
        tableEndTag(page, token, tag);
        return;
    case Mode::InRow:
        if (oneOf(tag, {Tag::Tr, Tag::Table, Tag::Tbody, Tag::Tfoot, Tag::Thead})) {
            if ((tag != Tag::Tr && tag != Tag::Table && !inScope(tag, Scope::Table)) ||
                !inScope(Tag::Tr, Scope::Table))
                return;
            clearBackTo({Tag::Tr, Tag::Template, Tag::Html});
            pop();
            m_mode = Mode::InTableBody;
            if (tag != Tag::Tr)
                endTag(page, token, tag, m_mode);
            return;
        }
        if (oneOf(tag, {Tag::Body, Tag::Caption, Tag::Col, Tag::Colgroup, Tag::Html, Tag::Td, Tag::Th}))
            return;
        tableEndTag(page, token, tag);
        return;
    case Mode::InCell:
        if (tag == Tag::Td || tag == Tag::Th) {
            if (!inScope(tag, Scope::Table))
                return;
            generateImpliedEnds();
            popUntil(tag);
            clearFormattingToMarker();
            m_mode = Mode::InRow;
            return;
        }
        if (oneOf(tag, {Tag::Body, Tag::Caption, Tag::Col, Tag::Colgroup, Tag::Html}))
            return;
        if (oneOf(tag, {Tag::Table, Tag::Tbody, Tag::Tfoot, Tag::Thead, Tag::Tr})) {
            if (!inScope(tag, Scope::Table))
                return;
            closeCell();
            endTag(page, token, tag, m_mode);
            return;
        }
        bodyEndTag(page, token, tag);
        return;
    case Mode::InSelect:
    case Mode::InSelectInTable:
        if (mode == Mode::InSelectInTable &&
            oneOf(tag, {Tag::Caption, Tag::Table, Tag::Tbody, Tag::Tfoot, Tag::Thead, Tag::Tr, Tag::Td, Tag::Th})) {
            if (!inScope(tag, Scope::Table))
                return;
            popUntil(Tag::Select);
            resetMode();
            endTag(page, token, tag, m_mode);
            return;
        }
        switch (tag) {
        case Tag::Optgroup:
            if (m_stack.back().is(Tag::Option) && element(openBelow(current())).is(Tag::Optgroup))
                pop();
            if (m_stack.back().is(Tag::Optgroup))
                pop();
            return;
        case Tag::Option:
            if (m_stack.back().is(Tag::Option))
                pop();
            return;
        case Tag::Select:
            if (!inScope(Tag::Select, Scope::Select))
                return;
            popUntil(Tag::Select);
            resetMode();
            return;
        case Tag::Template: bodyEndTag(page, token, tag); return;
        default: return;
        }
    case Mode::AfterBody:
        if (tag == Tag::Html) {
            m_mode = Mode::AfterAfterBody;
            m_ended |= HtmlEnded;
            return;
        }
        [[fallthrough]];
    case Mode::AfterAfterBody:
        m_mode = Mode::InBody;
        bodyEndTag(page, token, tag);
        return;
    case Mode::InFrameset:
        if (tag == Tag::Frameset && !m_stack.back().is(Tag::Html)) {
            pop();
            if (!m_stack.back().is(Tag::Frameset))
                m_mode = Mode::AfterFrameset;
        }
        return;
    case Mode::AfterFrameset:
        if (tag == Tag::Html)
            m_mode = Mode::AfterAfterFrameset;
        return;
    case Mode::AfterAfterFrameset: return;
    }
}

void Parser::bodyEndTag(QByteArrayView page, const Token& token, Tag tag)
{
    if (isBlockWithEnd(tag)) {
        if (!inScope(tag, Scope::Default))
            return;
        generateImpliedEnds();
        popUntil(tag);
        return;
    }
    switch (tag) {
    case Tag::Template:
        if (find(Tag::Template) < 0)
            return;
        generateImpliedEnds(Tag::Other, true);
        popUntil(Tag::Template);
        clearFormattingToMarker();
        resetMode();
        return;
    case Tag::Body:
    case Tag::Html:
        // Whatever follows still goes into the body.
        if (!inScope(Tag::Body, Scope::Default))
            return;
        m_mode = tag == Tag::Body ? Mode::AfterBody : Mode::AfterAfterBody;
        m_ended |= tag == Tag::Body ? BodyEnded : BodyEnded | HtmlEnded;
        return;
    case Tag::Form: {
        int form = -1;
        for (int i = current(); i >= 0 && m_form; i = openBelow(i))
            if (element(i).serial == m_form)
                form = i;
        m_form = 0;
        if (form < 0 || !indexInScope(form))
            return;
        generateImpliedEnds();
        removeAt(form);
        return;
    }
    case Tag::P:
        if (!inScope(Tag::P, Scope::Button)) // a lone </p> makes an empty paragraph
            insert(page, Source{}, Tag::P, Space::Html);
        generateImpliedEnds(Tag::P);
        popUntil(Tag::P);
        return;
    case Tag::Li:
    case Tag::Dd:
    case Tag::Dt:
        if (!inScope(tag, tag == Tag::Li ? Scope::ListItem : Scope::Default))
            return;
        generateImpliedEnds(tag);
        popUntil(tag);
        return;
    case Tag::H1:
    case Tag::H2:
    case Tag::H3:
    case Tag::H4:
    case Tag::H5:
    case Tag::H6: {
        const std::initializer_list<Tag> headings{Tag::H1, Tag::H2, Tag::H3, Tag::H4, Tag::H5, Tag::H6};
        bool open = false;
        for (Tag h : headings)
            open = open || inScope(h, Scope::Default);
        if (!open)
            return;
        generateImpliedEnds();
        popUntilAny(headings);
        return;
    }
    case Tag::Applet:
    case Tag::Marquee:
    case Tag::Object:
        if (!inScope(tag, Scope::Default))
            return;
        generateImpliedEnds();
        popUntil(tag);
        clearFormattingToMarker();
        return;
    case Tag::Br: // </br> is read as <br>
        reconstructFormatting(page);
        insertVoid(page, token, tag);
        return;
    default:
        if (isFormatting(tag) && adoptionAgency(page, tag))
            return;
        anyOtherEndTag(page, token, tag);
        return;
    }
}

void Parser::anyOtherEndTag(QByteArrayView page, const Token& token, Tag tag)
{
    Element ended;
    ended.tag = tag;
    ended.nameBegin = token.nameBegin;
    ended.nameLength = qint32(token.nameEnd - token.nameBegin);
    for (int i = current(); i >= 0; i = openBelow(i)) {
        const Element& e = element(i);
        if (e.space == Space::Html && sameName(page, e, ended)) {
            generateImpliedEnds(tag);
            popUntilIndex(i);
            return;
        }
        if (isSpecial(e.tag, e.space))
            return;
    }
}

void Parser::tableEndTag(QByteArrayView page, const Token& token, Tag tag)
{
    switch (tag) {
    case Tag::Table:
        if (!inScope(Tag::Table, Scope::Table))
            return;
        popUntil(Tag::Table);
        resetMode();
        return;
    case Tag::Body:
    case Tag::Caption:
    case Tag::Col:
    case Tag::Colgroup:
    case Tag::Html:
    case Tag::Tbody:
    case Tag::Td:
    case Tag::Tfoot:
    case Tag::Th:
    case Tag::Thead:
    case Tag::Tr: return;
    case Tag::Template: bodyEndTag(page, token, tag); return;
    default:
        m_fosterParenting = true;
        bodyEndTag(page, token, tag);
        m_fosterParenting = false;
        return;
    }
}

}
