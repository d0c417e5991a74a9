#pragma once
#include "base/Result.h"

#include <QWidget>

class BrowserView;
class QLabel;

// The preview window: one browser filling the window, and under it the
// never-seen label lblTempLocation that holds the path of the preview page
// currently shown (the only record of it; the live refresh reads it back).
// Deleted when closed.
class frmWebBrowser : public QWidget {
    Q_OBJECT
public:
    // The window with its browser, hidden; fails when the browser engine
    // cannot be started.
    static Result<frmWebBrowser*> create();

    BrowserView* webBrowser() const { return m_browser; }

    QString tempLocation() const;
    void setTempLocation(const QString& path);

signals:
    // Raised once when the window closes, by its close box or by a command.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    frmWebBrowser();
    QLabel* m_lblTempLocation = nullptr;
    BrowserView* m_browser = nullptr;
    bool m_closed = false;
};
