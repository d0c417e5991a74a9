#include "preview/frmWebBrowser.h"

#include <QCloseEvent>

namespace {

// The window's client area at design: 9015 by 6855 twips at 15 twips a pixel.
constexpr int kDesignWidth = 601;
constexpr int kDesignHeight = 457;

}

frmWebBrowser::frmWebBrowser() : PreviewSurface(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("frmWebBrowser"));
    setWindowTitle(QStringLiteral("Quirkpad - Web Browser"));
    setAttribute(Qt::WA_DeleteOnClose);
    // A preview left open does not keep the program running once the main
    // window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(kDesignWidth, kDesignHeight);
}

Result<frmWebBrowser*> frmWebBrowser::create()
{
    auto* window = new frmWebBrowser;
    if (const Result<> made = window->createBrowser(); !made) {
        delete window;
        return Failure(made.error());
    }
    return window;
}

void frmWebBrowser::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (!m_closed) {
        m_closed = true;
        emit closed();
    }
}
