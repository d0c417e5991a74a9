#pragma once
#include "ScriptedPrompts.h"
#include "TestFiles.h"
#include "document/Document.h"
#include "editor/RichTextBox.h"
#include "services/SettingsStore.h"
#include "shell/FileCommands.h"

// The document, a view of it and the file commands over them, with scripted
// prompts and settings that start empty: what a file command or a tool
// window works on, without the main window.
struct EditorParts : TestFiles {
    ScriptedPrompts prompts;
    SettingsStore settings;
    Document doc;
    RichTextBox pad{&doc};
    FileCommands files{doc, pad, prompts, settings};
};
