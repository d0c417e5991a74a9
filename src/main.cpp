#include "platform/AppPaths.h"
#include "platform/Fonts.h"
#include "platform/QtPrompts.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quirkpad"));
    QApplication::setOrganizationName(QStringLiteral("Quirkpad"));
    QApplication::setDesktopFileName(QStringLiteral("quirkpad"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("quirkpad"),
                                                 QIcon::fromTheme(QStringLiteral("accessories-text-editor"))));
    Fonts::installDefaultSubstitute();

    QtPrompts prompts;
    DesktopShell shell;
    SettingsStore settings;
    frmMain window({&prompts, &shell, &settings});
    prompts.setOwner(&window);
    window.startUp(QApplication::arguments());
    window.show();
    const int rc = app.exec();
    AppPaths::deleteTempFolder();
    return rc;
}
