#include "platform/OwnedWindow.h"

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
