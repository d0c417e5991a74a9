#pragma once
#include "editor/DocumentService.h"
#include "services/Prompts.h"

#include <QString>

class Document;
class RichTextBox;
class SettingsStore;

// The commands that move the document between the editor and the disk, and
// what tool windows may ask of the document's owner. Every command reports
// its failures itself and returns whether it did its work.
class FileCommands : public DocumentService {
public:
    static const QString kOpenTitle;
    static const QString kSaveTitle;

    FileCommands(Document& document, RichTextBox& view, Prompts& prompts, SettingsStore& settings);

    Document& document() override { return m_doc; }
    RichTextBox& view() override { return m_view; }
    bool askToSave(const QString& question, Prompts::Icon icon = Prompts::Icon::Exclamation,
                   AfterFailedSave afterFailedSave = AfterFailedSave::Stop) override;
    bool loadAsUntitled(const QString& path) override;
    std::optional<QString> chooseFileToOpen(const QString& title, const QString& filter) override;

    bool SaveDocument();      // to the location, or Save As when untitled
    bool SaveAs();
    void New();
    bool OpenDocument();
    void RevertDocument();
    // Reload offered when another program changed the open file: asks first
    // (the Revert Document question) only when there are unsaved changes to
    // lose, and tells nothing afterwards; the document is the file again,
    // unmodified. Returns whether it was reloaded.
    bool reloadChangedFile();

    // Loads a file as the document (start-up, Open): on success the document
    // is named after the file and unmodified; on failure the shared error
    // box, and the document as the load left it.
    bool loadAsDocument(const QString& path);

    // Loads a file into the document through its one load path; on failure
    // the shared error box (a failure after the old text was gone has left a
    // new, empty, untitled document).
    bool load(const QString& path);

    // The folder part of a chosen path, with its trailing "/" ("" when none).
    static QString folderOf(const QString& path);

private:
    Prompts::FileDialog dialog(bool save) const;
    bool confirmRevert();
    bool writeTo(const QString& path);

    Document& m_doc;
    RichTextBox& m_view;
    Prompts& m_prompts;
    SettingsStore& m_settings;
};
