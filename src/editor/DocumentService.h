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

    // What Yes at the save question leads to when the document was not saved
    // (the save dialog cancelled, the write failed): a command that would
    // throw the text away stops; one that only adds to it may go on.
    enum class AfterFailedSave { Stop, GoOn };

    virtual ~DocumentService() = default;

    virtual Document& document() = 0;
    virtual RichTextBox& view() = 0;

    // The ask-to-save step: nothing is asked of an unmodified document. Yes
    // saves; No goes on; Cancel stops. Returns whether the caller may go on.
    virtual bool askToSave(const QString& question, Prompts::Icon icon = Prompts::Icon::Exclamation,
                           AfterFailedSave afterFailedSave = AfterFailedSave::Stop) = 0;

    // A file taken as a new, untitled document (a page made from a
    // template). Failures are reported to the user; false when the document
    // did not become the file's text.
    virtual bool loadAsUntitled(const QString& path) = 0;

    // An open dialog with the caller's title and filter (the must-exist
    // rule), starting in the last folder chosen; the folder of a chosen file
    // is remembered. Nothing when cancelled.
    virtual std::optional<QString> chooseFileToOpen(const QString& title, const QString& filter) = 0;
};
