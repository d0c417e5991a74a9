// Text, the document type and table content in the HTML parsing algorithm,
// and the choice of insertion mode after the stack of open elements changed.
#include "html/HtmlParser.h"

#include <QByteArray>

namespace Html {

namespace {

bool isTablePart(const Element& e)
{
    return e.is(Tag::Table) || e.is(Tag::Tbody) || e.is(Tag::Tfoot) || e.is(Tag::Thead) || e.is(Tag::Tr);
}

qsizetype skipSpaces(QByteArrayView page, qsizetype p, qsizetype end)
{
    while (p < end && isSpace(page[p]))
        ++p;
    return p;
}

// Document type declarations that put browsers in quirks mode (the start of
// the public identifier, lower case).
constexpr const char* kQuirkyPublicIds[] = {
    "+//silmaril//dtd html pro v0r11 19970101//", "-//as//dtd html 3.0 aswedit + extensions//",
    "-//advasoft ltd//dtd html 3.0 aswedit + extensions//", "-//ietf//dtd html", "-//metrius//dtd metrius presentational//",
    "-//microsoft//dtd internet explorer ", "-//netscape comm. corp.//dtd ", "-//o'reilly and associates//dtd html ",
    "-//sq//dtd html 2.0 hotmetal + extensions//", "-//softquad", "-//spyglass//dtd html 2.0 extended//",
    "-//sun microsystems corp.//dtd hotjava ", "-//w3c//dtd html 3 1995-03-24//", "-//w3c//dtd html 3.2",
    "-//w3c//dtd html 4.0 frameset//", "-//w3c//dtd html 4.0 transitional//", "-//w3c//dtd html experimental ",
    "-//w3c//dtd w3 html//", "-//w3o//dtd w3 html 3.0//", "-//webtechs//dtd mozilla html"};

}

void Parser::doctype(QByteArrayView page, const Token& token)
{
    m_mode = Mode::BeforeHtml;
    const qsizetype end = token.complete ? token.end - 1 : token.end;
    qsizetype p = skipSpaces(page, token.begin + 9, end);
    qsizetype q = p;
    while (q < end && !isSpace(page[q]))
        ++q;
    if (page.sliced(p, q - p).compare("html", Qt::CaseInsensitive) != 0) {
        m_quirks = true;
        return;
    }
    // The quoted identifiers after PUBLIC (or SYSTEM).
    QByteArrayView ids[2];
    int count = 0;
    for (p = q; p < end && count < 2;) {
        const char c = page[p];
        if (c == '"' || c == '\'') {
            qsizetype close = p + 1;
            while (close < end && page[close] != c)
                ++close;
            ids[count++] = page.sliced(p + 1, close - p - 1);
            p = close + 1;
        } else {
            ++p;
        }
    }
    const qsizetype k = skipSpaces(page, q, end);
    const QByteArrayView keyword = page.sliced(k, qMin<qsizetype>(6, end - k));
    if (keyword.compare("public", Qt::CaseInsensitive) != 0 || count == 0)
        return;
    const QByteArray publicId = ids[0].toByteArray().toLower();
    for (const char* quirky : kQuirkyPublicIds)
        m_quirks = m_quirks || publicId.startsWith(quirky);
    if (count == 1 && (publicId.startsWith("-//w3c//dtd html 4.01 frameset//") ||
                       publicId.startsWith("-//w3c//dtd html 4.01 transitional//")))
        m_quirks = true;
}

// ---------------------------------------------------------------- text

void Parser::text(QByteArrayView page, qsizetype begin, qsizetype end)
{
    for (qsizetype p = begin; p < end;) {
        const qsizetype solid = skipSpaces(page, p, end);
        switch (m_mode) {
        case Mode::Initial:
            if (solid == end)
                return;
            m_quirks = true;
            m_mode = Mode::BeforeHtml;
            p = solid;
            continue;
        case Mode::BeforeHtml:
            if (solid == end)
                return;
            insertImplied(page, Tag::Html);
            m_mode = Mode::BeforeHead;
            p = solid;
            continue;
        case Mode::BeforeHead:
            if (solid == end)
                return;
            insertImplied(page, Tag::Head);
            m_mode = Mode::InHead;
            p = solid;
            continue;
        case Mode::InHead:
            if (solid == end)
                return;
            pop();
            m_mode = Mode::AfterHead;
            p = solid;
            continue;
        case Mode::AfterHead:
            if (solid == end)
                return;
            insertImplied(page, Tag::Body);
            m_mode = Mode::InBody;
            p = solid;
            continue;
        case Mode::InColumnGroup:
            if (solid == end || !m_stack.back().is(Tag::Colgroup))
                return;
            pop();
            m_mode = Mode::InTable;
            p = solid;
            continue;
        case Mode::InTable:
        case Mode::InTableBody:
        case Mode::InRow:
            if (isTablePart(m_stack.back()) && solid == end)
                return;
            m_fosterParenting = true; // text in a table is moved before it, with its formatting
            reconstructFormatting(page);
            m_fosterParenting = false;
            return;
        case Mode::InBody:
        case Mode::InCell:
        case Mode::InCaption: {
            const Element& c = m_stack.back();
            if (c.space == Space::Html || c.has(Element::HtmlIntegration) || isIntegrationPoint(c.tag, c.space))
                reconstructFormatting(page);
            return;
        }
        case Mode::AfterBody:
        case Mode::AfterAfterBody:
            if (solid > p)
                reconstructFormatting(page);
            if (solid == end)
                return;
            m_mode = Mode::InBody;
            p = solid;
            continue;
        default: return;
        }
    }
}

void Parser::tableStartTag(QByteArrayView page, const Token& token, Tag tag)
{
    const std::initializer_list<Tag> tableContext{Tag::Table, Tag::Template, Tag::Html};
    switch (tag) {
    case Tag::Caption:
        clearBackTo(tableContext);
        pushMarker();
        insertFor(page, token, tag);
        m_mode = Mode::InCaption;
        return;
    case Tag::Colgroup:
    case Tag::Col:
        clearBackTo(tableContext);
        if (tag == Tag::Colgroup)
            insertFor(page, token, tag);
        else
            insertImplied(page, Tag::Colgroup);
        m_mode = Mode::InColumnGroup;
        if (tag == Tag::Col)
            startTag(page, token, tag, m_mode);
        return;
    case Tag::Tbody:
    case Tag::Tfoot:
    case Tag::Thead:
    case Tag::Td:
    case Tag::Th:
    case Tag::Tr:
        clearBackTo(tableContext);
        if (oneOf(tag, {Tag::Tbody, Tag::Tfoot, Tag::Thead}))
            insertFor(page, token, tag);
        else
            insertImplied(page, Tag::Tbody);
        m_mode = Mode::InTableBody;
        if (!oneOf(tag, {Tag::Tbody, Tag::Tfoot, Tag::Thead}))
            startTag(page, token, tag, m_mode);
        return;
    case Tag::Table:
        if (!inScope(Tag::Table, Scope::Table))
            return;
        popUntil(Tag::Table);
        resetMode();
        startTag(page, token, tag, m_mode);
        return;
    case Tag::Style:
    case Tag::Script:
    case Tag::Template: headStartTag(page, token, tag); return;
    case Tag::Input: {
        const auto type = attributeOf(page, token, "type");
        if (type && type->compare("hidden", Qt::CaseInsensitive) == 0) {
            insertVoid(page, token, tag);
            return;
        }
        break;
    }
    case Tag::Form:
        if (m_form || find(Tag::Template) >= 0)
            return;
        insertFor(page, token, tag);
        m_form = m_stack.back().serial;
        if (!m_keepOpen)
            pop();
        return;
    default: break;
    }
    m_fosterParenting = true;
    bodyStartTag(page, token, tag);
    m_fosterParenting = false;
}

void Parser::clearBackTo(std::initializer_list<Tag> tags)
{
    while (!m_stack.empty()) {
        const Element& e = m_stack.back();
        if (e.space == Space::Html && oneOf(e.tag, tags))
            return;
        pop();
    }
}

void Parser::closeCell()
{
    generateImpliedEnds();
    popUntilAny({Tag::Td, Tag::Th});
    clearFormattingToMarker();
    m_mode = Mode::InRow;
}

void Parser::resetMode()
{
    for (int i = current(); i >= 0; i = openBelow(i)) {
        const Element& e = element(i);
        if (e.space != Space::Html)
            continue;
        switch (e.tag) {
        case Tag::Select:
            for (int j = openBelow(i); j >= 0 && !element(j).is(Tag::Template); j = openBelow(j))
                if (element(j).is(Tag::Table)) {
                    m_mode = Mode::InSelectInTable;
                    return;
                }
            m_mode = Mode::InSelect;
            return;
        case Tag::Td:
        case Tag::Th:
            if (i == 0)
                break;
            m_mode = Mode::InCell;
            return;
        case Tag::Tr: m_mode = Mode::InRow; return;
        case Tag::Tbody:
        case Tag::Thead:
        case Tag::Tfoot: m_mode = Mode::InTableBody; return;
        case Tag::Caption: m_mode = Mode::InCaption; return;
        case Tag::Colgroup: m_mode = Mode::InColumnGroup; return;
        case Tag::Table: m_mode = Mode::InTable; return;
        case Tag::Template:
        case Tag::Body: m_mode = Mode::InBody; return;
        case Tag::Head:
            if (i == 0)
                break;
            m_mode = Mode::InHead;
            return;
        case Tag::Frameset: m_mode = Mode::InFrameset; return;
        case Tag::Html: m_mode = m_head.serial ? Mode::AfterHead : Mode::BeforeHead; return;
        default: break;
        }
    }
    m_mode = Mode::InBody;
}

}
