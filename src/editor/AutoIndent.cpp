#include "editor/AutoIndent.h"
#include "editor/RichTextBox.h"
#include "text/Indentation.h"

bool AutoIndent::breakLine(RichTextBox& box)
{
    Document& document = box.document();
    const long start = box.SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART);
    const long lineStart = document.lineStartByte(document.lineOfByte(start));
    const QByteArray blanks = Indentation::leadingBlanks(document.utf8Range(lineStart, start)).toByteArray();
    if (blanks.isEmpty())
        return false;
    Document::EditStep step(document);
    box.SendScintilla(QsciScintillaBase::SCI_BEGINUNDOACTION);
    // The engine's own line break, in the document's line breaks.
    box.SendScintilla(QsciScintillaBase::SCI_NEWLINE);
    const long caret = box.SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
    document.replaceBytes(caret, caret, blanks);
    box.SendScintilla(QsciScintillaBase::SCI_ENDUNDOACTION);
    box.placeSelection(caret + blanks.size(), caret + blanks.size(), true);
    return true;
}
