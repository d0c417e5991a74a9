#pragma once
#include <QString>
#include <QVariant>

#include <functional>

class QWidget;

// A web page view showing local files. The browser engine lives in a module
// of its own that is loaded on first use (see BrowserEngine), so this
// interface is all the editor knows of it: plain virtual functions and
// callbacks, nothing the module would have to share with the editor binary
// beyond Qt itself.
class BrowserView {
public:
    virtual ~BrowserView() = default;

    // The widget to place in a window; it owns this view, so deleting the
    // widget (or its parent) ends the view.
    virtual QWidget* widget() = 0;

    // Shows the local file at the path. When the file is the one already
    // shown, the page is reloaded instead and keeps its scroll position.
    virtual void navigate(const QString& path) = 0;

    // Loads the current page again, keeping its scroll position. Asked while
    // a load is still running, one more reload follows when that load ends,
    // however many times it was asked meanwhile: the page always ends up
    // showing the file as it was last written, and the engine never queues
    // a reload per keystroke.
    virtual void reload() = 0;

    // True from the request of a load until the engine reports its end.
    virtual bool isLoading() const = 0;

    // The local file last asked for; "" before the first navigate.
    virtual QString currentPath() const = 0;

    // Where the page's relative links belong: the page shown is a copy of a
    // document kept elsewhere, so a local file it names (a style sheet, a
    // picture, a linked page) that does not exist beside the copy is taken
    // from the same place relative to this folder instead. "" for none.
    virtual void setResourceFolder(const QString& folder) = 0;

    // Called after each load that the view started has ended and no further
    // reload is waiting; ok is false when the page could not be shown.
    virtual void setLoadFinished(std::function<void(bool ok)> callback) = 0;

    // Runs a script in the page and hands its result to the callback.
    virtual void runScript(const QString& script, std::function<void(const QVariant&)> callback) = 0;

    // The editor's own scripts in the page, kept apart from the page's
    // scripts: they run in a world of their own, which shares the page's
    // elements but not its variables, so that neither can break the other.
    // There, in the page of navigate() (not in one reached by a link),
    // quirkpadHost.send(text) hands the text to the message callback (later,
    // on the window's thread).
    //
    // The page script runs in every load of the page of navigate() from now
    // on, as soon as the page's document is made (before any of its content
    // is parsed); "" for none. A page already shown keeps what ran in it.
    virtual void setPageScript(const QString& script) = 0;
    // Runs a script in that world of the page now shown.
    virtual void runPageScript(const QString& script, std::function<void(const QVariant&)> callback) = 0;
    virtual void setPageMessages(std::function<void(const QString& text)> callback) = 0;
};

// The entry points of the browser module, resolved by name.
extern "C" {
using QuirkpadBrowserAbiFn = int (*)();
using QuirkpadCreateBrowserFn = BrowserView* (*)(QWidget* parent);
}

// Raised whenever the interface above changes shape, so that a module built
// against another version is refused instead of called.
constexpr int kBrowserViewAbi = 3;
