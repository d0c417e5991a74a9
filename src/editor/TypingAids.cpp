#include "editor/TypingAids.h"
#include "editor/AutoIndent.h"
#include "editor/BlockIndenter.h"
#include "editor/RichTextBox.h"

#include <QKeyEvent>

TypingAids::TypingAids(RichTextBox& box, PageOutline& outline, QObject* parent)
    : KeyAid(parent), m_box(box), m_closer(box, outline)
{
    box.setKeyAid(this);
}

bool TypingAids::keyPressed(QKeyEvent& e)
{
    if (m_closer.keyPressed(e))
        return true;
    if (!indentKey(e))
        return false;
    m_closer.keyDone(e);
    return true;
}

bool TypingAids::indentKey(const QKeyEvent& e)
{
    const Qt::KeyboardModifiers mods = e.modifiers() & ~Qt::KeypadModifier;
    switch (e.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return m_autoIndent && (mods == Qt::NoModifier || mods == Qt::ShiftModifier) && AutoIndent::breakLine(m_box);
    case Qt::Key_Tab:
        return m_blockIndent && mods == Qt::NoModifier && BlockIndenter::shift(m_box, BlockIndenter::Direction::Indent);
    case Qt::Key_Backtab:
        return m_blockIndent && (mods == Qt::NoModifier || mods == Qt::ShiftModifier) &&
               BlockIndenter::shift(m_box, BlockIndenter::Direction::Outdent);
    default:
        return false;
    }
}

void TypingAids::keyDone(QKeyEvent& e)
{
    m_closer.keyDone(e);
}
