#pragma once
#include <QDir>
#include <QTemporaryDir>

// A recovery folder of a test's own: the editors the test makes, in this
// process or started as programs, keep their copies there, and saves in
// place their journals.
struct RecoverySandbox {
    QTemporaryDir dir;
    QByteArray before = qgetenv("XDG_STATE_HOME");

    RecoverySandbox() { qputenv("XDG_STATE_HOME", dir.path().toLocal8Bit()); }
    ~RecoverySandbox() { qputenv("XDG_STATE_HOME", before); }

    QString folder() const { return dir.path() + QStringLiteral("/Quirkpad/recovery"); }
    QStringList files(const QString& pattern) const
    {
        return QDir(folder()).entryList({pattern}, QDir::Files, QDir::Name);
    }
    QStringList copies() const { return files(QStringLiteral("*.recovery")); }
    QStringList locks() const { return files(QStringLiteral("*.lock")); }
    QStringList journals() const { return files(QStringLiteral("*.journal")); }
};
