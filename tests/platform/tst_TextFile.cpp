#include "TestRegistry.h"
#include "platform/Cp1252.h"
#include "platform/RichTextBox.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
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
        const TextFile::ReadResult r = TextFile::read(
            path, [&utf8](const char* p, qsizetype n) { utf8.append(p, n); },
            [&](qsizetype length) {
                QVERIFY(utf8.isEmpty());   // before the first piece
                announced = length;
            });
        QVERIFY(r.ok);
        QCOMPARE(announced, utf8.size());
        QTEST(int(r.format.encoding), "encoding");
        QTEST(r.format.bom, "bom");
        QTEST(int(r.format.lineBreak), "lineBreak");
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
            QVERIFY(box.LoadFile(in).ok);
            const TextFile::WriteResult w = box.SaveFile(out);
            QVERIFY(w.ok);
            QVERIFY(!w.switchedToUtf8);
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
        QVERIFY(box.LoadFile(path).ok);
        QCOMPARE(box.format().encoding, Encoding::Cp1252);
        box.SetSelStart(box.TextLength());
        box.SetSelText(QStringLiteral("中文 €"));
        const TextFile::WriteResult w = box.SaveFile(path);
        QVERIFY(w.ok);
        QVERIFY(w.switchedToUtf8);
        QCOMPARE(box.format().encoding, Encoding::Utf8);
        QCOMPARE(readBytes(path), QStringLiteral("café\r\n中文 €").toUtf8());

        // Characters the code page has stay in it.
        writeBytes(path, QByteArray("caf\xE9"));
        QVERIFY(box.LoadFile(path).ok);
        box.SetSelText(QStringLiteral("€"));
        QVERIFY(!box.SaveFile(path).switchedToUtf8);
        QCOMPARE(readBytes(path), QByteArray("\x80" "caf\xE9"));
    }

    void saveKeepsPermissionsAndFollowsLinks()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("page.html"));
        const QString link = dir.filePath(QStringLiteral("link.html"));
        writeBytes(target, "old");
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        QVERIFY(QFile::link(target, link));
        QVERIFY(TextFile::write(link, "new", TextFormat{}).ok);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(readBytes(target), QByteArray("new"));
        QCOMPARE(QFile::permissions(target) & 0x7077,
                 QFileDevice::Permissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    }

    void failedSaveLeavesTheOldFileWhole()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("keep.txt"));
        writeBytes(path, "precious");

        // A folder that does not exist.
        const TextFile::WriteResult missing = TextFile::write(dir.filePath(QStringLiteral("nope/x.txt")), "x", {});
        QVERIFY(!missing.ok);
        QVERIFY(!missing.error.isEmpty());

        // A write that runs out of room half-way (a file size limit works
        // for every user, root included).
        const QByteArray big(1 << 20, 'x');
        struct rlimit old;
        getrlimit(RLIMIT_FSIZE, &old);
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = old;
        small.rlim_cur = 4096;
        setrlimit(RLIMIT_FSIZE, &small);
        const TextFile::WriteResult full = TextFile::write(path, big, {});
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!full.ok);
        QVERIFY(!full.error.isEmpty());
        QCOMPARE(readBytes(path), QByteArray("precious"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);   // no stray temp file
    }

    // A read-only folder, and a read-only file in a writable one: the save
    // is refused and the file stays as it was. Root may write anywhere, so
    // this needs an ordinary user.
    void readOnlyPlacesRefuseTheSave()
    {
        if (geteuid() == 0)
            QSKIP("permissions do not bind root");
        QTemporaryDir dir;
        const QString ro = dir.filePath(QStringLiteral("ro"));
        QVERIFY(QDir().mkpath(ro));
        writeBytes(ro + QStringLiteral("/a.txt"), "before");
        QFile::setPermissions(ro, QFile::ReadOwner | QFile::ExeOwner);
        const TextFile::WriteResult denied = TextFile::write(ro + QStringLiteral("/a.txt"), "after", {});
        QFile::setPermissions(ro, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!denied.ok);
        QVERIFY(!denied.error.isEmpty());
        QCOMPARE(readBytes(ro + QStringLiteral("/a.txt")), QByteArray("before"));

        const QString file = dir.filePath(QStringLiteral("locked.txt"));
        writeBytes(file, "before");
        QFile::setPermissions(file, QFile::ReadOwner);
        const TextFile::WriteResult refused = TextFile::write(file, "after", {});
        QVERIFY(!refused.ok);
        QCOMPARE(readBytes(file), QByteArray("before"));
        QCOMPARE(QFile::permissions(file), QFile::ReadOwner);
    }

    void readingAFolderOrMissingFileFails()
    {
        QTemporaryDir dir;
        QByteArray utf8;
        QVERIFY(!TextFile::readAll(dir.path(), &utf8).ok);
        const TextFile::ReadResult r = TextFile::readAll(dir.filePath(QStringLiteral("missing")), &utf8);
        QVERIFY(!r.ok);
        QVERIFY(!r.error.isEmpty());
    }
};

QP_REGISTER_TEST(TextFileTest)
#include "tst_TextFile.moc"
