#pragma once
#include "editor/RichTextBox.h"

// A document with a selection, as a test's starting point.
inline void prepare(RichTextBox& pad, const QString& text, int selStart, int selLength = 0)
{
    pad.SetText(text);
    pad.SetSelStart(selStart);
    pad.SetSelLength(selLength);
}
