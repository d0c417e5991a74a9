#pragma once
#include "ScriptedPrompts.h"
#include "services/SettingsStore.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

// The changed flag as the main window shows it in lblChanged: "Yes" or "No".
QString changedLabel(const frmMain& window);

// A main window with scripted prompts, a recording shell and settings that
// start empty, for tests that drive the editor as a user would.
struct MainWindowFixture {
    ScriptedPrompts prompts;
    RecordingShell shell;
    SettingsStore settings;
    std::unique_ptr<frmMain> window;
    QTemporaryDir dir;

    MainWindowFixture()
    {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quirkpad"), QStringLiteral("Quirkpad"))
            .clear();
    }

    frmMain& make(const QStringList& arguments = {QStringLiteral("quirkpad")})
    {
        window = std::make_unique<frmMain>(frmMain::Services{&prompts, &shell, &settings});
        window->startUp(arguments);
        return *window;
    }

    // Shows the window and waits until it is the active one, as the user sees it.
    frmMain& show();

    QString file(const QString& name, const QByteArray& bytes) const;

    // The open top-level windows of a kind (tool windows are owned, not children).
    template <typename Window>
    static QList<Window*> windows()
    {
        QList<Window*> found;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* w = qobject_cast<Window*>(top))
                found << w;
        return found;
    }
    static QByteArray read(const QString& path);
};
