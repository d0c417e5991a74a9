#include "DocToolsSupport.h"
#include "EditorParts.h"
#include "ToolWindows.h"
#include "TestRegistry.h"
#include "doctools/frmMergeDocs.h"
#include "editor/RichTextBox.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>

#include <atomic>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using Answer = Prompts::Answer;

namespace {

const QString kNumberWarning =
    QStringLiteral("Please enter a valid number for the number of lines to place between each file.");
const QString kMissing = QStringLiteral("A file you entered doesn't exist.");

frmMergeDocs* openMerge(EditorParts& f)
{
    return f.open<frmMergeDocs>(f.files, f.prompts);
}

// Fills the path boxes (and the lines box when given) and presses Merge.
void merge(frmMergeDocs* m, const QStringList& paths, const QString& lines = QString())
{
    for (int i = 0; i < 3; ++i)
        m->document(i + 1)->setText(paths.value(i));
    if (!lines.isNull())
        m->lines()->setText(lines);
    m->findChild<QPushButton*>(QStringLiteral("cmdMerge"))->click();
}

QByteArray utf16le(const QString& text)
{
    QByteArray bytes("\xFF\xFE");
    for (const QChar c : text)
        bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return bytes;
}

bool isOpen(const frmMergeDocs* m)
{
    // A closed window is deleted a little later; until then it is hidden.
    return openWindows<frmMergeDocs>().contains(m) && m->isVisible();
}

// Opens the pipe for writing whenever someone reads it, so that opening it
// for reading cannot hang the test: the read ends, and the test fails on
// what was merged instead.
class PipeWriter {
public:
    explicit PipeWriter(const QByteArray& path)
        : m_thread([this, path] {
              while (!m_stop) {
                  const int fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK);
                  if (fd >= 0)
                      ::close(fd);
                  usleep(20000);
              }
          })
    {
    }
    ~PipeWriter()
    {
        m_stop = true;
        m_thread.join();
    }

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

}

class MergeWindowTest : public QObject {
    Q_OBJECT
private slots:
    void opensWithItsTextsAndClosesWithoutInserting()
    {
        EditorParts f;
        f.pad.SetText(QStringLiteral("keep"));
        f.pad.SetSelLength(2);
        frmMergeDocs* m = openMerge(f);
        QVERIFY(m);
        QCOMPARE(m->windowTitle(), QStringLiteral("Quirkpad - Merge Documents"));
        QCOMPARE(m->lines()->text(), QStringLiteral("-1"));

        // Nothing to merge: the selection is not thrown away for it.
        merge(m, {});
        QVERIFY(!isOpen(m));
        QCOMPARE(f.pad.Text(), QStringLiteral("keep"));
        QCOMPARE(f.pad.SelLength(), 2);

        m = openMerge(f);
        m->document(1)->setText(f.file(QStringLiteral("a.txt"), "a"));
        m->close();
        QVERIFY(!isOpen(m));
        QCOMPARE(f.pad.Text(), QStringLiteral("keep"));
        QVERIFY(f.prompts.calls.isEmpty());
    }

    // Three files of different encodings go in where the selection was, in
    // the document's line-break style, as one undo step; saving writes them
    // in the document's own encoding.
    void mergesFilesOfEveryEncoding_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<bool>("utf16");   // the document's encoding; UTF-8 otherwise
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("merged");   // the document's text after the merge
        QTest::newRow("-1, LF") << "-1" << false << "top\nXX\nend" << "top\nÜber\nuns日本\n語naïve €\nend";
        QTest::newRow("0, LF") << "0" << false << "top\nXX\nend" << "top\nÜber\nuns\n日本\n語\nnaïve €\nend";
        QTest::newRow("2, UTF-16 CR LF") << "2" << true << "top\r\nXX\r\nend"
                                         << "top\r\nÜber\r\nuns\r\n\r\n\r\n日本\r\n語\r\n\r\n\r\nnaïve €\r\nend";
    }
    void mergesFilesOfEveryEncoding()
    {
        QFETCH(QString, lines);
        QFETCH(bool, utf16);
        QFETCH(QString, document);
        QFETCH(QString, merged);
        EditorParts f;
        const QString docPath = f.file(QStringLiteral("page.txt"), utf16 ? utf16le(document) : document.toUtf8());
        QVERIFY(f.files.loadAsDocument(docPath));
        const QString before = f.pad.Text();
        f.pad.SetSelStart(int(before.indexOf(QLatin1String("XX"))));
        f.pad.SetSelLength(2);

        const QStringList paths{f.file(QStringLiteral("one.txt"), "\xC3\x9C" "ber\r\nuns"),
                                f.file(QStringLiteral("two.txt"), utf16le(QStringLiteral("日本\r\n語"))),
                                f.file(QStringLiteral("three.txt"), "na\xEFve \x80")};
        frmMergeDocs* m = openMerge(f);
        merge(m, paths, lines);
        QVERIFY(f.prompts.calls.isEmpty());
        QVERIFY(!isOpen(m));
        QCOMPARE(f.pad.Text(), merged);
        // The caret stands right behind the merged text.
        QCOMPARE(merged.mid(f.pad.SelStart()), before.mid(before.indexOf(QLatin1String("XX")) + 2));
        QCOMPARE(f.pad.SelLength(), 0);
        QVERIFY(f.doc.isModified());
        QCOMPARE(f.doc.caption(), QStringLiteral("Quirkpad (\"%1\")").arg(docPath));

        QVERIFY(f.files.SaveDocument());
        QCOMPARE(TestFiles::read(docPath), utf16 ? utf16le(merged) : merged.toUtf8());
        f.pad.Undo();
        QCOMPARE(f.pad.Text(), before);
    }

    // The count is typed into a box of four characters and rounded halves to
    // even; counts it refuses leave the document and the window as they were.
    void linesBox_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("between");   // "refused": the number warning
        QTest::newRow("empty") << "" << "refused";
        QTest::newRow("abc") << "abc" << "refused";
        QTest::newRow("1e") << "1e" << "refused";
        QTest::newRow("1e9, far above four nines") << "1e9" << "refused";
        QTest::newRow("1e4, just above four nines") << "1e4" << "refused";
        QTest::newRow("1.5 is 2") << "1.5" << "\r\n\r\n\r\n";
        QTest::newRow("2.5 is 2, halves to even") << "2.5" << "\r\n\r\n\r\n";
        QTest::newRow("3.5 is 4") << "3.5" << QStringLiteral("\r\n").repeated(5);
        QTest::newRow("-0.5 is 0") << "-0.5" << "\r\n";
        QTest::newRow("-7") << "-7" << "";
        QTest::newRow("-1e9") << "-1e9" << "";
        QTest::newRow("blanks around") << " 1 " << "\r\n\r\n";
        QTest::newRow("99999 is cut to 9999") << "99999" << QStringLiteral("\r\n").repeated(10000);
    }
    void linesBox()
    {
        QFETCH(QString, typed);
        QFETCH(QString, between);
        EditorParts f;
        f.pad.SetText(QStringLiteral("doc"));
        f.doc.setModified(false);
        frmMergeDocs* m = openMerge(f);
        m->lines()->clear();
        QTest::keyClicks(m->lines(), typed);
        const bool refused = between == QLatin1String("refused");
        if (refused)
            f.prompts.answer(Answer::Ok);
        // A missing third file: the count is tested before any path.
        merge(m, {f.file(QStringLiteral("a"), "a"), f.file(QStringLiteral("b"), "b"),
                  refused ? f.dir.filePath(QStringLiteral("missing")) : QString()});
        if (refused) {
            QCOMPARE(f.prompts.messages(), QStringList{kNumberWarning});
            QCOMPARE(f.prompts.calls.last().icon, Prompts::Icon::Exclamation);
            QVERIFY(isOpen(m));
            QCOMPARE(f.pad.Text(), QStringLiteral("doc"));
            QVERIFY(!f.doc.isModified());
        } else {
            QVERIFY(f.prompts.calls.isEmpty());
            // Merged at the caret, which a new text leaves at its start.
            QCOMPARE(f.pad.Text(), QStringLiteral("a") + between + QStringLiteral("bdoc"));
        }
    }

    // Paths are used as typed; whatever is no file is reported before any
    // question or read.
    void pathsAsTyped_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("merged");   // empty: the missing-file warning
        QTest::newRow("blanks and quotes") << "my \"quoted\" file.txt" << "q";
        QTest::newRow("non-Latin letters") << "Grüße/файл 日本.txt" << "n";
        QTest::newRow("dot-file") << ".htaccess" << "d";
        QTest::newRow("link to a file") << "link" << "q";
        QTest::newRow("misspelt name") << "my quoted file.txt" << QString();
        QTest::newRow("folder") << "Grüße" << QString();
        QTest::newRow("broken link") << "broken" << QString();
    }
    void pathsAsTyped()
    {
        QFETCH(QString, kind);
        QFETCH(QString, merged);
        EditorParts f;
        QDir(f.dir.path()).mkdir(QStringLiteral("Grüße"));
        const QString quoted = f.file(QStringLiteral("my \"quoted\" file.txt"), "q");
        f.file(QStringLiteral("Grüße/файл 日本.txt"), "n");
        f.file(QStringLiteral(".htaccess"), "d");
        QFile::link(quoted, f.dir.filePath(QStringLiteral("link")));
        QFile::link(f.dir.filePath(QStringLiteral("gone")), f.dir.filePath(QStringLiteral("broken")));
        f.pad.SetText(QStringLiteral("doc"));
        f.doc.setModified(true);
        frmMergeDocs* m = openMerge(f);
        if (merged.isEmpty())
            f.prompts.answer(Answer::Ok);
        else
            f.prompts.answer(Answer::No);   // the save question
        merge(m, {QString(), f.dir.filePath(kind)}, QStringLiteral("0"));
        if (merged.isEmpty()) {
            QCOMPARE(f.prompts.messages(), QStringList{kMissing});
            QVERIFY(isOpen(m));
            QCOMPARE(f.pad.Text(), QStringLiteral("doc"));
        } else {
            QCOMPARE(f.pad.Text(), merged + QStringLiteral("doc"));
        }
    }

    // A file that is there but cannot be read: the error box, nothing
    // inserted (not even the files that could be read), the window open.
    // Reading must not block on a pipe that nobody writes to.
    void unreadableFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no permission") << "secret.txt" << "Permission denied";
        QTest::newRow("pipe") << "pipe" << "it is not a regular file";
        QTest::newRow("device") << "/dev/null" << "it is not a regular file";
    }
    void unreadableFile()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        EditorParts f;
        const QString secret = f.file(QStringLiteral("secret.txt"), "s");
        QVERIFY(QFile::setPermissions(secret, {}));
        const QByteArray pipe = QFile::encodeName(f.dir.filePath(QStringLiteral("pipe")));
        QCOMPARE(mkfifo(pipe.constData(), 0600), 0);
        PipeWriter writer(pipe);
        PermissionsHold hold;

        f.pad.SetText(QStringLiteral("doc"));
        f.pad.SetSelLength(1);
        f.doc.setModified(false);
        frmMergeDocs* m = openMerge(f);
        const QString path = kind.startsWith(QLatin1Char('/')) ? kind : f.dir.filePath(kind);
        f.prompts.answer(Answer::Ok);
        merge(m, {f.file(QStringLiteral("a.txt"), "a"), path});
        QCOMPARE(f.prompts.messages(),
                 QStringList{QStringLiteral("Error:\r\n\"Cannot read %1: %2\"").arg(path, reason)});
        QCOMPARE(f.prompts.calls.last().icon, Prompts::Icon::Error);
        QVERIFY(isOpen(m));
        QCOMPARE(f.pad.Text(), QStringLiteral("doc"));
        QCOMPARE(f.pad.SelLength(), 1);
        QVERIFY(!f.doc.isModified());
        // What was read before the failure left no step behind: Undo takes
        // back the edit before the merge.
        f.pad.Undo();
        QCOMPARE(f.pad.Text(), QString());
    }

    // Files that together would make the document longer than it can be are
    // refused before any of them is read (these two are sparse: nothing is
    // stored or read), in the words Open uses for a file too large.
    void tooLargeTogether()
    {
        EditorParts f;
        const qint64 size = qint64(1) << 30;
        QStringList paths;
        for (const char* name : {"big1.txt", "big2.txt"}) {
            paths << f.dir.filePath(QLatin1String(name));
            QFile file(paths.last());
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(size));
        }
        f.pad.SetText(QStringLiteral("doc"));
        f.doc.setModified(false);
        frmMergeDocs* m = openMerge(f);
        f.prompts.answer(Answer::Ok);
        merge(m, paths, QStringLiteral("0"));
        const QString total = QLocale::system().toString(2 * size + 2 + 3);
        QCOMPARE(f.prompts.messages(), QStringList{QStringLiteral("Error:\r\n\"The file is too large to edit: it has %1 "
                                                                  "bytes, and the editor can hold at most %2\"")
                                                       .arg(total, QLocale::system().toString(INT_MAX))});
        QVERIFY(isOpen(m));
        QCOMPARE(f.pad.Text(), QStringLiteral("doc"));
        QVERIFY(!f.doc.isModified());
    }

    // Unsaved changes: Yes saves first and merges whatever the save did (the
    // merge only adds to the text, so nothing is lost by going on), No merges
    // without saving, Cancel stops.
    void saveQuestion_data()
    {
        QTest::addColumn<bool>("named");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("save");   // what the save does: "" none, cancel, fail, ok
        QTest::addColumn<bool>("merged");
        QTest::newRow("Cancel") << true << Answer::Cancel << "" << false;
        QTest::newRow("No") << true << Answer::No << "" << true;
        QTest::newRow("Yes") << true << Answer::Yes << "ok" << true;
        QTest::newRow("Yes, save dialog cancelled") << false << Answer::Yes << "cancel" << true;
        QTest::newRow("Yes, write failed") << true << Answer::Yes << "fail" << true;
    }
    void saveQuestion()
    {
        QFETCH(bool, named);
        QFETCH(Answer, answer);
        QFETCH(QString, save);
        QFETCH(bool, merged);
        EditorParts f;
        QDir(f.dir.path()).mkdir(QStringLiteral("sub"));
        const QString docPath = f.file(QStringLiteral("sub/page.htm"), "old");
        const QString part = f.file(QStringLiteral("a.txt"), "+a");
        if (named)
            QVERIFY(f.files.loadAsDocument(docPath));
        f.pad.SetText(QStringLiteral("new"));
        f.prompts.answer(answer);
        if (save == QLatin1String("cancel"))
            f.prompts.answerSave(std::nullopt);
        if (save == QLatin1String("fail")) {
            QVERIFY(QDir(f.dir.filePath(QStringLiteral("sub"))).removeRecursively());
            f.prompts.answer(Answer::Ok);
        }
        frmMergeDocs* m = openMerge(f);
        merge(m, {part});
        QCOMPARE(f.prompts.calls.first().text, QStringLiteral("Would you like to save your document before merging it?"));
        QCOMPARE(f.prompts.calls.first().icon, Prompts::Icon::Exclamation);
        QCOMPARE(f.prompts.calls.first().buttons, Prompts::Buttons::YesNoCancel);
        QCOMPARE(f.prompts.pending(), 0);
        if (save != QLatin1String("fail"))
            QCOMPARE(TestFiles::read(docPath), save == QLatin1String("ok") ? QByteArray("new") : "old");
        QCOMPARE(f.pad.Text(), merged ? QStringLiteral("+anew") : QStringLiteral("new"));
        QCOMPARE(isOpen(m), !merged);
    }

    // Each Find button fills its own box through the open dialog and
    // remembers the folder; a merge leaves that folder remembered.
    void findFillsItsBox_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("cancel");
        QTest::newRow("1") << 1 << false;
        QTest::newRow("2") << 2 << false;
        QTest::newRow("3") << 3 << false;
        QTest::newRow("3 cancelled") << 3 << true;
    }
    void findFillsItsBox()
    {
        QFETCH(int, number);
        QFETCH(bool, cancel);
        EditorParts f;
        QDir(f.dir.path()).mkdir(QStringLiteral("web"));
        const QString chosen = f.file(QStringLiteral("web/part.htm"), "<p>");
        f.settings.store(Setting::LastDir, QStringLiteral("/start/"));
        frmMergeDocs* m = openMerge(f);
        f.prompts.answerOpen(cancel ? std::nullopt : std::optional<QString>(chosen));
        m->findChild<QPushButton*>(QStringLiteral("cmdFind%1").arg(number))->click();
        const Prompts::FileDialog& d = f.prompts.calls.last().dialog;
        QCOMPARE(d.title, QStringLiteral("Quirkpad - Merge Documents Wizard"));
        QCOMPARE(d.filter, DocumentService::kFileFilter);
        QCOMPARE(d.filterIndex, 1);
        QCOMPARE(d.initDir, QStringLiteral("/start/"));
        QVERIFY(d.mustExist);
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(m->document(i)->text(), i == number && !cancel ? chosen : QString());
        const QString folder = cancel ? QStringLiteral("/start/") : f.dir.filePath(QStringLiteral("web/"));
        QCOMPARE(f.settings.get(Setting::LastDir), folder);

        m->document(1)->setText(f.file(QStringLiteral("typed.txt"), "t"));
        merge(m, {m->document(1)->text(), m->document(2)->text(), m->document(3)->text()});
        QVERIFY(!isOpen(m));
        QCOMPARE(f.settings.get(Setting::LastDir), folder);
    }
};

QP_REGISTER_TEST(MergeWindowTest)
#include "MergeWindowTest.moc"
