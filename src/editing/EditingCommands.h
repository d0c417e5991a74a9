#pragma once
#include <QDateTime>
#include <QLocale>

class RichTextBox;

// The editing commands that transform the selection, insert the date or time,
// move the caret to either end and change the text size. Each works on the
// editor alone; the clock and the regional formats are parameters so that
// callers other than the menu can pin them.
namespace EditingCommands {

// Each replaces the selection by its transform: the result is not selected
// and the caret stands after it. With nothing selected the document and the
// caret stay as they are and no change is raised.
void upperCase(RichTextBox& pad);
void lowerCase(RichTextBox& pad);
void reverse(RichTextBox& pad);

// Insert by the insertion rule (replacing any selection).
void insertTimeOnly(RichTextBox& pad, const QDateTime& now = QDateTime::currentDateTime(),
                    const QLocale& locale = QLocale::system());
void insertDateOnly(RichTextBox& pad, const QDateTime& now = QDateTime::currentDateTime(),
                    const QLocale& locale = QLocale::system());
void insertTimeAndDate(RichTextBox& pad, const QDateTime& now = QDateTime::currentDateTime(),
                       const QLocale& locale = QLocale::system());

// The caret to the start or after the last character; the selection goes.
void goToStart(RichTextBox& pad);
void goToEnd(RichTextBox& pad);

// Two points up or down. There is no bound of the command's own: a size the
// editor refuses is not applied, and the current size stays.
void zoomIn(RichTextBox& pad);
void zoomOut(RichTextBox& pad);

}
