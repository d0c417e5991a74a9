#include "ChildProcess.h"
#include "NoticeButtons.h"
#include "RecoverySandbox.h"
#include "ShellParts.h"
#include "TestRegistry.h"
#include "files/SafeWrite.h"
#include "files/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(SafeWrite::Step)

namespace {

// The editor itself, as the user starts it, on a document, with the test's
// recovery folder and settings.
struct Editor {
    QProcess process;

    Editor(const RecoverySandbox& sandbox, const QString& document)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_STATE_HOME"), sandbox.dir.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), sandbox.dir.path() + QStringLiteral("/config"));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral(QUIRKPAD_BINARY_DIR "/quirkpad"), {document});
    }
    // As a crash, a kill or a power cut ends it: no closing sequence.
    void kill()
    {
        process.kill();
        process.waitForFinished(10000);
    }
    ~Editor()
    {
        if (process.state() != QProcess::NotRunning)
            kill();
    }
};

bool waitFor(const std::function<bool()>& done, int ms = 20000)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QTest::qWait(50);
    }
    return true;
}

// Whether the process watches the file for changes: the editor does once it
// has the file open as its document. The kernel lists each watch with the
// inode it is on (in hexadecimal) in the process's descriptor information.
bool watchesFile(const QProcess& process, const QString& path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    const QByteArray inode = "ino:" + QByteArray::number(quint64(st.st_ino), 16) + ' ';
    const QString fdinfo = QStringLiteral("/proc/%1/fdinfo").arg(process.processId());
    for (const QString& fd : QDir(fdinfo).entryList(QDir::Files)) {
        QFile f(fdinfo + QLatin1Char('/') + fd);
        if (f.open(QIODevice::ReadOnly) && f.readAll().contains(inode))
            return true;
    }
    return false;
}

// The start of the notice that offers the work of a file (the time follows).
QString offered(const QString& path)
{
    return QStringLiteral("Unsaved work from a Quirkpad that did not close normally: \"") + path
           + QStringLiteral("\", as it was at ");
}

// A page in UTF-16 LE with a byte-order mark, line breaks of every kind, a
// NUL and a character beyond the first plane: every part of it must come
// back.
const QByteArray kPage = QByteArray("\xFF\xFE<\0p\0>\0\r\0\n\0\xE9\0\n\0\0\0\r\0\x3D\xD8\x00\xDE", 26);

}

class RecoveryProcessTest : public QObject {
    Q_OBJECT
private slots:
    // An editor killed with unsaved work: the next start offers it, and
    // opening and saving it gives back the file it was, byte for byte.
    void workOfAKilledEditorComesBack()
    {
        RecoverySandbox sandbox;
        TestFiles files;
        const QString path = files.file(QStringLiteral("page.html"), kPage);
        {
            Editor editor(sandbox, path);
            QVERIFY(waitFor([&] { return watchesFile(editor.process, path); }));
            // Removed by another program: the editor holds the only copy of
            // the text now, unsaved, and keeps it for recovery.
            QVERIFY(QFile::remove(path));
            QVERIFY(waitFor([&] { return sandbox.copies().size() == 1; }));
            editor.kill();
        }
        KeptDocument f;
        QVERIFY(f.notices.noticeText(RecoveryKeeper::kNoticeId).startsWith(offered(path)));
        noticeButton(&f.notices, RecoveryKeeper::kNoticeId, QStringLiteral("Open"))->click();
        QCOMPARE(f.doc.location(), path);
        QVERIFY(f.doc.isModified());
        QVERIFY(f.files.SaveDocument());
        QCOMPARE(TestFiles::read(path), kPage);
    }

    // Running editors never take each other's copies: only the work of the
    // one that was killed is offered, to one editor at a time.
    void runningEditorsKeepTheirOwnWork()
    {
        RecoverySandbox sandbox;
        TestFiles files;
        const QString first = files.file(QStringLiteral("first.txt"), "first\n");
        const QString second = files.file(QStringLiteral("second.txt"), "second\n");
        Editor a(sandbox, first);
        Editor b(sandbox, second);
        QVERIFY(waitFor([&] { return watchesFile(a.process, first) && watchesFile(b.process, second); }));
        QVERIFY(QFile::remove(first));
        QVERIFY(QFile::remove(second));
        QVERIFY(waitFor([&] { return sandbox.copies().size() == 2; }));
        const QStringList copies = sandbox.copies();

        {
            KeptDocument meanwhile;
            QVERIFY(!meanwhile.notices.hasNotice(RecoveryKeeper::kNoticeId));
        }
        a.kill();
        KeptDocument f;
        QVERIFY(f.notices.noticeText(RecoveryKeeper::kNoticeId).startsWith(offered(first)));
        {
            // While one editor offers it, a second does not.
            KeptDocument second;
            QVERIFY(!second.notices.hasNotice(RecoveryKeeper::kNoticeId));
        }
        noticeButton(&f.notices, RecoveryKeeper::kNoticeId, QStringLiteral("Discard"))->click();
        f.keeper.waitForDisk();
        QCOMPARE(sandbox.copies().size(), 1);   // the running editor's copy is untouched
        QVERIFY(copies.contains(sandbox.copies().first()));
        QCOMPARE(b.process.state(), QProcess::Running);
    }

    // A save that writes the file in place (it has a second link), killed
    // at a chosen moment, leaves the file old, new or neither: the next start
    // offers to put it back as it was, or to open the text that was being
    // saved; a save killed once the file was whole leaves nothing to offer.
    void aSaveCutShortIsOfferedAtTheNextStart_data()
    {
        QTest::addColumn<SafeWrite::Step>("killedAt");
        QTest::addColumn<QString>("fileLeft");   // "old", "new" or "neither"
        QTest::addColumn<QString>("button");     // "" when nothing is offered
        QTest::newRow("put back") << SafeWrite::Step::InPlacePartlyWritten << "neither" << "Put Back";
        QTest::newRow("opened") << SafeWrite::Step::InPlacePartlyWritten << "neither" << "Open";
        QTest::newRow("put back before the file was touched") << SafeWrite::Step::JournalWhole << "old" << "Put Back";
        QTest::newRow("killed once the file was whole") << SafeWrite::Step::InPlaceWhole << "new" << "";
    }

    void aSaveCutShortIsOfferedAtTheNextStart()
    {
        QFETCH(SafeWrite::Step, killedAt);
        QFETCH(QString, fileLeft);
        QFETCH(QString, button);
        RecoverySandbox sandbox;
        TestFiles files;
        const QByteArray before = QByteArray("<p>the page as it was, longer than the new one</p>\r\n").repeated(3);
        const QByteArray after = "<p>caf\xC3\xA9</p>\n";
        const QString path = files.file(QStringLiteral("page.html"), before);
        const QString other = files.dir.filePath(QStringLiteral("other.html"));
        QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(other).constData()), 0);
        const QString report = ChildProcess::run([&] {
            static SafeWrite::Step step;
            step = killedAt;
            SafeWrite::setTestHooks({[](SafeWrite::Step reached) {
                if (reached == step)
                    ::raise(SIGKILL);
            }});
            return TextFile::write(path, after, {}).error();
        });
        QCOMPARE(report, QStringLiteral("the child was killed by signal 9 (Killed)"));
        QCOMPARE(sandbox.journals().size(), 1);
        const QByteArray left = TestFiles::read(path);
        QCOMPARE(QString::fromLatin1(left == before ? "old" : left == after ? "new" : "neither"), fileLeft);

        KeptDocument f;
        if (button.isEmpty()) {
            QVERIFY(!f.notices.hasNotice(RecoveryKeeper::kNoticeId));
            QCOMPARE(sandbox.journals(), QStringList());
            return;
        }
        const QString offer = f.notices.noticeText(RecoveryKeeper::kNoticeId);
        QVERIFY2(offer.startsWith(QStringLiteral("A save of \"%1\" was cut short at ").arg(path)), qPrintable(offer));
        noticeButton(&f.notices, RecoveryKeeper::kNoticeId, button)->click();
        QVERIFY(!f.notices.hasNotice(RecoveryKeeper::kNoticeId));
        if (button == QLatin1String("Open")) {
            QCOMPARE(f.doc.utf8().toByteArray(), after);
            QCOMPARE(f.doc.location(), path);
            QVERIFY(f.doc.isModified());
            f.keeper.waitForDisk();
            QCOMPARE(sandbox.journals(), QStringList());
            QVERIFY(f.files.SaveDocument());
        }
        QCOMPARE(sandbox.journals(), QStringList());
        const QByteArray expected = button == QLatin1String("Open") ? after : before;
        QCOMPARE(TestFiles::read(path), expected);
        QCOMPARE(TestFiles::read(other), expected);
    }
};

QP_REGISTER_TEST(RecoveryProcessTest)
#include "RecoveryProcessTest.moc"
