#pragma once
#include <QList>
#include <QString>

// Every setting that outlives a run, declared once: its section, key,
// default and kind. The section "Settings" holds exactly the three keys the
// editor always had; the editor's own options live in "Editor".
enum class Setting {
    // "Settings": text, as typed or chosen; a missing key reads as "".
    PadFontName,
    PadFontSize,
    LastDir,
    // "Editor": switches, stored as "true" or "false".
    SyntaxColouring,
    LineNumbers,
    RecoveryCopies,
    AutoIndent,
    BlockIndent,
    CloseTags,
    CheckPage,
    PreviewFollowsCaret,
    PreviewBeside,
    // "Editor": text the editor keeps for itself, with no control of its own.
    // The text's share of the width beside the preview panel, from 0 to 1
    // ("0.5"); anything else reads as the default, half.
    PreviewSplit,
};

// The per-user store of the settings, kept by QSettings in
// ~/.config/Quirkpad/Quirkpad.conf (INI). Every value is text; nothing is
// ever deleted. One store is made at start and handed to whoever needs it.
class SettingsStore {
public:
    enum class Kind { Text, Switch };
    struct Row {
        Setting setting;
        const char* section;
        const char* key;
        Kind kind;
        // A switch's state when the stored value is neither "true" nor
        // "false" (missing, hand-edited or damaged: a safety net such as
        // recovery is never switched off by a damaged value).
        bool onByDefault;
        // A switch's check box in the Settings window's Editor group.
        const char* caption;
    };
    static const QList<Row>& table();
    static const Row& row(Setting setting);

    virtual ~SettingsStore() = default;
    virtual QString get(Setting setting) const;
    virtual void store(Setting setting, const QString& value);

    bool isOn(Setting setting) const;
    void setOn(Setting setting, bool on);
};
