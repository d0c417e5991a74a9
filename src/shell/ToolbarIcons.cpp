#include "shell/ToolbarIcons.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPalette>
#include <QApplication>
#include <QPixmap>

namespace ToolbarIcons {

QIcon drawn(const QString& key)
{
    QIcon result;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        const QPalette pal = QApplication::palette();
        p.setPen(QPen(pal.color(QPalette::Mid), size / 16.0));
        p.setBrush(pal.color(QPalette::Base));
        p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 6.0, size / 6.0);
        QFont f = QApplication::font();
        f.setBold(true);
        f.setPixelSize(size * 9 / 20);
        p.setFont(f);
        p.setPen(pal.color(QPalette::Text));
        p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, key.left(2));
        p.end();
        result.addPixmap(pm);
    }
    return result;
}

namespace {

// Without a desktop session Qt may know no icon folders at all; look where
// the freedesktop rules say themes live.
void ensureThemeSearchPaths()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    QStringList paths = QIcon::themeSearchPaths();
    QStringList dataDirs = qEnvironmentVariable("XDG_DATA_DIRS").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (dataDirs.isEmpty())
        dataDirs << QStringLiteral("/usr/local/share") << QStringLiteral("/usr/share");
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty())
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    dataDirs.prepend(dataHome);
    for (const QString& dir : dataDirs) {
        const QString icons = dir + QStringLiteral("/icons");
        if (!paths.contains(icons) && QFileInfo(icons).isDir())
            paths << icons;
    }
    QIcon::setThemeSearchPaths(paths);
    if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == QLatin1String("hicolor"))
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
}

}

QIcon icon(const QString& names, const QString& key)
{
    ensureThemeSearchPaths();
    for (const QString& name : names.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QIcon themed = QIcon::fromTheme(name);
        if (!themed.isNull() && !themed.availableSizes().isEmpty())
            return themed;
        if (!themed.isNull() && !themed.pixmap(24, 24).isNull())
            return themed;
    }
    return drawn(key);
}

}
