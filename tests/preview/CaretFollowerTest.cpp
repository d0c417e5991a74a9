#include "PageScript.h"
#include "ScriptedPrompts.h"
#include "TestRegistry.h"
#include "editor/RichTextBox.h"
#include "files/AppPaths.h"
#include "preview/BrowserView.h"
#include "preview/CaretFollower.h"
#include "preview/PreviewController.h"
#include "preview/frmWebBrowser.h"

#include <QAction>
#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

namespace {

constexpr int kTimeout = 60000;   // the first page also starts the engine

// A view that shows nothing and keeps what the follower asked of it.
class RecordingView final : public BrowserView {
public:
    QWidget w;
    QString pageScript;
    QStringList ran;
    std::function<void(const QString&)> messages;

    QWidget* widget() override { return &w; }
    void navigate(const QString&) override {}
    void reload() override {}
    bool isLoading() const override { return false; }
    QString currentPath() const override { return {}; }
    void setResourceFolder(const QString&) override {}
    void setLoadFinished(std::function<void(bool)>) override {}
    void runScript(const QString&, std::function<void(const QVariant&)>) override {}
    void setPageScript(const QString& script) override { pageScript = script; }
    void runPageScript(const QString& script, std::function<void(const QVariant&)>) override { ran << script; }
    void setPageMessages(std::function<void(const QString&)> callback) override { messages = std::move(callback); }

    // The path the page was last told to outline, as compact JSON ("null":
    // none; "" when none was told).
    QString shownPath() const
    {
        static const QRegularExpression show(QStringLiteral(R"(quirkpadFollow\.show\((.*), (true|false)\);$)"),
                                             QRegularExpression::MultilineOption);
        for (qsizetype i = ran.size() - 1; i >= 0; --i)
            if (const QRegularExpressionMatch m = show.match(ran[i]); m.hasMatch())
                return json(m.captured(1));
        return {};
    }
    static QString json(const QString& text)
    {
        const QJsonDocument d = QJsonDocument::fromJson(text.toUtf8());
        return d.isNull() ? text : QString::fromUtf8(d.toJson(QJsonDocument::Compact));
    }
};

const QString kPage = QStringLiteral("<html><head><title>T</title></head><body>\n"
                                     "<p id=\"one\">First</p>\n"
                                     "<div><p>Second <b>bold</b></p></div>\n"
                                     "<p>Third</p>\n"
                                     "<p id=\"gone\">Gone</p><script>document.getElementById('gone').remove()</script>\n"
                                     "</body></html>");

int at(const QString& text) { return int(kPage.indexOf(text)); }

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every element of the page that shows an outline, as "TAG:text".
QString outlined(BrowserView* view)
{
    return evaluate(view, QStringLiteral("Array.from(document.querySelectorAll('*'))"
                                         ".filter(e => getComputedStyle(e).outlineStyle !== 'none')"
                                         ".map(e => e.tagName + ':' + e.textContent).join('|')"))
        .toString();
}

}

class CaretFollowerTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { AppPaths::setPluginDir(QStringLiteral(QUIRKPAD_BINARY_DIR)); }

    // What the page is told as the caret moves, is clicked, and the option
    // changes; the page itself is the browser test's.
    void thePageIsToldTheCaretsElement()
    {
        QWidget main;
        auto* pad = new RichTextBox(nullptr, &main);
        (new QVBoxLayout(&main))->addWidget(pad);
        main.show();
        pad->SetText(kPage);
        CaretFollower follower(*pad);
        RecordingView view;
        pad->SetSelStart(at("First"));
        follower.follow(&view);
        const QString first = QStringLiteral(R"([{"id":"one","index":0,"tag":"p"}])");
        QCOMPARE(view.shownPath(), first);
        QVERIFY(view.pageScript.contains(QStringLiteral("quirkpadFollow.start(") + first));

        // A click puts the caret before the start tag, and the clicked
        // element stays outlined although the caret stands in its parent.
        view.messages(QStringLiteral(R"(click [{"tag":"div","index":0},{"tag":"p","index":0}])"));
        QCOMPARE(pad->SelStart(), at("<p>Second"));
        QTRY_COMPARE(view.shownPath(), RecordingView::json(QStringLiteral(R"([{"tag":"div","index":0},{"tag":"p","index":0}])")));
        // A path the text does not hold moves nothing.
        view.messages(QStringLiteral(R"(click [{"tag":"p","index":7}])"));
        QCOMPARE(pad->SelStart(), at("<p>Second"));

        // Typing before the caret moves its element in the tree.
        pad->SetSelStart(at("Third"));
        QTRY_COMPARE(view.shownPath(), RecordingView::json(QStringLiteral(R"([{"tag":"p","index":1}])")));
        pad->SetSelStart(at("<div>"));
        pad->SetSelText(QStringLiteral("<p>new</p>"));
        pad->SetSelStart(pad->SelStart() + at("Third") - at("<div>"));
        QTRY_COMPARE(view.shownPath(), RecordingView::json(QStringLiteral(R"([{"tag":"p","index":2}])")));

        // Off: the page's script goes and its outline with it.
        follower.setEnabled(false);
        QCOMPARE(view.pageScript, QString());
        QVERIFY(view.ran.last().contains(QStringLiteral("quirkpadFollow.stop()")));
        QVERIFY(!view.messages);
        follower.setEnabled(true);
        QCOMPARE(view.shownPath(), RecordingView::json(QStringLiteral(R"([{"tag":"p","index":2}])")));
    }

    // The real browser: the outline follows the caret in the live preview,
    // through reloads, never into the previewed file; a click in the page
    // moves the caret.
    void theLivePreviewOutlinesTheCaretsElement()
    {
        AppPaths::deleteTempFolder();
        QWidget main;
        auto* pad = new RichTextBox(nullptr, &main);
        (new QVBoxLayout(&main))->addWidget(pad);
        auto* viewHtml = new QAction(&main);
        auto* liveHtml = new QAction(&main);
        ScriptedPrompts prompts;
        PreviewController preview(*pad, viewHtml, liveHtml, &main, &prompts);
        QSignalSpy loaded(&preview, &PreviewController::pageLoaded);
        connect(&pad->document(), &Document::contentsChanged, &preview, &PreviewController::liveRefresh);
        main.resize(400, 300);
        main.show();
        pad->SetText(kPage);
        pad->SetSelStart(at("First"));
        preview.LiveHTML();
        QVERIFY(loaded.wait(kTimeout));
        BrowserView* view = preview.window()->webBrowser();
        const QString file = preview.window()->tempLocation();
        QTRY_COMPARE_WITH_TIMEOUT(outlined(view), QStringLiteral("P:First"), kTimeout);

        for (const auto& [caret, element] : {std::pair{"bold", "B:bold"}, std::pair{"Second", "P:Second bold"},
                                             std::pair{"T</title>", ""}, std::pair{"Gone", ""},
                                             std::pair{"Third", "P:Third"}}) {
            pad->SetSelStart(at(QString::fromLatin1(caret)));
            QTRY_COMPARE_WITH_TIMEOUT(outlined(view), QString::fromLatin1(element), kTimeout);
        }
        QVERIFY(readBytes(file).endsWith(pad->document().utf8()));

        // Typing reloads the page, which comes back outlined.
        loaded.clear();
        QTest::keyClicks(pad, QStringLiteral("!"));
        QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty() && !view->isLoading(), kTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(outlined(view), QStringLiteral("P:!Third"), kTimeout);

        evaluate(view, QStringLiteral("document.querySelector('b').dispatchEvent("
                                      "new MouseEvent('click', {bubbles: true, button: 0}))"));
        QTRY_COMPARE_WITH_TIMEOUT(pad->SelStart(), at("<b>"), kTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(outlined(view), QStringLiteral("B:bold"), kTimeout);

        // The option goes off and on again in the page as it is.
        preview.caretFollower().setEnabled(false);
        QTRY_COMPARE_WITH_TIMEOUT(outlined(view), QString(), kTimeout);
        pad->SetSelStart(at("First"));
        preview.caretFollower().setEnabled(true);
        QTRY_COMPARE_WITH_TIMEOUT(outlined(view), QStringLiteral("P:First"), kTimeout);
        QVERIFY(readBytes(file).endsWith(pad->document().utf8()));
        QCOMPARE(prompts.pending(), 0);
    }
};

QP_REGISTER_TEST(CaretFollowerTest)
#include "CaretFollowerTest.moc"
