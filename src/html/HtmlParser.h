#pragma once
#include "html/HtmlNames.h"
#include "html/HtmlTokenizer.h"

#include <QByteArrayView>

#include <vector>

// The element structure a browser builds from a page, followed token by
// token without building the tree: only the elements still open, where each
// sits among its siblings, and what the parsing rules need to remember.
//
// HTML follows the main effects of the HTML parsing algorithm: html, head,
// body and tbody implied; void elements; end tags implied by what follows
// (p closed by blocks; li, dt, dd, option, optgroup, table rows and cells
// closing their siblings); an end tag closes the nearest open element of
// its name when that is in scope and is ignored otherwise; raw text in
// script, style, textarea, title and the like; misplaced content of tables
// moved before them; misnested formatting elements (b, i, a, ...) closed
// and reopened as browsers do; SVG and MathML content. Server code blocks
// (<?php ?>, <? ?>, <% %>) are opaque wherever they stand. Left out:
// templates' own rules (their content is read as body content), frameset
// pages beyond their first frameset, and the changes scripts make.
//
// XML keeps every element as written: nothing is void or implied, an end
// tag closes the nearest open element of exactly its name (or is ignored).
//
// A Parser is a plain value: copying it saves the whole state, so that a
// later read can resume from a saved position of an unchanged page prefix.
namespace Html {

// One element as the parser keeps it.
struct Element {
    enum Flag : quint8 {
        Copy = 1,            // a formatting element the parser reopened: its start tag is the original's
        Closed = 2,          // taken off the stack, kept only as the parent of elements still open
        HtmlIntegration = 4, // SVG or MathML element whose content follows HTML rules
    };
    qsizetype tagBegin = -1;  // the '<' of its start tag (of the original for a Copy); -1 when implied
    qsizetype nameBegin = -1; // its name as written; -1 when implied
    qint32 nameLength = 0;
    quint32 serial = 0;       // one per element created in a parse
    qint32 parent = -1;       // stack index of its parent element; -1 for the root
    qint32 index = 0;         // its place among its parent's element children of the same name
    qint32 countsBegin = 0;
    Tag tag = Tag::Other;
    Space space = Space::Html;
    quint8 flags = 0;

    bool implied() const { return tagBegin < 0; }
    bool is(Tag t) const { return tag == t && space == Space::Html; }
    bool has(Flag f) const { return flags & f; }
};

class Parser;

// Told of every element as it is created and as it goes; a query's window
// on the parse. The index is into the parser's stack, valid during the call.
class TreeObserver {
public:
    virtual ~TreeObserver() = default;
    virtual void inserted(const Parser& parser, int index) {}
    // Its parent changed (a misnested formatting end moved it).
    virtual void moved(const Parser& parser, int index) {}
    virtual void removing(const Parser& parser, int index) {}
};

class Parser {
public:
    explicit Parser(Syntax syntax = Syntax::Html);

    Syntax syntax() const { return m_read.syntax; }
    // Where the next token begins.
    qsizetype position() const { return m_position; }
    // The token at position() (which must be before the end of the page).
    Token peek(QByteArrayView page) const;
    // Applies that token to the structure and moves past it.
    void consume(QByteArrayView page, const Token& token);
    // Applies the text of the token at position() up to `end` alone (a caret
    // inside it) and moves there; reading on reads the rest of the text.
    // Only for text of the Data content.
    void consumeTextUpTo(QByteArrayView page, const Token& text, qsizetype end);
    // A fresh parser starts after the page's UTF-8 byte order mark, if any.
    void skipByteOrderMark(QByteArrayView page);
    // Whether a start tag read now makes an SVG or MathML element (inside
    // svg or math, where nothing is void).
    bool readsAsForeign(Tag startTag) const;
    // What the bytes at position() are: text of a raw text element, data, ...
    ReadState readState() const;

    // The stack of open elements, the root first. Entries flagged Closed
    // are no longer open; they stay while an open element is their child.
    int depth() const { return int(m_stack.size()); }
    const Element& element(int index) const { return m_stack[std::size_t(index)]; }
    // The innermost open element, or -1.
    int current() const { return depth() - 1; }
    // The next open element below `index`, or -1.
    int openBelow(int index) const;
    // The body element's stack index, or -1.
    int body() const;
    // Whether an end tag of body (or of html, which ends body too) counted:
    // body and html stay open to the end, as what follows still goes into
    // body, so their end tags end them without closing them.
    bool bodyEnded() const { return m_ended & BodyEnded; }
    bool htmlEnded() const { return m_ended & HtmlEnded; }
    // The name as written (for an implied element, its lower-case name).
    QByteArrayView nameOf(QByteArrayView page, int index) const;
    // Whether two elements have the same name (with case in XML, without in HTML).
    bool sameName(QByteArrayView page, const Element& a, const Element& b) const;

    // The memory the parser's state holds beyond the object itself.
    qsizetype heapBytes() const;

    void setObserver(TreeObserver* observer) { m_observer = observer; }
    // The element of the next start tag stays open even when it is void or
    // self-closed, so that a caret inside that tag can be placed in it.
    void keepNextElementOpen() { m_keepOpen = true; }

private:
    enum class Mode : quint8 {
        Initial, BeforeHtml, BeforeHead, InHead, AfterHead, InBody, Text, InTable, InCaption, InColumnGroup,
        InTableBody, InRow, InCell, InSelect, InSelectInTable, AfterBody, InFrameset, AfterFrameset,
        AfterAfterBody, AfterAfterFrameset
    };
    enum class Scope : quint8 { Default, ListItem, Button, Table, Select };

    struct ChildCount {
        qsizetype nameBegin;
        qint32 nameLength;
        qint32 count;
        Tag tag;
    };
    struct Formatting {
        qsizetype tagBegin = -1; // -1: a marker
        qsizetype nameBegin = -1;
        qsizetype attributesEnd = -1;
        qint32 nameLength = 0;
        quint32 serial = 0;
        Tag tag = Tag::Other;
        bool marker() const { return tagBegin < 0; }
    };
    // Where an element to insert comes from.
    struct Source {
        qsizetype tagBegin = -1;
        qsizetype nameBegin = -1;
        qint32 nameLength = 0;
        bool copy = false;
    };

    // HtmlParser.cpp: the stack, the counts, formatting elements, XML.
    int insert(QByteArrayView page, const Source& source, Tag tag, Space space, int parent = -2);
    int insertFor(QByteArrayView page, const Token& token, Tag tag, Space space = Space::Html);
    void insertVoid(QByteArrayView page, const Token& token, Tag tag, Space space = Space::Html);
    void insertImplied(QByteArrayView page, Tag tag);
    int appropriateParent() const;
    // A new element made again from a formatting entry, with a serial of its own.
    Element copyOf(const Formatting& f, qint32 countsBegin);
    qint32 countChild(QByteArrayView page, int parent, const Element& child);
    void uncountChild(QByteArrayView page, int parent, const Element& child);
    void pop();
    void removeAt(int index);
    void popUntil(Tag tag);
    void popUntilAny(std::initializer_list<Tag> tags);
    void popUntilIndex(int index);
    void dropClosedOnTop();
    int find(Tag tag) const;
    bool inScope(Tag tag, Scope scope) const;
    bool indexInScope(int index) const;
    void generateImpliedEnds(Tag except = Tag::Other, bool thorough = false);
    void closeParagraphInButtonScope();
    void setRawText(Tag tag, Content content);
    int formattingIndexOnStack(const Formatting& entry) const;
    void pushFormatting(QByteArrayView page, const Token& token, int element);
    void pushMarker();
    void clearFormattingToMarker();
    void reconstructFormatting(QByteArrayView page);
    bool adoptionAgency(QByteArrayView page, Tag subject);
    void xmlToken(QByteArrayView page, const Token& token);

    // HtmlParserRules.cpp: the insertion modes.
    void text(QByteArrayView page, qsizetype begin, qsizetype end);
    void startTag(QByteArrayView page, const Token& token, Tag tag, Mode mode);
    void endTag(QByteArrayView page, const Token& token, Tag tag, Mode mode);
    bool inForeignContent(bool startTag, Tag tag) const;
    void foreignStartTag(QByteArrayView page, const Token& token, Tag tag);
    void foreignEndTag(QByteArrayView page, const Token& token, Tag tag);
    void bodyStartTag(QByteArrayView page, const Token& token, Tag tag);
    void bodyEndTag(QByteArrayView page, const Token& token, Tag tag);
    void anyOtherEndTag(QByteArrayView page, const Token& token, Tag tag);
    bool headStartTag(QByteArrayView page, const Token& token, Tag tag);
    void tableStartTag(QByteArrayView page, const Token& token, Tag tag);
    void tableEndTag(QByteArrayView page, const Token& token, Tag tag);
    void closeCell();
    void resetMode();
    void clearBackTo(std::initializer_list<Tag> tags);
    void doctype(QByteArrayView page, const Token& token);

    std::vector<Element> m_stack;
    std::vector<ChildCount> m_counts;
    std::vector<Formatting> m_formatting;
    qsizetype m_position = 0;
    ReadState m_read;
    Mode m_mode = Mode::Initial;
    Mode m_textReturn = Mode::InBody;
    Element m_head;             // the head element, kept to reopen it for late head content
    quint32 m_form = 0;         // the serial of the open form, 0 when none
    quint32 m_nextSerial = 1;
    enum : quint8 { BodyEnded = 1, HtmlEnded = 2 };
    quint8 m_ended = 0;
    bool m_quirks = false;
    bool m_fosterParenting = false;
    bool m_keepOpen = false;
    TreeObserver* m_observer = nullptr;
};

}
