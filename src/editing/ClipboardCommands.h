#pragma once
#include "editor/RichTextBox.h"

#include <QClipboard>
#include <QGuiApplication>

class Prompts;

// The clipboard and selection commands. The clipboard is used as plain text
// only: nothing but the text goes onto it, nothing but its text comes off.
// Each takes the clipboard as a parameter so a caller can hand in another.
namespace ClipboardCommands {

// With nothing selected the clipboard keeps what it had.
void copy(RichTextBox& pad, QClipboard* clipboard = QGuiApplication::clipboard());
// Copy, then remove the selection. Nothing selected: nothing changes. When
// the clipboard did not take the text, the selection stays.
void cut(RichTextBox& pad, QClipboard* clipboard = QGuiApplication::clipboard());
// The clipboard's text, its line breaks in the document's style, replaces
// the selection. A clipboard without text deletes the selection.
void paste(RichTextBox& pad, QClipboard* clipboard = QGuiApplication::clipboard());
// Removes the selection; nothing selected: nothing changes.
void deleteSelection(RichTextBox& pad);
void undo(RichTextBox& pad);
// Selects the whole text, every line break character included.
void selectAll(RichTextBox& pad);
// Tells how many characters are selected (a CR LF counts two).
void lengthOfSelected(RichTextBox& pad, Prompts& prompts);

// The editor's key-down filter; the key code is Windows style (A = 65 ...
// Z = 90) and the shift state 1 Shift | 2 Ctrl | 4 Alt. Returns true when the
// key is to be swallowed.
// - Ctrl+V alone: a picture on the clipboard swallows the key; otherwise a
//   non-empty clipboard text is put back as plain text alone, so that the
//   editor's own paste inserts it without any formatting.
// - Ctrl+E and Ctrl+R alone are swallowed.
// Every other key (Ctrl+Shift+V and Ctrl+Alt+V among them) passes.
bool swallowEditorKey(int keyCode, int shift, QClipboard* clipboard = QGuiApplication::clipboard());

// The same, for a handler of RichTextBox::KeyDown: sets the key code to 0
// when the key is swallowed.
void filterEditorKey(RichTextBox::KeyDownArgs& args, QClipboard* clipboard = QGuiApplication::clipboard());

}
