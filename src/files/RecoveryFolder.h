#pragma once
#include "files/FileLock.h"
#include "base/Result.h"

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
//
// A file being overwritten in place has a journal here, <id>.journal (see
// SaveJournal), locked by the editor that writes it for as long as the save
// runs: one whose lock nobody holds belongs to a save that was cut short.
class RecoveryFolder {
public:
    static QString defaultPath();
    explicit RecoveryFolder(QString path = defaultPath());

    // A new, empty journal in the folder at path (made when missing), locked
    // by this editor and open for writing.
    static Result<FileLock> createJournal(const QString& path);

    // Makes the folder (and the folders above it that are missing, 0700),
    // takes this editor's id and lock. When that fails no copies can be
    // kept.
    Result<> open();
    bool isOpen() const { return m_own.isHeld(); }
    QString path() const { return m_path; }
    // Where this editor keeps its copy.
    QString ownCopy() const { return m_ownCopy; }

    struct Leftover {
        enum class Kind { Copy, Journal };
        QString copy;    // the recovery copy or the journal
        QDateTime written;
        FileLock lock;   // held by this editor from now on; a journal is its own lock
        Kind kind = Kind::Copy;
    };
    // The copies and journals of editors that no longer run, newest first,
    // each claimed by this editor. Locks of such editors that left no copy
    // are removed.
    std::vector<Leftover> claimLeftovers();

    // At a normal end: this editor's lock goes (its copy must be gone first).
    void close();

private:
    static QString newId();

    QString m_path;
    QString m_ownCopy;
    FileLock m_own;
};
