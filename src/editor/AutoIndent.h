#pragma once

class RichTextBox;

// Enter that keeps the indentation: the new line starts with the leading
// blanks (spaces and tabs, as they stand) of the line that was broken, as
// far as they come before the caret. The line break and the blanks are one
// undo step.
class AutoIndent {
public:
    // Breaks the line at the caret (the selection gives way to the line
    // break, as it does to Enter) and indents the new line; false, and
    // nothing done, when the line has no leading blanks before the caret:
    // Enter is then the plain key.
    static bool breakLine(RichTextBox& box);
};
