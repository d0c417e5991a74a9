#include "MainWindowFixture.h"
#include "TestRegistry.h"
#include "files/AppPaths.h"
#include "files/NativePath.h"
#include "editor/RichTextBox.h"
#include "shell/Startup.h"

#include <QDir>
#include <QScopeGuard>
#include <QFileInfo>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class StartupAndClosingTest : public QObject {
    Q_OBJECT
private slots:
    void startsEmptyWithoutArguments()
    {
        MainWindowFixture f;
        frmMain& w = f.make();
        QCOMPARE(w.windowTitle(), QStringLiteral("Quirkpad"));
        QCOMPARE(padOf(w)->document().location(), QString());
        QCOMPARE(changedLabel(w), QStringLiteral("No"));
        QCOMPARE(padOf(w)->Text(), QString());
        QVERIFY(f.prompts.calls.isEmpty());
    }

    void opensTheNamedFile_data()
    {
        QTest::addColumn<QStringList>("arguments");   // after the program's name; %1 is the folder
        QTest::addColumn<QString>("name");
        QTest::newRow("quoted") << QStringList{QStringLiteral("\"%1/page.html\"")} << QStringLiteral("page.html");
        QTest::newRow("blanks without quotes")
            << QStringList{QStringLiteral("%1/my"), QStringLiteral("web"), QStringLiteral("page.html")}
            << QStringLiteral("my web page.html");
        QTest::newRow("blanks with quotes")
            << QStringList{QStringLiteral("\"%1/my"), QStringLiteral("web"), QStringLiteral("page.html\"")}
            << QStringLiteral("my web page.html");
        QTest::newRow("dot-file") << QStringList{QStringLiteral("%1/.htaccess")} << QStringLiteral(".htaccess");
    }

    void opensTheNamedFile()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, name);
        MainWindowFixture f;
        const QString path = f.file(name, "<p>hi</p>\r\n");
        QStringList argv{QStringLiteral("quirkpad")};
        for (const QString& a : arguments)
            argv << QString(a).replace(QStringLiteral("%1"), f.dir.path());   // not every one names the folder
        frmMain& w = f.make(argv);
        QVERIFY(f.prompts.calls.isEmpty());
        QCOMPARE(padOf(w)->Text(), QStringLiteral("<p>hi</p>\r\n"));
        QCOMPARE(padOf(w)->document().location(), path);
        QCOMPARE(changedLabel(w), QStringLiteral("No"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Quirkpad (\"") + path + QStringLiteral("\")"));
        QCOMPARE(w.findChild<QWidget*>(QStringLiteral("lblLocation"))->property("text").toString(), path);
    }

    // File names are bytes. A name that is not UTF-8 reaches its file from
    // the command line as main() gets it, and a save writes that same file
    // back, with no second file beside it.
    void opensAndSavesANameThatIsNotUtf8_data()
    {
        QTest::addColumn<QByteArray>("folder");   // "" for none
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("a Latin-1 byte") << QByteArray() << QByteArray("caf\xE9.html");
        QTest::newRow("in the folder's name") << QByteArray("d\xFCr") << QByteArray("page.html");
        QTest::newRow("the UTF-8 form of a surrogate") << QByteArray() << QByteArray("x\xED\xB2\x80.html");
        QTest::newRow("a character cut off") << QByteArray() << QByteArray("end\xE2\x82");
        QTest::newRow("an overlong slash") << QByteArray() << QByteArray("a\xC0\xAF.html");
        QTest::newRow("plain UTF-8") << QByteArray("ü") << QByteArray("café.html");
    }

    void opensAndSavesANameThatIsNotUtf8()
    {
        QFETCH(QByteArray, folder);
        QFETCH(QByteArray, name);
        MainWindowFixture f;
        QByteArray where = QFile::encodeName(f.dir.path());
        if (!folder.isEmpty()) {
            where += '/' + folder;
            QCOMPARE(::mkdir(where.constData(), 0755), 0);
        }
        const QByteArray native = where + '/' + name;
        // Qt cannot remove what it cannot name.
        const auto removeByBytes = qScopeGuard([&] {
            ::unlink(native.constData());
            if (!folder.isEmpty())
                ::rmdir(where.constData());
        });
        const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        QVERIFY(fd >= 0);
        QCOMPARE(::write(fd, "<p>hi</p>", 9), 9);
        ::close(fd);

        const char* argv[] = {"quirkpad", native.constData()};
        frmMain& w = f.make(Startup::arguments(2, argv));
        QCOMPARE(f.prompts.messages(), QStringList());
        QCOMPARE(padOf(w)->Text(), QStringLiteral("<p>hi</p>"));
        QCOMPARE(NativePath::toNative(padOf(w)->document().location()), native);
        padOf(w)->SetSelStart(3);
        padOf(w)->SetSelText(QStringLiteral("oh, "));
        run(w, Cmd::mnuSave);
        QCOMPARE(f.prompts.messages(), QStringList());
        QCOMPARE(changedLabel(w), QStringLiteral("No"));

        const int in = ::open(native.constData(), O_RDONLY);
        QVERIFY(in >= 0);
        char bytes[64];
        const ssize_t n = ::read(in, bytes, sizeof bytes);
        ::close(in);
        QCOMPARE(QByteArray(bytes, int(n)), QByteArray("<p>oh, hi</p>"));
        QList<QByteArray> names;
        DIR* d = ::opendir(where.constData());
        while (const dirent* e = ::readdir(d))
            if (e->d_name[0] != '.')
                names << QByteArray(e->d_name);
        ::closedir(d);
        QCOMPARE(names, QList<QByteArray>{name});
    }

    void namesThatAreNoFileGiveOneMessage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("shownPath");
        QTest::newRow("missing") << QStringList{QStringLiteral("%1/none.html")} << QStringLiteral("%1/none.html");
        QTest::newRow("two names") << QStringList{QStringLiteral("%1/a.txt"), QStringLiteral("%1/b.txt")}
                                   << QStringLiteral("%1/a.txt %1/b.txt");
        QTest::newRow("folder") << QStringList{QStringLiteral("\"%1\"")} << QStringLiteral("%1");
    }

    void namesThatAreNoFileGiveOneMessage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, shownPath);
        MainWindowFixture f;
        f.file(QStringLiteral("a.txt"), "a");
        f.file(QStringLiteral("b.txt"), "b");
        QStringList argv{QStringLiteral("quirkpad")};
        for (const QString& a : arguments)
            argv << QString(a).replace(QStringLiteral("%1"), f.dir.path());   // not every one names the folder
        f.prompts.answer(Prompts::Answer::Ok);
        frmMain& w = f.make(argv);
        QCOMPARE(f.prompts.calls.size(), 1);
        const auto& call = f.prompts.calls.first();
        QCOMPARE(call.text, QStringLiteral("Error:\r\nUnable to open file ") + QString(shownPath).replace(QStringLiteral("%1"), f.dir.path()) +
                                QStringLiteral("."));
        QCOMPARE(call.icon, Prompts::Icon::Error);
        QCOMPARE(call.buttons, Prompts::Buttons::Ok);
        QCOMPARE(w.windowTitle(), QStringLiteral("Quirkpad"));
        QCOMPARE(padOf(w)->document().location(), QString());
        QCOMPARE(padOf(w)->Text(), QString());
    }

    void closingWithChanges_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("untitled");
        QTest::addColumn<bool>("saveDialogCancelled");
        QTest::addColumn<bool>("writeFails");
        QTest::addColumn<bool>("closes");
        QTest::newRow("cancel") << int(Prompts::Answer::Cancel) << true << false << false << false;
        QTest::newRow("no") << int(Prompts::Answer::No) << true << false << false << true;
        QTest::newRow("yes, then the save dialog cancelled")
            << int(Prompts::Answer::Yes) << true << true << false << false;
        QTest::newRow("yes, then the write fails") << int(Prompts::Answer::Yes) << false << false << true << false;
        QTest::newRow("yes, saved to its file") << int(Prompts::Answer::Yes) << false << false << false << true;
    }

    void closingWithChanges()
    {
        QFETCH(int, answer);
        QFETCH(bool, untitled);
        QFETCH(bool, saveDialogCancelled);
        QFETCH(bool, writeFails);
        QFETCH(bool, closes);
        MainWindowFixture f;
        QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("sub")));
        const QString path = f.file(QStringLiteral("sub/doc.txt"), "old");
        frmMain& w = untitled ? f.make() : f.make({QStringLiteral("quirkpad"), path});
        f.show();
        padOf(w)->SetText(QStringLiteral("edited"));
        QCOMPARE(changedLabel(w), QStringLiteral("Yes"));
        const QString temp = AppPaths::tempDir().valueOr(QString());
        QVERIFY(QFileInfo(temp).isDir());

        f.prompts.answer(Prompts::Answer(answer));
        if (saveDialogCancelled)
            f.prompts.answerSave(std::nullopt);
        if (writeFails) {
            // Its folder is gone, so the file cannot be written back.
            QVERIFY(QDir(f.dir.filePath(QStringLiteral("sub"))).removeRecursively());
            f.prompts.answer(Prompts::Answer::Ok);
        }
        QCOMPARE(w.close(), closes);
        QCOMPARE(f.prompts.calls.first().text, QStringLiteral("Would you like to save your document before exiting?"));
        QCOMPARE(f.prompts.calls.first().icon, Prompts::Icon::Exclamation);
        QCOMPARE(f.prompts.calls.first().buttons, Prompts::Buttons::YesNoCancel);
        QCOMPARE(f.prompts.pending(), 0);
        if (closes) {
            QVERIFY(!w.isVisible());
            QVERIFY(!QFileInfo::exists(temp));   // the private temporary folder is gone
            if (!untitled)
                QCOMPARE(TestFiles::read(path), QByteArray("edited"));
        } else {
            QVERIFY(w.isVisible());
            QCOMPARE(padOf(w)->Text(), QStringLiteral("edited"));
            QCOMPARE(changedLabel(w), QStringLiteral("Yes"));
            QVERIFY(QFileInfo(temp).isDir());
        }
    }

    void closingUnchangedAsksNothing()
    {
        MainWindowFixture f;
        frmMain& w = f.show();
        QVERIFY(w.close());
        QVERIFY(f.prompts.calls.isEmpty());
    }

    void windowKeepsItsMinimumWidth()
    {
        MainWindowFixture f;
        frmMain& w = f.show();
        w.resize(200, 150);
        QCOMPARE(w.width(), frmMain::minimumWidthPixels(&w));
        QCOMPARE(w.height(), 150);
        // The editing area may shrink away: only the menu bar, the toolbar and the status bar stay.
        w.resize(600, 1);
        QTRY_VERIFY(w.height() <= w.menuBar()->height() + toolBarOf(w)->height() + w.statusBar()->height() + 8);
        QCOMPARE(frmMain::minimumWidthPixels(&w), 7800 * w.logicalDpiX() / 1440);
    }
};

QP_REGISTER_TEST(StartupAndClosingTest)
#include "StartupAndClosingTest.moc"
