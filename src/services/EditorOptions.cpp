#include "services/EditorOptions.h"

#include <QSettings>

namespace EditorOptions {
namespace {

QSettings settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quirkpad"),
                     QStringLiteral("Quirkpad"));
}

}

bool isOn(const QString& option)
{
    // Anything but an explicit "false" keeps the option on: a hand-edited
    // or damaged value never switches a safety net such as recovery off.
    return settings().value(QStringLiteral("Editor/") + option).toString() != QLatin1String("false");
}

void set(const QString& option, bool on)
{
    QSettings s = settings();
    s.setValue(QStringLiteral("Editor/") + option, on ? QStringLiteral("true") : QStringLiteral("false"));
    s.sync();
}

}
