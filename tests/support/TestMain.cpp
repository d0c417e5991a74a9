#include "TestRegistry.h"
#include "files/AppPaths.h"
#include "services/Fonts.h"

#include <QApplication>
#include <QDir>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <cstring>

// Every test run gets its own settings, data and temporary folders, so that
// nothing of the user's is read or touched.
int main(int argc, char** argv)
{
    QTemporaryDir sandbox;
    if (!sandbox.isValid())
        return 2;
    for (const char* sub : {"config", "cache", "data", "state", "tmp", "home"})
        QDir(sandbox.path()).mkpath(QLatin1String(sub));
    const QByteArray root = sandbox.path().toLocal8Bit();
    qputenv("XDG_CONFIG_HOME", root + "/config");
    qputenv("XDG_CACHE_HOME", root + "/cache");
    qputenv("XDG_DATA_HOME", root + "/data");
    qputenv("XDG_STATE_HOME", root + "/state");
    qputenv("TMPDIR", root + "/tmp");
    qputenv("HOME", root + "/home");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // Font fallback chatter from the offscreen platform says nothing about the code.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.qpa.fonts.warning=false"));
    QApplication app(argc, argv);
    Fonts::installDefaultSubstitute();
    AppPaths::setDataDir(QStringLiteral(QUIRKPAD_SOURCE_DATA_DIR));

    const int result = TestRegistry::runAll(argc, argv);
    AppPaths::deleteTempFolder();
    return result;
}
