#include "PageScript.h"
#include "EditorParts.h"
#include "ToolWindows.h"
#include "TestRegistry.h"
#include "editor/EngineProbe.h"
#include "generators/frmWebPageTemplates.h"
#include "help/HelpLinks.h"
#include "files/AppPaths.h"
#include "editor/RichTextBox.h"
#include "preview/BrowserView.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using Answer = Prompts::Answer;

namespace {

const QString kOpenQuestion = QStringLiteral("Would you like to save your document before opening another?");

// An Examples folder of the given files in a data folder of its own, for
// the life of the object.
using Files = QList<std::pair<QString, QByteArray>>;

struct Examples {
    QTemporaryDir data;
    QString folder = data.filePath(QStringLiteral("Examples"));

    explicit Examples(const Files& files, bool made = true)
    {
        if (made)
            QDir(data.path()).mkdir(QStringLiteral("Examples"));
        for (const auto& [name, bytes] : files) {
            QFile f(folder + QLatin1Char('/') + name);
            if (f.open(QIODevice::WriteOnly))
                f.write(bytes);
        }
        AppPaths::setDataDir(data.path());
    }
    ~Examples() { AppPaths::setDataDir(QStringLiteral(QUIRKPAD_SOURCE_DATA_DIR)); }
    QString path(const QString& name) const { return folder + QLatin1Char('/') + name; }
};

frmWebPageTemplates* openTemplates(EditorParts& f)
{
    return f.open<frmWebPageTemplates>(f.files, f.prompts, f.shell);
}

QListWidget* list(QWidget* t)
{
    return t->findChild<QListWidget*>(QStringLiteral("fileExamples"));
}

void doubleClick(QWidget* t, int row)
{
    // The list places its items once the window is on screen.
    if (!QTest::qWaitForWindowExposed(t))
        qWarning("templates window not shown");
    QListWidget* l = list(t);
    const QPoint at = l->visualItemRect(l->item(row)).center();
    // The first click of the two, then the second, which Qt reports as the
    // double-click.
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, at);
}

bool closed()
{
    return openWindows<frmWebPageTemplates>().isEmpty();
}

QString error(const QString& description)
{
    return QStringLiteral("Error:\r\n\"") + description + QLatin1Char('"');
}

}

class WebPageTemplatesTest : public QObject {
    Q_OBJECT
private slots:
    void opensWithTheTemplatesListed()
    {
        Examples ex({{"b.html", "<p>b"}, {"A.php", "<p>a"}, {"notes.txt", "x"}});
        EditorParts f;
        frmWebPageTemplates* t = openTemplates(f);
        QVERIFY(t);
        QCOMPARE(t->windowTitle(), QStringLiteral("Quirkpad - Web Page Templates"));
        QCOMPARE(t->folder(), ex.folder);
        QCOMPARE(list(t)->count(), 2);
        QCOMPARE(list(t)->item(0)->text(), QStringLiteral("A.php"));
        QCOMPARE(list(t)->item(1)->text(), QStringLiteral("b.html"));
        QCOMPARE(list(t)->currentRow(), 0);
        QCOMPARE(t->findChild<QGroupBox*>(QStringLiteral("fraPreview"))->title(), QStringLiteral("Preview..."));
        for (const auto& [name, caption] : {std::pair{"cmdInsert", "Insert"}, std::pair{"cmdCancel", "Cancel"},
                                            std::pair{"cmdDownload", "Download new templates"},
                                            std::pair{"cmdHelp", "Help"}})
            QCOMPARE(t->findChild<QPushButton*>(QLatin1String(name))->text(), QLatin1String(caption));
        QVERIFY(f.prompts.calls.isEmpty());
    }

    // Without templates the window still opens; a missing folder says so at
    // once, and Insert then reports that nothing is selected.
    void withoutTemplates_data()
    {
        QTest::addColumn<bool>("folderMade");
        QTest::newRow("missing folder") << false;
        QTest::newRow("empty folder") << true;
    }

    void withoutTemplates()
    {
        QFETCH(bool, folderMade);
        Examples ex({}, folderMade);
        EditorParts f;
        f.pad.SetText(QStringLiteral("mine"));
        if (!folderMade)
            f.prompts.answer(Answer::Ok);
        frmWebPageTemplates* t = openTemplates(f);
        QVERIFY(t);
        QCOMPARE(f.prompts.messages(),
                 folderMade ? QStringList() : QStringList{error(QStringLiteral("Path not found: ") + ex.folder)});
        QCOMPARE(list(t)->count(), 0);
        f.prompts.clear();
        f.prompts.answer(Answer::Ok);
        click(t, "cmdInsert");
        QCOMPARE(f.prompts.messages(), QStringList{error(QStringLiteral("No template is selected."))});
        QCOMPARE(f.prompts.calls.first().icon, Prompts::Icon::Error);
        QVERIFY(!closed());
        QCOMPARE(f.pad.Text(), QStringLiteral("mine"));
    }

    // As a paste: the template's own characters over the selection or at the
    // caret, its line breaks in the document's style, one undo step. The
    // document keeps its name and counts as changed, as after any edit.
    void insertGoesInAtTheCaret_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("expected");
        QTest::newRow("CR LF document, LF page, at the caret")
            << QByteArray("<body>\r\n</body>") << QByteArray("<p>a</p>\n<p>b</p>\n") << 8 << 0
            << "<body>\r\n<p>a</p>\r\n<p>b</p>\r\n</body>";
        QTest::newRow("CR LF document, over a selection")
            << QByteArray("<body>\r\nold\r\n</body>") << QByteArray("<p>a</p>\r\n") << 8 << 5
            << "<body>\r\n<p>a</p>\r\n</body>";
        QTest::newRow("LF document, CR LF page, at the caret")
            << QByteArray("<body>\n</body>") << QByteArray("<p>a</p>\r\n<p>b</p>") << 7 << 0
            << "<body>\n<p>a</p>\n<p>b</p></body>";
        QTest::newRow("LF document, over a selection")
            << QByteArray("<body>\nold\n</body>") << QByteArray("<p>\r\na</p>\r") << 7 << 3
            << "<body>\n<p>\na</p>\n\n</body>";
        QTest::newRow("Windows-1252 page") << QByteArray("x") << QByteArray("caf\xe9 \x80") << 1 << 0
                                           << QStringLiteral("xcaf\u00e9 \u20ac");
        QTest::newRow("UTF-16 page, markup kept") << QByteArray("x") << QByteArray("\xff\xfe<\0b\0>\0&\0", 10) << 0
                                                  << 0 << "<b>&x";
    }

    void insertGoesInAtTheCaret()
    {
        QFETCH(QByteArray, document);
        QFETCH(QByteArray, page);
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QString, expected);
        Examples ex(Files{{"page.html", page}});
        EditorParts f;
        const QString path = f.file(QStringLiteral("doc.htm"), document);
        QVERIFY(f.files.loadAsDocument(path));
        const QString caption = f.doc.caption();
        f.pad.SetSelStart(start);
        f.pad.SetSelLength(length);
        frmWebPageTemplates* t = openTemplates(f);
        click(t, "cmdInsert");
        QCOMPARE(f.pad.Text(), expected);
        QCOMPARE(f.pad.SelStart(), int(expected.size() - (document.size() - start - length)));
        QCOMPARE(f.pad.SelLength(), 0);
        QTRY_VERIFY(closed());
        QCOMPARE(f.doc.location(), path);
        QVERIFY(f.doc.isModified());
        QCOMPARE(f.doc.caption(), caption);
        f.pad.Undo();
        QCOMPARE(f.pad.Text(), QString::fromUtf8(document));
        QVERIFY(f.prompts.calls.isEmpty());
    }

    // A double-click opens the template as a new, untitled and unchanged
    // document, after the save question when there are unsaved changes. A
    // Yes whose save did not happen stops, and the text stays.
    void doubleClickOpensAsANewDocument_data()
    {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<bool>("named");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("save");   // what the save does: "" none, cancel, fail, ok
        QTest::addColumn<bool>("opened");
        QTest::newRow("unchanged: no question") << false << true << "" << "" << true;
        QTest::newRow("No") << true << true << "No" << "" << true;
        QTest::newRow("Cancel") << true << true << "Cancel" << "" << false;
        QTest::newRow("Yes, saved") << true << true << "Yes" << "ok" << true;
        QTest::newRow("Yes, write failed") << true << true << "Yes" << "fail" << false;
        QTest::newRow("Yes, Save As cancelled") << true << false << "Yes" << "cancel" << false;
        QTest::newRow("Yes, saved as") << true << false << "Yes" << "ok" << true;
    }

    void doubleClickOpensAsANewDocument()
    {
        QFETCH(bool, changed);
        QFETCH(bool, named);
        QFETCH(QString, answer);
        QFETCH(QString, save);
        QFETCH(bool, opened);
        Examples ex({{"a.html", "<p>first</p>"}, {"b.htm", "<p>second</p>\n"}});
        EditorParts f;
        QDir(f.dir.path()).mkdir(QStringLiteral("sub"));
        const QString path = f.file(QStringLiteral("sub/doc.htm"), "saved");
        if (named)
            QVERIFY(f.files.loadAsDocument(path));
        if (changed)
            f.pad.SetText(QStringLiteral("edited"));
        const QString text = f.pad.Text(), caption = f.doc.caption(), location = f.doc.location();
        if (!answer.isEmpty())
            f.prompts.answer(answer == "Yes" ? Answer::Yes : answer == "No" ? Answer::No : Answer::Cancel);
        if (save == "cancel")
            f.prompts.answerSave(std::nullopt);
        if (save == "ok" && !named)
            f.prompts.answerSave(f.dir.filePath(QStringLiteral("new.htm")));
        if (save == "fail") {
            QVERIFY(QDir(f.dir.filePath(QStringLiteral("sub"))).removeRecursively());
            f.prompts.answer(Answer::Ok);
        }
        frmWebPageTemplates* t = openTemplates(f);
        doubleClick(t, 1);

        if (!answer.isEmpty()) {
            QVERIFY(!f.prompts.calls.isEmpty());
            QCOMPARE(f.prompts.calls.first().text, kOpenQuestion);
            QCOMPARE(f.prompts.calls.first().icon, Prompts::Icon::Question);
            QCOMPARE(f.prompts.calls.first().buttons, Prompts::Buttons::YesNoCancel);
        }
        QCOMPARE(f.prompts.pending(), 0);
        if (save == "ok")
            QCOMPARE(TestFiles::read(named ? path : f.dir.filePath(QStringLiteral("new.htm"))), "edited");
        if (opened) {
            QCOMPARE(f.pad.Text(), QStringLiteral("<p>second</p>\n"));
            QCOMPARE(f.doc.location(), QString());
            QVERIFY(!f.doc.isModified());
            QCOMPARE(f.doc.caption(), QStringLiteral("Quirkpad"));
            QTRY_VERIFY(closed());
        } else {
            QCOMPARE(f.pad.Text(), text);
            QCOMPARE(f.doc.location(), location);
            QVERIFY(f.doc.isModified());
            QCOMPARE(f.doc.caption(), caption);
            QVERIFY(!closed());
        }
    }

    // A template that went away after the list was made: the error box, the
    // document as it was, the window still open.
    void anUnreadableTemplate_data()
    {
        QTest::addColumn<bool>("insert");
        QTest::newRow("Insert") << true;
        QTest::newRow("double-click") << false;
    }

    void anUnreadableTemplate()
    {
        QFETCH(bool, insert);
        Examples ex(Files{{"gone.html", "<p>gone</p>"}});
        EditorParts f;
        f.pad.SetText(QStringLiteral("mine"));
        f.doc.setModified(false);
        frmWebPageTemplates* t = openTemplates(f);
        QVERIFY(QFile::remove(ex.path(QStringLiteral("gone.html"))));
        f.prompts.answer(Answer::Ok);
        insert ? click(t, "cmdInsert") : doubleClick(t, 0);
        QCOMPARE(f.prompts.messages(), QStringList{error(QStringLiteral("No such file or directory"))});
        QVERIFY(!f.prompts.calls.isEmpty());
        QCOMPARE(f.prompts.calls.first().icon, Prompts::Icon::Error);
        QCOMPARE(f.pad.Text(), QStringLiteral("mine"));
        QVERIFY(!f.doc.isModified());
        QVERIFY(!closed());
    }

    // A template that another program writes to while it is read, once the
    // document's text is gone: what remains is a new, empty, untitled
    // document, never one that still bears the user's file name, so that
    // Save asks for a name instead of writing nothing over the file.
    void aTemplateThatChangesWhileReadLeavesAnUntitledDocument()
    {
        Examples ex(Files{{"page.html", "<p>template</p>"}});
        EditorParts f;
        const QString path = f.file(QStringLiteral("mine.htm"), "my page");
        QVERIFY(f.files.loadAsDocument(path));
        frmWebPageTemplates* t = openTemplates(f);
        bool appended = false;
        // The view tells of no edits unless asked: the document hears of them.
        EngineProbe::of(f.pad).SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK,
                                                long(QsciScintillaBase::SC_MOD_BEFOREINSERT));
        connect(&f.pad, &QsciScintillaBase::SCN_MODIFIED, this,
                [&](int, int type, const char*, int, int, int, int, int, int, int) {
                    if (appended || !(type & QsciScintillaBase::SC_MOD_BEFOREINSERT))
                        return;
                    appended = true;
                    QFile file(ex.path(QStringLiteral("page.html")));
                    if (file.open(QIODevice::Append))
                        file.write("<p>appended by another program</p>");
                });
        f.prompts.answer(Answer::Ok);
        doubleClick(t, 0);
        QVERIFY(appended);
        QCOMPARE(f.prompts.messages(), QStringList{error(QStringLiteral("The file changed while it was being read"))});
        QCOMPARE(f.pad.Text(), QString());
        QCOMPARE(f.doc.location(), QString());
        QVERIFY(!f.doc.isModified());
        QCOMPARE(f.doc.caption(), QStringLiteral("Quirkpad"));

        t->close();
        QTRY_VERIFY(closed());
        f.prompts.clear();
        f.prompts.answerSave(std::nullopt);
        QVERIFY(!f.files.SaveDocument());
        QCOMPARE(TestFiles::read(path), QByteArray("my page"));
    }

    void helpAndDownloadLeaveTheWindowOpen()
    {
        Examples ex(Files{{"a.html", "<p>a</p>"}});
        EditorParts f;
        frmWebPageTemplates* t = openTemplates(f);
        f.prompts.answer(Answer::Ok);
        click(t, "cmdHelp");
        click(t, "cmdDownload");
        QCOMPARE(f.prompts.messages(),
                 QStringList{"- WEB PAGE WIZARD HELP -\r\n\r\nThis Wizard contains multiple web page templates that "
                             "can be used as your a basic design for your own web page development in Quirkpad. The "
                             "designs are free for you to use, change and share in any way you wish."});
        QCOMPARE(f.prompts.calls.first().icon, Prompts::Icon::Information);
        QCOMPARE(f.shell.opened, QStringList{HelpLinks::templatesPage()});
        QVERIFY(!closed());
        QCOMPARE(f.pad.Text(), QString());
    }

    // The first template shows at once; a server page is shown as the page
    // around its code, and a template's relative style sheet applies.
    void previewShowsTheSelectedTemplate()
    {
        Examples ex({{"a.html", "<html><head><title>A</title><link rel=stylesheet href=look.css></head>"
                                "<body><p>first</p></body></html>"},
                     {"b.php", "<?php $x = 1; ?><html><head><title>B</title><link rel=stylesheet href=look.css>"
                               "</head><body><p>second</p></body></html>"},
                     {"look.css", "body { background-color: rgb(1, 2, 3); }"}});
        AppPaths::setPluginDir(QStringLiteral(QUIRKPAD_BINARY_DIR));
        EditorParts f;
        frmWebPageTemplates* t = openTemplates(f);
        QVERIFY(t->webBrowser());
        QSignalSpy loaded(t, &frmWebPageTemplates::previewLoaded);
        const QString background = QStringLiteral("getComputedStyle(document.body).backgroundColor");
        for (int row : {0, 1}) {
            if (row)
                list(t)->setCurrentRow(row);
            QVERIFY(loaded.wait(60000));
            QCOMPARE(loaded.last().first().toBool(), true);
            QCOMPARE(evaluate(t->webBrowser(), "document.title").toString(), QString(row ? "B" : "A"));
            QCOMPARE(evaluate(t->webBrowser(), "document.body.innerText").toString(),
                     QString(row ? "second" : "first"));
            QCOMPARE(evaluate(t->webBrowser(), background).toString(), QStringLiteral("rgb(1, 2, 3)"));
            loaded.clear();
        }
        QCOMPARE(f.pad.Text(), QString());
        t->close();
        AppPaths::setPluginDir(QString());
    }
};

QP_REGISTER_TEST(WebPageTemplatesTest)
#include "WebPageTemplatesTest.moc"
