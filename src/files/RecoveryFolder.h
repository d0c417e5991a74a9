#pragma once
#include "files/FileLock.h"

#include <QDateTime>
#include <QString>
#include <vector>

// The folder where unsaved work is kept: $XDG_STATE_HOME/Quirkpad/recovery
// (~/.local/state when the variable is unset), 0700, files in it 0600.
//
// Each running editor has an id of its own and holds the lock <id>.lock for
// its whole life; its copy is <id>.recovery. A copy whose lock nobody holds
// was left by an editor that no longer runs. Taking that lock is how one
// editor claims the copy, so that two editors never offer, open or remove
// the same copy, and never touch a copy of an editor that still runs.
class RecoveryFolder {
public:
    static QString defaultPath();
    explicit RecoveryFolder(QString path = defaultPath());

    // Makes the folder (and the folders above it that are missing, 0700),
    // takes this editor's id and lock. False, with the reason, when that
    // fails: no copies can be kept then.
    bool open(QString* error);
    bool isOpen() const { return m_own.isHeld(); }
    QString path() const { return m_path; }
    // Where this editor keeps its copy.
    QString ownCopy() const { return m_ownCopy; }

    struct Leftover {
        QString copy;
        QDateTime written;
        FileLock lock;   // held by this editor from now on
    };
    // The copies of editors that no longer run, newest first, each claimed by
    // this editor. Locks of such editors that left no copy are removed.
    std::vector<Leftover> claimLeftovers();

    // At a normal end: this editor's lock goes (its copy must be gone first).
    void close();

private:
    QString m_path;
    QString m_ownCopy;
    FileLock m_own;
};
