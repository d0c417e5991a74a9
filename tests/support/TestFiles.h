#pragma once
#include <QByteArray>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

// A test's own folder for the files it works on, and settings that start
// empty.
struct TestFiles {
    QTemporaryDir dir;

    TestFiles()
    {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quirkpad"), QStringLiteral("Quirkpad"))
            .clear();
    }

    // A file of the folder with these bytes; its path.
    QString file(const QString& name, const QByteArray& bytes) const
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return path;
    }

    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
};
