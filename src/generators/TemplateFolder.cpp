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

Listing list(const QString& folder)
{
    Listing l;
    const QFileInfo info(folder);
    if (!info.isDir()) {
        l.error = QStringLiteral("Path not found: ") + folder;
        return l;
    }
    if (!info.isReadable() || !info.isExecutable()) {
        l.error = QStringLiteral("Permission denied: ") + folder;
        return l;
    }
    QDir dir(folder);
    dir.setNameFilters(kPattern.split(QLatin1Char(';')));
    dir.setFilter(QDir::Files);   // the name filters ignore case unless told otherwise
    l.names = dir.entryList();
    // Case-blind order, and a fixed one for names that differ in case alone.
    std::sort(l.names.begin(), l.names.end(), [](const QString& a, const QString& b) {
        const int blind = a.compare(b, Qt::CaseInsensitive);
        return blind != 0 ? blind < 0 : a < b;
    });
    l.ok = true;
    return l;
}

Text read(const QString& path)
{
    Text t;
    const TextFile::ReadResult r = TextFile::readAll(path, &t.utf8);
    t.ok = r.ok;
    t.error = r.error;
    return t;
}

bool browserShowsDirectly(const QString& name)
{
    const QString suffix = QFileInfo(name).suffix().toLower();
    return suffix == QLatin1String("html") || suffix == QLatin1String("htm") || suffix == QLatin1String("xhtml")
        || suffix == QLatin1String("xml");
}

}
