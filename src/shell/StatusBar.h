#pragma once
#include "editor/SyntaxLanguage.h"
#include "text/CharacterIndex.h"
#include "text/LineBreaks.h"

#include <QStatusBar>
#include <QTimer>

class ElidedLabel;
class QLabel;
class QToolButton;
class RichTextBox;
class SyntaxColouring;

// The bar at the bottom of the main window: where the caret is and what the
// document is, each in a field of its own, a widget whose accessible name is
// the text it shows (a field with nothing to say is hidden):
//   cmdCaret           "Ln 12, Col 5": the caret's line and column, counted
//                      from 1 in characters (a tab is one); a click on it
//                      asks for Go to Line (goToLineRequested)
//   lblSelection       "12 selected": the selection's characters (a CR LF
//                      is one)
//   lblProblemAtCaret  the page problem at the caret, shortened to the room
//                      there is (see setProblems)
//   lblProblems        the page's problems in short, e.g. "2 errors"
//   lblLocked          "Locked" while the text is locked
//   lblLanguage        the colouring's language: "HTML", "CSS",
//                      "JavaScript", "XML" or "Plain text"
//   lblEncoding        "UTF-8", "UTF-8 with BOM", "UTF-16 LE", "UTF-16 BE"
//                      or "Windows-1252"
//   lblLineBreaks      the line breaks the text holds: "CR LF", "LF", "CR"
//                      or "Mixed"; for a text without any, those Enter types
//
// Typing stays as fast as without the bar: the caret's fields are worked out
// once per turn of the event loop, whatever moved meanwhile, from what
// changed (the column of a line of megabytes from counts kept along the
// text); the line breaks of a large text are looked at again only once
// typing pauses.
class StatusBar : public QStatusBar {
    Q_OBJECT
public:
    // Texts of at most this many bytes are looked at again after every edit.
    static constexpr long kSmallText = 1024 * 1024;

    // Follows the pad's caret and document, and the colouring's language
    // when there is colouring (otherwise "Plain text").
    explicit StatusBar(RichTextBox& pad, const SyntaxColouring* colouring = nullptr, QWidget* parent = nullptr);

    // How long typing must pause before the line breaks of a large text are
    // looked at again.
    void setLineBreakPause(int milliseconds) { m_lineBreakPause.setInterval(milliseconds); }

    static QString languageName(SyntaxLanguage language);

public slots:
    // The page checker's findings: a summary for the whole page ("2 errors,
    // 1 warning") and the problem at the caret; "" for none.
    void setProblems(const QString& summary, const QString& atCaret);

signals:
    void goToLineRequested();

private:
    void scheduleCaret();
    void showCaret();
    void showDocument();
    void showLineBreaks();
    void sayLineBreaks();
    void showLanguage(SyntaxLanguage language);
    void textChanged();
    qsizetype characters(long from, long to);

    RichTextBox& m_pad;
    QToolButton* m_caret;
    QLabel* m_selection;
    ElidedLabel* m_problemAtCaret;
    QLabel* m_problems;
    QLabel* m_locked;
    QLabel* m_language;
    QLabel* m_encoding;
    QLabel* m_lineBreaks;
    CharacterIndex m_index;
    QTimer m_lineBreakPause;
    LineBreaks::Style m_breaks = LineBreaks::Style::None;
    bool m_caretPending = false;
    bool m_justLoaded = false;
};
