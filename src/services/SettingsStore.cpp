#include "services/SettingsStore.h"

#include <QSettings>

namespace {

// QSettings objects of one process share their data, so a fresh one per
// call is cheap and always sees the latest values.
QSettings settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quirkpad"),
                     QStringLiteral("Quirkpad"));
}

QString keyPath(const QString& key)
{
    return QStringLiteral("Settings/") + key;
}

}

QString SettingsStore::get(const QString& key) const
{
    return settings().value(keyPath(key), QString()).toString();
}

void SettingsStore::store(const QString& key, const QString& value)
{
    QSettings s = settings();
    s.setValue(keyPath(key), value);
    s.sync();
}
