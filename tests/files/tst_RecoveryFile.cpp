#include "ChildProcess.h"
#include "TestRegistry.h"
#include "files/FileFingerprint.h"
#include "files/RecoveryFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(TextFormat)

namespace {

std::optional<RecoveryFile::Contents> readCopy(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? RecoveryFile::parse(f.readAll()) : std::nullopt;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

}

class RecoveryFileTest : public QObject {
    Q_OBJECT
private slots:
    // Whatever the document, its copy gives back the same file name,
    // format and text, byte for byte.
    void copiesComeBackExactly_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<TextFormat>("format");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("untitled, new document") << QString() << TextFormat::forNewDocument()
                                                << QByteArray("<p>draft</p>\r\n");
        QTest::newRow("blanks and letters beyond ASCII")
            << QStringLiteral("/home/zoë/my pages/index.html") << TextFormat{Encoding::Utf8, true, LineBreak::Lf}
            << QByteArray("caf\xC3\xA9\n");
        // A name that is not UTF-8 on disk is held with lone surrogates; a
        // line break or a backslash in a name must not end the header line.
        QTest::newRow("name with a lone surrogate, a line break and a backslash")
            << QStringLiteral("/tmp/a") + QChar(0xDC80) + QStringLiteral("\nb\\u0041.txt")
            << TextFormat{Encoding::Cp1252, false, LineBreak::CrLf} << QByteArray("x");
        QTest::newRow("UTF-16 BE, CR, mixed breaks and NUL bytes")
            << QStringLiteral("/w/a.asp") << TextFormat{Encoding::Utf16BE, true, LineBreak::Cr}
            << QByteArray("a\rb\r\nc\n\0d\0\n\n", 14);
        QTest::newRow("a text that looks like a header")
            << QStringLiteral("/w/b.txt") << TextFormat{Encoding::Utf16LE, true, LineBreak::CrLf}
            << QByteArray("\n\nQuirkpad recovery copy 1\ntext-length: 3\n\n");
        QTest::newRow("empty text") << QStringLiteral("/w/empty.txt") << TextFormat::forNewDocument() << QByteArray();
    }

    void copiesComeBackExactly()
    {
        QFETCH(QString, path);
        QFETCH(TextFormat, format);
        QFETCH(QByteArray, text);
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("1-a.recovery"));
        const Result<> saved = RecoveryFile::save(copy, {path, format, 4242, std::nullopt}, text);
        QVERIFY2(saved.ok(), qPrintable(saved.error()));
        QFile file(copy);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const std::optional<RecoveryFile::Contents> back = RecoveryFile::parse(file.readAll());
        QVERIFY(back);
        QCOMPARE(back->header.path, path);
        QVERIFY(back->header.format == format);
        QCOMPARE(back->header.writerPid, 4242);
        QVERIFY(!back->header.file);   // none was given, as in copies of older versions
        QCOMPARE(back->text, text);
        // Only the user may read what was typed.
        const auto everyone = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                              | QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                              | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
        QCOMPARE(QFileInfo(copy).permissions() & everyone, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    // A copy that is not whole is never taken for the work it held.
    void damagedCopiesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray head = RecoveryFile::header({QStringLiteral("/w/a.txt"), {}, 1, std::nullopt}, 5);
        QTest::newRow("whole (the control row)") << head + "hello";
        QTest::newRow("text cut short") << head + "hell";
        QTest::newRow("text longer than said") << head + "hello!";
        QTest::newRow("no end of header") << QByteArray(head).replace("\n\n", "\n");
        QTest::newRow("another kind of file") << QByteArray(head).replace("copy 1", "copy 9") + "hello";
        QTest::newRow("unknown encoding") << QByteArray(head).replace("utf-8", "utf-7") + "hello";
        QTest::newRow("no line-break style") << QByteArray(head).replace("line-break: crlf\n", "") + "hello";
        QTest::newRow("broken escape in the name")
            << RecoveryFile::header({QStringLiteral("/w/\\"), {}, 1, std::nullopt}, 5).replace("\\u005c", "\\u5c") + "hello";
        QTest::newRow("negative length") << QByteArray(head).replace("text-length: 5", "text-length: -5") + "hello";
        QTest::newRow("empty file") << QByteArray();
    }

    void damagedCopiesAreRefused()
    {
        QFETCH(QByteArray, bytes);
        const bool whole = QByteArray(QTest::currentDataTag()).startsWith("whole");
        QCOMPARE(RecoveryFile::parse(bytes).has_value(), whole);
    }

    // A copy keeps what its file was (size, time of the last write, digest)
    // and tells from it whether another program has changed the file since:
    // a file only touched, or written again with the same bytes, has not.
    void aCopyTellsWhetherItsFileChangedSince_data()
    {
        QTest::addColumn<bool>("existed");
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("since");
        const int unchanged = int(RecoveryFile::FileSince::Unchanged), changed = int(RecoveryFile::FileSince::Changed),
                  removed = int(RecoveryFile::FileSince::Removed);
        QTest::newRow("left alone") << true << "" << unchanged;
        QTest::newRow("touched") << true << "touch" << unchanged;
        QTest::newRow("rewritten, same size") << true << "same size" << changed;
        QTest::newRow("rewritten, longer") << true << "longer" << changed;
        QTest::newRow("removed") << true << "remove" << removed;
        QTest::newRow("gone then, made since") << false << "make" << changed;
        QTest::newRow("gone then and now") << false << "" << unchanged;
    }

    void aCopyTellsWhetherItsFileChangedSince()
    {
        QFETCH(bool, existed);
        QFETCH(QString, change);
        QFETCH(int, since);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.html"));
        RecoveryFile::FileIdentity then;
        if (existed) {
            writeFile(path, "<p>one</p>\n");
            const FileFingerprint f = FileFingerprint::of(path);
            then = {true, f.size, f.modifiedNs, FileDigest::of(path, f).value_or(QByteArray())};
            QVERIFY(!then.digest.isEmpty());
        }
        const QString copy = dir.filePath(QStringLiteral("1-a.recovery"));
        const Result<> saved = RecoveryFile::save(copy, {path, {}, 1, then}, "text");
        QVERIFY2(saved.ok(), qPrintable(saved.error()));
        const std::optional<RecoveryFile::Contents> back = readCopy(copy);
        QVERIFY(back && back->header.file);
        QVERIFY(*back->header.file == then);

        QFile file(path);
        if (change == QLatin1String("touch")) {
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(3600), QFileDevice::FileModificationTime));
        } else if (change == QLatin1String("same size")) {
            writeFile(path, "<p>two</p>\n");
        } else if (change == QLatin1String("longer") || change == QLatin1String("make")) {
            writeFile(path, "<p>three</p>\n");
        } else if (change == QLatin1String("remove")) {
            QVERIFY(QFile::remove(path));
        }
        QCOMPARE(int(RecoveryFile::fileSince(path, *back->header.file)), since);
    }

    // A copy that meets a full disk says so, and leaves nothing behind. The
    // disk is a small one of the child's own.
    void aFullDiskIsSaidToBeFull()
    {
        QTemporaryDir dir;
        const QString disk = dir.filePath(QStringLiteral("disk"));
        QVERIFY(QDir().mkdir(disk));
        const QString report = ChildProcess::run([&] {
            const QString mounted = ChildProcess::mountSmallDisk(disk, 16);
            if (!mounted.isEmpty())
                return mounted;
            ChildProcess::Faults faults;
            const Result<> saved =
                RecoveryFile::save(disk + QStringLiteral("/1-a.recovery"), {}, QByteArray(64 * 1024, 'x'));
            faults.check(!saved && saved.error() == QLatin1String("The disk is full"),
                         QStringLiteral("error: ") + saved.error());
            faults.check(QDir(disk).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                         QStringLiteral("a part of the copy stayed"));
            return faults.report();
        });
        QCOMPARE(report, QString());
    }
};

QP_REGISTER_TEST(RecoveryFileTest)
#include "tst_RecoveryFile.moc"
