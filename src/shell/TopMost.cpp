#include "shell/TopMost.h"

#include <QWidget>
#include <QWindow>

namespace {

void setStaysOnTop(QWidget* window, bool on)
{
    if (!window || window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    const Qt::WindowFlags flags = window->windowFlags().setFlag(Qt::WindowStaysOnTopHint, on);
    // Tell the window system about the flag on the native window as it is.
    // QWidget::setWindowFlag would re-create that window: it would blink,
    // and every tool window it owns would keep pointing at the old one and
    // drop behind it.
    window->overrideWindowFlags(flags);
    if (QWindow* handle = window->windowHandle())
        handle->setFlags(flags);
}

}

void SetTopMost(QWidget* window)
{
    setStaysOnTop(window, true);
}

void SetNotTopMost(QWidget* window)
{
    setStaysOnTop(window, false);
}
