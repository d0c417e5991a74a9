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

QString keyPath(Setting setting)
{
    const SettingsStore::Row& r = SettingsStore::row(setting);
    return QLatin1String(r.section) + QLatin1Char('/') + QLatin1String(r.key);
}

}

const QList<SettingsStore::Row>& SettingsStore::table()
{
    using K = Kind;
    static const QList<Row> rows{
        {Setting::PadFontName, "Settings", "PadFontName", K::Text, false, ""},
        {Setting::PadFontSize, "Settings", "PadFontSize", K::Text, false, ""},
        {Setting::LastDir, "Settings", "LastDir", K::Text, false, ""},
        {Setting::SyntaxColouring, "Editor", "SyntaxColouring", K::Switch, true, "Syntax colouring"},
        {Setting::LineNumbers, "Editor", "LineNumbers", K::Switch, true, "Line numbers"},
        {Setting::RecoveryCopies, "Editor", "RecoveryCopies", K::Switch, true, "Keep recovery copies of unsaved work"},
        {Setting::AutoIndent, "Editor", "AutoIndent", K::Switch, true, "Indent new lines like the line above"},
        {Setting::BlockIndent, "Editor", "BlockIndent", K::Switch, true, "Tab and Shift+Tab indent selected lines"},
        {Setting::CloseTags, "Editor", "CloseTags", K::Switch, true, "Close HTML and XML tags as you type"},
        {Setting::CheckPage, "Editor", "CheckPage", K::Switch, true, "Mark problems in HTML pages as you type"},
        {Setting::PreviewFollowsCaret, "Editor", "PreviewFollowsCaret", K::Switch, true,
         "Outline the caret's element in the preview"},
        // Off unless chosen: the preview's own window is what a user meets first.
        {Setting::PreviewBeside, "Editor", "PreviewBeside", K::Switch, false, "Show the preview beside the text"},
        {Setting::PreviewSplit, "Editor", "PreviewSplit", K::Text, false, ""},
    };
    return rows;
}

const SettingsStore::Row& SettingsStore::row(Setting setting)
{
    for (const Row& r : table())
        if (r.setting == setting)
            return r;
    Q_UNREACHABLE();
}

QString SettingsStore::get(Setting setting) const
{
    return settings().value(keyPath(setting), QString()).toString();
}

void SettingsStore::store(Setting setting, const QString& value)
{
    QSettings s = settings();
    s.setValue(keyPath(setting), value);
    s.sync();
}

bool SettingsStore::isOn(Setting setting) const
{
    const QString value = get(setting);
    if (value == QLatin1String("true"))
        return true;
    if (value == QLatin1String("false"))
        return false;
    return row(setting).onByDefault;
}

void SettingsStore::setOn(Setting setting, bool on)
{
    store(setting, on ? QStringLiteral("true") : QStringLiteral("false"));
}
