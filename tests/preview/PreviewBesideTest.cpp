#include "PageScript.h"
#include "MainWindowFixture.h"
#include "ScriptedPrompts.h"
#include "TestRegistry.h"
#include "editor/RichTextBox.h"
#include "files/AppPaths.h"
#include "preview/BrowserView.h"
#include "preview/PreviewController.h"
#include "preview/PreviewPanel.h"
#include "preview/frmWebBrowser.h"

#include <QAction>
#include <QSignalSpy>
#include <QSplitter>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

namespace {

constexpr int kLoadTimeout = 60000;   // the first page also starts the engine

// A long page that asks for the keyboard as it loads, twice over.
QString greedyPage()
{
    return QStringLiteral("<html><body onload=\"document.getElementById('f').focus()\">"
                          "<input id=\"f\" autofocus>")
        + QStringLiteral("<p>Paragraph</p>\r\n").repeated(300);
}

// The text in a window with room for the panel beside it, wired as the main
// window wires them.
struct Editor {
    QWidget main;
    QSplitter* split = new QSplitter(&main);
    RichTextBox* pad = new RichTextBox(nullptr, split);
    QAction* viewHtml = new QAction(QStringLiteral("ViewHTML"), &main);
    QAction* liveHtml = new QAction(QStringLiteral("LiveHTML"), &main);
    ScriptedPrompts prompts;
    PreviewController preview{*pad, viewHtml, liveHtml, &main, &prompts};
    QSignalSpy loaded{&preview, &PreviewController::pageLoaded};
    bool beside = true;

    Editor()
    {
        (new QVBoxLayout(&main))->addWidget(split);
        preview.setBesideText([this] { return beside; }, [this](QWidget* panel) { split->addWidget(panel); });
        QObject::connect(&pad->document(), &Document::contentsChanged, &preview, &PreviewController::liveRefresh);
        main.resize(800, 400);
        main.show();
        main.activateWindow();
        if (!QTest::qWaitForWindowActive(&main))
            qWarning("not active");
        pad->setFocus();
    }
    ~Editor() { QCOMPARE(prompts.pending(), 0); }

    BrowserView* view() const { return preview.previewBrowser(); }
    bool keyboardInTheText() const
    {
        return QApplication::activeWindow() == &main && QApplication::focusWidget() == pad;
    }
    void type(const QString& keys)
    {
        loaded.clear();
        pad->SetSelStart(int(pad->Text().size()));
        QTest::keyClicks(pad, keys);
    }
    bool reloaded() const { return !loaded.isEmpty() && !view()->isLoading(); }
};

QString temp(int n)
{
    return AppPaths::tempDir().valueOr(QString()) + QStringLiteral("/Temp%1.html").arg(n);
}

}

// The preview beside the text: the same modes and pages as in the window,
// in a panel of the main window (the live page's reload, scroll kept, is the
// same view's in both: the window's test); in both places the keyboard stays
// in the text.
class PreviewBesideTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { AppPaths::setPluginDir(QStringLiteral(QUIRKPAD_BINARY_DIR)); }
    void init() { AppPaths::deleteTempFolder(); }

    void modesShowInThePanel()
    {
        Editor e;
        e.pad->SetText(QStringLiteral("<p>page</p>"));
        e.preview.ViewHTML();
        QPointer<PreviewPanel> panel = e.preview.panel();
        QVERIFY(panel && panel->isVisible());
        QCOMPARE(e.split->indexOf(panel), 1);
        QVERIFY(!e.preview.window());
        QVERIFY(e.viewHtml->isChecked() && !e.liveHtml->isChecked());
        QCOMPARE(panel->tempLocation(), temp(1));
        QVERIFY(e.loaded.wait(kLoadTimeout));

        // A switch keeps the panel and takes the next page, even once the
        // option is off: the preview stays where it opened.
        e.beside = false;
        e.preview.LiveHTML();
        QCOMPARE(e.preview.panel(), panel.data());
        QVERIFY(!e.viewHtml->isChecked() && e.liveHtml->isChecked());
        QCOMPARE(panel->tempLocation(), temp(2));
        e.preview.LiveHTML();
        QVERIFY(!e.viewHtml->isChecked() && !e.liveHtml->isChecked());
        QVERIFY(!panel);
        QCOMPARE(e.split->count(), 1);
        QVERIFY(!e.view());

        // The option off: the next preview is the window's.
        e.preview.ViewHTML();
        QVERIFY(e.preview.window() && !e.preview.panel());
        e.preview.ViewHTML();
    }

    // The help page has the window; a preview beside the text stays on,
    // follows the typing, and outlives the help window.
    void interfaceBesideALivePreview()
    {
        Editor e;
        e.pad->SetText(QStringLiteral("<p>doc"));
        e.preview.LiveHTML();
        QVERIFY(e.loaded.wait(kLoadTimeout));
        e.preview.showInterface(e.prompts);
        QPointer<frmWebBrowser> window = e.preview.window();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Quirkpad - Interface"));
        QVERIFY(e.liveHtml->isChecked());
        QVERIFY(e.loaded.wait(kLoadTimeout));   // the help page
        e.type(QStringLiteral("x"));
        QTRY_VERIFY_WITH_TIMEOUT(e.reloaded(), kLoadTimeout);
        QCOMPARE(evaluate(e.view(), QStringLiteral("document.body.innerText")).toString(), QStringLiteral("docx"));
        QVERIFY(window->webBrowser()->currentPath().endsWith(QStringLiteral("/Interface.html")));
        window->close();
        QTRY_VERIFY(!window);
        QVERIFY(e.liveHtml->isChecked() && e.preview.panel());
        e.preview.LiveHTML();
    }

    // Showing a page that asks for the keyboard, and refreshing it, leave
    // the keyboard in the text, in the panel as in the window.
    void keyboardStaysInTheText_data()
    {
        QTest::addColumn<bool>("beside");
        QTest::newRow("window") << false;
        QTest::newRow("panel") << true;
    }
    void keyboardStaysInTheText()
    {
        QFETCH(bool, beside);
        Editor e;
        e.beside = beside;
        e.pad->SetText(greedyPage());
        e.preview.LiveHTML();
        QCOMPARE(e.preview.panel() != nullptr, beside);
        QVERIFY(e.loaded.wait(kLoadTimeout));
        QTRY_VERIFY(e.keyboardInTheText());
        e.type(QStringLiteral("<p>typed</p>"));
        QTRY_VERIFY_WITH_TIMEOUT(e.reloaded(), kLoadTimeout);
        QVERIFY(e.keyboardInTheText());
        QVERIFY(e.pad->Text().endsWith(QStringLiteral("<p>typed</p>")));
        e.preview.LiveHTML();
    }

    // In the main window: the option puts the preview beside the text, at
    // the divider's last place; off, the preview is the window's.
    void mainWindowKeepsTheDivider()
    {
        MainWindowFixture f;
        frmMain& w = f.show();
        auto* split = w.findChild<QSplitter*>(QStringLiteral("splPreview"));
        QVERIFY(split);
        padOf(w)->SetText(QStringLiteral("<p>x"));
        QAction* live = actionOf(w, Cmd::mnuLiveHTML);
        PreviewController& preview = partOf<PreviewController>(w);
        live->trigger();
        QVERIFY(preview.window() && !preview.panel());
        QCOMPARE(split->count(), 1);
        live->trigger();

        f.settings.setOn(Setting::PreviewBeside, true);
        f.settings.store(Setting::PreviewSplit, QStringLiteral("0.7"));
        live->trigger();
        QVERIFY(!preview.window() && preview.panel());
        QVERIFY(live->isChecked());
        const auto share = [split] { return double(split->sizes()[0]) / (split->sizes()[0] + split->sizes()[1]); };
        QTRY_VERIFY2(qAbs(share() - 0.7) < 0.02, qPrintable(QString::number(share())));

        // The user drags the divider to the middle of the window.
        QWidget* handle = split->handle(1);
        const QPoint from = handle->rect().center();
        const int dx = split->width() / 2 - handle->mapTo(split, from).x();
        QTest::mousePress(handle, Qt::LeftButton, {}, from);
        QTest::mouseMove(handle, from + QPoint(dx, 0));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, from + QPoint(dx, 0));
        QVERIFY(qAbs(share() - 0.5) < 0.05);
        const double kept = f.settings.get(Setting::PreviewSplit).toDouble();
        QVERIFY(qAbs(kept - share()) < 0.01);
        live->trigger();
        QCOMPARE(split->count(), 1);
        live->trigger();
        QTRY_VERIFY2(qAbs(share() - kept) < 0.02, qPrintable(QStringLiteral("%1 %2").arg(share()).arg(kept)));
        live->trigger();
    }
};

QP_REGISTER_TEST(PreviewBesideTest)
#include "PreviewBesideTest.moc"
