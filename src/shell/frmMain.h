#pragma once
#include "shell/CommandTable.h"
#include "document/Document.h"
#include "shell/FileCommands.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class QLabel;
class QMenu;
class QSplitter;
class QToolBar;
class FindSession;
class StatusBar;
class Prompts;
class RichTextBox;
class SettingsStore;
class Shell;
class PreviewController;
class PrinterService;
class NoticeBar;
class RecoveryKeeper;
class ExternalChangeWatcher;
class LineNumberMargin;
class MatchMarks;
class PageOutline;
class SyntaxColouring;
class CheckScheduler;
class ProblemMarks;
class TypingAids;
class ToolWindowTable;

// The main window: the one document in rtbPad, its state, the menus, the
// toolbar and the context menu, start-up from the command line, the editor
// font from the settings whenever the user comes to it from another of the
// editor's windows, and the closing sequence.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    struct Services {
        Prompts* prompts = nullptr;
        Shell* shell = nullptr;
        SettingsStore* settings = nullptr;
        // Where print jobs go; nullptr for the desktop's default printer.
        PrinterService* printers = nullptr;
    };

    explicit frmMain(const Services& services, QWidget* parent = nullptr);
    ~frmMain() override;

    // Opens the document named on the command line (arguments as main()
    // got them, the program's name first). Runs before the window is shown.
    void startUp(const QStringList& arguments);

    // What the tool windows are made from (see ToolWindowTable).
    RichTextBox* pad() const { return m_pad; }
    Document& document() { return m_doc; }
    FileCommands& files() { return m_files; }
    Prompts& prompts() { return *m_services.prompts; }
    SettingsStore& settings() { return *m_services.settings; }
    Shell& shell() { return *m_services.shell; }
    PrinterService& printers() { return *m_services.printers; }
    // The Find tab's search, kept for F3 and the marks of its occurrences.
    FindSession& findSession() { return *m_findSession; }

    // The window's own input (menus, toolbar, editor), switched off while a
    // tool window that acts as a dialog is open (see ToolWindowTable).
    void setInputEnabled(bool enabled);

    // Notices above the text (see NoticeBar): shown without taking the
    // keyboard from the text; a button click hides the notice and answers
    // with the button's index (-1: closed).
    void showNotice(const QString& id, const QString& text, const QStringList& buttons,
                    std::function<void(int button)> answer = {});
    void hideNotice(const QString& id);

    // Re-reads the editor font, and the editor's own options (syntax
    // colouring, line numbers, recovery copies), from the settings (on
    // activation).
    void applyFontSettings();

    // The notice that says why the document is shown without colouring.
    static inline const QString kColouringNotice = QStringLiteral("colouring");
    // The notice that says why a page's problems are not marked.
    static inline const QString kCheckingNotice = QStringLiteral("checking");

    // The window's minimum width: 7800 twips.
    static int minimumWidthPixels(const QWidget* w);

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    static bool isProgramWindow(const QWidget* w);
    void noteActiveWindow();
    void buildWindow();
    void wireCommands();
    // lblChanged shows the modified flag as the texts other code compares.
    static QString changedText(bool modified);
    void onPadKeyDown(int& keyCode, int shift);
    void toggleLock();
    void toggleAlwaysOnTop();
    void licenceAgreement();
    void buildColouring();
    void buildProblemMarks();
    void buildStatusBar();
    void applyEditorOptions();
    // The preview beside the text: the divider where the user last put it.
    void placePreviewPanel(QWidget* panel);
    void keepPreviewSplit();
    void repeatFind();

    Services m_services;
    Document m_doc;
    RichTextBox* m_pad = nullptr;
    FileCommands m_files;
    CommandTable* m_commands = nullptr;
    QToolBar* m_toolBar = nullptr;
    QMenu* m_contextMenu = nullptr;
    QLabel* m_lblLocation = nullptr;
    QLabel* m_lblChanged = nullptr;
    std::unique_ptr<ToolWindowTable> m_toolWindows;
    bool m_fontAppliedOnShow = false;
    PreviewController* m_preview = nullptr;
    std::unique_ptr<PrinterService> m_defaultPrinters;
    NoticeBar* m_notices = nullptr;
    RecoveryKeeper* m_recovery = nullptr;
    ExternalChangeWatcher* m_changeWatcher = nullptr;
    SyntaxColouring* m_colouring = nullptr;
    LineNumberMargin* m_lineNumbers = nullptr;
    CheckScheduler* m_checks = nullptr;
    ProblemMarks* m_problems = nullptr;
    StatusBar* m_statusBar = nullptr;
    FindSession* m_findSession = nullptr;
    // The text, and right of it the preview panel while a preview is there.
    QSplitter* m_split = nullptr;
    PageOutline* m_outline = nullptr;
    TypingAids* m_typingAids = nullptr;
    MatchMarks* m_matchMarks = nullptr;
    // Whether the editor's window active last (before any activation now
    // under way) was this one.
    bool m_activeBeforeWasThis = false;
};
