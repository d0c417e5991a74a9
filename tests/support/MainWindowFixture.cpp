#include "MainWindowFixture.h"

#include "editor/RichTextBox.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QToolBar>

namespace {

template <typename Control>
Control* named(const QWidget& window, const QString& name)
{
    auto* control = window.findChild<Control*>(name);
    if (!control)
        qFatal("%s has no %s", qPrintable(window.objectName()), qPrintable(name));
    return control;
}

}

frmMain& MainWindowFixture::show()
{
    if (!window)
        make();
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("main window did not become active");
    return *window;
}

QString changedLabel(const frmMain& window)
{
    const auto* label = window.findChild<const QLabel*>(QStringLiteral("lblChanged"));
    return label ? label->text() : QStringLiteral("<no lblChanged>");
}

RichTextBox* padOf(const QWidget& window)
{
    return named<RichTextBox>(window, QStringLiteral("rtbPad"));
}

QAction* actionOf(const QWidget& window, Cmd command)
{
    return named<QAction>(window, QString(Commands::name(command)));
}

void run(const QWidget& window, Cmd command)
{
    actionOf(window, command)->trigger();
}

QToolBar* toolBarOf(const QWidget& window)
{
    return named<QToolBar>(window, QStringLiteral("toolBar"));
}

QMenu* contextMenuOf(const QWidget& window)
{
    return named<QMenu>(window, QStringLiteral("rcRightClick"));
}
