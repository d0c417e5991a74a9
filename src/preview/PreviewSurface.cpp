#include "preview/PreviewSurface.h"
#include "preview/BrowserEngine.h"
#include "preview/BrowserView.h"
#include "widgets/Controls.h"

#include <QLabel>

PreviewSurface::PreviewSurface(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags)
{
    m_lblTempLocation = Controls::label("lblTempLocation", QString(), this);
    m_lblTempLocation->move(0, 0);
}

Result<> PreviewSurface::createBrowser()
{
    const Result<BrowserView*> view = BrowserEngine::createView(this);
    if (!view)
        return Failure(view.error());
    m_browser = *view;
    // The browser covers the label, which is never seen.
    m_browser->widget()->setGeometry(rect());
    m_browser->widget()->raise();
    return {};
}

QString PreviewSurface::tempLocation() const
{
    return m_lblTempLocation->text();
}

void PreviewSurface::setTempLocation(const QString& path)
{
    m_lblTempLocation->setText(path);
    m_lblTempLocation->adjustSize();
}

void PreviewSurface::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The browser fills the surface, whatever its size.
    if (m_browser)
        m_browser->widget()->setGeometry(rect());
}
