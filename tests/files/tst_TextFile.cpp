#include "TestRegistry.h"
#include "files/Cp1252.h"
#include "editor/RichTextBox.h"
#include "files/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include "ChildProcess.h"

#include <QDirIterator>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Files a refused save would be made by, given to the user the save runs
// as (nobody, where the tests run as root).
void giveToSaver(const QString& folder, const QStringList& files)
{
    if (::geteuid() != 0)
        return;
    for (const QString& f : QStringList{folder} + files)
        QCOMPARE(::chown(QFile::encodeName(f).constData(), ChildProcess::kNobody, ChildProcess::kNogroup), 0);
}

// Text of ASCII filler with `pieces` (multi-byte characters, line breaks)
// placed so that one straddles each power-of-two offset from 4 KB to 4 MB,
// cut after each of its bytes in turn: wherever a reader's buffers end, some
// character is split between two of them.
QString acrossBoundaries(const QStringList& pieces, bool asUtf16)
{
    QString text;
    qsizetype length = 0;   // in the file's units: bytes of UTF-8, or UTF-16 code units
    int turn = 0;
    for (int k = 12; k <= 22; ++k) {
        const QString piece = pieces.at(turn % pieces.size());
        const qsizetype width = asUtf16 ? piece.size() : piece.toUtf8().size();
        // In UTF-16 the byte-order mark comes first.
        const qsizetype boundary = asUtf16 ? (qsizetype(1) << k) / 2 - 1 : qsizetype(1) << k;
        const qsizetype start = boundary - 1 - turn % std::max<qsizetype>(1, width - 1);
        ++turn;
        text += QString(start - length, QLatin1Char('x'));
        text += piece;
        length = start + width;
    }
    return text + QStringLiteral("end");
}

QByteArray utf16(const QString& s, bool bigEndian)
{
    QByteArray out(bigEndian ? "\xFE\xFF" : "\xFF\xFE", 2);
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (bigEndian) {
            out.append(char(u >> 8));
            out.append(char(u & 0xFF));
        } else {
            out.append(char(u & 0xFF));
            out.append(char(u >> 8));
        }
    }
    return out;
}

// Files of every shape the editor may meet: arbitrary bytes, text in each
// encoding with mixed line breaks, byte-order marks with broken content.
QByteArray randomFile(QRandomGenerator& rng, int kind)
{
    const int length = int(rng.bounded(0, 3000));
    QByteArray bytes;
    switch (kind % 6) {
    case 0:   // anything at all, NUL bytes included
        for (int i = 0; i < length; ++i)
            bytes.append(char(rng.bounded(256)));
        break;
    case 1: { // UTF-8 text, every kind of line break, no final break
        static const char* pieces[] = {"<p>", "é", "\r\n", "\n", "\r", "€", "😀", "a", " ", "\t", "ß", "\0"};
        while (bytes.size() < length) {
            const char* p = pieces[rng.bounded(12)];
            bytes.append(*p ? QByteArray(p) : QByteArray(1, '\0'));
        }
        if (rng.bounded(2))
            bytes.prepend("\xEF\xBB\xBF");
        break;
    }
    case 2:
    case 3: { // UTF-16 with a byte-order mark
        QString s;
        while (s.size() < length / 2) {
            const quint32 r = rng.bounded(6);
            if (r == 0)
                s += QStringLiteral("\r\n");
            else if (r == 1)
                s += QString::fromUcs4(U"\U0001F600");
            else if (r == 2)   // a run of ASCII, as markup is
                for (int n = int(rng.bounded(1, 40)); n > 0; --n)
                    s += QChar(char16_t(rng.bounded(0x20, 0x7F)));
            else
                s += QChar(char16_t(rng.bounded(0x20, 0xD7FF)));
        }
        bytes = utf16(s, kind % 6 == 3);
        break;
    }
    case 4: // a byte-order mark followed by what does not fit it
        bytes = QByteArray(rng.bounded(2) ? "\xFF\xFE" : "\xEF\xBB\xBF");
        for (int i = 0; i < length; ++i)
            bytes.append(char(rng.bounded(256)));
        if (rng.bounded(2) && bytes.startsWith("\xFF\xFE"))
            bytes.append("\x00\xD8", 2);  // an unpaired surrogate
        break;
    case 5: // Windows-1252 text: high bytes that are not UTF-8
        for (int i = 0; i < length; ++i)
            bytes.append(rng.bounded(4) ? char(rng.bounded(0x20, 0x7F)) : char(rng.bounded(0x80, 0x100)));
        break;
    }
    return bytes;
}

}

class TextFileTest : public QObject {
    Q_OBJECT
private slots:
    void cp1252MapsEveryByteBothWays()
    {
        for (int b = 0; b < 256; ++b)
            QCOMPARE(Cp1252::fromUnicode(Cp1252::toUnicode(std::uint8_t(b))), b);
        QCOMPARE(int(Cp1252::toUnicode(0x80)), 0x20AC);
        QCOMPARE(int(Cp1252::toUnicode(0x81)), 0x81);
        QCOMPARE(Cp1252::fromUnicode(0x4E2D), -1);
    }

    void detectsEncodingAndLineBreaks_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("encoding");
        QTest::addColumn<bool>("bom");
        QTest::addColumn<int>("lineBreak");
        QTest::addColumn<QString>("text");
        QTest::newRow("utf8") << QByteArray("a\r\nb\n") << int(Encoding::Utf8) << false << int(LineBreak::CrLf)
                              << QStringLiteral("a\r\nb\n");
        QTest::newRow("utf8 bom lf") << QByteArray("\xEF\xBB\xBFh\xC3\xA9\nx") << int(Encoding::Utf8) << true
                                     << int(LineBreak::Lf) << QStringLiteral("hé\nx");
        QTest::newRow("cr only") << QByteArray("a\rb") << int(Encoding::Utf8) << false << int(LineBreak::Cr)
                                 << QStringLiteral("a\rb");
        QTest::newRow("no break") << QByteArray("abc") << int(Encoding::Utf8) << false << int(LineBreak::CrLf)
                                  << QStringLiteral("abc");
        QTest::newRow("cp1252") << QByteArray("caf\xE9 \x80") << int(Encoding::Cp1252) << false
                                << int(LineBreak::CrLf) << QStringLiteral("café €");
        QTest::newRow("utf16le") << utf16(QStringLiteral("hi\nthere"), false) << int(Encoding::Utf16LE) << true
                                 << int(LineBreak::Lf) << QStringLiteral("hi\nthere");
        QTest::newRow("utf16be") << utf16(QStringLiteral("€\r\n"), true) << int(Encoding::Utf16BE) << true
                                 << int(LineBreak::CrLf) << QStringLiteral("€\r\n");
        QTest::newRow("odd utf16 is bytes") << QByteArray("\xFF\xFE\x41", 3) << int(Encoding::Cp1252) << false
                                            << int(LineBreak::CrLf) << QStringLiteral("ÿþA");
        QTest::newRow("overlong utf8 is bytes") << QByteArray("\xC0\xAF") << int(Encoding::Cp1252) << false
                                                << int(LineBreak::CrLf) << QStringLiteral("À¯");
        const QString wide =
            acrossBoundaries({QStringLiteral("é"), QStringLiteral("€"), QStringLiteral("😀")}, false);
        QTest::newRow("characters across buffer ends") << wide.toUtf8() << int(Encoding::Utf8) << false
                                                       << int(LineBreak::CrLf) << wide;
        const QString pairs = acrossBoundaries({QStringLiteral("😀"), QStringLiteral("\r\n")}, true);
        QTest::newRow("surrogate pairs across buffer ends") << utf16(pairs, false) << int(Encoding::Utf16LE) << true
                                                            << int(LineBreak::CrLf) << pairs;
        for (int k = 14; k <= 22; k += 2) {
            const QString crlf = QString((1 << k) - 1, QLatin1Char('x')) + QStringLiteral("\r\nx");
            QTest::addRow("first CR LF split at 2^%d", k)
                << crlf.toUtf8() << int(Encoding::Utf8) << false << int(LineBreak::CrLf) << crlf;
        }
        const QString late = QString(3 << 20, QLatin1Char('x')) + QStringLiteral("é");
        QTest::newRow("a Windows-1252 byte after megabytes of ASCII")
            << QByteArray(3 << 20, 'x') + "\xE9" << int(Encoding::Cp1252) << false << int(LineBreak::CrLf) << late;
        QTest::newRow("UTF-8 cut off at the end is bytes")
            << QByteArray("abc\xE2\x82") << int(Encoding::Cp1252) << false << int(LineBreak::CrLf)
            << QStringLiteral("abcâ‚");
        QTest::newRow("empty") << QByteArray() << int(Encoding::Utf8) << false << int(LineBreak::CrLf) << QString();
        QTest::newRow("encoded surrogate is bytes") << QByteArray("\xED\xA0\x80") << int(Encoding::Cp1252)
                                                    << false << int(LineBreak::CrLf) << QStringLiteral("í\u00A0€");
    }

    void detectsEncodingAndLineBreaks()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("f.txt"));
        writeBytes(path, bytes);
        QByteArray utf8;
        qsizetype announced = -1;
        bool wholeCharacters = true;
        const Result<TextFile::ReadInfo> r = TextFile::read(
            path,
            [&](const char* p, qsizetype n) {
                // The control takes each piece as text of its own.
                wholeCharacters = wholeCharacters && QString::fromUtf8(p, n).toUtf8() == QByteArrayView(p, n);
                utf8.append(p, n);
            },
            [&](qsizetype length) {
                utf8.clear();   // the text starts (again)
                announced = length;
            });
        QVERIFY2(r.ok(), qPrintable(r.error()));
        QVERIFY(wholeCharacters);
        QCOMPARE(r->fileSize, bytes.size());
        QCOMPARE(announced, utf8.size());
        QTEST(int(r->format.encoding), "encoding");
        QTEST(r->format.bom, "bom");
        QTEST(int(r->format.lineBreak), "lineBreak");
        QTEST(QString::fromUtf8(utf8), "text");
    }

    // Opening and saving unchanged gives the same bytes, whatever they are.
    void roundTripIsByteIdenticalForRandomFiles()
    {
        const quint32 seed = 20261207;
        QRandomGenerator rng(seed);
        QTemporaryDir dir;
        RichTextBox box;
        for (int i = 0; i < 300; ++i) {
            const QByteArray original = randomFile(rng, i);
            const QString in = dir.filePath(QStringLiteral("in%1").arg(i));
            const QString out = dir.filePath(QStringLiteral("out%1").arg(i));
            writeBytes(in, original);
            QVERIFY(box.document().load(in).ok());
            const auto w = box.document().save(out);
            QVERIFY(w.ok());
            QVERIFY(!w->switchedToUtf8);
            if (readBytes(out) != original)
                QFAIL(qPrintable(QStringLiteral("file %1 (seed %2, kind %3) changed on the way through: %4")
                                     .arg(i).arg(seed).arg(i % 6).arg(QString::fromLatin1(original.left(40).toHex()))));
        }
    }

    void charactersTheEncodingCannotHoldAreKeptAsUtf8()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("latin.txt"));
        writeBytes(path, QByteArray("caf\xE9\r\n"));
        RichTextBox box;
        QVERIFY(box.document().load(path).ok());
        QCOMPARE(box.document().format().encoding, Encoding::Cp1252);
        box.SetSelStart(box.TextLength());
        box.SetSelText(QStringLiteral("中文 €"));
        const auto w = box.document().save(path);
        QVERIFY(w.ok());
        QVERIFY(w->switchedToUtf8);
        QCOMPARE(box.document().format().encoding, Encoding::Utf8);
        QCOMPARE(readBytes(path), QStringLiteral("café\r\n中文 €").toUtf8());

        // Characters the code page has stay in it.
        writeBytes(path, QByteArray("caf\xE9"));
        QVERIFY(box.document().load(path).ok());
        box.SetSelText(QStringLiteral("€"));
        QVERIFY(!box.document().save(path)->switchedToUtf8);
        QCOMPARE(readBytes(path), QByteArray("\x80" "caf\xE9"));
    }

    // Through a chain of links (the second relative), the file is written and
    // the links stay links; the file keeps its permissions, and a new file
    // gets the usual ones (0666 less the umask), not a temporary file's 0600.
    void saveKeepsPermissionsAndFollowsLinks()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("site")));
        const QString target = dir.filePath(QStringLiteral("site/page.html"));
        const QString inner = dir.filePath(QStringLiteral("site/inner.html"));
        const QString link = dir.filePath(QStringLiteral("link.html"));
        writeBytes(target, "old");
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        QCOMPARE(::symlink("page.html", QFile::encodeName(inner).constData()), 0);
        QVERIFY(QFile::link(inner, link));
        QVERIFY(TextFile::write(link, "new", TextFormat{}).ok());
        QVERIFY(QFileInfo(link).isSymLink());
        QVERIFY(QFileInfo(inner).isSymLink());
        QCOMPARE(readBytes(target), QByteArray("new"));
        QCOMPARE(QFile::permissions(target) & 0x7077,
                 QFileDevice::Permissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));

        const mode_t mask = ::umask(022);
        const QString fresh = dir.filePath(QStringLiteral("fresh.html"));
        const bool written = TextFile::write(fresh, "new", TextFormat{}).ok();
        ::umask(mask);
        QVERIFY(written);
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(fresh).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 0777), 0644);
    }

    void failedSaveLeavesTheOldFileWhole()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("keep.txt"));
        writeBytes(path, "precious");

        // A folder that does not exist.
        const Result<TextFile::WriteInfo> missing = TextFile::write(dir.filePath(QStringLiteral("nope/x.txt")), "x", {});
        QVERIFY(!missing.ok());
        QVERIFY(!missing.error().isEmpty());

        // A write that runs out of room half-way (a file size limit works
        // for every user, root included).
        const QByteArray big(1 << 20, 'x');
        struct rlimit old;
        getrlimit(RLIMIT_FSIZE, &old);
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = old;
        small.rlim_cur = 4096;
        setrlimit(RLIMIT_FSIZE, &small);
        const Result<TextFile::WriteInfo> full = TextFile::write(path, big, {});
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!full.ok());
        QVERIFY(!full.error().isEmpty());
        QCOMPARE(readBytes(path), QByteArray("precious"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);   // no stray temp file
    }

    // Another program truncates or extends the file while the editor reads
    // it: the reader gets the file's bytes as they are at the end, or says
    // the file changed, and is never killed by a signal. The file changes when the first piece of
    // text arrives, made by the reader itself or by a second process it
    // asks and waits for. In a child process, so that a reader killed by
    // SIGBUS is reported as a failure.
    void aFileThatChangesWhileItIsReadGivesItsBytesOrAnError_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("change");
        const QByteArray page = QByteArray("<p>caf\xC3\xA9 \xE2\x82\xAC</p>\r\n").repeated(200000);
        const QByteArray latin = QByteArray("<p>caf\xE9 \x80</p>\r\n").repeated(200000);
        const QByteArray wide = utf16(QString::fromUtf8(page), false);
        QTest::newRow("UTF-8, emptied by another process") << page << "another process empties";
        QTest::newRow("UTF-8, halved") << page << "halve";
        QTest::newRow("UTF-8, extended") << page << "extend";
        QTest::newRow("Windows-1252, emptied") << latin << "empty";
        QTest::newRow("UTF-16, halved") << wide << "halve";
    }

    void aFileThatChangesWhileItIsReadGivesItsBytesOrAnError()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, change);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("changing.html"));
        writeBytes(path, bytes);
        const Result<QByteArray> before = TextFile::readAll(path);
        QVERIFY(before.ok());
        const QByteArray& text = *before;

        const QString report = ChildProcess::run([&] {
            const QByteArray native = QFile::encodeName(path);
            int ask[2], done[2];
            if (::pipe(ask) != 0 || ::pipe(done) != 0)
                return QStringLiteral("no pipes");
            const pid_t other = change.startsWith(QLatin1String("another")) ? ::fork() : -1;
            if (other == 0) {
                char c;
                if (::read(ask[0], &c, 1) == 1 && ::truncate(native.constData(), 0) == 0)
                    (void)!::write(done[1], "k", 1);
                ::_exit(0);
            }
            QByteArray got;
            bool changedOnce = false;
            bool told = false;
            const Result<TextFile::ReadInfo> r = TextFile::read(
                path,
                [&](const char* p, qsizetype n) {
                    if (!changedOnce) {
                        changedOnce = true;
                        char c;
                        if (other > 0) {
                            (void)!::write(ask[1], "t", 1);
                            (void)!::read(done[0], &c, 1);
                        } else if (change == QLatin1String("extend")) {
                            QFile f(path);
                            f.open(QIODevice::Append);
                            f.write(QByteArray(1 << 20, 'y'));
                        } else {
                            ::truncate(native.constData(), change == QLatin1String("empty") ? 0 : bytes.size() / 2);
                        }
                    }
                    got.append(p, n);   // reads every byte it was given
                },
                [&](qsizetype) {
                    got.clear();
                    told = true;
                });
            if (other > 0)
                ::waitpid(other, nullptr, 0);
            ChildProcess::Faults faults;
            if (r) {
                // The file as it is now, read whole.
                const QByteArray now = TextFile::readAll(path).valueOr(QByteArray("<unreadable>"));
                faults.check(got == now, QStringLiteral("read as neither before nor after the change"));
            } else {
                faults.check(r.error() == QLatin1String("The file changed while it was being read"),
                             QStringLiteral("error: ") + r.error());
                faults.check(told, QStringLiteral("the receiver is not told its text is incomplete"));
                faults.check(text.startsWith(got), QStringLiteral("pieces that were never in the file"));
            }
            return faults.report();
        });
        QCOMPARE(report, QString());
    }

    // A text longer than a document can be is refused before the receiver
    // is told anything, so it can keep what it holds. Outside UTF-16 the
    // file's size alone decides; a file within the limit can still decode
    // to more text than that.
    void textTooLongForTheEditorIsRefusedBeforeAnyPiece_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");   // "" when the file is read
        const QString bytesOver =
            QStringLiteral("The file is too large to edit: it has %1 bytes, and the editor can hold at most 100");
        const QString textOver = QStringLiteral("The file is too large to edit: its %1 bytes make more than 100 "
                                                "bytes of text, the most the editor can hold");
        QTest::newRow("UTF-8 over the limit") << QByteArray(101, 'a') << bytesOver.arg(101);
        QTest::newRow("UTF-8 at the limit") << QByteArray(100, 'a') << QString();
        QTest::newRow("UTF-8 with a byte-order mark at the limit")
            << "\xEF\xBB\xBF" + QByteArray(100, 'a') << QString();
        QTest::newRow("Windows-1252 that grows past it") << QByteArray(60, '\xE9') << textOver.arg(60);
        QTest::newRow("UTF-16 that grows past it") << utf16(QString(40, QChar(0x20AC)), false) << textOver.arg(82);
        QTest::newRow("UTF-16 over the limit in bytes, within it as text")
            << utf16(QString(90, QLatin1Char('a')), true) << QString();
    }

    void textTooLongForTheEditorIsRefusedBeforeAnyPiece()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("long.txt"));
        writeBytes(path, bytes);
        bool told = false;
        qsizetype received = 0;
        const Result<TextFile::ReadInfo> r = TextFile::read(
            path, [&](const char*, qsizetype n) { received += n; }, [&](qsizetype) { told = true; }, 100);
        QCOMPARE(r.error(), error);
        QCOMPARE(r.ok(), error.isEmpty());
        // Not told: the receiver keeps what it holds.
        QCOMPARE(told, error.isEmpty());
        if (!error.isEmpty())
            QCOMPARE(received, 0);
    }

    // An ordinary user's save of a read-only file, or of a new file in a
    // read-only folder, is refused and leaves everything as it was. As root
    // the save runs in a child that has become nobody.
    void savesThatMustBeRefused_data()
    {
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<int>("fileMode");   // -1: no file yet
        QTest::newRow("read-only file") << 0755 << 0444;
        QTest::newRow("new file in a read-only folder") << 0555 << -1;
        QTest::newRow("read-only file in a read-only folder") << 0555 << 0444;
    }

    void savesThatMustBeRefused()
    {
        QFETCH(int, folderMode);
        QFETCH(int, fileMode);
        QTemporaryDir base;
        ChildProcess::openToOthers(base.path());
        const QString folder = base.filePath(QStringLiteral("site"));
        const QString path = folder + QStringLiteral("/page.html");
        QVERIFY(QDir().mkdir(folder));
        if (fileMode >= 0)
            writeBytes(path, "before");
        giveToSaver(folder, fileMode >= 0 ? QStringList{path} : QStringList{});
        if (fileMode >= 0)
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(fileMode)), 0);
        QCOMPARE(::chmod(QFile::encodeName(folder).constData(), mode_t(folderMode)), 0);

        const QString report = ChildProcess::run([&] {
            const Result<TextFile::WriteInfo> w = TextFile::write(path, "after", {});
            ChildProcess::Faults faults;
            faults.check(!w.ok(), QStringLiteral("the save went through"));
            faults.check(w.error() == QLatin1String("Permission denied"), QStringLiteral("error: ") + w.error());
            return faults.report();
        }, ChildProcess::As::Unprivileged);
        ::chmod(QFile::encodeName(folder).constData(), 0755);
        QCOMPARE(report, QString());
        const QStringList expected = fileMode >= 0 ? QStringList{QStringLiteral("page.html")} : QStringList{};
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), expected);
        if (fileMode >= 0) {
            QCOMPARE(readBytes(path), QByteArray("before"));
            struct stat st;
            QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
            QCOMPARE(int(st.st_mode & 07777), fileMode);
        }
    }

    // Saving in shared places: the file keeps its owner, group, permissions
    // and hard links. Where a new file could not be given those (another
    // user's file, a second link) or the folder takes no new file, the file
    // is written in place, keeping its inode; otherwise it is replaced.
    void saveKeepsOwnerGroupLinksAndPermissions_data()
    {
        QTest::addColumn<bool>("byNobody");    // else by root
        QTest::addColumn<int>("folderGroup");
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<int>("fileOwner");
        QTest::addColumn<int>("fileGroup");
        QTest::addColumn<int>("fileMode");
        QTest::addColumn<bool>("hardLink");
        QTest::addColumn<bool>("inPlace");
        const int nobody = int(ChildProcess::kNobody), nogroup = int(ChildProcess::kNogroup);
        QTest::newRow("root saves a user's file") << false << 0 << 0755 << nobody << nogroup << 0640 << false << false;
        QTest::newRow("a user saves another's file in a shared folder")
            << true << nogroup << 0775 << 0 << nogroup << 0664 << false << true;
        QTest::newRow("a user saves a writable file in a read-only folder")
            << true << 0 << 0755 << nobody << nogroup << 0644 << false << true;
        QTest::newRow("a user saves a file with a second hard link")
            << true << nogroup << 0775 << nobody << nogroup << 0644 << true << true;
        QTest::newRow("a user saves an own file in a shared folder")
            << true << nogroup << 0775 << nobody << nogroup << 0600 << false << false;
    }

    void saveKeepsOwnerGroupLinksAndPermissions()
    {
        QFETCH(bool, byNobody);
        QFETCH(int, folderGroup);
        QFETCH(int, folderMode);
        QFETCH(int, fileOwner);
        QFETCH(int, fileGroup);
        QFETCH(int, fileMode);
        QFETCH(bool, hardLink);
        QFETCH(bool, inPlace);
        if (::geteuid() != 0)
            QSKIP("making files of other users needs root");
        QTemporaryDir base;
        ChildProcess::openToOthers(base.path());
        const QString folder = base.filePath(QStringLiteral("site"));
        const QString path = folder + QStringLiteral("/page.html");
        const QString link = folder + QStringLiteral("/copy.html");
        const QString state = base.filePath(QStringLiteral("state"));   // the saver's state folder, for journals
        QVERIFY(QDir().mkdir(folder));
        QVERIFY(QDir().mkdir(state));
        QCOMPARE(::chmod(QFile::encodeName(state).constData(), 01777), 0);
        writeBytes(path, "old text");
        if (hardLink)
            QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(link).constData()), 0);
        const QByteArray nativePath = QFile::encodeName(path);
        QCOMPARE(::chown(nativePath.constData(), uid_t(fileOwner), gid_t(fileGroup)), 0);
        QCOMPARE(::chmod(nativePath.constData(), mode_t(fileMode)), 0);
        QCOMPARE(::chown(QFile::encodeName(folder).constData(), 0, gid_t(folderGroup)), 0);
        QCOMPARE(::chmod(QFile::encodeName(folder).constData(), mode_t(folderMode)), 0);
        struct stat before;
        QCOMPARE(::stat(nativePath.constData(), &before), 0);

        const QString report = ChildProcess::run([&] {
            qputenv("XDG_STATE_HOME", QFile::encodeName(state));
            const Result<TextFile::WriteInfo> w = TextFile::write(path, "new text", {});
            return w.ok() ? QString() : QStringLiteral("save failed: ") + w.error();
        }, byNobody ? ChildProcess::As::Unprivileged : ChildProcess::As::Self);
        QCOMPARE(report, QString());

        struct stat after;
        QCOMPARE(::stat(nativePath.constData(), &after), 0);
        QCOMPARE(readBytes(path), QByteArray("new text"));
        QCOMPARE(int(after.st_uid), fileOwner);
        QCOMPARE(int(after.st_gid), fileGroup);
        QCOMPARE(int(after.st_mode & 07777), fileMode);
        QCOMPARE(after.st_ino == before.st_ino, inPlace);
        if (hardLink)
            QCOMPARE(readBytes(link), QByteArray("new text"));
        QStringList names{QStringLiteral("page.html")};
        if (hardLink)
            names.prepend(QStringLiteral("copy.html"));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name), names);
        // The journal of the in-place write is gone once the write is done.
        QDirIterator journals(state, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        QVERIFY2(!journals.hasNext(), qPrintable(journals.hasNext() ? journals.next() : QString()));
    }

    // Only regular files are read; a named pipe fails at once instead of
    // waiting for a writer that never comes.
    void readingWhatIsNoFileFails_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("error");
        QTest::newRow("folder") << "folder" << "Is a directory";
        QTest::newRow("missing") << "missing" << "No such file or directory";
        QTest::newRow("named pipe") << "pipe" << "Not a regular file";
    }

    void readingWhatIsNoFileFails()
    {
        QFETCH(QString, name);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe"))).constData(), 0600), 0);
        const Result<QByteArray> r = TextFile::readAll(dir.filePath(name));
        QVERIFY(!r.ok());
        QCOMPARE(r.error(), error);
    }
};

QP_REGISTER_TEST(TextFileTest)
#include "tst_TextFile.moc"
