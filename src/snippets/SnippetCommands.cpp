#include "snippets/SnippetCommands.h"

#include "services/Prompts.h"
#include "editor/RichTextBox.h"

void runSnippet(const Snippet& snippet, RichTextBox& pad, Prompts& prompts)
{
    switch (snippet.kind) {
    case SnippetKind::Fixed:
        pad.InsertText(Snippets::text(snippet, QString()));
        break;
    case SnippetKind::Prompted:
        pad.InsertText(Snippets::text(snippet, prompts.input(QString(snippet.prompt))));
        break;
    case SnippetKind::Wrap:
        // The selection is the user's own text: it goes back unchanged, line
        // breaks included, even in a document of mixed line breaks.
        pad.SetSelText(Snippets::text(snippet, pad.SelText(), pad.document().format().lineBreak));
        break;
    }
}

bool runSnippet(Cmd command, RichTextBox& pad, Prompts& prompts)
{
    const Snippet* snippet = Snippets::find(command);
    if (!snippet)
        return false;
    runSnippet(*snippet, pad, prompts);
    return true;
}
