#pragma once
#include "services/Prompts.h"

#include <QString>
#include <optional>

class Document;
class RichTextBox;

// What a tool window may ask of the window that holds the document, and no
// more: the document and the view that edits it (text goes in by the
// insertion rule, at the view's selection), the ask-to-save step, a file
// taken as the document through the one load path, and the file dialog that
// starts in, and remembers, the last folder chosen.
class DocumentService {
public:
    // The file dialogs' list of file kinds.
    static const QString kFileFilter;

    virtual ~DocumentService() = default;

    virtual Document& document() = 0;
    virtual RichTextBox& view() = 0;

    // The ask-to-save step with the caller's question: nothing is asked of
    // an unmodified document. False when the user chose Cancel, or chose Yes
    // and the save did not happen; the caller then stops.
    virtual bool askToSave(const QString& question, Prompts::Icon icon) = 0;

    // A file taken as a new, untitled document (a page made from a
    // template): failures are reported to the user; false when the
    // document did not become the file's text.
    virtual bool loadAsUntitled(const QString& path) = 0;

    // An open dialog with the caller's title and filter, starting in the
    // last folder chosen; the folder of a chosen file is remembered.
    virtual std::optional<QString> chooseFileToOpen(const QString& title, const QString& filter) = 0;
};
