#include "editor/TagCloser.h"
#include "editor/MarkIds.h"
#include "editor/PageOutline.h"
#include "editor/RichTextBox.h"

#include <QKeyEvent>

namespace {

using Sci = QsciScintillaBase;
constexpr auto kMark = static_cast<unsigned long>(MarkIds::kCompletion);

// The character a key types, as UTF-8; empty for a key that types none.
QByteArray typedBy(const QKeyEvent& e)
{
    if (e.modifiers() & (Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier))
        return {};
    const QString text = e.text();
    const bool one = text.size() == 1 || (text.size() == 2 && text[0].isHighSurrogate());
    if (!one || (!text[0].isPrint() && !text[0].isHighSurrogate()))
        return {};
    return text.toUtf8();
}

// Keys that go on typing: a character, a line break, a tab, or taking back
// the last character.
bool goesOnTyping(const QKeyEvent& e)
{
    const Qt::KeyboardModifiers mods = e.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    switch (e.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Backspace:
        return mods == Qt::NoModifier;
    default:
        return !typedBy(e).isEmpty();
    }
}

bool isBackspace(const QKeyEvent& e)
{
    return e.key() == Qt::Key_Backspace && !(e.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier));
}

}

TagCloser::TagCloser(RichTextBox& box, PageOutline& outline) : m_box(box), m_outline(outline)
{
    m_box.SendScintilla(Sci::SCI_INDICSETSTYLE, kMark, long(Sci::INDIC_HIDDEN));
}

void TagCloser::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    forget();
    m_enabled = enabled;
}

long TagCloser::caret() const
{
    return m_box.SendScintilla(Sci::SCI_GETCURRENTPOS);
}

bool TagCloser::typingGoesOn() const
{
    return m_typing && caret() == m_expectedCaret && m_box.SendScintilla(Sci::SCI_GETANCHOR) == m_expectedCaret &&
           m_box.document().byteLength() == m_expectedLength;
}

void TagCloser::remember()
{
    m_typing = true;
    m_expectedCaret = caret();
    m_expectedLength = m_box.document().byteLength();
}

void TagCloser::forget()
{
    m_typing = false;
    m_passed.clear();
    m_passedKind = None;
    if (m_marked) {
        m_marked = false;
        unmark(0, m_box.document().byteLength());
    }
}

TagCloser::Kind TagCloser::kindAt(long position) const
{
    if (!m_marked || position >= m_box.document().byteLength())
        return None;
    return Kind(m_box.SendScintilla(Sci::SCI_INDICATORVALUEAT, kMark, position));
}

QByteArray TagCloser::bytesAt(long position, qsizetype length) const
{
    QByteArray bytes;
    for (qsizetype i = 0; i < length && position + i < m_box.document().byteLength(); ++i)
        bytes += char(m_box.SendScintilla(Sci::SCI_GETCHARAT, static_cast<unsigned long>(position + i)));
    return bytes;
}

void TagCloser::mark(long position, qsizetype length, Kind kind)
{
    m_box.SendScintilla(Sci::SCI_SETINDICATORCURRENT, kMark);
    m_box.SendScintilla(Sci::SCI_SETINDICATORVALUE, static_cast<unsigned long>(kind));
    m_box.SendScintilla(Sci::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(position), long(length));
    m_marked = true;
}

void TagCloser::unmark(long position, qsizetype length)
{
    m_box.SendScintilla(Sci::SCI_SETINDICATORCURRENT, kMark);
    m_box.SendScintilla(Sci::SCI_INDICATORCLEARRANGE, static_cast<unsigned long>(position), long(length));
}

bool TagCloser::keyPressed(const QKeyEvent& e)
{
    if (!m_enabled)
        return false;
    if (!typingGoesOn() || !goesOnTyping(e)) {
        forget();
        return false;
    }
    const long at = caret();
    const Kind kind = kindAt(at);
    const QByteArray typed = typedBy(e);
    if (kind != None && !typed.isEmpty() && bytesAt(at, typed.size()) == typed) {
        stepOver(at, typed, kind);
        return true;
    }
    if (kind == TagName && typed == ">" && m_passed.isEmpty()) {
        // "</>" closes nothing: it takes the name offered.
        const long end = m_box.SendScintilla(Sci::SCI_INDICATOREND, kMark, at);
        stepOver(at, bytesAt(at, end - at), kind);
        return true;
    }
    if (isBackspace(e) && !m_passed.isEmpty()) {
        stepBack(at);
        return true;
    }
    // Anything else typed here is the user's own text.
    if (kind == TagName) {
        const long end = m_box.SendScintilla(Sci::SCI_INDICATOREND, kMark, at);
        m_box.document().replaceBytes(at, end, {});
    } else if (!m_passed.isEmpty()) {
        giveBack(at);
    }
    m_passed.clear();
    m_passedKind = None;
    return false;
}

void TagCloser::keyDone(const QKeyEvent& e)
{
    if (!m_enabled)
        return;
    if (!goesOnTyping(e)) {
        forget();
        return;
    }
    const QByteArray typed = typedBy(e);
    const long at = caret();
    if (typed == ">") {
        if (const std::optional<QByteArray> tag = m_outline.closingTagAfter(at))
            complete(at, *tag, ClosingTag);
    } else if (typed == "/" && at >= 2 && bytesAt(at - 2, 1) == "<") {
        if (const std::optional<QByteArray> name = m_outline.nameToClose(at))
            complete(at, *name + '>', TagName);
    }
    remember();
}

void TagCloser::complete(long at, const QByteArray& text, Kind kind)
{
    // An undo step of its own, with the caret before it.
    Document::EditStep step(m_box.document());
    m_box.document().replaceBytes(at, at, text);
    m_box.placeSelection(at, at, true);
    mark(at, text.size(), kind);
}

void TagCloser::stepOver(long at, const QByteArray& typed, Kind kind)
{
    unmark(at, typed.size());
    m_box.placeSelection(at + typed.size(), at + typed.size(), true);
    if (typed.endsWith('>')) {
        m_passed.clear();
        m_passedKind = None;
    } else {
        m_passed += typed;
        m_passedKind = kind;
    }
    remember();
}

void TagCloser::stepBack(long at)
{
    // One character: its first byte is the last that is no UTF-8 continuation.
    qsizetype length = 1;
    while (length < m_passed.size() && (m_passed[m_passed.size() - length] & 0xC0) == 0x80)
        ++length;
    m_passed.chop(length);
    mark(at - length, length, m_passedKind);
    m_box.placeSelection(at - length, at - length, true);
    remember();
}

void TagCloser::giveBack(long at)
{
    Document::EditStep step(m_box.document());
    m_box.document().replaceBytes(at, at, m_passed);
    m_box.placeSelection(at, at, false);
    mark(at, m_passed.size(), m_passedKind);
}
