#pragma once
#include "MainWindowFixture.h"

#include <QApplication>
#include <QTest>

// The open tool window of the given name (owned windows are top-level).
inline QWidget* toolWindow(const QString& name)
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == name && top->isVisible())
            return top;
    return nullptr;
}

inline QWidget* openTool(frmMain& main, Cmd command, const char* name)
{
    main.commands().action(command)->trigger();
    return toolWindow(QLatin1String(name));
}

// A control of a window by its name; a missing one fails the test at once.
template <typename Control = QWidget>
Control* control(QWidget* window, const char* name)
{
    auto* c = window ? window->findChild<Control*>(QLatin1String(name)) : nullptr;
    if (!c)
        QTest::qFail(qPrintable(QStringLiteral("no control %1").arg(QLatin1String(name))), __FILE__, __LINE__);
    return c;
}
