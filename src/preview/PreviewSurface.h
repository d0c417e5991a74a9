#pragma once
#include "base/Result.h"

#include <QWidget>

class BrowserView;
class QLabel;

// Where a preview is shown: one browser filling the widget, and under it the
// never-seen label lblTempLocation that holds the path of the preview page
// currently shown (the only record of it; the live refresh reads it back).
// The preview window frmWebBrowser is one; the panel beside the text
// (PreviewPanel) is the other.
class PreviewSurface : public QWidget {
    Q_OBJECT
public:
    BrowserView* webBrowser() const { return m_browser; }

    QString tempLocation() const;
    void setTempLocation(const QString& path);

protected:
    PreviewSurface(QWidget* parent, Qt::WindowFlags flags);
    // Makes the browser; fails when the browser engine cannot be started.
    Result<> createBrowser();
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* m_lblTempLocation = nullptr;
    BrowserView* m_browser = nullptr;
};
