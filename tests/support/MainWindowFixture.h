#pragma once
#include "ScriptedPrompts.h"
#include "TestFiles.h"
#include "ToolWindows.h"
#include "services/SettingsStore.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <memory>

class QAction;
class QMenu;
class QToolBar;

// The changed flag as the main window shows it in lblChanged: "Yes" or "No".
QString changedLabel(const frmMain& window);

// The main window's parts as other code finds them: controls by their names,
// the objects it keeps by their kind. A part that is missing ends the run.
RichTextBox* padOf(const QWidget& window);              // rtbPad
QAction* actionOf(const QWidget& window, Cmd command);  // named after its command
void run(const QWidget& window, Cmd command);           // as its menu item does
QToolBar* toolBarOf(const QWidget& window);             // toolBar
QMenu* contextMenuOf(const QWidget& window);            // rcRightClick
template <typename Part>
Part& partOf(const QObject& window)
{
    Part* part = window.findChild<Part*>();
    if (!part)
        qFatal("%s has no %s", qPrintable(window.objectName()), Part::staticMetaObject.className());
    return *part;
}

// A main window with scripted prompts, a recording shell and settings that
// start empty, for tests that drive the editor as a user would.
struct MainWindowFixture : TestFiles {
    ScriptedPrompts prompts;
    RecordingShell shell;
    SettingsStore settings;
    std::unique_ptr<frmMain> window;

    frmMain& make(const QStringList& arguments = {QStringLiteral("quirkpad")})
    {
        window = std::make_unique<frmMain>(frmMain::Services{&prompts, &shell, &settings});
        window->startUp(arguments);
        return *window;
    }

    // Shows the window and waits until it is the active one, as the user sees it.
    frmMain& show();
};
