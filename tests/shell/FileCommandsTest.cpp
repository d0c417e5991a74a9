#include "FakePacing.h"
#include "EditorParts.h"
#include "MainWindowFixture.h"
#include "editor/EngineProbe.h"
#include "TestRegistry.h"
#include "services/QtPrompts.h"
#include "editor/RichTextBox.h"
#include "shell/FileCommands.h"
#include "shell/frmFileProperties.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QTimer>
#include <QFileInfo>
#include <QLabel>
#include <QScopeGuard>
#include <QTest>

#include "ChildProcess.h"

#include <fcntl.h>
#include <limits>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using Answer = Prompts::Answer;

class FileCommandsTest : public QObject {
    Q_OBJECT
private slots:
    // A large file shows how far it is read, with no Cancel: the file
    // commands on their own, with the document and a view.
    void loadingShowsProgress()
    {
        EditorParts f;
        const QString path = f.file(QStringLiteral("page.txt"), QByteArray(8 << 20, 'x'));
        f.pad.show();
        FakePacing pacing;
        pacing.cancelAfter = 1;
        QVERIFY(f.files.loadAsDocument(path));
        QVERIFY(pacing.shown.size() > 2);
        QCOMPARE(f.pad.TextLength(), 8 << 20);
        QCOMPARE(f.doc.location(), path);
    }

    void newAsksOnlyWhenChanged()
    {
        EditorParts f;
        f.files.New();
        QVERIFY(f.prompts.calls.isEmpty());
        QCOMPARE(f.doc.caption(), QStringLiteral("Quirkpad"));

        f.pad.SetText(QStringLiteral("draft"));
        f.prompts.answer(Answer::Cancel);
        f.files.New();
        QCOMPARE(f.prompts.calls.last().text,
                 QStringLiteral("Would you like to save your document before starting a new document?"));
        QCOMPARE(f.pad.Text(), QStringLiteral("draft"));

        // Yes, then the save dialog cancelled: nothing is thrown away.
        f.prompts.answer(Answer::Yes).answerSave(std::nullopt);
        f.files.New();
        QCOMPARE(f.pad.Text(), QStringLiteral("draft"));
        QVERIFY(f.doc.isModified());

        f.prompts.answer(Answer::No);
        f.files.New();
        QCOMPARE(f.pad.Text(), QString());
        QVERIFY(!f.doc.isModified());
        QCOMPARE(f.prompts.pending(), 0);
    }

    void openUsesTheDialogSettingsAndRemembersTheFolder()
    {
        EditorParts f;
        const QString path = f.file(QStringLiteral("index.htm"), "<html>");
        f.settings.store(Setting::LastDir, QStringLiteral("/start/here/"));
        f.prompts.answerOpen(path);
        QVERIFY(f.files.OpenDocument());
        const Prompts::FileDialog& d = f.prompts.calls.last().dialog;
        QCOMPARE(d.title, QStringLiteral("Quirkpad - Open File"));
        QCOMPARE(d.filter, QStringLiteral(
            "All Files (*.*)|*.*|Quirkpad Documents (*.qpd)|*.qpd|Text Documents (*.txt)|*.txt|HTML Files "
            "(*.htm)|*.htm|ASP Files (*.asp)|*.asp|ASP .NET Files (*.aspx)|*.aspx|PHP Files (*.php)|*.php|XML "
            "Files (*.xml)|*.xml|C++ Files (*.cpp)|*.cpp"));
        QCOMPARE(d.filterIndex, 1);
        QCOMPARE(d.initDir, QStringLiteral("/start/here/"));
        QVERIFY(d.mustExist);
        QCOMPARE(f.pad.Text(), QStringLiteral("<html>"));
        QVERIFY(!f.doc.isModified());
        QCOMPARE(f.doc.caption(), QStringLiteral("Quirkpad (\"%1\")").arg(path));
        QCOMPARE(f.settings.get(Setting::LastDir), f.dir.path() + QLatin1Char('/'));

        // The next dialog starts there.
        f.prompts.answerOpen(std::nullopt);
        QVERIFY(!f.files.OpenDocument());
        QCOMPARE(f.prompts.calls.last().dialog.initDir, f.dir.path() + QLatin1Char('/'));
        QCOMPARE(f.pad.Text(), QStringLiteral("<html>"));
    }

    void openAfterYesAndACancelledSaveStops()
    {
        EditorParts f;
        f.pad.SetText(QStringLiteral("unsaved"));
        f.prompts.answer(Answer::Yes).answerSave(std::nullopt);
        QVERIFY(!f.files.OpenDocument());
        QCOMPARE(f.prompts.calls.first().text,
                 QStringLiteral("Would you like to save your document before opening another?"));
        QCOMPARE(f.prompts.calls.size(), 2);   // no open dialog after the failed save
        QCOMPARE(f.pad.Text(), QStringLiteral("unsaved"));
        QVERIFY(f.doc.isModified());
    }

    // Yes to the save question, and the document's own file cannot be
    // written: the command stops with the text and its flag as they were.
    void askToSaveThenAFailedWriteStops_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("question");
        QTest::newRow("New") << "New" << "Would you like to save your document before starting a new document?";
        QTest::newRow("Open") << "Open" << "Would you like to save your document before opening another?";
    }

    void askToSaveThenAFailedWriteStops()
    {
        QFETCH(QString, command);
        QFETCH(QString, question);
        EditorParts f;
        QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("sub")));
        const QString path = f.file(QStringLiteral("sub/doc.txt"), "old");
        QVERIFY(f.files.loadAsDocument(path));
        f.pad.SetText(QStringLiteral("edited"));
        QVERIFY(QDir(f.dir.filePath(QStringLiteral("sub"))).removeRecursively());
        f.prompts.answer(Answer::Yes).answer(Answer::Ok);
        if (command == QLatin1String("New"))
            f.files.New();
        else
            QVERIFY(!f.files.OpenDocument());
        QCOMPARE(f.prompts.calls.size(), 2);   // the question, then the error; no open dialog
        QCOMPARE(f.prompts.calls.first().text, question);
        QCOMPARE(f.prompts.calls.first().icon, Prompts::Icon::Exclamation);
        QCOMPARE(f.prompts.calls.first().buttons, Prompts::Buttons::YesNoCancel);
        QCOMPARE(f.prompts.calls.last().icon, Prompts::Icon::Error);
        QCOMPARE(f.pad.Text(), QStringLiteral("edited"));
        QVERIFY(f.doc.isModified());
        QCOMPARE(f.doc.location(), path);
    }

    void openOfAnUnreadableChoiceKeepsTheDocument()
    {
        EditorParts f;
        f.pad.SetText(QStringLiteral("mine"));
        f.prompts.answer(Answer::No).answerOpen(f.dir.path()).answer(Answer::Ok);
        QVERIFY(!f.files.OpenDocument());
        QVERIFY(f.prompts.calls.last().text.startsWith(QStringLiteral("Error:\r\n\"")));
        QCOMPARE(f.prompts.calls.last().icon, Prompts::Icon::Error);
        QCOMPARE(f.pad.Text(), QStringLiteral("mine"));
        QCOMPARE(f.doc.location(), QString());
        QCOMPARE(f.settings.get(Setting::LastDir), QString());
    }

    // A file larger than a document can be: refused with the error box
    // before anything changes, whichever way it comes (a sparse file costs
    // no disk). The control keeps its lock and its undo.
    void aFileTooLargeToEditLeavesTheDocumentAsItWas_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Open") << "Open";
        QTest::newRow("Revert") << "Revert";
        QTest::newRow("start-up") << "start-up";
    }

    void aFileTooLargeToEditLeavesTheDocumentAsItWas()
    {
        QFETCH(QString, way);
        EditorParts f;
        const QString mine = f.file(QStringLiteral("mine.html"), "mine");
        const QString big = f.file(QStringLiteral("big.html"), "");
        constexpr qint64 kSize = 2362232013;   // 2.2 GB
        QVERIFY(QFile::resize(way == QLatin1String("Revert") ? mine : big, kSize));
        const QString expected = QStringLiteral("Error:\r\n\"The file is too large to edit: it has %1 bytes, and the "
                                                "editor can hold at most %2\"")
                                     .arg(QLocale::system().toString(kSize),
                                          QLocale::system().toString(qint64(std::numeric_limits<int>::max())));
        if (way == QLatin1String("start-up")) {
            MainWindowFixture main;
            main.prompts.answer(Answer::Ok);
            frmMain& w = main.make({QStringLiteral("quirkpad"), big});
            QCOMPARE(main.prompts.messages(), QStringList{expected});
            QCOMPARE(padOf(w)->document().location(), QString());
            QCOMPARE(w.windowTitle(), QStringLiteral("Quirkpad"));
            QCOMPARE(padOf(w)->Text(), QString());
            return;
        }
        if (way == QLatin1String("Open")) {
            QVERIFY(f.files.loadAsDocument(mine));
            f.pad.SetSelStart(4);
            f.pad.SetSelText(QStringLiteral("!"));
            f.prompts.answer(Answer::No).answerOpen(big).answer(Answer::Ok);
        } else {
            f.pad.SetText(QStringLiteral("mine!"));   // as if it was loaded before the file grew
            f.doc.becomeNamed(mine);
            f.doc.setModified(true);
            f.prompts.answer(Answer::Yes).answer(Answer::Ok);
        }
        f.pad.SetLocked(true);
        if (way == QLatin1String("Open"))
            QVERIFY(!f.files.OpenDocument());
        else
            f.files.RevertDocument();
        QCOMPARE(f.prompts.messages().last(), expected);
        QCOMPARE(f.prompts.pending(), 0);
        QCOMPARE(f.pad.Text(), QStringLiteral("mine!"));
        QCOMPARE(f.doc.location(), mine);
        QVERIFY(f.doc.isModified());
        QCOMPARE(f.doc.caption(), QStringLiteral("Quirkpad (\"%1\")").arg(mine));
        QVERIFY(f.pad.Locked());
        f.pad.SetLocked(false);
        f.pad.SetSelStart(0);
        QTest::keyClick(&f.pad, Qt::Key_A);
        QCOMPARE(f.pad.Text(), QStringLiteral("amine!"));
        f.pad.Undo();
        QCOMPARE(f.pad.Text(), QStringLiteral("mine!"));
    }

    // Memory runs out while the file goes into the control, after the old
    // text has gone: the error box, and a new empty document in place of a
    // part of the file that could be saved over it; the control's lock and
    // undo come back. In a child whose address space is capped.
    void aLoadThatRunsOutOfMemoryLeavesANewEmptyDocument()
    {
        EditorParts f;
        const QString mine = f.file(QStringLiteral("mine.html"), "mine");
        const QString big = f.file(QStringLiteral("big.html"), "");
        QVERIFY(QFile::resize(big, 256 << 20));   // valid text: NUL bytes
        QVERIFY(f.files.loadAsDocument(mine));
        f.pad.SetLocked(true);
        f.prompts.answerOpen(big).answer(Answer::Ok);

        const QString report = ChildProcess::run([&] {
            QFile status(QStringLiteral("/proc/self/status"));
            status.open(QIODevice::ReadOnly);
            const QByteArray text = status.readAll();
            const qsizetype at = text.indexOf("VmSize:") + 7;
            const QByteArray kb = text.mid(at, text.indexOf('\n', at) - at).trimmed().split(' ').value(0);
            const rlim_t size = kb.toULongLong() * 1024;
            const struct rlimit cap{size + (48 << 20), size + (48 << 20)};
            ChildProcess::Faults faults;
            faults.check(::setrlimit(RLIMIT_AS, &cap) == 0, QStringLiteral("no cap on memory"));
            faults.check(!f.files.OpenDocument(), QStringLiteral("the open went through"));
            faults.check(f.prompts.messages().value(0) == QStringLiteral("Error:\r\n\"Cannot allocate memory\""),
                         QStringLiteral("messages: ") + f.prompts.messages().join(QLatin1Char('|')));
            faults.check(f.doc.location().isEmpty(), QStringLiteral("still named ") + f.doc.location());
            faults.check(!f.doc.isModified(), QStringLiteral("changed flag"));
            faults.check(f.doc.caption() == QLatin1String("Quirkpad"), QStringLiteral("caption ") + f.doc.caption());
            faults.check(f.pad.TextLength() == 0, QStringLiteral("text left in the control"));
            faults.check(f.pad.Locked(), QStringLiteral("the lock was lost"));
            faults.check(EngineProbe::of(f.pad).SendScintilla(QsciScintillaBase::SCI_GETUNDOCOLLECTION) == 1,
                         QStringLiteral("undo collection left off"));
            return faults.report();
        });
        QCOMPARE(report, QString());
    }

    // A name that is not UTF-8 comes back from a file dialog with U+FFFD in
    // place of its odd bytes and so names no file: the message says why.
    void openOfANameThatIsNotUtf8SaysSo()
    {
        EditorParts f;
        const QByteArray native = QFile::encodeName(f.dir.path()) + "/caf\xE9.html";
        const auto removeByBytes = qScopeGuard([&] { ::unlink(native.constData()); });   // Qt cannot name it
        const int fd = ::open(native.constData(), O_WRONLY | O_CREAT, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);
        f.prompts.answerOpen(QFile::decodeName(native)).answer(Answer::Ok);
        QVERIFY(!f.files.OpenDocument());
        QCOMPARE(f.prompts.messages(),
                 QStringList{QStringLiteral("Error:\r\n\"The file name is not valid UTF-8, so the file cannot be "
                                            "found under it\"")});
    }

    // The usual web-root set-up: the file was given to the user, the folder
    // was not. The save goes through, in place; a read-only file is still
    // refused with the error box and stays changed. As nobody where the
    // tests run as root.
    void savingInAFolderTheUserMayNotWrite_data()
    {
        QTest::addColumn<int>("fileMode");
        QTest::addColumn<bool>("saved");
        QTest::newRow("writable file") << 0644 << true;
        QTest::newRow("read-only file") << 0444 << false;
    }

    void savingInAFolderTheUserMayNotWrite()
    {
        QFETCH(int, fileMode);
        QFETCH(bool, saved);
        EditorParts f;
        QTemporaryDir base;
        const QString folder = base.filePath(QStringLiteral("www"));
        QVERIFY(QDir().mkdir(folder));
        const QString path = folder + QStringLiteral("/index.html");
        {
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write("<p>old</p>");
        }
        ChildProcess::openToOthers(folder);
        const QString state = base.filePath(QStringLiteral("state"));   // the saver's own, for the journal
        QVERIFY(QDir().mkdir(state));
        QCOMPARE(::chmod(QFile::encodeName(state).constData(), 01777), 0);
        if (::geteuid() == 0)
            QCOMPARE(::chown(QFile::encodeName(path).constData(), ChildProcess::kNobody, ChildProcess::kNogroup), 0);
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(fileMode)), 0);
        QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
        QVERIFY(f.files.loadAsDocument(path));
        f.pad.SetSelStart(3);
        f.pad.SetSelText(QStringLiteral("new "));
        if (!saved)
            f.prompts.answer(Answer::Ok);

        const QString report = ChildProcess::run([&] {
            qputenv("XDG_STATE_HOME", QFile::encodeName(state));
            ChildProcess::Faults faults;
            faults.check(f.files.SaveDocument() == saved, QStringLiteral("the save went otherwise"));
            faults.check(f.doc.isModified() != saved, QStringLiteral("changed flag"));
            const QStringList expected = saved ? QStringList{}
                                               : QStringList{QStringLiteral("Error:\r\n\"Permission denied\"")};
            faults.check(f.prompts.messages() == expected,
                         QStringLiteral("messages: ") + f.prompts.messages().join(QLatin1Char('|')));
            return faults.report();
        }, ChildProcess::As::Unprivileged);
        ::chmod(QFile::encodeName(folder).constData(), 0755);
        QCOMPARE(report, QString());
        QCOMPARE(TestFiles::read(path), saved ? QByteArray("<p>new old</p>") : QByteArray("<p>old</p>"));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("index.html")});
    }

    void saveWithALocationWritesWithoutADialog()
    {
        EditorParts f;
        const QString path = f.file(QStringLiteral("a.htm"), "one\ntwo\n");
        QVERIFY(f.files.loadAsDocument(path));
        f.settings.store(Setting::LastDir, QStringLiteral("/elsewhere/"));
        f.pad.SetSelStart(3);
        f.pad.SetSelText(QStringLiteral("!"));
        const QString caption = f.doc.caption();
        QVERIFY(f.files.SaveDocument());
        QVERIFY(f.prompts.calls.isEmpty());
        QCOMPARE(TestFiles::read(path), QByteArray("one!\ntwo\n"));   // LF kept
        QVERIFY(!f.doc.isModified());
        QCOMPARE(f.doc.caption(), caption);
        QCOMPARE(f.settings.get(Setting::LastDir), QStringLiteral("/elsewhere/"));
    }

    void saveAsWritesTheNameAsTyped()
    {
        EditorParts f;
        f.pad.SetText(QStringLiteral("plain notes"));
        const QString path = f.dir.filePath(QStringLiteral("notes"));
        f.prompts.answerSave(path);
        QVERIFY(f.files.SaveDocument());
        const Prompts::FileDialog& d = f.prompts.calls.last().dialog;
        QCOMPARE(d.title, QStringLiteral("Quirkpad - Save File"));
        QVERIFY(d.confirmCreate && d.confirmOverwrite && !d.mustExist);
        QVERIFY(QFileInfo(path).isFile());
        QVERIFY(!QFileInfo::exists(path + QStringLiteral(".txt")));
        QCOMPARE(TestFiles::read(path), QByteArray("plain notes"));
        QCOMPARE(f.doc.location(), path);
        QCOMPARE(f.doc.caption(), QStringLiteral("Quirkpad (\"%1\")").arg(path));
        QCOMPARE(f.settings.get(Setting::LastDir), f.dir.path() + QLatin1Char('/'));
    }

    void aFailedWriteChangesNothing()
    {
        EditorParts f;
        const QString path = f.file(QStringLiteral("keep.txt"), "kept");
        QVERIFY(f.files.loadAsDocument(path));
        f.pad.SetText(QStringLiteral("new text"));
        f.settings.store(Setting::LastDir, QStringLiteral("/before/"));
        f.prompts.answerSave(f.dir.filePath(QStringLiteral("missing/folder/x.txt"))).answer(Answer::Ok);
        QVERIFY(!f.files.SaveAs());
        QVERIFY(f.prompts.calls.last().text.startsWith(QStringLiteral("Error:\r\n\"")));
        QCOMPARE(f.doc.location(), path);
        QVERIFY(f.doc.isModified());
        QCOMPARE(f.doc.caption(), QStringLiteral("Quirkpad (\"%1\")").arg(path));
        QCOMPARE(f.settings.get(Setting::LastDir), QStringLiteral("/before/"));
        QCOMPARE(TestFiles::read(path), QByteArray("kept"));
    }

    void charactersOutsideTheFilesCodePageAreSavedAsUtf8WithANotice()
    {
        EditorParts f;
        const QString path = f.file(QStringLiteral("old.txt"), "caf\xE9");
        QVERIFY(f.files.loadAsDocument(path));
        f.pad.SetSelText(QStringLiteral("日本 "));
        f.prompts.answer(Answer::Ok);
        QVERIFY(f.files.SaveDocument());
        QCOMPARE(f.prompts.calls.last().icon, Prompts::Icon::Information);
        QVERIFY(f.prompts.calls.last().text.contains(QStringLiteral("UTF-8")));
        QCOMPARE(TestFiles::read(path), QStringLiteral("日本 café").toUtf8());
    }

    void revert()
    {
        EditorParts f;
        f.prompts.answer(Answer::Ok);
        f.files.RevertDocument();
        QCOMPARE(f.prompts.calls.last().text, QStringLiteral("No document open to reload."));
        QCOMPARE(f.prompts.calls.last().icon, Prompts::Icon::Exclamation);

        const QString path = f.file(QStringLiteral("r.txt"), "on disk");
        f.files.loadAsDocument(path);
        f.pad.SetText(QStringLiteral("edited"));
        f.prompts.answer(Answer::No);
        f.files.RevertDocument();
        QCOMPARE(f.prompts.calls.last().icon, Prompts::Icon::Question);
        QCOMPARE(f.prompts.calls.last().buttons, Prompts::Buttons::YesNo);
        QCOMPARE(f.pad.Text(), QStringLiteral("edited"));

        f.prompts.answer(Answer::Yes).answer(Answer::Ok);
        f.files.RevertDocument();
        QCOMPARE(f.pad.Text(), QStringLiteral("on disk"));
        QVERIFY(f.doc.isModified());
        QCOMPARE(f.prompts.calls.last().text, QStringLiteral("Document reloaded."));
        QCOMPARE(f.prompts.calls.last().icon, Prompts::Icon::Information);

        // The file has gone: the error, no "reloaded", the text untouched.
        QFile::remove(path);
        f.pad.SetText(QStringLiteral("still here"));
        f.prompts.answer(Answer::Yes).answer(Answer::Ok);
        f.files.RevertDocument();
        QVERIFY(f.prompts.calls.last().text.startsWith(QStringLiteral("Error:\r\n\"")));
        QCOMPARE(f.pad.Text(), QStringLiteral("still here"));
        QCOMPARE(f.prompts.pending(), 0);
    }

    // The properties window shows the file's name as written (even one that
    // looks like markup), its folder and its size.
    void filePropertiesShowTheNameAsWritten()
    {
        TestFiles f;
        const QString path = f.file(QStringLiteral("<i>props.html"), QByteArray(1234, 'x'));
        const auto rows = frmFileProperties::describe(path);
        QCOMPARE(rows.at(0).value, QStringLiteral("<i>props.html"));
        QCOMPARE(rows.at(1).value, f.dir.path());
        QCOMPARE(rows.at(2).value, QStringLiteral("%1 (%2 bytes)")
                                       .arg(QLocale::system().formattedDataSize(1234), QLocale::system().toString(1234)));
        QCOMPARE(frmFileProperties::describe(f.file(QStringLiteral("one"), "x")).at(2).value, QStringLiteral("1 byte"));
        frmFileProperties props(path, nullptr);
        bool plainName = false;
        for (const QLabel* label : props.findChildren<QLabel*>())
            plainName |= label->text() == rows.at(0).value && label->textFormat() == Qt::PlainText;
        QVERIFY(plainName);
    }

    // The real save dialog: the file types read as the filter literal gives
    // them, "All Files (*.*)" lists names without a dot and dot-files,
    // another type really filters, and a name typed under it gets no
    // extension added.
    void theDialogListsEveryFileAndAddsNoExtension()
    {
        QTemporaryDir dir;
        for (const char* name : {"Makefile", "page.htm", "notes.txt", ".htaccess"}) {
            QFile f(dir.filePath(QLatin1String(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QStringList types, listedAll, listedText;
        bool driven = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            auto* list = dialog->findChild<QListView*>(QStringLiteral("listView"));
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!combo || !list || !name)
                return dialog->reject();
            for (int i = 0; i < combo->count(); ++i)
                types << combo->itemText(i);
            const auto listed = [list] {
                QStringList names;
                const QModelIndex root = list->rootIndex();
                for (int row = 0; row < list->model()->rowCount(root); ++row)
                    names << list->model()->index(row, 0, root).data().toString();
                names.sort();
                return names;
            };
            (void)QTest::qWaitFor([&] { return listed().size() == 4; }, 30000);
            listedAll = listed();
            combo->setCurrentIndex(2);
            emit combo->activated(2);
            (void)QTest::qWaitFor([&] { return listed().size() == 1; }, 30000);
            listedText = listed();
            name->setText(QStringLiteral("draft"));
            driven = true;
            static_cast<QDialog*>(dialog)->accept();   // as the Save button does
        });
        QtPrompts prompts;
        Prompts::FileDialog d;
        d.title = QStringLiteral("Quirkpad - Save File");
        d.filter = DocumentService::kFileFilter;
        d.initDir = dir.path();
        const std::optional<QString> chosen = prompts.saveFile(d);
        QVERIFY(driven);
        QCOMPARE(types, (QStringList{"All Files (*.*)", "Quirkpad Documents (*.qpd)", "Text Documents (*.txt)",
                                     "HTML Files (*.htm)", "ASP Files (*.asp)", "ASP .NET Files (*.aspx)",
                                     "PHP Files (*.php)", "XML Files (*.xml)", "C++ Files (*.cpp)"}));
        QCOMPARE(listedAll, (QStringList{".htaccess", "Makefile", "notes.txt", "page.htm"}));
        QCOMPARE(listedText, QStringList{"notes.txt"});
        QCOMPARE(chosen.value_or(QString()), dir.filePath(QStringLiteral("draft")));
    }
};

QP_REGISTER_TEST(FileCommandsTest)
#include "FileCommandsTest.moc"
