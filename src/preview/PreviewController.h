#pragma once
#include "base/Result.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class CaretFollower;
class BrowserView;
class QAction;
class QWidget;
class Prompts;
class PreviewPanel;
class PreviewSurface;
class RichTextBox;
class frmWebBrowser;

// The HTML preview: the document shown as a web page, as a snapshot
// (ViewHTML) or live (LiveHTML, the page rewritten and reloaded on every
// change of the text), in the one preview window frmWebBrowser.
//
// The two modes are the checked states of two checkable actions, each shared
// by its menu item and its toolbar button, so that check mark and pressed
// button always agree. At most one is checked, and the window exists while
// one is (or while it shows the interface page):
//   Off      --ViewHTML-->  Snapshot (new page)   --ViewHTML--> Off
//   Off      --LiveHTML-->  Live     (new page)   --LiveHTML--> Off
//   Snapshot --LiveHTML-->  Live, same window, next page number
//   Live     --ViewHTML-->  Snapshot, same window, next page number
//   any      --close box--> Off
// Pages are Temp1.html, Temp2.html, ... in AppPaths::tempDir(), each
// opening taking the smallest free number; they stay until the folder is
// removed at exit.
//
// Beside the text (an option, see setBesideText): a preview that opens
// while the option is on shows in a panel in the main window instead of the
// window, with the same modes and steps; the panel goes when both modes are
// off. Where a preview shows is chosen as it opens (from Off): a switch
// between the modes keeps it where it is. Help > Interface always has the
// window; a preview in the panel stays on beside it.
//
// Showing or refreshing a preview never takes the keyboard from the text:
// the window appears without becoming the active one, and the page in the
// panel may not take the focus.
class PreviewController : public QObject {
    Q_OBJECT
public:
    static const QString kPreviewCaption;     // "Quirkpad - PreviewHTML"
    static const QString kLiveCaption;        // "Quirkpad - LiveHTML"
    static const QString kInterfaceCaption;   // "Quirkpad - Interface"

    // viewHtml and liveHtml are made checkable; their checked state is set
    // here alone. prompts reports a browser engine that cannot start; by
    // default a message box over the main window.
    PreviewController(RichTextBox& pad, QAction* viewHtml, QAction* liveHtml, QWidget* mainWindow,
                      Prompts* prompts = nullptr);
    ~PreviewController() override;

    // The two commands. Each reads the state from its action's checked
    // state, which must be the state before the click (not toggled by Qt).
    void ViewHTML();
    void LiveHTML();

    // For the editor's change handler, after the document was marked
    // changed: with LiveHTML on, rewrites the page and reloads it; when the
    // page cannot be written or then does not exist (its folder is gone),
    // LiveHTML goes off and the window stays as it is.
    void liveRefresh();

    // Writes the document to the next free page, shows it in the preview
    // window (made if needed, without an owner) and sets the caption. Stops
    // at the first failure and returns it; a browser engine that cannot
    // start has been reported already (the commands tell no other failure).
    Result<> WritePreviewFile(const QString& caption);

    // Help > Interface: Interface.html from the data folder in the preview
    // window, owned by the main window, which stays usable; ViewHTML and
    // LiveHTML go off, as the window no longer shows the document. A missing page
    // gets the error box "Interface.html not found. Please reinstall
    // Quirkpad." and no window.
    void showInterface(Prompts& prompts);

    // The preview beside the text: `wanted` is asked as each preview opens;
    // when it answers true, the preview shows in a new panel that `place`
    // puts beside the text (the panel is its widget's to keep, and goes
    // when the preview ends). Without this, previews show in the window.
    void setBesideText(std::function<bool()> wanted, std::function<void(QWidget* panel)> place);

    // The folder of the document being previewed ("" while untitled): the
    // page's relative links to style sheets, pictures and other pages are
    // followed from there, although the page shown is a copy elsewhere.
    void setDocumentFolder(std::function<QString()> folder) { m_documentFolder = std::move(folder); }

    bool viewHtmlOn() const;
    bool liveHtmlOn() const;
    // The preview window, or nullptr when none is open.
    frmWebBrowser* window() const { return m_window; }
    // The panel beside the text, or nullptr when the preview is not there.
    PreviewPanel* panel() const;
    // The browser that shows the document now, in the window or the panel;
    // nullptr while neither ViewHTML nor LiveHTML is on (the window may
    // still show the interface page). Scripts that follow the text (the
    // caret's place in the page) run here.
    BrowserView* previewBrowser() const;

    // Outlines the caret's element in the preview of the document (an
    // Editor option switches it off).
    CaretFollower& caretFollower() const { return *m_follower; }

signals:
    // The preview window's page finished loading (ok false: it could not be
    // shown). After a burst of changes it comes once the page has caught up
    // with the last one.
    void pageLoaded(bool ok);

private:
    // The preview window, made if needed; a browser engine that cannot
    // start is told through the prompts.
    Result<frmWebBrowser*> ensureWindow(Prompts& prompts);
    // Where the document's page goes: the panel or the window, made if needed.
    Result<PreviewSurface*> ensureSurface(Prompts& prompts);
    // The panel or the window that shows the document's page (or last did).
    PreviewSurface* surface() const;
    void setModes(bool view, bool live);
    void previewNotWritten();
    void unloadPreview();
    void windowClosed();
    void showPage(PreviewSurface* surface, const QString& path);
    void showWindowQuietly(frmWebBrowser* window);
    Prompts& prompts();

    RichTextBox& m_pad;
    QAction* m_viewHtml;
    QAction* m_liveHtml;
    QPointer<QWidget> m_mainWindow;
    Prompts* m_prompts;
    Prompts* m_ownPrompts = nullptr;
    QPointer<frmWebBrowser> m_window;
    // The window shows the document's page (not the interface page).
    bool m_windowShowsPreview = false;
    QPointer<PreviewPanel> m_panel;
    std::function<bool()> m_besideWanted;
    std::function<void(QWidget*)> m_placePanel;
    std::function<QString()> m_documentFolder;
    CaretFollower* m_follower = nullptr;
};
