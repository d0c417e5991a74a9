#include "editor/PageOutline.h"
#include "document/Document.h"
#include "editor/SyntaxColouring.h"

namespace {

std::optional<Html::Syntax> syntaxOf(SyntaxLanguage language)
{
    switch (language) {
    case SyntaxLanguage::Html: return Html::Syntax::Html;
    case SyntaxLanguage::Xml: return Html::Syntax::Xml;
    case SyntaxLanguage::Plain:
    case SyntaxLanguage::Css:
    case SyntaxLanguage::JavaScript: break;
    }
    return std::nullopt;
}

}

PageOutline::PageOutline(Document& document, const SyntaxColouring& colouring, QObject* parent)
    : QObject(parent), m_document(document), m_colouring(colouring), m_edits(document)
{
}

HtmlOutline* PageOutline::ready()
{
    if (const std::optional<long> from = m_edits.takeChangedFrom())
        m_outline.textChanged(*from);
    const std::optional<Html::Syntax> syntax = syntaxOf(m_colouring.documentLanguage());
    if (!syntax)
        return nullptr;
    if (*syntax != m_outline.syntax())
        m_outline.setSyntax(*syntax);
    return &m_outline;
}

std::optional<QByteArray> PageOutline::closingTagAfter(long caret)
{
    HtmlOutline* outline = ready();
    return outline ? outline->closingTagAfter(m_document.utf8(), caret) : std::nullopt;
}

std::optional<QByteArray> PageOutline::nameToClose(long caret)
{
    HtmlOutline* outline = ready();
    return outline ? outline->nameToClose(m_document.utf8(), caret) : std::nullopt;
}

std::optional<Html::TagPair> PageOutline::tagPairAt(long position)
{
    HtmlOutline* outline = ready();
    return outline ? outline->tagPairAt(m_document.utf8(), position) : std::nullopt;
}
