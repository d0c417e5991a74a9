#pragma once
#include "preview/PreviewSurface.h"

// The preview window: a window of its own showing one browser (see
// PreviewSurface). Deleted when closed.
class frmWebBrowser : public PreviewSurface {
    Q_OBJECT
public:
    // The window with its browser, hidden; fails when the browser engine
    // cannot be started.
    static Result<frmWebBrowser*> create();

signals:
    // Raised once when the window closes, by its close box or by a command.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    frmWebBrowser();
    bool m_closed = false;
};
