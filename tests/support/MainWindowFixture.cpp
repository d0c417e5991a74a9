#include "MainWindowFixture.h"

#include <QFile>
#include <QTest>

frmMain& MainWindowFixture::show()
{
    if (!window)
        make();
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("main window did not become active");
    return *window;
}

QString MainWindowFixture::file(const QString& name, const QByteArray& bytes) const
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

QByteArray MainWindowFixture::read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}
