#pragma once
#include "EditorParts.h"
#include "shell/ExternalChangeWatcher.h"
#include "shell/NoticeBar.h"
#include "shell/RecoveryKeeper.h"

// The watch on the document's file, with the notices it shows, built from
// the document's parts as the main window builds it.
struct WatchedDocument : EditorParts {
    NoticeBar notices;
    ExternalChangeWatcher watcher{doc, notices};

    WatchedDocument()
    {
        watcher.reload = [this] { files.reloadChangedFile(); };
    }
};

// The recovery copies of the document, with the notices that offer work
// left behind, built as the main window builds them: the work is offered
// at once.
struct KeptDocument : EditorParts {
    NoticeBar notices;
    RecoveryKeeper keeper{doc, files, settings, notices};

    KeptDocument()
    {
        QObject::connect(&doc, &Document::contentsChanged, &keeper, &RecoveryKeeper::textEdited);
        keeper.offerLeftovers();
    }
};
