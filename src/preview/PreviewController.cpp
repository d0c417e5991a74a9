#include "preview/PreviewController.h"
#include "files/AppPaths.h"
#include "widgets/OwnedWindow.h"
#include "services/Prompts.h"
#include "services/QtPrompts.h"
#include "editor/RichTextBox.h"
#include "preview/BrowserView.h"
#include "preview/CaretFollower.h"
#include "preview/PreviewFile.h"
#include "preview/PreviewPanel.h"
#include "preview/frmWebBrowser.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QTimer>

namespace {

// Gives the keyboard back to the window that had it when a window shown
// without activation is activated all the same (by a window system that
// does not honour the request) right after it appeared; the user's own
// later activation of it is left alone.
class KeyboardKeeper : public QObject {
public:
    static constexpr int kSettleMs = 2000;

    KeyboardKeeper(QWidget* shown, QWidget* keeper) : QObject(shown), m_keeper(keeper)
    {
        shown->installEventFilter(this);
        QTimer::singleShot(kSettleMs, this, &QObject::deleteLater);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::WindowActivate) {
            if (m_keeper && m_keeper->isEnabled())
                m_keeper->activateWindow();
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    QPointer<QWidget> m_keeper;
};

}

const QString PreviewController::kPreviewCaption = QStringLiteral("Quirkpad - PreviewHTML");
const QString PreviewController::kLiveCaption = QStringLiteral("Quirkpad - LiveHTML");
const QString PreviewController::kInterfaceCaption = QStringLiteral("Quirkpad - Interface");

PreviewController::PreviewController(RichTextBox& pad, QAction* viewHtml, QAction* liveHtml, QWidget* mainWindow,
                                     Prompts* prompts)
    : QObject(mainWindow),
      m_pad(pad),
      m_viewHtml(viewHtml ? viewHtml : new QAction(this)),
      m_liveHtml(liveHtml ? liveHtml : new QAction(this)),
      m_mainWindow(mainWindow),
      m_prompts(prompts)
{
    m_viewHtml->setCheckable(true);
    m_liveHtml->setCheckable(true);
    setModes(false, false);
    m_follower = new CaretFollower(pad, this);
}

PreviewController::~PreviewController()
{
    if (m_window) {
        m_window->disconnect(this);
        delete m_window.data();
    }
    delete m_panel.data();
    delete m_ownPrompts;
}

void PreviewController::setBesideText(std::function<bool()> wanted, std::function<void(QWidget*)> place)
{
    m_besideWanted = std::move(wanted);
    m_placePanel = std::move(place);
}

PreviewPanel* PreviewController::panel() const
{
    return m_panel;
}

PreviewSurface* PreviewController::surface() const
{
    if (m_panel)
        return m_panel;
    return m_window;
}

BrowserView* PreviewController::previewBrowser() const
{
    PreviewSurface* shown = surface();
    if (!shown || (!viewHtmlOn() && !liveHtmlOn()) || (shown == m_window && !m_windowShowsPreview))
        return nullptr;
    return shown->webBrowser();
}

Prompts& PreviewController::prompts()
{
    if (m_prompts)
        return *m_prompts;
    if (!m_ownPrompts)
        m_ownPrompts = new QtPrompts(m_mainWindow);
    return *m_ownPrompts;
}

bool PreviewController::viewHtmlOn() const
{
    return m_viewHtml->isChecked();
}

bool PreviewController::liveHtmlOn() const
{
    return m_liveHtml->isChecked();
}

void PreviewController::setModes(bool view, bool live)
{
    m_viewHtml->setChecked(view);
    m_liveHtml->setChecked(live);
}

void PreviewController::ViewHTML()
{
    if (!viewHtmlOn()) {
        setModes(true, false);
        if (!WritePreviewFile(kPreviewCaption))
            previewNotWritten();
    } else {
        setModes(false, false);
        unloadPreview();
    }
}

void PreviewController::LiveHTML()
{
    if (!liveHtmlOn()) {
        setModes(false, true);
        if (!WritePreviewFile(kLiveCaption))
            previewNotWritten();
    } else {
        setModes(false, false);
        unloadPreview();
    }
}

void PreviewController::previewNotWritten()
{
    // No new page to show: no mode stays checked that shows nothing, and a
    // window or panel made for the page and never shown goes again. One
    // already on screen keeps what it showed, as after a live preview ends.
    setModes(false, false);
    if (m_panel && m_panel->isHidden())
        delete m_panel.data();
    else if (m_window && !m_window->isVisible())
        m_window->close();
}

Result<frmWebBrowser*> PreviewController::ensureWindow(Prompts& prompts)
{
    if (m_window)
        return m_window.data();
    const Result<frmWebBrowser*> made = frmWebBrowser::create();
    if (!made) {
        // Without an engine there is nothing to preview: say why, and leave
        // no mode switched on that has no window to show it.
        setModes(false, false);
        prompts.error(made.error());
        return made;
    }
    frmWebBrowser* window = *made;
    m_window = window;
    connect(window, &frmWebBrowser::closed, this, &PreviewController::windowClosed);
    window->webBrowser()->setLoadFinished([this](bool ok) { emit pageLoaded(ok); });
    return window;
}

Result<PreviewSurface*> PreviewController::ensureSurface(Prompts& prompts)
{
    if (m_panel)
        return static_cast<PreviewSurface*>(m_panel.data());
    // A preview opening now (the window shows none) goes beside the text
    // when that is wanted; a switch between the modes stays where it is.
    const bool opening = !(m_window && m_windowShowsPreview);
    if (!opening || !m_besideWanted || !m_placePanel || !m_besideWanted()) {
        const Result<frmWebBrowser*> window = ensureWindow(prompts);
        if (!window)
            return Failure(window.error());
        return static_cast<PreviewSurface*>(*window);
    }
    const Result<PreviewPanel*> made = PreviewPanel::create(&m_pad);
    if (!made) {
        setModes(false, false);
        prompts.error(made.error());
        return Failure(made.error());
    }
    m_panel = *made;
    m_panel->webBrowser()->setLoadFinished([this](bool ok) { emit pageLoaded(ok); });
    m_placePanel(m_panel);
    return static_cast<PreviewSurface*>(m_panel.data());
}

Result<> PreviewController::WritePreviewFile(const QString& caption)
{
    const Result<QString> dir = AppPaths::tempDir();
    if (!dir)
        return Failure(dir.error());
    const QString path = PreviewFile::nextFreePath(*dir);
    const Result<PreviewSurface*> made = ensureSurface(prompts());
    if (!made)
        return Failure(made.error());
    PreviewSurface* shown = *made;
    shown->setTempLocation(path);
    if (const Result<> written = PreviewFile::write(path, m_pad.document().utf8()); !written)
        return written;
    showPage(shown, path);
    shown->setWindowTitle(caption);
    if (shown == m_panel) {
        m_panel->show();
        return {};
    }
    frmWebBrowser* window = m_window;
    m_windowShowsPreview = true;
    // A preview is a window of its own, also when the window was opened by
    // Help > Interface and is still tied to the main window: the tie and the
    // window's kind change only while it is hidden.
    if (OwnedWindow::owner(window)) {
        window->hide();
        OwnedWindow::setOwner(window, nullptr);
    }
    if (!window->isVisible())
        showWindowQuietly(window);
    return {};
}

void PreviewController::showWindowQuietly(frmWebBrowser* window)
{
    // Beside the main window, where the user goes on typing.
    QWidget* active = QApplication::activeWindow();
    window->setAttribute(Qt::WA_ShowWithoutActivating, true);
    window->show();
    if (active && active != window)
        new KeyboardKeeper(window, active);
}

void PreviewController::showPage(PreviewSurface* surface, const QString& path)
{
    BrowserView* view = surface->webBrowser();
    view->setResourceFolder(m_documentFolder ? m_documentFolder() : QString());
    // Caret following: before the load, so that the page starts outlined.
    m_follower->follow(view);
    view->navigate(path);
}

void PreviewController::liveRefresh()
{
    if (!liveHtmlOn())
        return;
    PreviewSurface* shown = surface();
    const QString held = shown ? shown->tempLocation() : QString();
    const bool written = !held.isEmpty() && PreviewFile::write(held, m_pad.document().utf8()).ok();
    if (written)
        showPage(shown, held);
    // A page that can no longer be written would show an old state of the
    // text while LiveHTML claims to follow it.
    if (!written || !QFileInfo::exists(held))
        m_liveHtml->setChecked(false);
}

void PreviewController::showInterface(Prompts& prompts)
{
    const QString path = AppPaths::dataDir() + QStringLiteral("/Interface.html");
    if (!QFileInfo(path).isFile()) {
        prompts.message(QStringLiteral("Interface.html not found. Please reinstall Quirkpad."),
                        Prompts::Icon::Error, Prompts::Buttons::Ok);
        return;
    }
    const Result<frmWebBrowser*> made = ensureWindow(prompts);
    if (!made)
        return;
    frmWebBrowser* window = *made;
    // The window no longer shows the document: typing must not bring the
    // preview back over the help page, and the modes say so (a preview
    // beside the text goes on there).
    if (!m_panel)
        setModes(false, false);
    m_windowShowsPreview = false;
    window->setAttribute(Qt::WA_ShowWithoutActivating, false);
    // Caret following: the help page is not the document.
    m_follower->release(window->webBrowser());
    window->setWindowTitle(kInterfaceCaption);
    window->webBrowser()->setResourceFolder(QString());
    window->webBrowser()->navigate(path);
    if (OwnedWindow::owner(window) != (m_mainWindow ? m_mainWindow->window() : nullptr)) {
        // A preview on screen is a window of its own; it takes its owner's
        // tie (and the kind that keeps it above) only while hidden.
        window->hide();
        OwnedWindow::setOwner(window, m_mainWindow);
    }
    window->show();
    window->raise();
}

void PreviewController::unloadPreview()
{
    if (m_panel) {
        // The keyboard stays in the text, also when it was in the page.
        const bool hadFocus = m_panel->isAncestorOf(QApplication::focusWidget());
        delete m_panel.data();
        if (hadFocus)
            m_pad.setFocus(Qt::OtherFocusReason);
    } else if (m_window) {
        m_window->close();
    }
}

void PreviewController::windowClosed()
{
    // Caret following: the window goes.
    if (m_window)
        m_follower->release(m_window->webBrowser());
    m_window = nullptr;
    m_windowShowsPreview = false;
    if (!m_panel)
        setModes(false, false);
}
