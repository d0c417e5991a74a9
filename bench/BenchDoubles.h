#pragma once
#include "services/Prompts.h"
#include "services/SettingsStore.h"

#include <cstdio>

// Stand-ins for the desktop in benchmarks that drive the editor's commands:
// nothing waits for a user, and nothing is read from or kept in the user's
// settings.

// Answers what it is asked with OK, and says on stderr that it was asked
// (a benchmark whose commands ask anything is not measuring what it says).
class SilentPrompts : public Prompts {
public:
    Answer message(const QString& text, Icon, Buttons) override
    {
        std::fprintf(stderr, "asked: %s\n", qPrintable(text));
        return Answer::Ok;
    }
    QString input(const QString&) override { return {}; }
    std::optional<QString> openFile(const FileDialog&) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileDialog&) override { return std::nullopt; }
    std::optional<QColor> colour(const QColor&) override { return std::nullopt; }
};

class MemorySettings : public SettingsStore {
public:
    QString get(Setting) const override { return {}; }
    void store(Setting, const QString&) override {}
};
