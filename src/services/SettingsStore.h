#pragma once
#include <QString>

// The per-user settings that outlive a run: application "Quirkpad", section
// "Settings". Every value is text; a missing key reads as "". Nothing is ever
// deleted. Kept by QSettings in ~/.config/Quirkpad/Quirkpad.conf.
class SettingsStore {
public:
    static inline const QString PadFontName = QStringLiteral("PadFontName");
    static inline const QString PadFontSize = QStringLiteral("PadFontSize");
    static inline const QString LastDir = QStringLiteral("LastDir");

    virtual ~SettingsStore() = default;
    virtual QString get(const QString& key) const;
    virtual void store(const QString& key, const QString& value);
};
