#pragma once

class RichTextBox;

// Tab and Shift+Tab on a selection over several lines: each of its lines is
// indented or outdented by one level (a tab, or the spaces its indentation
// or the document's uses), as one undo step, and the same lines stay
// selected. Only blanks at the starts of lines change; the lines' breaks
// stay as they were.
class BlockIndenter {
public:
    enum class Direction { Indent, Outdent };
    // False, and nothing done, when the selection lies within one line.
    static bool shift(RichTextBox& box, Direction direction);
};
