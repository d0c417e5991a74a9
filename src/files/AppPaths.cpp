#include "files/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace AppPaths {
namespace {

QString& dataOverride()
{
    static QString dir;
    return dir;
}

QString& pluginOverride()
{
    static QString dir;
    return dir;
}

bool ownedHere(const QString& folder)
{
    struct stat st;
    return ::stat(QFile::encodeName(folder).constData(), &st) == 0 && st.st_uid == ::geteuid();
}

std::unique_ptr<QTemporaryDir>& temp()
{
    static std::unique_ptr<QTemporaryDir> dir;
    return dir;
}

}

QString dataDir()
{
    if (!dataOverride().isEmpty())
        return dataOverride();
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (QFileInfo(exeDir + QStringLiteral("/Files")).isDir() || QFileInfo::exists(exeDir + QStringLiteral("/Interface.html")))
        return exeDir;
    const QString installed = QDir::cleanPath(exeDir + QStringLiteral("/../share/quirkpad"));
    if (QFileInfo(installed).isDir())
        return installed;
    return QStringLiteral(QUIRKPAD_INSTALL_DATADIR);
}

void setDataDir(const QString& dir)
{
    dataOverride() = dir;
}

QString pluginDir()
{
    if (!pluginOverride().isEmpty())
        return pluginOverride();
    const QString exeDir = QCoreApplication::applicationDirPath();
    const QString installed = QDir::cleanPath(exeDir + QStringLiteral("/../lib/quirkpad"));
    if (QFileInfo(installed).isDir())
        return installed;
    return exeDir;
}

void setPluginDir(const QString& dir)
{
    pluginOverride() = dir;
}

Result<QString> tempDir()
{
    auto& dir = temp();
    if (dir && dir->isValid() && !ownedHere(dir->path())) {
        // Made before this process changed its user: that folder is not
        // private to the user now running, and is left to its owner.
        dir->setAutoRemove(false);
        dir.reset();
    }
    if (!dir || !dir->isValid() || !QFileInfo(dir->path()).isDir()) {
        // QTemporaryDir makes the folder with mode 0700.
        dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/quirkpad-XXXXXX"));
        if (!dir->isValid())
            return Failure(QStringLiteral("No temporary folder could be made in %1: %2")
                               .arg(QDir::tempPath(), dir->errorString()));
    }
    return dir->path();
}

void deleteTempFolder()
{
    auto& dir = temp();
    if (dir) {
        dir->remove();
        dir.reset();
    }
}

}
