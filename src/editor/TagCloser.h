#pragma once
#include <QByteArray>

class PageOutline;
class QKeyEvent;
class RichTextBox;

// Closing tags typed for the user in pages and XML: the '>' that ends a
// start tag puts the matching end tag after the caret, and "</" puts the name
// of the innermost element still open and its '>' after the caret (what
// PageOutline allows: not for void or self-closed elements, nor in comments,
// scripts, style sheets or server code). Each completion is an undo step of
// its own, after the typed character's.
//
// The completion only saves keystrokes: while the user keeps typing, text it
// put ahead of the caret is typed over. A character typed where the same
// character of a completion stands moves the caret past it. A closing tag
// typed over only in part before something else is typed was the user's own
// text (the start of a nested tag, "<span"): the characters passed are put
// back in front of the completion, so that it stays whole after the caret. A
// name completed after "</" goes as soon as the user types a name of their
// own, and '>' typed right after "</" takes the name offered ("</>" closes
// nothing). Backspace over passed characters steps back over them. So a
// closing tag typed in full, character by character, gives exactly the bytes
// typed.
//
// What the completions put ahead is remembered only while the user types:
// any other key, a click, or a change by a command forgets it, and the text
// stays as it is.
class TagCloser {
public:
    TagCloser(RichTextBox& box, PageOutline& outline);

    void setEnabled(bool enabled);
    // A key on its way to the engine: true when typing over (or stepping
    // back over) a completion has done what it asks.
    bool keyPressed(const QKeyEvent& e);
    // The key was handled (by the engine or another aid).
    void keyDone(const QKeyEvent& e);

private:
    // What a completion is, as the value of its mark.
    enum Kind { None = 0, ClosingTag = 1, TagName = 2 };

    bool typingGoesOn() const;
    void forget();
    void remember();
    long caret() const;
    Kind kindAt(long position) const;
    QByteArray bytesAt(long position, qsizetype length) const;
    void mark(long position, qsizetype length, Kind kind);
    void unmark(long position, qsizetype length);
    void complete(long caret, const QByteArray& text, Kind kind);
    void stepOver(long caret, const QByteArray& typed, Kind kind);
    void stepBack(long caret);
    void giveBack(long caret);

    RichTextBox& m_box;
    PageOutline& m_outline;
    bool m_enabled = true;
    // Marks of completions may stand in the text.
    bool m_marked = false;
    // Where the last key left the caret and how long the text was then:
    // typing goes on while a key finds them so.
    bool m_typing = false;
    long m_expectedCaret = 0;
    long m_expectedLength = 0;
    // The characters of a completion typed over since its last '>', and
    // what they belong to.
    QByteArray m_passed;
    Kind m_passedKind = None;
};
