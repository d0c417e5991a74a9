// The browser view over Qt WebEngine. Built as a module of its own, so that
// only a session that shows a page maps Chromium.
#include "preview/BrowserView.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

namespace {

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

private:
    QUrl target() const { return QUrl::fromLocalFile(m_path); }
    void updateRedirect()
    {
        m_redirect->setFolders(m_path.isEmpty() ? QString() : QFileInfo(m_path).absolutePath(), m_resourceFolder);
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

    ResourceRedirect* m_redirect = nullptr;   // the page's child: it outlives no page
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
