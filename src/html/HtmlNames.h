#pragma once
#include <QByteArrayView>
#include <QtGlobal>

#include <initializer_list>

// The element names the HTML parsing rules single out, and the groups the
// rules put them in. Every other name is Tag::Other and compared by its bytes.
namespace Html {

// X(enumerator, lower-case name)
#define QP_HTML_TAGS(X)                                                                                         \
    X(A, "a") X(Address, "address") X(AnnotationXml, "annotation-xml") X(Applet, "applet") X(Area, "area")     \
    X(Article, "article") X(Aside, "aside") X(B, "b") X(Base, "base") X(Basefont, "basefont")                   \
    X(Bgsound, "bgsound") X(Big, "big") X(Blockquote, "blockquote") X(Body, "body") X(Br, "br")                 \
    X(Button, "button") X(Caption, "caption") X(Center, "center") X(Code, "code") X(Col, "col")                 \
    X(Colgroup, "colgroup") X(Dd, "dd") X(Desc, "desc") X(Details, "details") X(Dialog, "dialog") X(Dir, "dir") \
    X(Div, "div") X(Dl, "dl") X(Dt, "dt") X(Em, "em") X(Embed, "embed") X(Fieldset, "fieldset")                 \
    X(Figcaption, "figcaption") X(Figure, "figure") X(Font, "font") X(Footer, "footer")                          \
    X(ForeignObject, "foreignobject") X(Form, "form") X(Frame, "frame") X(Frameset, "frameset") X(H1, "h1")     \
    X(H2, "h2") X(H3, "h3") X(H4, "h4") X(H5, "h5") X(H6, "h6") X(Head, "head") X(Header, "header")              \
    X(Hgroup, "hgroup") X(Hr, "hr") X(Html, "html") X(I, "i") X(Iframe, "iframe") X(Image, "image")             \
    X(Img, "img") X(Input, "input") X(Keygen, "keygen") X(Li, "li") X(Link, "link") X(Listing, "listing")       \
    X(Main, "main") X(Marquee, "marquee") X(Math, "math") X(Menu, "menu") X(Meta, "meta") X(Mi, "mi")           \
    X(Mn, "mn") X(Mo, "mo") X(Ms, "ms") X(Mtext, "mtext") X(Nav, "nav") X(Nobr, "nobr") X(Noembed, "noembed")  \
    X(Noframes, "noframes") X(Noscript, "noscript") X(Object, "object") X(Ol, "ol") X(Optgroup, "optgroup")     \
    X(Option, "option") X(P, "p") X(Param, "param") X(Plaintext, "plaintext") X(Pre, "pre") X(Rb, "rb")         \
    X(Rp, "rp") X(Rt, "rt") X(Rtc, "rtc") X(Ruby, "ruby") X(S, "s") X(Script, "script") X(Search, "search")     \
    X(Section, "section") X(Select, "select") X(Small, "small") X(Source, "source") X(Span, "span")             \
    X(Strike, "strike") X(Strong, "strong") X(Style, "style") X(Sub, "sub") X(Summary, "summary")               \
    X(Sup, "sup") X(Svg, "svg") X(Table, "table") X(Tbody, "tbody") X(Td, "td") X(Template, "template")         \
    X(Textarea, "textarea") X(Tfoot, "tfoot") X(Th, "th") X(Thead, "thead") X(Title, "title") X(Tr, "tr")       \
    X(Track, "track") X(Tt, "tt") X(U, "u") X(Ul, "ul") X(Var, "var") X(Wbr, "wbr") X(Xmp, "xmp")

enum class Tag : quint8 {
    Other,
#define QP_HTML_TAG_ENUM(id, name) id,
    QP_HTML_TAGS(QP_HTML_TAG_ENUM)
#undef QP_HTML_TAG_ENUM
        Count
};

// The namespace an element lives in: its place decides which rules apply.
enum class Space : quint8 { Html, Svg, MathMl };

// Whether two names are equal with ASCII letters compared without case (and
// every other byte as it is), as HTML compares names.
bool sameNameNoCase(QByteArrayView a, QByteArrayView b);

// Whether the tag is one of those listed.
inline bool oneOf(Tag tag, std::initializer_list<Tag> tags)
{
    for (Tag t : tags)
        if (t == tag)
            return true;
    return false;
}

// The tag of a name, ASCII letters compared without case; Tag::Other for the rest.
Tag tagOf(QByteArrayView name);
// The lower-case name of a tag other than Tag::Other.
QByteArrayView nameOf(Tag tag);

// Elements that never have content or an end tag in HTML (the parser's list,
// the legacy ones included).
bool isVoid(Tag tag);
// The formatting elements that the parser reopens after a misnested end.
bool isFormatting(Tag tag);
// The parser's "special" category, by namespace.
bool isSpecial(Tag tag, Space space);
// Start tags that close an open p first.
bool closesParagraph(Tag tag);
// Elements whose end tag is implied by what follows ("thorough": the table
// parts too).
bool hasImpliedEnd(Tag tag, bool thorough);
// HTML start tags that leave SVG or MathML content.
bool leavesForeignContent(Tag tag);
// Elements of SVG or MathML inside which HTML rules apply again.
bool isIntegrationPoint(Tag tag, Space space);
// The elements that end the default scope of "has an element in scope".
bool boundsScope(Tag tag, Space space);

}
