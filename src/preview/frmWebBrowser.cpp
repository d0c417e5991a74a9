#include "preview/frmWebBrowser.h"
#include "preview/BrowserEngine.h"
#include "preview/BrowserView.h"
#include "widgets/Controls.h"

#include <QCloseEvent>
#include <QLabel>

namespace {

// The window's client area at design: 9015 by 6855 twips at 15 twips a pixel.
constexpr int kDesignWidth = 601;
constexpr int kDesignHeight = 457;

}

frmWebBrowser::frmWebBrowser() : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("frmWebBrowser"));
    setWindowTitle(QStringLiteral("Quirkpad - Web Browser"));
    setAttribute(Qt::WA_DeleteOnClose);
    // A preview left open does not keep the program running once the main
    // window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    m_lblTempLocation = Controls::label("lblTempLocation", QString(), this);
    m_lblTempLocation->move(0, 0);
    resize(kDesignWidth, kDesignHeight);
}

Result<frmWebBrowser*> frmWebBrowser::create()
{
    auto* window = new frmWebBrowser;
    const Result<BrowserView*> view = BrowserEngine::createView(window);
    if (!view) {
        delete window;
        return Failure(view.error());
    }
    window->m_browser = *view;
    // The browser covers the label, which is never seen.
    window->m_browser->widget()->setGeometry(window->rect());
    window->m_browser->widget()->raise();
    return window;
}

QString frmWebBrowser::tempLocation() const
{
    return m_lblTempLocation->text();
}

void frmWebBrowser::setTempLocation(const QString& path)
{
    m_lblTempLocation->setText(path);
    m_lblTempLocation->adjustSize();
}

void frmWebBrowser::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The browser fills the window, whatever its size.
    if (m_browser)
        m_browser->widget()->setGeometry(rect());
}

void frmWebBrowser::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (!m_closed) {
        m_closed = true;
        emit closed();
    }
}
