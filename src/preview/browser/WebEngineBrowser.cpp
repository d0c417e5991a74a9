// The browser view over Qt WebEngine. Built as a module of its own, so that
// only a session that shows a page maps Chromium.
#include "preview/BrowserView.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>
#include <QWebChannel>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

namespace {

// The world of the editor's own scripts: the page's elements, not its variables.
constexpr quint32 kEditorWorld = QWebEngineScript::ApplicationWorld;

// What the editor's scripts in the page reach through the web channel.
class PageHost final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    std::function<void(const QString&)> onMessage;

public slots:
    void send(const QString& text)
    {
        if (onMessage)
            onMessage(text);
    }
};

QString jsString(const QString& text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

// Defines quirkpadHost in the editor's world of every page: inPreview, true
// in the preview's own page, and send(text), which queues what is sent until
// the channel is open. Only the preview's page opens the channel.
QString hostScript(const QString& previewPath)
{
    static const QString channel = [] {
        QFile f(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }();
    return channel + QStringLiteral(R"js(
var quirkpadHost = (function () {
    'use strict';
    var here = null;
    try {
        if (location.protocol === 'file:')
            here = decodeURIComponent(location.pathname);
    } catch (e) {}
    var inPreview = here === %1 && typeof QWebChannel === 'function' && typeof qt === 'object';
    var host = null, waiting = [];
    if (inPreview) {
        new QWebChannel(qt.webChannelTransport, function (channel) {
            host = channel.objects.host;
            waiting.forEach(function (text) { host.send(text); });
            waiting = [];
        });
    }
    return {
        inPreview: inPreview,
        send: function (text) {
            if (host)
                host.send(String(text));
            else if (inPreview)
                waiting.push(String(text));
        }
    };
})();
)js").arg(jsString(previewPath));
}

QWebEngineScript editorScript(const QString& name, const QString& source,
                              QWebEngineScript::InjectionPoint point)
{
    QWebEngineScript script;
    script.setName(name);
    script.setSourceCode(source);
    script.setInjectionPoint(point);
    script.setWorldId(kEditorWorld);
    script.setRunsOnSubFrames(false);
    return script;
}

// Sends requests for local files that are not beside the preview page to the
// document's own folder, at the same place relative to it.
class ResourceRedirect final : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void setFolders(const QString& pageFolder, const QString& resourceFolder)
    {
        m_pageFolder = pageFolder;
        m_resourceFolder = resourceFolder;
    }

    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        const QUrl url = info.requestUrl();
        if (m_pageFolder.isEmpty() || m_resourceFolder.isEmpty() || !url.isLocalFile())
            return;
        const QString path = url.toLocalFile();
        if (QFileInfo::exists(path))
            return;
        const QString relative = QDir(m_pageFolder).relativeFilePath(path);
        const QString target = QDir::cleanPath(m_resourceFolder + QLatin1Char('/') + relative);
        if (target == QDir::cleanPath(path) || !QFileInfo::exists(target))
            return;
        QUrl moved = QUrl::fromLocalFile(target);
        moved.setQuery(url.query());
        moved.setFragment(url.fragment());
        info.redirect(moved);
    }

private:
    QString m_pageFolder;
    QString m_resourceFolder;
};

class WebEngineBrowser final : public QWebEngineView, public BrowserView {
public:
    explicit WebEngineBrowser(QWidget* parent) : QWebEngineView(parent)
    {
        setObjectName(QStringLiteral("webBrowser"));
        // The default profile keeps everything in memory: a preview leaves
        // no cache or cookies in the user's home.
        auto* page = new QWebEnginePage(QWebEngineProfile::defaultProfile(), this);
        m_redirect = new ResourceRedirect(page);
        page->setUrlRequestInterceptor(m_redirect);
        setPage(page);
        // Only loads of the preview's own page count: a page the user reached
        // by a link, or one that was replaced before it finished loading,
        // must not end or start the wait for ours.
        connect(page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
            if (m_path.isEmpty() || !showsPreview(info.url()))
                return;
            if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus)
                m_loading = true;
            else if (m_loading)
                finished(info.status() == QWebEngineLoadingInfo::LoadSucceededStatus);
        });
        connect(page, &QWebEnginePage::renderProcessTerminated, this,
                [this](QWebEnginePage::RenderProcessTerminationStatus, int) {
                    // No load will report its end now; do not wait for one.
                    if (m_loading)
                        finished(false);
                });
        m_host = new PageHost(this);
        auto* channel = new QWebChannel(this);
        channel->registerObject(QStringLiteral("host"), m_host);
        page->setWebChannel(channel, kEditorWorld);
    }

    QWidget* widget() override { return this; }

    void navigate(const QString& path) override
    {
        // While the first load of the page runs, the view's url() may not
        // name it yet; a second request for the same page is a reload.
        if (!m_path.isEmpty() && path == m_path && (m_loading || showsPreview(url()))) {
            reload();
            return;
        }
        m_path = path;
        updateRedirect();
        installPageScript();
        m_pending = false;
        m_loading = true;
        load(target());
    }

    void reload() override
    {
        if (m_path.isEmpty())
            return;
        if (m_loading) {
            m_pending = true;
            return;
        }
        start();
    }

    bool isLoading() const override { return m_loading; }
    QString currentPath() const override { return m_path; }

    void setResourceFolder(const QString& folder) override { m_resourceFolder = folder; updateRedirect(); }

    void setLoadFinished(std::function<void(bool)> callback) override { m_onFinished = std::move(callback); }

    void runScript(const QString& script, std::function<void(const QVariant&)> callback) override
    {
        page()->runJavaScript(script, [callback = std::move(callback)](const QVariant& v) {
            if (callback)
                callback(v);
        });
    }

    void setPageScript(const QString& script) override
    {
        m_pageScript = script;
        installPageScript();
    }

    void runPageScript(const QString& script, std::function<void(const QVariant&)> callback) override
    {
        page()->runJavaScript(script, kEditorWorld, [callback = std::move(callback)](const QVariant& v) {
            if (callback)
                callback(v);
        });
    }

    void setPageMessages(std::function<void(const QString&)> callback) override
    {
        m_host->onMessage = std::move(callback);
    }

private:
    QUrl target() const { return QUrl::fromLocalFile(m_path); }
    void updateRedirect()
    {
        m_redirect->setFolders(m_path.isEmpty() ? QString() : QFileInfo(m_path).absolutePath(), m_resourceFolder);
    }
    // The editor's scripts go into the loads that follow; they act only in
    // the preview's own page, found by its path when each page starts. The
    // host is there even without a page script, for scripts run later.
    void installPageScript()
    {
        QWebEngineScriptCollection& scripts = page()->scripts();
        for (const QString& name : {kHostName, kPageName})
            for (const QWebEngineScript& old : scripts.find(name))
                scripts.remove(old);
        if (m_path.isEmpty())
            return;
        const QString previewPath = QDir::cleanPath(QFileInfo(m_path).absoluteFilePath());
        scripts.insert(editorScript(kHostName, hostScript(previewPath), QWebEngineScript::DocumentCreation));
        if (m_pageScript.isEmpty())
            return;
        scripts.insert(editorScript(kPageName,
                                    QStringLiteral("if (typeof quirkpadHost === 'object' && quirkpadHost.inPreview) {\n") +
                                        m_pageScript + QStringLiteral("\n}\n"),
                                    QWebEngineScript::DocumentCreation));
    }

    // The preview's page, also after a link to an anchor inside it.
    bool showsPreview(const QUrl& url) const { return url.adjusted(QUrl::RemoveFragment) == target(); }

    void start()
    {
        m_loading = true;
        // A reload, not a new load: Chromium puts the page back at the
        // scroll position it had, and no history entry is added per change.
        // Bypassing the cache also picks up style sheets and pictures the
        // page uses that were changed meanwhile.
        if (showsPreview(url()))
            page()->triggerAction(QWebEnginePage::ReloadAndBypassCache);
        else
            load(target());   // the user followed a link away: back to the preview
    }

    void finished(bool ok)
    {
        if (m_pending) {
            // The file changed while this load ran: show its last state.
            m_pending = false;
            start();
            return;
        }
        m_loading = false;
        if (m_onFinished)
            m_onFinished(ok);
    }

    static inline const QString kHostName = QStringLiteral("quirkpad-host");
    static inline const QString kPageName = QStringLiteral("quirkpad-page");

    ResourceRedirect* m_redirect = nullptr;   // the page's child: it outlives no page
    PageHost* m_host = nullptr;
    QString m_pageScript;
    QString m_path;
    QString m_resourceFolder;
    bool m_loading = false;
    bool m_pending = false;
    std::function<void(bool)> m_onFinished;
};

}

extern "C" Q_DECL_EXPORT int quirkpad_browser_abi()
{
    return kBrowserViewAbi;
}

extern "C" Q_DECL_EXPORT BrowserView* quirkpad_create_browser(QWidget* parent)
{
    return new WebEngineBrowser(parent);
}

#include "WebEngineBrowser.moc"
