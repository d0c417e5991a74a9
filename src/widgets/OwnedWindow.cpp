#include "widgets/OwnedWindow.h"

#include <QPointer>
#include <QVariant>
#include <QWidget>
#include <QWindow>

namespace OwnedWindow {
namespace {

constexpr char kOwnerProperty[] = "quirkpadOwner";

}

void setOwner(QWidget* window, QWidget* owner)
{
    if (!window)
        return;
    QWidget* top = owner ? owner->window() : nullptr;
    window->setProperty(kOwnerProperty, QVariant::fromValue(QPointer<QObject>(top)));
    // X11 window managers keep a window above its owner only when it is a
    // dialog: Qt writes WM_TRANSIENT_FOR for dialog-like kinds alone, and a
    // plain window with an owner falls behind it at the first click there.
    // A shown window keeps its kind, as changing it would hide it.
    if (!window->isVisible()) {
        const Qt::WindowType kind = window->windowType();
        if (top && kind == Qt::Window)
            window->setWindowFlags((window->windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
        else if (!top && kind == Qt::Dialog)
            window->setWindowFlags((window->windowFlags() & ~Qt::WindowType_Mask) | Qt::Window);
    }
    // The native windows must exist for the window system to know the tie.
    window->winId();
    QWindow* ownerHandle = nullptr;
    if (top) {
        top->winId();
        ownerHandle = top->windowHandle();
    }
    if (QWindow* handle = window->windowHandle())
        handle->setTransientParent(ownerHandle);
}

QWidget* owner(const QWidget* window)
{
    if (!window)
        return nullptr;
    const auto p = window->property(kOwnerProperty).value<QPointer<QObject>>();
    return qobject_cast<QWidget*>(p.data());
}

}
