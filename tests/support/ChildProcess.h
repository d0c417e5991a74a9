#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <sys/types.h>

// Some faults show only from another process: a signal that kills a reader,
// or permissions as an ordinary user meets them (CI runs the tests as root,
// whom permissions do not bind). The body runs in a forked child and
// reports back through a pipe; the child never returns into the test.
namespace ChildProcess {

constexpr uid_t kNobody = 65534;    // Debian's unprivileged user "nobody"
constexpr gid_t kNogroup = 65534;   // and its group "nogroup"

enum class As {
    Self,           // the test's own user
    Unprivileged,   // nobody when the test runs as root, else the test's own user
};

// Runs body in a forked child (as the user asked for) and returns "" when
// it reported nothing wrong, else its report, or how the child ended: a
// signal, a failure to change user, or no end within a minute.
QString run(const std::function<QString()>& body, As as = As::Self);

// Lets other users into `dir` and through every folder above it that the
// test's user owns (the test's sandbox is private to that user), so that a
// child that has become nobody reaches what is made there.
void openToOthers(const QString& dir);

// In a child: a file system of `kilobytes` over the folder, seen by this
// process alone (a mount namespace of its own), so that a write into it
// meets a full disk. "" when it is mounted, else why not.
QString mountSmallDisk(const QString& folder, int kilobytes);

// Collects what a child finds wrong, for its report.
struct Faults {
    QStringList list;
    void check(bool ok, const QString& what)
    {
        if (!ok)
            list << what;
    }
    QString report() const { return list.join(QStringLiteral("; ")); }
};

}
