#include "shell/FileCommands.h"
#include "document/Document.h"
#include "editor/RichTextBox.h"
#include "services/SettingsStore.h"
#include "widgets/WorkProgress.h"

#include <QFileInfo>

#include <optional>

const QString FileCommands::kOpenTitle = QStringLiteral("Quirkpad - Open File");
const QString FileCommands::kSaveTitle = QStringLiteral("Quirkpad - Save File");

FileCommands::FileCommands(Document& document, RichTextBox& view, Prompts& prompts, SettingsStore& settings)
    : m_doc(document), m_view(view), m_prompts(prompts), m_settings(settings)
{
}

QString FileCommands::folderOf(const QString& path)
{
    const int slash = int(path.lastIndexOf(QLatin1Char('/')));
    return slash < 0 ? QString() : path.left(slash + 1);
}

Prompts::FileDialog FileCommands::dialog(bool save) const
{
    Prompts::FileDialog d;
    d.title = save ? kSaveTitle : kOpenTitle;
    d.filter = kFileFilter;
    d.filterIndex = 1;
    d.initDir = m_settings.get(Setting::LastDir);
    d.mustExist = !save;
    d.confirmCreate = save;
    d.confirmOverwrite = save;
    return d;
}

bool FileCommands::askToSave(const QString& question, Prompts::Icon icon, AfterFailedSave afterFailedSave)
{
    if (!m_doc.isModified())
        return true;
    switch (m_prompts.message(question, icon, Prompts::Buttons::YesNoCancel)) {
    case Prompts::Answer::Yes:
        // A save that did not happen (dialog cancelled, write failed) must
        // not be followed by throwing the text away.
        return SaveDocument() || afterFailedSave == AfterFailedSave::GoOn;
    case Prompts::Answer::No:
        return true;
    default:
        return false;
    }
}

bool FileCommands::writeTo(const QString& path)
{
    const Result<Document::SaveInfo> r = m_doc.save(path);
    if (!r) {
        m_prompts.error(r.error());
        return false;
    }
    if (r->switchedToUtf8) {
        m_prompts.message(QStringLiteral("This document holds characters that Windows-1252 cannot store, "
                                         "so it was saved as UTF-8 to keep every one of them."),
                          Prompts::Icon::Information, Prompts::Buttons::Ok);
    }
    return true;
}

bool FileCommands::SaveDocument()
{
    if (m_doc.isUntitled())
        return SaveAs();
    if (!writeTo(m_doc.location()))
        return false;
    m_doc.becomeSaved();
    return true;
}

bool FileCommands::SaveAs()
{
    const std::optional<QString> chosen = m_prompts.saveFile(dialog(true));
    if (!chosen || chosen->isEmpty())
        return false;
    if (!writeTo(*chosen))
        return false;
    m_doc.becomeNamed(*chosen);
    m_settings.store(Setting::LastDir, folderOf(*chosen));
    return true;
}

void FileCommands::New()
{
    if (!askToSave(QStringLiteral("Would you like to save your document before starting a new document?")))
        return;
    m_view.SetText(QString());
    m_doc.setFormat(TextFormat::forNewDocument());
    m_doc.becomeUntitled();
}

bool FileCommands::load(const QString& path)
{
    // A large file shows how far the reading is (there is no clean way back
    // once the old text has gone, so no Cancel).
    std::optional<WorkProgress> progress;
    const Result<Document::LoadInfo> r = m_doc.load(path, [&](qint64 done, qint64 total) {
        if (!progress)
            progress.emplace(&m_view, QStringLiteral("Opening ") + QFileInfo(path).fileName() + QStringLiteral("..."),
                             total, false);
        progress->advance(done);
    });
    if (!r)
        m_prompts.error(r.error());
    return r.ok();
}

bool FileCommands::loadAsDocument(const QString& path)
{
    if (!load(path))
        return false;
    // Loading raised the change event; the document is as on disk again.
    m_doc.becomeNamed(path);
    return true;
}

bool FileCommands::loadAsUntitled(const QString& path)
{
    if (!load(path))
        return false;
    m_doc.becomeUntitled();
    return true;
}

std::optional<QString> FileCommands::chooseFileToOpen(const QString& title, const QString& filter)
{
    Prompts::FileDialog d;
    d.title = title;
    d.filter = filter;
    d.filterIndex = 1;
    d.initDir = m_settings.get(Setting::LastDir);
    d.mustExist = true;
    const std::optional<QString> chosen = m_prompts.openFile(d);
    // A cancelled dialog leaves the remembered folder alone.
    if (chosen && !chosen->isEmpty())
        m_settings.store(Setting::LastDir, folderOf(*chosen));
    return chosen;
}

bool FileCommands::OpenDocument()
{
    if (!askToSave(QStringLiteral("Would you like to save your document before opening another?")))
        return false;
    const std::optional<QString> chosen = m_prompts.openFile(dialog(false));
    if (!chosen || chosen->isEmpty())
        return false;
    if (!loadAsDocument(*chosen))
        return false;
    m_settings.store(Setting::LastDir, folderOf(*chosen));
    return true;
}

void FileCommands::RevertDocument()
{
    if (m_doc.isUntitled()) {
        m_prompts.message(QStringLiteral("No document open to reload."), Prompts::Icon::Exclamation,
                          Prompts::Buttons::Ok);
        return;
    }
    if (!confirmRevert() || !load(m_doc.location()))
        return;
    // A reverted document counts as changed, so closing or New still asks.
    m_doc.becomeReverted();
    m_prompts.message(QStringLiteral("Document reloaded."), Prompts::Icon::Information, Prompts::Buttons::Ok);
}

bool FileCommands::confirmRevert()
{
    return m_prompts.message(QStringLiteral("Are you sure you wish to revert (reload) this document? You will lose "
                                            "any unsaved work as Quirkpad will load the file currently open again."),
                             Prompts::Icon::Question, Prompts::Buttons::YesNo) == Prompts::Answer::Yes;
}

bool FileCommands::reloadChangedFile()
{
    if (m_doc.isUntitled())
        return false;
    // Asking for the reload was the answer; only work that it throws away
    // is worth a question.
    if (m_doc.isModified() && !confirmRevert())
        return false;
    if (!load(m_doc.location()))
        return false;
    m_doc.becomeReloaded();
    return true;
}
