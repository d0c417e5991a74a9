#pragma once
#include "find/FindReplace.h"

#include <QObject>
#include <QString>

class FindMarks;
class Prompts;
class RichTextBox;

// The Find tab's search, kept beyond its window, for F3 (Find Next from the
// caret, with or without the window): while a Find window is open, its text
// and direction as they are; once it has closed, the last text it held and
// its direction. And while a Find window holds a text, the other
// occurrences of that text are marked in the view (see FindMarks), found as
// Find Next finds them: case ignored, any part of a word.
class FindSession : public QObject {
    Q_OBJECT
public:
    FindSession(RichTextBox& pad, Prompts& prompts, QObject* parent = nullptr);
    ~FindSession() override;

    // The Find window tells every change of its Find tab, and its closing.
    void setSearch(const QString& text, FindReplace::Direction direction);
    void windowOpened();
    void windowClosed();

    // What F3 searches for, and which way.
    QString text() const { return m_openWindows > 0 ? m_text : m_lastText; }
    FindReplace::Direction direction() const { return m_direction; }

    // F3: one Find Next with the text and direction above, from the pad's
    // caret or selection; not found, the Find window's message says so.
    // False when there is no text to search for (nothing was done).
    bool repeat();

    FindMarks& marks() const { return *m_marks; }

private:
    void updateMarks();

    RichTextBox& m_pad;
    Prompts& m_prompts;
    FindMarks* m_marks;
    // The open window's text, and the last text any window held.
    QString m_text;
    QString m_lastText;
    FindReplace::Direction m_direction = FindReplace::Direction::Right;
    int m_openWindows = 0;
};
