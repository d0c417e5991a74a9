#include "shell/TopMost.h"

#include <QWidget>

namespace {

void setStaysOnTop(QWidget* window, bool on)
{
    if (!window || window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    const bool visible = window->isVisible();
    const QRect geometry = window->geometry();
    // Changing a window flag re-creates the native window, which hides it.
    window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible) {
        window->setGeometry(geometry);
        window->show();
    }
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
