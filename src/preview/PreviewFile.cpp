#include "preview/PreviewFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace PreviewFile {

QString nextFreePath(const QString& dir)
{
    for (qint64 n = 1;; ++n) {
        const QString path = dir + QStringLiteral("/Temp") + QString::number(n) + QStringLiteral(".html");
        // A dangling link counts as taken too: writing through it would
        // land somewhere else.
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
            return path;
    }
}

Result<> write(const QString& path, QByteArrayView utf8)
{
    // A sibling name that the numbering never picks (it does not end in
    // ".html"), renamed over the page once complete. Unlike QSaveFile this
    // does not sync to disk: a preview page is thrown away at exit, and a
    // sync per keystroke would make typing in a large page stutter.
    const QString part = path + QStringLiteral(".part");
    QFile file(part);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return Failure(file.errorString());
    static const char bom[] = "\xEF\xBB\xBF";
    bool ok = file.write(bom, 3) == 3;
    if (ok && !utf8.isEmpty())
        ok = file.write(utf8.data(), utf8.size()) == utf8.size();
    if (ok)
        ok = file.flush();
    if (!ok) {
        const QString error = file.errorString();
        file.close();
        QFile::remove(part);
        return Failure(error);
    }
    file.close();
    if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(path).constData()) != 0) {
        const QString error = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(part);
        return Failure(error);
    }
    return {};
}

}
