#pragma once
#include "files/FileLock.h"
#include "base/Result.h"
#include "files/SafeWrite.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

// The journal of a file being overwritten in place: the file's bytes as they
// were and the bytes that replace them, kept in the recovery folder (see
// RecoveryFolder) until the write is complete, so that a save cut short by a
// crash, a kill or a power cut can be undone, or its text recovered, at the
// next start. It reads:
//
//   Quirkpad interrupted save 1
//   path: <the file, escaped as in recovery copies>
//   state: copying                      ("writing" once the journal is whole
//   original-length: <20 digits>         and on disk: only then is the file
//   new-length: <20 digits>              touched)
//   <an empty line, the old bytes, the new bytes>
namespace SaveJournal {

// Written by the save that overwrites the file, locked while it runs.
class Writer {
public:
    // Copies the file (read through fileFd) and the new content into a new
    // journal in the folder, and puts the journal on disk.
    static Result<Writer> begin(const QString& folder, const QByteArray& target, int fileFd,
                                const SafeWrite::Content& content);

    // Writes the new bytes, or the old ones, over the file from its start,
    // cuts it to their length and puts it on disk; the system's description
    // of a failure. afterFirstPiece runs once part of the file has been
    // written.
    Result<> writeNew(int fileFd, const std::function<void()>& afterFirstPiece = {}) const;
    Result<> writeOriginal(int fileFd) const;

    // The write is done: the journal goes.
    void finish();
    // The journal stays, locked until this process ends, for the next start
    // to offer; its path.
    QString keep();

private:
    Writer(FileLock lock, qint64 originalLength, qint64 newLength, qint64 dataStart);
    FileLock m_lock;
    qint64 m_originalLength;
    qint64 m_newLength;
    qint64 m_dataStart;
};

// A journal left behind.
struct Layout {
    QString path;             // the file that was being written
    bool fileTouched = false;  // false: the file was never written to
    qint64 originalStart = 0;
    qint64 originalLength = 0;
    qint64 newStart = 0;
    qint64 newLength = 0;
};
// Nothing when the journal is not whole (its save was cut short before the
// file was touched, or it is no journal).
std::optional<Layout> inspect(const QString& journal);

// True when the file holds exactly the new bytes: the save was complete and
// only the journal's removal was cut short.
bool saveWasComplete(const QString& journal, const Layout& layout);

// Puts the old bytes back into the file, by a save of its own (which keeps
// the file's owner, links and permissions).
Result<> putBack(const QString& journal, const Layout& layout);

// The new bytes, as the file would have held them.
Result<QByteArray> newBytes(const QString& journal, const Layout& layout);

}
