#pragma once
#include "editor/EditWatch.h"
#include "html/HtmlOutline.h"

#include <QObject>
#include <optional>

class Document;
class SyntaxColouring;

// What the markup of a document means around a position, for the typing
// aids and the marks of its view: one HtmlOutline kept in step with every
// edit of the document (it is told where the text changed before each
// query), in the syntax of the document's language. Pages are HTML, with
// server code or without; XML files are XML; style sheets, scripts and plain
// text are no markup, and every query answers none for them.
//
// Positions are byte offsets in the document's UTF-8 text. A query reads the
// text as one piece, which gathers the engine's buffer in one place: queries
// belong to key presses and pauses, never to every paint.
class PageOutline : public QObject {
    Q_OBJECT
public:
    PageOutline(Document& document, const SyntaxColouring& colouring, QObject* parent = nullptr);

    // See HtmlOutline for what each answers.
    std::optional<QByteArray> closingTagAfter(long caret);
    std::optional<QByteArray> nameToClose(long caret);
    std::optional<Html::TagPair> tagPairAt(long position);

private:
    // The outline, told of the edits since the last query and in the
    // document's syntax; null when the document is no markup.
    HtmlOutline* ready();

    Document& m_document;
    const SyntaxColouring& m_colouring;
    EditWatch m_edits;
    HtmlOutline m_outline;
};
