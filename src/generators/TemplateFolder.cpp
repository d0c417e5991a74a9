#include "generators/TemplateFolder.h"
#include "files/AppPaths.h"
#include "files/TextFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace TemplateFolder {

QString path()
{
    // cleanPath also folds doubled separators, as a data folder given with
    // a trailing slash would leave one.
    return QDir::cleanPath(AppPaths::dataDir() + QStringLiteral("/Examples"));
}

Result<QStringList> list(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.isDir())
        return Failure(QStringLiteral("Path not found: ") + folder);
    if (!info.isReadable() || !info.isExecutable())
        return Failure(QStringLiteral("Permission denied: ") + folder);
    QDir dir(folder);
    dir.setNameFilters(kPattern.split(QLatin1Char(';')));
    dir.setFilter(QDir::Files);   // the name filters ignore case unless told otherwise
    QStringList names = dir.entryList();
    // Case-blind order, and a fixed one for names that differ in case alone.
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int blind = a.compare(b, Qt::CaseInsensitive);
        return blind != 0 ? blind < 0 : a < b;
    });
    return names;
}

Result<QByteArray> read(const QString& path)
{
    return TextFile::readAll(path);
}

bool browserShowsDirectly(const QString& name)
{
    const QString suffix = QFileInfo(name).suffix().toLower();
    return suffix == QLatin1String("html") || suffix == QLatin1String("htm") || suffix == QLatin1String("xhtml")
        || suffix == QLatin1String("xml");
}

}
