#pragma once
#include "services/Prompts.h"
#include "services/Shell.h"

#include <QList>
#include <QStringList>
#include <variant>

// A Prompts that answers from a queue, in order, and records what was asked.
// A prompt nobody scripted, or one of another kind than scripted, fails the
// running test.
class ScriptedPrompts : public Prompts {
public:
    enum class Kind { Message, Input, OpenFile, SaveFile, Colour };
    struct Call {
        Kind kind;
        QString text;                 // message text or input prompt
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        FileDialog dialog;            // file dialogs
    };

    ScriptedPrompts& answer(Answer a);
    ScriptedPrompts& answerInput(const QString& text);
    ScriptedPrompts& answerOpen(std::optional<QString> path);
    ScriptedPrompts& answerSave(std::optional<QString> path);
    ScriptedPrompts& answerColour(std::optional<QColor> colour);

    Answer message(const QString& text, Icon icon, Buttons buttons) override;
    QString input(const QString& prompt) override;
    std::optional<QString> openFile(const FileDialog& dialog) override;
    std::optional<QString> saveFile(const FileDialog& dialog) override;
    std::optional<QColor> colour(const QColor& initial) override;

    QList<Call> calls;
    int pending() const { return int(m_queue.size()); }
    // The texts of the message boxes shown, in order.
    QStringList messages() const;
    void clear() { calls.clear(); m_queue.clear(); }

private:
    using Reply = std::variant<Answer, QString, std::optional<QString>, std::optional<QColor>>;
    struct Scripted {
        Kind kind;
        Reply reply;
    };
    bool take(Kind kind, const QString& what, Reply* reply);
    QList<Scripted> m_queue;
};

// Records the addresses handed to the desktop instead of opening them.
class RecordingShell : public Shell {
public:
    void openUrl(const QString& address) override { opened << address; }
    QStringList opened;
};
