#pragma once
#include "ScriptedPrompts.h"
#include "TestFiles.h"
#include "document/Document.h"
#include "editor/RichTextBox.h"
#include "services/SettingsStore.h"
#include "shell/FileCommands.h"

#include <QList>
#include <QPointer>
#include <utility>

// The document, a view of it and the file commands over them, with scripted
// prompts, a recording shell and settings that start empty: what a file command or a tool
// window works on, without the main window.
struct EditorParts : TestFiles {
    ScriptedPrompts prompts;
    RecordingShell shell;
    SettingsStore settings;
    Document doc;
    RichTextBox pad{&doc};
    FileCommands files{doc, pad, prompts, settings};

    // A tool window over these parts, shown, and deleted when closed, as the
    // main window shows its windows; one still open goes before the parts.
    template <typename Window, typename... Args>
    Window* open(Args&&... args)
    {
        auto* window = new Window(std::forward<Args>(args)..., nullptr);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        window->activateWindow();
        m_open.append(window);
        return window;
    }

    ~EditorParts()
    {
        for (const QPointer<QWidget>& w : std::as_const(m_open))
            delete w.data();
    }

private:
    QList<QPointer<QWidget>> m_open;
};
