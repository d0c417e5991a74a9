#include "ChildProcess.h"
#include "RecoverySandbox.h"
#include "TestRegistry.h"
#include "files/SafeWrite.h"
#include "files/TextFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <unistd.h>

using SafeWrite::Step;
Q_DECLARE_METATYPE(SafeWrite::Step)

namespace {

const QString kKilled = QStringLiteral("the child was killed by signal 9 (Killed)");

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

bool link(const QString& from, const QString& to)
{
    return ::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

QStringList namesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// Saves the file in a child process that a kill stops at the step, as a
// crash or a kill -9 would stop the editor there.
QString saveKilledAt(const QString& path, const QByteArray& text, Step step, bool namedTempFiles = false)
{
    return ChildProcess::run([&] {
        static Step killAt;
        killAt = step;
        SafeWrite::setTestHooks({[](Step reached) {
                                     if (reached == killAt)
                                         ::raise(SIGKILL);
                                 },
                                 namedTempFiles});
        const Result<TextFile::WriteInfo> w = TextFile::write(path, text, {});
        return QStringLiteral("the save ran to its end: ") + (w.ok() ? QStringLiteral("saved") : w.error());
    });
}

}

class SafeWriteTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { SafeWrite::setTestHooks({}); }

    // A save killed before its rename leaves the file as it was, and at
    // most a file under the temporary name beside it, which the next save
    // of the same file removes.
    void aSaveKilledMidwayLeavesNothingBehind_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<bool>("namedTempFiles");
        QTest::addColumn<bool>("leftover");
        QTest::newRow("unnamed file, being written") << Step::TempPartlyWritten << false << false;
        QTest::newRow("unnamed file, named, not yet renamed") << Step::TempNamed << false << true;
        QTest::newRow("named file, being written") << Step::TempPartlyWritten << true << true;
    }

    void aSaveKilledMidwayLeavesNothingBehind()
    {
        QFETCH(Step, step);
        QFETCH(bool, namedTempFiles);
        QFETCH(bool, leftover);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.txt"));
        QVERIFY(writeBytes(path, "old text"));
        QCOMPARE(saveKilledAt(path, "new text", step, namedTempFiles), kKilled);
        QCOMPARE(readBytes(path), QByteArray("old text"));
        QStringList expected{QStringLiteral("page.txt")};
        if (leftover)
            expected.prepend(QString::fromLatin1(SafeWrite::tempName("page.txt")));
        QCOMPARE(namesIn(dir.path()), expected);

        SafeWrite::setTestHooks({nullptr, namedTempFiles});
        const Result<TextFile::WriteInfo> next = TextFile::write(path, "newer text", {});
        QVERIFY2(next.ok(), qPrintable(next.error()));
        QCOMPARE(readBytes(path), QByteArray("newer text"));
        QCOMPARE(namesIn(dir.path()), QStringList{QStringLiteral("page.txt")});
    }

    // A name the folder takes saves, however long: the temporary name does
    // not grow with it. With a second link the file is written in place.
    void everyNameThatOpensSaves_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("secondLink");
        QTest::newRow("248 bytes") << 248 << false;
        QTest::newRow("255 bytes") << 255 << false;
        QTest::newRow("255 bytes, with a second link") << 255 << true;
        QTest::newRow("255 bytes of two-byte letters") << 255 << false;
    }

    void everyNameThatOpensSaves()
    {
        QFETCH(int, length);
        QFETCH(bool, secondLink);
        RecoverySandbox sandbox;
        QTemporaryDir dir;
        const bool wide = QByteArray(QTest::currentDataTag()).contains("two-byte");
        const QString name = wide ? QString(length / 2, QChar(0xE9)) + QStringLiteral("a")
                                  : QString(length - 4, QLatin1Char('a')) + QStringLiteral(".txt");
        QCOMPARE(QFile::encodeName(name).size(), length);
        const QString path = dir.filePath(name);
        QVERIFY(writeBytes(path, "old"));
        QVERIFY(TextFile::readAll(path).ok());
        if (secondLink)
            QVERIFY(link(path, dir.filePath(QStringLiteral("other.txt"))));

        const Result<TextFile::WriteInfo> w = TextFile::write(path, "new", {});
        QVERIFY2(w.ok(), qPrintable(w.error()));
        QCOMPARE(readBytes(path), QByteArray("new"));
        QCOMPARE(namesIn(dir.path()).size(), secondLink ? 2 : 1);
        if (secondLink)
            QCOMPARE(readBytes(dir.filePath(QStringLiteral("other.txt"))), QByteArray("new"));
        QCOMPARE(sandbox.journals(), QStringList());
    }

    // The write in place meets a full disk half-way: the journal puts the
    // old text back, under every name of the file, and goes. The disk is
    // one of the child's own.
    void aFailedInPlaceWritePutsTheFileBack()
    {
        RecoverySandbox sandbox;
        QTemporaryDir dir;
        const QString disk = dir.filePath(QStringLiteral("disk"));
        QVERIFY(QDir().mkdir(disk));
        const QString report = ChildProcess::run([&] {
            const QString mounted = ChildProcess::mountSmallDisk(disk, 64);
            if (!mounted.isEmpty())
                return mounted;
            const QString path = disk + QStringLiteral("/keep.txt");
            const QString other = disk + QStringLiteral("/link.txt");
            ChildProcess::Faults faults;
            faults.check(writeBytes(path, "precious") && link(path, other), QStringLiteral("no file to save"));
            const Result<TextFile::WriteInfo> w = TextFile::write(path, QByteArray(256 * 1024, 'x'), {});
            faults.check(!w.ok(), QStringLiteral("saved"));
            faults.check(w.error() == QLatin1String("No space left on device"), QStringLiteral("error: ") + w.error());
            faults.check(readBytes(path) == "precious" && readBytes(other) == "precious",
                         QStringLiteral("not put back"));
            faults.check(sandbox.journals().isEmpty(), QStringLiteral("the journal stayed"));
            return faults.report();
        });
        QCOMPARE(report, QString());
    }
};

QP_REGISTER_TEST(SafeWriteTest)
#include "tst_SafeWrite.moc"
