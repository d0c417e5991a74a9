#include "services/Shell.h"

#include <QDesktopServices>
#include <QUrl>

void DesktopShell::openUrl(const QString& address)
{
    QDesktopServices::openUrl(QUrl(address));
}
