#pragma once
#include "platform/Prompts.h"

#include <QString>
#include <functional>

class DocumentState;
class RichTextBox;
class SettingsStore;

// The commands that move the document between the editor and the disk.
// Every one reports its failures itself and returns whether it did its work.
class FileCommands {
public:
    static const QString kFilter;
    static const QString kOpenTitle;
    static const QString kSaveTitle;

    FileCommands(RichTextBox& pad, DocumentState& doc, Prompts& prompts, SettingsStore& settings);

    // What Yes at the save question leads to when the document was not saved
    // (the save dialog cancelled, the write failed): a command that would
    // throw the text away stops; one that only adds to it may go on.
    enum class AfterFailedSave { Stop, GoOn };

    // The ask-to-save step: nothing to ask when the document is unchanged.
    // Yes saves, and goes on when the document was saved (or whatever the
    // save did, with GoOn); No goes on; Cancel stops. Returns whether the
    // caller may go on. The file commands warn; a caller may ask with
    // another icon.
    bool askToSave(const QString& question, Prompts::Icon icon = Prompts::Icon::Exclamation,
                   AfterFailedSave afterFailedSave = AfterFailedSave::Stop);

    bool SaveDocument();      // to the location, or Save As when untitled
    bool SaveAs();
    void New();
    bool OpenDocument();
    void RevertDocument();
    // Reload offered when another program changed the open file: asks first
    // (the Revert Document question) only when there are unsaved changes to
    // lose, and tells nothing afterwards; the document is the file again,
    // unchanged. Returns whether it was reloaded.
    bool reloadChangedFile();
    void FileProperties();

    // Loads a file as the document (start-up, Open): on success the document
    // is named after the file and unchanged; on failure the shared error box
    // and the document stays as it was.
    bool loadAsDocument(const QString& path);
    // Loads a file as a new document (a template): untitled and unchanged on
    // success; on failure as load() leaves it.
    bool loadAsNewDocument(const QString& path);

    // Loads a file into the pad. On failure the shared error box; a load
    // that failed after the old text was gone (the file changed while it was
    // read, memory ran out) leaves a new, empty, untitled document, so that
    // no part of a file can be saved over it.
    bool load(const QString& path);

    // The folder part of a chosen path, with its trailing "/" ("" when none).
    static QString folderOf(const QString& path);

    // Shows the properties window of a file; set by the main window.
    std::function<void(const QString& path)> showProperties;
    // Told before a file is read into the editor in place of its text.
    std::function<void(const QString& path)> beforeLoad;

private:
    Prompts::FileDialog dialog(bool save) const;
    bool confirmRevert();
    bool writeTo(const QString& path);

    RichTextBox& m_pad;
    DocumentState& m_doc;
    Prompts& m_prompts;
    SettingsStore& m_settings;
};
