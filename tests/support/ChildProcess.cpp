#include "ChildProcess.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ChildProcess {

void openToOthers(const QString& dir)
{
    for (QString d = dir; d.size() > 1; d = QFileInfo(d).path()) {
        struct stat st;
        const QByteArray native = QFile::encodeName(d);
        if (::stat(native.constData(), &st) == 0 && st.st_uid == ::geteuid())
            ::chmod(native.constData(), (st.st_mode & 07777) | S_IXOTH | S_IROTH);
    }
}

namespace {

bool writeFile(const char* path, const QByteArray& text)
{
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    const bool ok = fd >= 0 && ::write(fd, text.constData(), size_t(text.size())) == text.size();
    if (fd >= 0)
        ::close(fd);
    return ok;
}

}

QString mountSmallDisk(const QString& folder, int kilobytes)
{
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    // Root needs no more than a mount namespace; anyone else becomes root
    // of a user namespace of its own first.
    if (uid == 0 ? ::unshare(CLONE_NEWNS) != 0 : ::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
        return QStringLiteral("no mount namespace: ") + QString::fromLocal8Bit(std::strerror(errno));
    if (uid != 0
        && (!writeFile("/proc/self/setgroups", "deny") || !writeFile("/proc/self/uid_map", "0 " + QByteArray::number(uid) + " 1")
            || !writeFile("/proc/self/gid_map", "0 " + QByteArray::number(gid) + " 1")))
        return QStringLiteral("no user namespace mapping");
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
    if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
        || ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) != 0)
        return QStringLiteral("no small disk: ") + QString::fromLocal8Bit(std::strerror(errno));
    return {};
}

QString run(const std::function<QString()>& body, As as)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return QStringLiteral("no pipe to a child");
    const pid_t pid = ::fork();
    if (pid < 0)
        return QStringLiteral("no child process");
    if (pid == 0) {
        ::close(channel[0]);
        ::alarm(60);   // a stuck child must not hang the tests
        QString report;
        if (as == As::Unprivileged && ::geteuid() == 0) {
            const gid_t groups[] = {kNogroup};
            if (::setgroups(1, groups) != 0 || ::setgid(kNogroup) != 0 || ::setuid(kNobody) != 0)
                report = QStringLiteral("could not become nobody");
        }
        if (report.isEmpty())
            report = body();
        const QByteArray bytes = report.toUtf8();
        ssize_t ignored = ::write(channel[1], bytes.constData(), size_t(bytes.size()));
        (void)ignored;
        ::_exit(report.isEmpty() ? 0 : 1);
    }
    ::close(channel[1]);
    QByteArray reply;
    char buffer[512];
    ssize_t n;
    while ((n = ::read(channel[0], buffer, sizeof buffer)) != 0) {
        if (n > 0)
            reply.append(buffer, n);
        else if (errno != EINTR)
            break;
    }
    ::close(channel[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status))
        return QStringLiteral("the child was killed by signal %1 (%2)")
            .arg(WTERMSIG(status))
            .arg(QString::fromLocal8Bit(::strsignal(WTERMSIG(status))));
    if (!reply.isEmpty())
        return QString::fromUtf8(reply);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringLiteral("the child ended with status %1").arg(status);
    return {};
}

}
