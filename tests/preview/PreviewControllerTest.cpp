#include "PageScript.h"
#include "MainWindowFixture.h"
#include "ScriptedPrompts.h"
#include "TestRegistry.h"
#include "widgets/OwnedWindow.h"
#include "files/AppPaths.h"
#include "editor/RichTextBox.h"
#include "preview/BrowserView.h"
#include "preview/PreviewController.h"
#include "preview/frmWebBrowser.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>

#include <memory>

namespace {

constexpr int kLoadTimeout = 60000;   // the first page also starts the engine

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString pageText(BrowserView* view)
{
    return evaluate(view, QStringLiteral("document.body ? document.body.innerText : ''")).toString();
}

// An editor in a main window with the two shared actions, wired as the main
// window wires them: every change of the text runs the live refresh.
struct Editor {
    QWidget main;
    RichTextBox* pad = new RichTextBox(nullptr, &main);
    QAction* viewHtml = new QAction(QStringLiteral("ViewHTML"), &main);
    QAction* liveHtml = new QAction(QStringLiteral("LiveHTML"), &main);
    ScriptedPrompts prompts;
    PreviewController preview{*pad, viewHtml, liveHtml, &main, &prompts};
    QSignalSpy loaded{&preview, &PreviewController::pageLoaded};

    Editor()
    {
        auto* layout = new QVBoxLayout(&main);
        layout->addWidget(pad);
        QObject::connect(&pad->document(), &Document::contentsChanged, &preview, &PreviewController::liveRefresh);
        main.resize(400, 300);
        main.show();
    }
    ~Editor() { QCOMPARE(prompts.pending(), 0); }

    frmWebBrowser* window() const { return preview.window(); }
    BrowserView* view() const { return preview.window() ? preview.window()->webBrowser() : nullptr; }
    QString held() const { return window() ? window()->tempLocation() : QString(); }
    bool waitLoaded() { return loaded.wait(kLoadTimeout); }
    void type(const QString& keys)
    {
        pad->SetSelStart(pad->TextLength());
        QTest::keyClicks(pad, keys);
    }
    // Types at the end with LiveHTML on, counting loads from here on.
    void typeForReload(const QString& keys)
    {
        loaded.clear();
        type(keys);
    }
    // The page has reloaded since, and no further reload is waiting.
    bool reloaded() const { return !loaded.isEmpty() && !view()->isLoading(); }
};

// A page far taller than the preview window; paragraph i has the id "p<i>".
QString longPage()
{
    QString page = QStringLiteral("<html><body>");
    for (int i = 0; i < 400; ++i)
        page += QStringLiteral("<p id=\"p%1\">Paragraph %1</p>\r\n").arg(i);
    return page;
}

QString tempFolder()
{
    return AppPaths::tempDir().valueOr(QStringLiteral("<no temporary folder>"));
}

QString temp(int n)
{
    return tempFolder() + QStringLiteral("/Temp%1.html").arg(n);
}

}

class PreviewControllerTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        AppPaths::setPluginDir(QStringLiteral(QUIRKPAD_BINARY_DIR));
    }

    void init()
    {
        // Every case starts with an empty temporary folder, as a run does.
        AppPaths::deleteTempFolder();
    }

    void viewHtmlShowsASnapshotInTemp1()
    {
        Editor e;
        // No charset declared: the page must still show what the editor shows.
        e.pad->SetText(QStringLiteral("<html><head><title>T\u00eftle</title></head>"
                                      "<body><p>caf\u00e9 \u20ac \u00bb</p></body></html>"));
        QVERIFY(!e.viewHtml->isChecked() && !e.liveHtml->isChecked());
        QVERIFY(!e.window());

        e.preview.ViewHTML();
        QVERIFY(e.viewHtml->isChecked() && !e.liveHtml->isChecked());
        QCOMPARE(e.window()->objectName(), QStringLiteral("frmWebBrowser"));
        QCOMPARE(e.window()->windowTitle(), QStringLiteral("Quirkpad - PreviewHTML"));
        QVERIFY(e.window()->isVisible());
        QCOMPARE(e.window()->findChild<QLabel*>(QStringLiteral("lblTempLocation"))->text(), temp(1));
        QVERIFY(readBytes(temp(1)).endsWith(e.pad->Text().toUtf8()));

        // A window of its own, not owned by the main window, which stays usable.
        QVERIFY(!e.window()->parentWidget());
        QVERIFY(!e.window()->windowHandle()->transientParent());
        QVERIFY(e.main.isEnabled());

        // The browser fills the window and covers the path label.
        QWidget* browser = e.window()->findChild<QWidget*>(QStringLiteral("webBrowser"));
        QVERIFY(browser);
        QCOMPARE(browser->geometry(), e.window()->rect());
        e.window()->resize(300, 200);
        QCOMPARE(browser->geometry(), QRect(0, 0, 300, 200));

        QVERIFY(e.waitLoaded());
        QCOMPARE(e.loaded.first().first().toBool(), true);
        QCOMPARE(evaluate(e.view(), QStringLiteral("document.title")).toString(), QStringLiteral("T\u00eftle"));
        QCOMPARE(pageText(e.view()), QStringLiteral("caf\u00e9 \u20ac \u00bb"));
    }

    void modesMoveBetweenOffSnapshotAndLive()
    {
        Editor e;
        e.pad->SetText(QStringLiteral("<p>page</p>"));
        auto modes = [&] { return std::pair(e.viewHtml->isChecked(), e.liveHtml->isChecked()); };

        e.preview.ViewHTML();
        QPointer<frmWebBrowser> window = e.window();
        QCOMPARE(e.held(), temp(1));

        // Switching keeps the one window, writes the next page, retitles.
        e.preview.LiveHTML();
        QCOMPARE(modes(), std::pair(false, true));
        QCOMPARE(e.window(), window.data());
        QVERIFY(e.window()->isVisible());
        QCOMPARE(e.window()->windowTitle(), QStringLiteral("Quirkpad - LiveHTML"));
        QCOMPARE(e.held(), temp(2));
        // The first page, replaced before it finished, reports nothing.
        QVERIFY(e.waitLoaded());
        QCOMPARE(e.loaded.size(), 1);
        QCOMPARE(e.loaded[0][0].toBool(), true);
        QCOMPARE(e.view()->currentPath(), temp(2));
        e.preview.ViewHTML();
        QCOMPARE(modes(), std::pair(true, false));
        QCOMPARE(e.window(), window.data());
        QCOMPARE(e.window()->windowTitle(), QStringLiteral("Quirkpad - PreviewHTML"));
        QCOMPARE(e.held(), temp(3));

        // The same command again: off, window gone, pages kept until exit.
        e.preview.ViewHTML();
        QCOMPARE(modes(), std::pair(false, false));
        QVERIFY(!e.window());
        QVERIFY(QFile::exists(temp(1)) && QFile::exists(temp(2)) && QFile::exists(temp(3)));
        e.preview.LiveHTML();
        QCOMPARE(modes(), std::pair(false, true));
        QCOMPARE(e.held(), temp(4));
        e.preview.LiveHTML();
        QCOMPARE(modes(), std::pair(false, false));
        QVERIFY(!e.window());
    }

    void liveTypingRewritesTheSamePage()
    {
        Editor e;
        e.pad->SetText(QStringLiteral("<p>abc"));
        e.preview.LiveHTML();
        QVERIFY(e.waitLoaded());
        QCOMPARE(pageText(e.view()), QStringLiteral("abc"));

        e.type(QStringLiteral("d"));
        QCOMPARE(e.held(), temp(1));
        QCOMPARE(readBytes(temp(1)), QByteArray("\xEF\xBB\xBF<p>abcd"));
        QVERIFY(!QFile::exists(temp(2)));
        QTRY_COMPARE_WITH_TIMEOUT(pageText(e.view()), QStringLiteral("abcd"), kLoadTimeout);
        QVERIFY(e.liveHtml->isChecked());
        QCOMPARE(e.window()->windowTitle(), QStringLiteral("Quirkpad - LiveHTML"));

        // Program steps are changes too: an insertion and a whole new text.
        e.pad->SetSelText(QStringLiteral("e"));
        QCOMPARE(readBytes(temp(1)), QByteArray("\xEF\xBB\xBF<p>abcde"));
        e.pad->SetText(QStringLiteral("<p>new"));
        QCOMPARE(readBytes(temp(1)), QByteArray("\xEF\xBB\xBF<p>new"));
        // The load under way may already show the new text and one more
        // follows to catch up: the page is looked at once all are done.
        QTRY_VERIFY_WITH_TIMEOUT(!e.view()->isLoading(), kLoadTimeout);
        QCOMPARE(pageText(e.view()), QStringLiteral("new"));
    }

    void aBurstOfChangesEndsInOneCatchUpLoad()
    {
        Editor e;
        e.pad->SetText(QStringLiteral("<p>"));
        e.preview.LiveHTML();
        QVERIFY(e.waitLoaded());
        e.loaded.clear();
        e.pad->SetSelStart(e.pad->TextLength());

        // Changes faster than the page can load: every one reaches the file,
        // the page reloads once more after the load running now, and it ends
        // showing the last change.
        for (int i = 0; i < 30; ++i)
            e.pad->SetSelText(QString::number(i % 10));
        QCOMPARE(readBytes(temp(1)), QByteArray("\xEF\xBB\xBF<p>") + e.pad->Text().mid(3).toUtf8());
        QVERIFY(e.view()->isLoading());
        QTRY_VERIFY_WITH_TIMEOUT(!e.view()->isLoading(), kLoadTimeout);
        QCOMPARE(e.loaded.size(), 1);
        QCOMPARE(pageText(e.view()), e.pad->Text().mid(3));
    }

    void liveReloadKeepsTheScrollPosition()
    {
        Editor e;
        e.pad->SetText(longPage());
        e.preview.LiveHTML();
        QVERIFY(e.waitLoaded());
        QCOMPARE(evaluate(e.view(), QStringLiteral("window.scrollTo(0, 1500); window.scrollY")).toInt(), 1500);

        e.typeForReload(QStringLiteral("<p>end</p>"));
        QTRY_VERIFY_WITH_TIMEOUT(e.reloaded(), kLoadTimeout);
        QVERIFY(pageText(e.view()).endsWith(QStringLiteral("end")));
        QTRY_COMPARE_WITH_TIMEOUT(evaluate(e.view(), QStringLiteral("window.scrollY")).toInt(), 1500, kLoadTimeout);
    }

    void viewHtmlIgnoresTyping()
    {
        Editor e;
        e.pad->SetText(QStringLiteral("<p>fixed"));
        e.preview.ViewHTML();
        QVERIFY(e.waitLoaded());
        const QByteArray before = readBytes(temp(1));

        e.type(QStringLiteral("xyz"));
        e.pad->SetText(QStringLiteral("other"));
        QCOMPARE(readBytes(temp(1)), before);
        QVERIFY(!QFile::exists(temp(2)));
        QVERIFY(e.viewHtml->isChecked());
        QVERIFY(!e.view()->isLoading());
        QCOMPARE(pageText(e.view()), QStringLiteral("fixed"));
    }

    void liveEndsWhenThePageCannotBeWritten()
    {
        Editor e;
        e.pad->SetText(QStringLiteral("<p>kep"));
        e.preview.LiveHTML();
        QVERIFY(e.waitLoaded());
        QPointer<frmWebBrowser> window = e.window();

        // A page deleted from outside is simply written again.
        QVERIFY(QFile::remove(temp(1)));
        e.type(QStringLiteral("t"));
        QVERIFY(e.liveHtml->isChecked());
        QCOMPARE(readBytes(temp(1)), QByteArray("\xEF\xBB\xBF<p>kept"));
        QTRY_COMPARE_WITH_TIMEOUT(pageText(e.view()), QStringLiteral("kept"), kLoadTimeout);

        // Something that is no file stands in the page's place: it exists,
        // but the page cannot be written, and LiveHTML ends.
        QVERIFY(QFile::remove(temp(1)));
        QVERIFY(QDir().mkdir(temp(1)));
        e.type(QStringLiteral("!"));
        QVERIFY(!e.liveHtml->isChecked() && !e.viewHtml->isChecked());
        QVERIFY(QDir(temp(1)).removeRecursively());
        e.preview.LiveHTML();
        QVERIFY(e.liveHtml->isChecked());
        QCOMPARE(e.held(), temp(1));
        QVERIFY(e.waitLoaded());
        QTRY_COMPARE_WITH_TIMEOUT(pageText(e.view()), QStringLiteral("kept!"), kLoadTimeout);

        // Its folder gone, the page cannot be written: LiveHTML ends.
        const Result<QString> folder = AppPaths::tempDir();
        QVERIFY(folder.ok());
        QVERIFY(QDir(*folder).removeRecursively());
        e.type(QStringLiteral("x"));
        QVERIFY(!e.liveHtml->isChecked() && !e.viewHtml->isChecked());
        // The window stays, showing what it showed, and nothing is reported.
        QCOMPARE(e.window(), window.data());
        QVERIFY(e.window()->isVisible());
        QCOMPARE(e.window()->windowTitle(), QStringLiteral("Quirkpad - LiveHTML"));
        QCOMPARE(pageText(e.view()), QStringLiteral("kept!"));
        QVERIFY(e.prompts.calls.isEmpty());

        // The next preview starts afresh in a new temporary folder.
        e.preview.LiveHTML();
        QVERIFY(e.liveHtml->isChecked());
        QCOMPARE(e.window(), window.data());
        QCOMPARE(e.held(), temp(1));
        QVERIFY(QFile::exists(temp(1)));
    }

    // No temporary folder can be made: neither command leaves its mode on
    // with nothing to show, and nothing is reported.
    void aPreviewThatCannotBeWrittenLeavesNoModeOn()
    {
        QTemporaryDir dir;
        const QString notAFolder = dir.filePath(QStringLiteral("file"));
        QFile f(notAFolder);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        const QByteArray before = qgetenv("TMPDIR");
        qputenv("TMPDIR", notAFolder.toLocal8Bit());
        AppPaths::deleteTempFolder();
        Editor e;
        e.pad->SetText(QStringLiteral("<p>x"));
        e.preview.ViewHTML();
        const bool viewLeftOn = e.viewHtml->isChecked() || e.liveHtml->isChecked();
        e.preview.LiveHTML();
        const bool liveLeftOn = e.viewHtml->isChecked() || e.liveHtml->isChecked();
        const bool windowLeft = e.window() != nullptr;
        qputenv("TMPDIR", before);
        QVERIFY(!viewLeftOn);
        QVERIFY(!liveLeftOn);
        QVERIFY(!windowLeft);
        QVERIFY(e.prompts.calls.isEmpty());
    }

    // A link to an anchor inside the page does not make the next live
    // reload a fresh load back at the top.
    void liveReloadAfterAnAnchorKeepsThePlace()
    {
        Editor e;
        e.pad->SetText(longPage());
        e.preview.LiveHTML();
        QVERIFY(e.waitLoaded());
        evaluate(e.view(), QStringLiteral("location.hash = 'p200'"));
        QTRY_VERIFY_WITH_TIMEOUT(evaluate(e.view(), QStringLiteral("window.scrollY")).toInt() > 1000, kLoadTimeout);
        const int y = evaluate(e.view(), QStringLiteral("window.scrollTo(0, window.scrollY + 300); window.scrollY")).toInt();

        e.typeForReload(QStringLiteral("<p>end</p>"));
        QTRY_VERIFY_WITH_TIMEOUT(e.reloaded(), kLoadTimeout);
        QVERIFY(pageText(e.view()).endsWith(QStringLiteral("end")));
        QTRY_COMPARE_WITH_TIMEOUT(evaluate(e.view(), QStringLiteral("window.scrollY")).toInt(), y, kLoadTimeout);
        // And the page keeps following the text.
        e.typeForReload(QStringLiteral("<p>more</p>"));
        QTRY_VERIFY_WITH_TIMEOUT(e.reloaded(), kLoadTimeout);
        QVERIFY(pageText(e.view()).endsWith(QStringLiteral("more")));
    }

    // The page shown is a copy in the temporary folder; its relative links
    // still reach the style sheets and pictures beside the document, also
    // those one folder up, and a document without a folder gets none.
    void relativeLinksReachTheDocumentsFolder()
    {
        QTemporaryDir site;
        QVERIFY(QDir(site.path()).mkpath(QStringLiteral("pages/img")) && QDir(site.path()).mkpath(QStringLiteral("css")));
        const auto put = [&site](const QString& name, const QByteArray& bytes) {
            QFile f(site.filePath(name));
            return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
        };
        QVERIFY(put(QStringLiteral("pages/style.css"), "#a { color: rgb(1, 2, 3); }"));
        QVERIFY(put(QStringLiteral("css/theme.css"), "body { background-color: rgb(4, 5, 6); }"));
        QImage dot(3, 2, QImage::Format_RGB32);
        dot.fill(Qt::red);
        QVERIFY(dot.save(site.filePath(QStringLiteral("pages/img/dot.png"))));
        const QString page = QStringLiteral(
            "<html><head><link rel=\"stylesheet\" href=\"style.css\">"
            "<link rel=\"stylesheet\" href=\"../css/theme.css\"></head>"
            "<body><p id=\"a\">styled</p><img id=\"i\" src=\"img/dot.png\"></body></html>");
        const QString colour = QStringLiteral("getComputedStyle(document.getElementById('a')).color");
        const QString background = QStringLiteral("getComputedStyle(document.body).backgroundColor");
        const QString picture = QStringLiteral("document.getElementById('i').naturalWidth");

        for (bool titled : {true, false}) {
            Editor e;
            const QString folder = titled ? site.filePath(QStringLiteral("pages")) : QString();
            e.preview.setDocumentFolder([folder] { return folder; });
            e.pad->SetText(page);
            e.preview.LiveHTML();
            QVERIFY(e.waitLoaded());
            QCOMPARE(evaluate(e.view(), colour).toString(),
                     titled ? QStringLiteral("rgb(1, 2, 3)") : QStringLiteral("rgb(0, 0, 0)"));
            QCOMPARE(evaluate(e.view(), background).toString(),
                     titled ? QStringLiteral("rgb(4, 5, 6)") : QStringLiteral("rgba(0, 0, 0, 0)"));
            QTRY_COMPARE_WITH_TIMEOUT(evaluate(e.view(), picture).toInt(), titled ? 3 : 0, kLoadTimeout);
            // The folder holds only the pages: nothing was copied there.
            for (const QString& name : QDir(tempFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
                QVERIFY2(QRegularExpression(QStringLiteral("^Temp\\d+\\.html$")).match(name).hasMatch(), qPrintable(name));
            if (titled) {   // and a live reload keeps them
                e.typeForReload(QStringLiteral("<p>more</p>"));
                QTRY_VERIFY_WITH_TIMEOUT(e.reloaded(), kLoadTimeout);
                QVERIFY(pageText(e.view()).endsWith(QStringLiteral("more")));
                QCOMPARE(evaluate(e.view(), colour).toString(), QStringLiteral("rgb(1, 2, 3)"));
            }
            e.preview.LiveHTML();
        }
    }

    // Open and Save As move the document to another folder: the live page
    // takes that folder's style sheet at once, not at the next keystroke.
    void livePageFollowsTheDocumentToItsNewFolder_data()
    {
        QTest::addColumn<bool>("open");
        QTest::newRow("Open") << true;
        QTest::newRow("Save As") << false;
    }

    void livePageFollowsTheDocumentToItsNewFolder()
    {
        QFETCH(bool, open);
        QTemporaryDir sites;
        const auto put = [&sites](const QString& name, const QByteArray& bytes) {
            QFile f(sites.filePath(name));
            return QDir(sites.path()).mkpath(QFileInfo(name).path()) && f.open(QIODevice::WriteOnly) &&
                   f.write(bytes) == bytes.size();
        };
        const QByteArray page = "<html><head><link rel=\"stylesheet\" href=\"style.css\"></head>"
                                "<body><p id=\"a\">styled</p></body></html>";
        QVERIFY(put(QStringLiteral("first/page.html"), page));
        QVERIFY(put(QStringLiteral("first/style.css"), "#a { color: rgb(1, 2, 3); }"));
        QVERIFY(put(QStringLiteral("second/page.html"), page));
        QVERIFY(put(QStringLiteral("second/style.css"), "#a { color: rgb(4, 5, 6); }"));
        const QString colour = QStringLiteral("getComputedStyle(document.getElementById('a')).color");

        MainWindowFixture f;
        frmMain& w = f.make({QStringLiteral("quirkpad"), sites.filePath(QStringLiteral("first/page.html"))});
        w.show();
        PreviewController& preview = partOf<PreviewController>(w);
        QSignalSpy loaded(&preview, &PreviewController::pageLoaded);
        run(w, Cmd::mnuLiveHTML);
        QVERIFY(loaded.wait(kLoadTimeout));
        BrowserView* view = preview.window()->webBrowser();
        QCOMPARE(evaluate(view, colour).toString(), QStringLiteral("rgb(1, 2, 3)"));

        loaded.clear();
        if (open) {
            f.prompts.answerOpen(sites.filePath(QStringLiteral("second/page.html")));
            run(w, Cmd::mnuOpen);
        } else {
            f.prompts.answerSave(sites.filePath(QStringLiteral("second/copy.html")));
            run(w, Cmd::mnuSaveAs);
        }
        QCOMPARE(f.prompts.pending(), 0);
        QVERIFY(actionOf(w, Cmd::mnuLiveHTML)->isChecked());
        QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty() && !view->isLoading(), kLoadTimeout);
        QCOMPARE(evaluate(view, colour).toString(), QStringLiteral("rgb(4, 5, 6)"));
        run(w, Cmd::mnuLiveHTML);
    }

    void closingTheWindowClearsBothModes()
    {
        for (bool live : {false, true}) {
            Editor e;
            e.pad->SetText(QStringLiteral("<p>x"));
            live ? e.preview.LiveHTML() : e.preview.ViewHTML();
            QPointer<frmWebBrowser> window = e.window();
            QVERIFY(window->close());   // as the close box does
            QVERIFY(!e.viewHtml->isChecked() && !e.liveHtml->isChecked());
            QVERIFY(!e.window());
            QTRY_VERIFY(!window);   // deleted, not just hidden
            QVERIFY(QFile::exists(temp(live ? 2 : 1)));

            // Typing after the close is no preview work.
            e.type(QStringLiteral("y"));
            QVERIFY(!e.liveHtml->isChecked());
            QVERIFY(!e.window());
        }
    }

    void interfaceMissingGivesTheErrorBox()
    {
        QTemporaryDir empty;
        AppPaths::setDataDir(empty.path());
        Editor e;
        e.prompts.answer(Prompts::Answer::Ok);
        e.preview.showInterface(e.prompts);
        AppPaths::setDataDir(QStringLiteral(QUIRKPAD_SOURCE_DATA_DIR));
        QCOMPARE(e.prompts.calls.size(), 1);
        QCOMPARE(e.prompts.calls[0].text, QStringLiteral("Interface.html not found. Please reinstall Quirkpad."));
        QCOMPARE(e.prompts.calls[0].icon, Prompts::Icon::Error);
        QCOMPARE(e.prompts.calls[0].buttons, Prompts::Buttons::Ok);
        QVERIFY(!e.window());
    }

    void interfaceShowsInAWindowOwnedByTheMainWindow()
    {
        Editor e;
        e.preview.showInterface(e.prompts);
        QVERIFY(e.prompts.calls.isEmpty());
        QVERIFY(e.window());
        QCOMPARE(e.window()->windowTitle(), QStringLiteral("Quirkpad - Interface"));
        QVERIFY(e.window()->isVisible());
        QCOMPARE(e.window()->windowHandle()->transientParent(), e.main.windowHandle());
        QVERIFY(e.main.isEnabled());
        QVERIFY(!e.viewHtml->isChecked() && !e.liveHtml->isChecked());
        QVERIFY(e.waitLoaded());
        QCOMPARE(e.loaded.first().first().toBool(), true);
        QCOMPARE(e.view()->currentPath(), QStringLiteral(QUIRKPAD_SOURCE_DATA_DIR) + QStringLiteral("/Interface.html"));
        QVERIFY(evaluate(e.view(), QStringLiteral("document.title")).toString().contains(QStringLiteral("Quirkpad")));
    }

    // The help page takes the preview window: the modes go off, and typing
    // does not bring the document back over it.
    void interfaceEndsTheLivePreview()
    {
        Editor e;
        e.pad->SetText(QStringLiteral("<p>doc"));
        e.preview.LiveHTML();
        QVERIFY(e.waitLoaded());
        e.loaded.clear();
        e.preview.showInterface(e.prompts);
        QVERIFY(!e.viewHtml->isChecked() && !e.liveHtml->isChecked());
        // Now owned by the main window, and kept above it.
        QVERIFY(e.window()->isVisible());
        QCOMPARE(e.window()->windowHandle()->transientParent(), e.main.windowHandle());
        QCOMPARE(e.window()->windowHandle()->type(), Qt::Dialog);
        QVERIFY(e.waitLoaded());
        e.type(QStringLiteral("x"));
        QCOMPARE(e.view()->currentPath(), QStringLiteral(QUIRKPAD_SOURCE_DATA_DIR) + QStringLiteral("/Interface.html"));
        QVERIFY(!e.view()->isLoading());
        QCOMPARE(e.window()->windowTitle(), QStringLiteral("Quirkpad - Interface"));
    }

    void aPreviewAfterTheInterfaceIsAWindowOfItsOwn()
    {
        Editor e;
        e.preview.showInterface(e.prompts);
        QPointer<QWidget> window = e.window();
        QVERIFY(window && window->isVisible());
        e.preview.ViewHTML();
        QCOMPARE(e.window(), window.data());   // the same window, reused
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Quirkpad - PreviewHTML"));
        QVERIFY(!OwnedWindow::owner(window));
        QCOMPARE(window->windowHandle()->transientParent(), nullptr);
        QCOMPARE(window->windowType(), Qt::Window);
        QVERIFY(e.viewHtml->isChecked());
    }

    void anEngineThatCannotStartIsReported()
    {
        QTemporaryDir plugins;
        AppPaths::setPluginDir(plugins.path());
        const QString module = plugins.path() + QStringLiteral("/libquirkpad_browser.so");
        for (bool present : {false, true}) {
            if (present) {   // something that is no library at all
                QFile bogus(module);
                QVERIFY(bogus.open(QIODevice::WriteOnly) && bogus.write("not a library") > 0);
            }
            Editor e;
            e.prompts.answer(Prompts::Answer::Ok);
            present ? e.preview.LiveHTML() : e.preview.ViewHTML();
            QCOMPARE(e.prompts.calls.size(), 1);
            if (!present)
                QCOMPARE(e.prompts.calls[0].text,
                         QStringLiteral("Error:\r\n\"The browser engine module %1 is missing.\"").arg(module));
            QVERIFY(e.prompts.calls[0].text.startsWith(QStringLiteral("Error:\r\n\"")));
            QVERIFY(e.prompts.calls[0].text.contains(module));
            QCOMPARE(e.prompts.calls[0].icon, Prompts::Icon::Error);
            QVERIFY(!e.window());
            QVERIFY(!e.viewHtml->isChecked() && !e.liveHtml->isChecked());
            e.type(QStringLiteral("x"));   // no window: typing stays quiet
        }
        AppPaths::setPluginDir(QStringLiteral(QUIRKPAD_BINARY_DIR));
    }
};

QP_REGISTER_TEST(PreviewControllerTest)
#include "PreviewControllerTest.moc"
