#pragma once
#include "html/HtmlNames.h"

#include <QByteArrayView>

#include <optional>

// Reading a page's bytes as markup, one token at a time, from any position
// the tree builder has reached. Works on the UTF-8 bytes in place: every
// position is a byte offset into the page, nothing is copied.
namespace Html {

// How names and the special cases of the syntax are read: HTML (names
// without case, raw text elements, the browser's tolerance) or XML (names
// with case, CDATA sections, nothing implied).
enum class Syntax : quint8 { Html, Xml };

// What the bytes at the reading position are, as the tree builder last set it.
enum class Content : quint8 {
    Data,       // markup and text
    Rcdata,     // text up to the element's own end tag (title, textarea)
    RawText,    // the same, entities not even looked at (style, xmp, iframe, ...)
    ScriptData, // script text, with the HTML comment escapes of old pages
    Plaintext,  // text to the end of the page
};

struct Token {
    enum Kind : quint8 {
        Text,
        StartTag,
        EndTag,
        Comment,    // <!-- -->, and the "bogus" <!x> and </1> forms
        Doctype,
        ServerCode, // <?php ?>, <? ?>, <% %>, and XML processing instructions: kept opaque
        CData,      // <![CDATA[ ]]> in XML and in SVG or MathML
        Nothing,    // </> : read over, means nothing
    };
    Kind kind = Text;
    bool selfClosing = false; // <x/>
    bool complete = true;     // ended by its own closing delimiter, not by the end of the page
    qsizetype begin = 0, end = 0;
    qsizetype nameBegin = 0, nameEnd = 0; // tags

    QByteArrayView name(QByteArrayView page) const { return page.sliced(nameBegin, nameEnd - nameBegin); }
    bool isTag() const { return kind == StartTag || kind == EndTag; }
};

struct ReadState {
    Syntax syntax = Syntax::Html;
    Content content = Content::Data;
    Tag textEnd = Tag::Other; // the element whose end tag ends Rcdata, RawText or ScriptData
    bool cdata = false;       // CDATA sections are read as such (XML, foreign content)
};

// The token that begins at `at` (at < page.size()).
Token readToken(QByteArrayView page, qsizetype at, const ReadState& state);

// The value of a start tag's attribute, as written (entities not decoded);
// nothing when the tag has no such attribute. Names compare without case.
std::optional<QByteArrayView> attributeOf(QByteArrayView page, const Token& tag, QByteArrayView name);

// The end of the server code block that begins at `at` ("<?" or "<%"):
// just after its "?>" or "%>", or the end of the page.
qsizetype endOfServerCode(QByteArrayView page, qsizetype at);

inline bool isSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == '\f';
}

}
