#include "shell/Startup.h"
#include "files/NativePath.h"

#include <QDir>

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace Startup {

QStringList arguments(int argc, const char* const* argv)
{
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list << NativePath::fromNative(argv[i]);
    return list;
}

QString argumentText(const QStringList& arguments)
{
    return arguments.mid(1).join(QLatin1Char(' '));
}

QString pathFrom(const QString& text)
{
    QString path = text;
    path.remove(QLatin1Char('"'));
    return path;
}

bool fileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    struct stat st;
    return ::stat(NativePath::toNative(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

QString absolutePath(const QString& path)
{
    if (path.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(path);
    char cwd[PATH_MAX];
    if (!::getcwd(cwd, sizeof cwd))
        return QDir::cleanPath(path);
    return QDir::cleanPath(NativePath::fromNative(cwd) + QLatin1Char('/') + path);
}

}
