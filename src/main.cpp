#include "files/AppPaths.h"
#include "services/Fonts.h"
#include "services/QtPrompts.h"
#include "services/SettingsStore.h"
#include "services/Shell.h"
#include "shell/Startup.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    // Every argument names the document: Qt's own options (-style, -reverse,
    // -geometry ...) would be taken out of the list before the editor saw
    // them, so Qt gets none; its environment variables still apply.
    const QStringList arguments = Startup::arguments(argc, argv);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
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
    window.startUp(arguments);
    window.show();
    const int rc = app.exec();
    AppPaths::deleteTempFolder();
    return rc;
}
