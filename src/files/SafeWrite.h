#pragma once
#include "base/Result.h"

#include <QByteArray>
#include <QString>
#include <functional>

// Replacing a file's content without ever leaving it half-written, and
// without changing who owns it or cutting its links (see TextFile::write).
namespace SafeWrite {

using Put = std::function<bool(const char*, qsizetype)>;
// Writes the whole new content through `put`; false when a put failed.
using Content = std::function<bool(const Put& put)>;

// The file at the path (bytes, as the system names it; symbolic links are
// followed) gets the content. On failure the system's description of it,
// and the file as it was (or, should even putting it back fail, a
// description that says where its old content is).
//
// The new content goes into a file without a name in the file's folder,
// which is named only once it is whole and on disk and then renamed over
// the file; where the system has no such files, it is written under its
// temporary name from the start. Either way the temporary name is
// tempName(), so that a file left by a save that was cut short is removed
// by the next save of the same file.
//
// A file written in place has a journal in the recovery folder until the
// write is complete (see SaveJournal).
Result<> replace(const QByteArray& path, const Content& content);

// The hidden name a save of the named file in the same folder writes under
// before the rename: the same for every save of that file by this user, and
// short whatever the file's name is.
QByteArray tempName(const QByteArray& fileName);

// The moments of a save at which a test can stop it, as a kill would.
enum class Step {
    TempPartlyWritten,      // part of the new content is in the new file
    TempNamed,              // the new file is whole under its temporary name
    JournalWhole,           // the journal is whole; the file is not touched yet
    InPlacePartlyWritten,   // part of the new content is over the file
    InPlaceWhole,           // the file holds the new content; the journal is still there
};
struct TestHooks {
    void (*atStep)(Step) = nullptr;
    bool namedTempFiles = false;   // as on a file system without unnamed files
};
void setTestHooks(const TestHooks& hooks);

}
