#pragma once
#include "snippets/SnippetTable.h"


class Prompts;
class RichTextBox;

// Builds the snippet's fragment and puts it into the document by the
// insertion rule: it replaces the selection (or goes in at the caret), and
// the caret ends after it with nothing selected. A prompted snippet asks once;
// a cancelled box counts as empty input.
void runSnippet(const Snippet& snippet, RichTextBox& pad, Prompts& prompts);

// The same by command; false (and nothing done) for a command that inserts
// no snippet.
bool runSnippet(Cmd command, RichTextBox& pad, Prompts& prompts);
