#pragma once
#include "editor/KeyAid.h"
#include "editor/TagCloser.h"

class PageOutline;
class RichTextBox;

// The aids that change what a key does in a view, each one the user's
// option (all on unless switched off):
// - auto-indent: Enter starts the new line with the leading blanks of the
//   line it breaks (AutoIndent);
// - block indent: Tab and Shift+Tab on a selection over several lines
//   indent and outdent those lines (BlockIndenter);
// - closing tags: in pages and XML, '>' and "</" put the closing tag after
//   the caret (TagCloser).
// An aid switched off leaves its keys exactly as the plain view has them.
class TypingAids : public KeyAid {
    Q_OBJECT
public:
    TypingAids(RichTextBox& box, PageOutline& outline, QObject* parent = nullptr);

    void setAutoIndent(bool on) { m_autoIndent = on; }
    void setBlockIndent(bool on) { m_blockIndent = on; }
    void setCloseTags(bool on) { m_closer.setEnabled(on); }

    bool keyPressed(QKeyEvent& e) override;
    void keyDone(QKeyEvent& e) override;

private:
    bool indentKey(const QKeyEvent& e);

    RichTextBox& m_box;
    TagCloser m_closer;
    bool m_autoIndent = true;
    bool m_blockIndent = true;
};
