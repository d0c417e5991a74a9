#pragma once
#include <QAbstractButton>
#include <QApplication>
#include <QRadioButton>
#include <QTest>

// The open tool window of the given name (owned windows are top-level).
inline QWidget* toolWindow(const QString& name)
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == name && top->isVisible())
            return top;
    return nullptr;
}

// The open top-level windows of a kind (tool windows are owned, not children).
template <typename Window>
QList<Window*> openWindows()
{
    QList<Window*> found;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* w = qobject_cast<Window*>(top))
            found << w;
    return found;
}

// A control of a window by its name; a missing one fails the test at once.
template <typename Control = QWidget>
Control* control(QWidget* window, const QString& name)
{
    auto* c = window ? window->findChild<Control*>(name) : nullptr;
    if (!c)
        QTest::qFail(qPrintable(QStringLiteral("no control %1").arg(name)), __FILE__, __LINE__);
    return c;
}

// A button clicked where the user clicks it: an option button takes clicks
// on its circle and caption only, not on the rest of its row. A button the
// user cannot see (on a page not shown) cannot be clicked.
inline void click(QWidget* window, const QString& name)
{
    auto* button = control<QAbstractButton>(window, name);
    if (!button)
        return;
    if (!button->isVisibleTo(window)) {
        QTest::qFail(qPrintable(QStringLiteral("%1 is not shown").arg(name)), __FILE__, __LINE__);
        return;
    }
    const QPoint at = qobject_cast<QRadioButton*>(button) ? QPoint(6, button->height() / 2) : button->rect().center();
    QTest::mouseClick(button, Qt::LeftButton, {}, at);
}
