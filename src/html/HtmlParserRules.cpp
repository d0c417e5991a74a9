// Start tags in the insertion modes of the HTML parsing algorithm, as far as
// they decide which elements exist and where: what only sets attributes,
// reports errors or builds text nodes is left out.
#include "html/HtmlParser.h"

namespace Html {

namespace {

bool isHeading(Tag tag)
{
    return oneOf(tag, {Tag::H1, Tag::H2, Tag::H3, Tag::H4, Tag::H5, Tag::H6});
}

}

// ---------------------------------------------------------------- start tags

bool Parser::inForeignContent(bool startTag, Tag tag) const
{
    if (m_stack.empty())
        return false;
    const Element& c = m_stack.back();
    if (c.space == Space::Html)
        return false;
    if (startTag && (c.has(Element::HtmlIntegration) || isIntegrationPoint(c.tag, c.space) ||
                     (c.space == Space::MathMl && c.tag == Tag::AnnotationXml && tag == Tag::Svg)))
        return false;
    return true;
}

void Parser::foreignStartTag(QByteArrayView page, const Token& token, Tag tag)
{
    if (leavesForeignContent(tag) ||
        (tag == Tag::Font && (attributeOf(page, token, "color") || attributeOf(page, token, "face") ||
                              attributeOf(page, token, "size")))) {
        while (!m_stack.empty()) {
            const Element& c = m_stack.back();
            if (c.space == Space::Html || c.has(Element::HtmlIntegration) || isIntegrationPoint(c.tag, c.space))
                break;
            pop();
        }
        startTag(page, token, tag, m_mode);
        return;
    }
    const Space space = m_stack.back().space;
    insertFor(page, token, tag, space);
    Element& e = m_stack.back();
    if (space == Space::Svg && (tag == Tag::ForeignObject || tag == Tag::Desc || tag == Tag::Title))
        e.flags |= Element::HtmlIntegration;
    if (space == Space::MathMl && tag == Tag::AnnotationXml) {
        const auto encoding = attributeOf(page, token, "encoding");
        if (encoding && (encoding->compare("text/html", Qt::CaseInsensitive) == 0 ||
                         encoding->compare("application/xhtml+xml", Qt::CaseInsensitive) == 0))
            e.flags |= Element::HtmlIntegration;
    }
    if (token.selfClosing && !m_keepOpen)
        pop();
}

void Parser::foreignEndTag(QByteArrayView page, const Token& token, Tag tag)
{
    if (tag == Tag::Br || tag == Tag::P) {
        while (!m_stack.empty()) {
            const Element& c = m_stack.back();
            if (c.space == Space::Html || c.has(Element::HtmlIntegration) || isIntegrationPoint(c.tag, c.space))
                break;
            pop();
        }
        endTag(page, token, tag, m_mode);
        return;
    }
    const QByteArrayView name = token.name(page);
    for (int i = current(); i > 0;) {
        if (sameNameNoCase(nameOf(page, i), name)) {
            popUntilIndex(i);
            return;
        }
        i = openBelow(i);
        if (i >= 0 && element(i).space == Space::Html) {
            endTag(page, token, tag, m_mode);
            return;
        }
    }
}

bool Parser::headStartTag(QByteArrayView page, const Token& token, Tag tag)
{
    switch (tag) {
    case Tag::Html:
    case Tag::Head: return true;
    case Tag::Base:
    case Tag::Basefont:
    case Tag::Bgsound:
    case Tag::Link:
    case Tag::Meta: insertVoid(page, token, tag); return true;
    case Tag::Title:
        insertFor(page, token, tag);
        setRawText(tag, Content::Rcdata);
        return true;
    case Tag::Noscript: // as a browser that runs scripts reads it
    case Tag::Noframes:
    case Tag::Style:
        insertFor(page, token, tag);
        setRawText(tag, Content::RawText);
        return true;
    case Tag::Script:
        insertFor(page, token, tag);
        setRawText(tag, Content::ScriptData);
        return true;
    case Tag::Template: // its content is read as body content
        insertFor(page, token, tag);
        pushMarker();
        m_mode = Mode::InBody;
        return true;
    default: return false;
    }
}

void Parser::startTag(QByteArrayView page, const Token& token, Tag tag, Mode mode)
{
    switch (mode) {
    case Mode::Initial: m_quirks = true; [[fallthrough]];
    case Mode::BeforeHtml:
        if (tag == Tag::Html) {
            insertFor(page, token, tag);
            m_mode = Mode::BeforeHead;
            return;
        }
        insertImplied(page, Tag::Html);
        m_mode = Mode::BeforeHead;
        [[fallthrough]];
    case Mode::BeforeHead:
        if (tag == Tag::Html)
            return;
        if (tag == Tag::Head) {
            insertFor(page, token, tag);
            m_head = m_stack.back();
            m_mode = Mode::InHead;
            return;
        }
        insertImplied(page, Tag::Head);
        m_mode = Mode::InHead;
        [[fallthrough]];
    case Mode::InHead:
        if (headStartTag(page, token, tag))
            return;
        pop();
        m_mode = Mode::AfterHead;
        [[fallthrough]];
    case Mode::AfterHead:
        if (tag == Tag::Html || tag == Tag::Head)
            return;
        if (tag == Tag::Body || tag == Tag::Frameset) {
            insertFor(page, token, tag);
            m_mode = tag == Tag::Body ? Mode::InBody : Mode::InFrameset;
            return;
        }
        if (oneOf(tag, {Tag::Base, Tag::Basefont, Tag::Bgsound, Tag::Link, Tag::Meta, Tag::Noframes, Tag::Script,
                        Tag::Style, Tag::Template, Tag::Title})) {
            // Head content after the head still goes into the head.
            const quint32 head = m_head.serial;
            Element reopened = m_head;
            reopened.countsBegin = qint32(m_counts.size());
            m_stack.push_back(reopened);
            headStartTag(page, token, tag);
            for (int i = current(); i >= 0; i = openBelow(i))
                if (element(i).serial == head) {
                    removeAt(i);
                    break;
                }
            return;
        }
        insertImplied(page, Tag::Body);
        m_mode = Mode::InBody;
        [[fallthrough]];
    case Mode::InBody: bodyStartTag(page, token, tag); return;
    case Mode::InTable: tableStartTag(page, token, tag); return;
    case Mode::InCaption:
        if (oneOf(tag, {Tag::Caption, Tag::Col, Tag::Colgroup, Tag::Tbody, Tag::Td, Tag::Tfoot, Tag::Th, Tag::Thead,
                        Tag::Tr})) {
            if (!inScope(Tag::Caption, Scope::Table))
                return;
            generateImpliedEnds();
            popUntil(Tag::Caption);
            clearFormattingToMarker();
            m_mode = Mode::InTable;
            startTag(page, token, tag, m_mode);
            return;
        }
        bodyStartTag(page, token, tag);
        return;
    case Mode::InColumnGroup:
        if (tag == Tag::Html)
            return;
        if (tag == Tag::Col) {
            insertVoid(page, token, tag);
            return;
        }
        if (tag == Tag::Template) {
            headStartTag(page, token, tag);
            return;
        }
        if (!m_stack.back().is(Tag::Colgroup))
            return;
        pop();
        m_mode = Mode::InTable;
        startTag(page, token, tag, m_mode);
        return;
    case Mode::InTableBody:
        if (tag == Tag::Tr || tag == Tag::Th || tag == Tag::Td) {
            clearBackTo({Tag::Tbody, Tag::Tfoot, Tag::Thead, Tag::Template, Tag::Html});
            if (tag == Tag::Tr)
                insertFor(page, token, tag);
            else
                insertImplied(page, Tag::Tr);
            m_mode = Mode::InRow;
            if (tag != Tag::Tr)
                startTag(page, token, tag, m_mode);
            return;
        }
        if (oneOf(tag, {Tag::Caption, Tag::Col, Tag::Colgroup, Tag::Tbody, Tag::Tfoot, Tag::Thead})) {
            if (!inScope(Tag::Tbody, Scope::Table) && !inScope(Tag::Thead, Scope::Table) &&
                !inScope(Tag::Tfoot, Scope::Table))
                return;
            clearBackTo({Tag::Tbody, Tag::Tfoot, Tag::Thead, Tag::Template, Tag::Html});
            pop();
            m_mode = Mode::InTable;
            startTag(page, token, tag, m_mode);
            return;
        }
        tableStartTag(page, token, tag);
        return;
    case Mode::InRow:
        if (tag == Tag::Th || tag == Tag::Td) {
            clearBackTo({Tag::Tr, Tag::Template, Tag::Html});
            insertFor(page, token, tag);
            m_mode = Mode::InCell;
            pushMarker();
            return;
        }
        if (oneOf(tag, {Tag::Caption, Tag::Col, Tag::Colgroup, Tag::Tbody, Tag::Tfoot, Tag::Thead, Tag::Tr})) {
            if (!inScope(Tag::Tr, Scope::Table))
                return;
            clearBackTo({Tag::Tr, Tag::Template, Tag::Html});
            pop();
            m_mode = Mode::InTableBody;
            startTag(page, token, tag, m_mode);
            return;
        }
        tableStartTag(page, token, tag);
        return;
    case Mode::InCell:
        if (oneOf(tag, {Tag::Caption, Tag::Col, Tag::Colgroup, Tag::Tbody, Tag::Td, Tag::Tfoot, Tag::Th, Tag::Thead,
                        Tag::Tr})) {
            if (!inScope(Tag::Td, Scope::Table) && !inScope(Tag::Th, Scope::Table))
                return;
            closeCell();
            startTag(page, token, tag, m_mode);
            return;
        }
        bodyStartTag(page, token, tag);
        return;
    case Mode::InSelect:
    case Mode::InSelectInTable:
        if (mode == Mode::InSelectInTable &&
            oneOf(tag, {Tag::Caption, Tag::Table, Tag::Tbody, Tag::Tfoot, Tag::Thead, Tag::Tr, Tag::Td, Tag::Th})) {
            popUntil(Tag::Select);
            resetMode();
            startTag(page, token, tag, m_mode);
            return;
        }
        switch (tag) {
        case Tag::Option:
        case Tag::Optgroup:
        case Tag::Hr:
            if (m_stack.back().is(Tag::Option))
                pop();
            if (tag != Tag::Option && m_stack.back().is(Tag::Optgroup))
                pop();
            if (tag == Tag::Hr)
                insertVoid(page, token, tag);
            else
                insertFor(page, token, tag);
            return;
        case Tag::Select:
        case Tag::Input:
        case Tag::Keygen:
        case Tag::Textarea:
            if (!inScope(Tag::Select, Scope::Select))
                return;
            popUntil(Tag::Select);
            resetMode();
            if (tag != Tag::Select)
                startTag(page, token, tag, m_mode);
            return;
        case Tag::Script:
        case Tag::Template: headStartTag(page, token, tag); return;
        default: return; // nothing else lives in a select
        }
    case Mode::AfterBody:
    case Mode::AfterAfterBody:
        if (tag == Tag::Html)
            return;
        m_mode = Mode::InBody;
        bodyStartTag(page, token, tag);
        return;
    case Mode::InFrameset:
        if (tag == Tag::Frameset)
            insertFor(page, token, tag);
        else if (tag == Tag::Frame)
            insertVoid(page, token, tag);
        else if (tag == Tag::Noframes)
            headStartTag(page, token, tag);
        return;
    case Mode::AfterFrameset:
    case Mode::AfterAfterFrameset:
        if (tag == Tag::Noframes)
            headStartTag(page, token, tag);
        return;
    case Mode::Text: return;
    }
}

void Parser::bodyStartTag(QByteArrayView page, const Token& token, Tag tag)
{
    switch (tag) {
    case Tag::Html:
    case Tag::Body:
    case Tag::Frameset:
    case Tag::Caption:
    case Tag::Col:
    case Tag::Colgroup:
    case Tag::Frame:
    case Tag::Head:
    case Tag::Tbody:
    case Tag::Td:
    case Tag::Tfoot:
    case Tag::Th:
    case Tag::Thead:
    case Tag::Tr: return;
    case Tag::Base:
    case Tag::Basefont:
    case Tag::Bgsound:
    case Tag::Link:
    case Tag::Meta:
    case Tag::Noframes:
    case Tag::Script:
    case Tag::Style:
    case Tag::Template:
    case Tag::Title: headStartTag(page, token, tag); return;
    case Tag::H1:
    case Tag::H2:
    case Tag::H3:
    case Tag::H4:
    case Tag::H5:
    case Tag::H6:
        closeParagraphInButtonScope();
        if (isHeading(m_stack.back().tag) && m_stack.back().space == Space::Html)
            pop();
        insertFor(page, token, tag);
        return;
    case Tag::Pre:
    case Tag::Listing:
        closeParagraphInButtonScope();
        insertFor(page, token, tag);
        return;
    case Tag::Form: {
        const bool inTemplate = find(Tag::Template) >= 0;
        if (m_form && !inTemplate)
            return;
        closeParagraphInButtonScope();
        insertFor(page, token, tag);
        if (!inTemplate)
            m_form = m_stack.back().serial;
        return;
    }
    case Tag::Li:
    case Tag::Dd:
    case Tag::Dt:
        // A new item closes the open one of its list, unless a block stands between.
        for (int i = current(); i >= 0; i = openBelow(i)) {
            const Element& e = element(i);
            const Tag open = e.space == Space::Html ? e.tag : Tag::Other;
            if (tag == Tag::Li ? open == Tag::Li : (open == Tag::Dd || open == Tag::Dt)) {
                generateImpliedEnds(open);
                popUntil(open);
                break;
            }
            if (isSpecial(e.tag, e.space) && !e.is(Tag::Address) && !e.is(Tag::Div) && !e.is(Tag::P))
                break;
        }
        closeParagraphInButtonScope();
        insertFor(page, token, tag);
        return;
    case Tag::Plaintext:
        closeParagraphInButtonScope();
        insertFor(page, token, tag);
        setRawText(tag, Content::Plaintext);
        return;
    case Tag::Button:
        if (inScope(Tag::Button, Scope::Default)) {
            generateImpliedEnds();
            popUntil(Tag::Button);
        }
        reconstructFormatting(page);
        insertFor(page, token, tag);
        return;
    case Tag::A: {
        // An a inside an open a closes the first.
        quint32 open = 0;
        for (auto f = m_formatting.rbegin(); f != m_formatting.rend() && !f->marker(); ++f)
            if (f->tag == Tag::A) {
                open = f->serial;
                break;
            }
        if (open) {
            adoptionAgency(page, Tag::A);
            for (auto f = m_formatting.begin(); f != m_formatting.end(); ++f)
                if (!f->marker() && f->serial == open) {
                    m_formatting.erase(f);
                    break;
                }
            for (int i = current(); i >= 0; i = openBelow(i))
                if (element(i).serial == open) {
                    removeAt(i);
                    break;
                }
        }
        reconstructFormatting(page);
        pushFormatting(page, token, insertFor(page, token, tag));
        return;
    }
    case Tag::Nobr:
        reconstructFormatting(page);
        if (inScope(Tag::Nobr, Scope::Default)) {
            adoptionAgency(page, Tag::Nobr);
            reconstructFormatting(page);
        }
        pushFormatting(page, token, insertFor(page, token, tag));
        return;
    case Tag::B:
    case Tag::Big:
    case Tag::Code:
    case Tag::Em:
    case Tag::Font:
    case Tag::I:
    case Tag::S:
    case Tag::Small:
    case Tag::Strike:
    case Tag::Strong:
    case Tag::Tt:
    case Tag::U:
        reconstructFormatting(page);
        pushFormatting(page, token, insertFor(page, token, tag));
        return;
    case Tag::Applet:
    case Tag::Marquee:
    case Tag::Object:
        reconstructFormatting(page);
        insertFor(page, token, tag);
        pushMarker();
        return;
    case Tag::Table:
        if (!m_quirks)
            closeParagraphInButtonScope();
        insertFor(page, token, tag);
        m_mode = Mode::InTable;
        return;
    case Tag::Area:
    case Tag::Br:
    case Tag::Embed:
    case Tag::Img:
    case Tag::Image:
    case Tag::Keygen:
    case Tag::Wbr:
    case Tag::Input:
        reconstructFormatting(page);
        insertVoid(page, token, tag == Tag::Image ? Tag::Img : tag);
        return;
    case Tag::Param:
    case Tag::Source:
    case Tag::Track: insertVoid(page, token, tag); return;
    case Tag::Hr:
        closeParagraphInButtonScope();
        insertVoid(page, token, tag);
        return;
    case Tag::Textarea:
        insertFor(page, token, tag);
        setRawText(tag, Content::Rcdata);
        return;
    case Tag::Xmp:
        closeParagraphInButtonScope();
        reconstructFormatting(page);
        insertFor(page, token, tag);
        setRawText(tag, Content::RawText);
        return;
    case Tag::Iframe:
    case Tag::Noembed:
    case Tag::Noscript:
        insertFor(page, token, tag);
        setRawText(tag, Content::RawText);
        return;
    case Tag::Select: {
        const Mode mode = m_mode;
        reconstructFormatting(page);
        insertFor(page, token, tag);
        const bool inTable = mode == Mode::InTable || mode == Mode::InCaption || mode == Mode::InTableBody ||
                             mode == Mode::InRow || mode == Mode::InCell;
        m_mode = inTable ? Mode::InSelectInTable : Mode::InSelect;
        return;
    }
    case Tag::Optgroup:
    case Tag::Option:
        if (m_stack.back().is(Tag::Option))
            pop();
        reconstructFormatting(page);
        insertFor(page, token, tag);
        return;
    case Tag::Rb:
    case Tag::Rtc:
    case Tag::Rp:
    case Tag::Rt:
        if (inScope(Tag::Ruby, Scope::Default))
            generateImpliedEnds(tag == Tag::Rp || tag == Tag::Rt ? Tag::Rtc : Tag::Other);
        insertFor(page, token, tag);
        return;
    case Tag::Math:
    case Tag::Svg:
        reconstructFormatting(page);
        insertFor(page, token, tag, tag == Tag::Math ? Space::MathMl : Space::Svg);
        if (token.selfClosing && !m_keepOpen)
            pop();
        return;
    default:
        if (closesParagraph(tag)) {
            closeParagraphInButtonScope();
            insertFor(page, token, tag);
            return;
        }
        reconstructFormatting(page);
        insertFor(page, token, tag);
        return;
    }
}

}
