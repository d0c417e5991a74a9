#pragma once
#include <QString>
#include <QWidget>


class BrowserView;
class Prompts;
class QGroupBox;
class QLabel;
class QListWidget;
class DocumentService;
class Shell;

// Ready-made pages from the Examples folder: the list of templates, a
// preview of the one selected, and two ways into the editor: Insert puts
// its text in at the caret; a double-click opens it as a new, untitled
// document. The browser is made when the first template is shown.
class frmWebPageTemplates : public QWidget {
    Q_OBJECT
public:
    frmWebPageTemplates(DocumentService& document, Prompts& prompts, Shell& shell, QWidget* owner);

    // The folder listed (the file list's path).
    QString folder() const { return m_folder; }
    // The preview's browser; nullptr until a template was shown, or when
    // the browser engine cannot start.
    BrowserView* webBrowser() const { return m_browser; }
    // The size it opens at (the main window sizes its tool windows so).
    QSize sizeHint() const override;

signals:
    // The preview finished loading a template (ok false: not shown).
    void previewLoaded(bool ok);

private:
    void load();
    void preview();
    bool ensureBrowser();
    // The full path of the selected template; "" when none is selected.
    QString selectedPath() const;
    void insertTemplate();
    void openAsDocument();
    void showHelp();

    DocumentService& m_document;
    Prompts& m_prompts;
    Shell& m_shell;
    QString m_folder;
    QListWidget* m_list = nullptr;
    QGroupBox* m_frame = nullptr;
    QLabel* m_noPreview = nullptr;
    BrowserView* m_browser = nullptr;
    bool m_browserFailed = false;
};
