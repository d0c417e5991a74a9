#include "shell/Startup.h"

#include <QFileInfo>

namespace Startup {

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
    return QFileInfo(path).isFile();
}

}
