#include "MainWindowFixture.h"

#include <QFile>
#include <QLabel>
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

QString changedLabel(const frmMain& window)
{
    const auto* label = window.findChild<const QLabel*>(QStringLiteral("lblChanged"));
    return label ? label->text() : QStringLiteral("<no lblChanged>");
}
