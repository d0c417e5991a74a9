#include "preview/CaretFollower.h"
#include "editor/RichTextBox.h"
#include "preview/BrowserView.h"

#include <QWidget>

#include <algorithm>

namespace {

// The editor's script in the previewed page (after quirkpadPath). It marks
// the element of the caret with an attribute that only the editor's own
// style sheet knows, a sheet adopted by the document and written nowhere,
// and it sends back the path of an element clicked.
const char kFollowScript[] = R"js(
var quirkpadFollow = (function () {
    'use strict';
    var mark = 'data-quirkpad-caret';
    var rule = '[' + mark + '] { outline: 2px solid #2f7de1 !important; outline-offset: 1px !important; }';
    var marked = null, sheet = null, started = false, wanted = null;
    function addStyle() {
        try {
            if (!sheet) {
                sheet = new CSSStyleSheet();
                sheet.replaceSync(rule);
            }
            // A page's script may have replaced the adopted sheets since.
            if (document.adoptedStyleSheets.indexOf(sheet) < 0)
                document.adoptedStyleSheets = document.adoptedStyleSheets.concat([sheet]);
        } catch (e) {
            if (!(sheet instanceof HTMLStyleElement)) {
                sheet = document.createElement('style');
                sheet.textContent = rule;
            }
            if (!sheet.isConnected)
                (document.head || document.documentElement).appendChild(sheet);
        }
    }
    function inSight(element) {
        var r = element.getBoundingClientRect();
        return r.bottom > 0 && r.right > 0 && r.top < window.innerHeight && r.left < window.innerWidth;
    }
    function show(path, scroll) {
        if (!started)
            start(path);
        wanted = path;
        var element = path ? quirkpadPath.resolve(path) : null;
        if (marked && marked !== element)
            marked.removeAttribute(mark);
        marked = element;
        if (!element)
            return false;
        addStyle();
        if (!element.hasAttribute(mark))
            element.setAttribute(mark, '');
        if (scroll && !inSight(element))
            element.scrollIntoView({block: 'center', inline: 'nearest'});
        return true;
    }
    function clicked(event) {
        if (event.button !== 0)
            return;
        var target = event.target;
        if (target && target.nodeType !== Node.ELEMENT_NODE)
            target = target.parentElement;
        var path = target ? quirkpadPath.of(target) : null;
        if (path && path.length > 0)
            quirkpadHost.send('click ' + JSON.stringify(path));
    }
    function ready() {
        show(wanted, false);
        quirkpadHost.send('ready');
    }
    // Runs as the page's document is made: the element is marked as soon as
    // the parser has made it, before the page is first drawn, so that a page
    // loaded again shows its outline from the start.
    function start(path) {
        if (started)
            return;
        started = true;
        wanted = path;
        document.addEventListener('click', clicked, true);
        if (document.readyState !== 'loading')
            return ready();
        var parsing = new MutationObserver(function () {
            if (show(wanted, false))
                parsing.disconnect();
        });
        parsing.observe(document, {childList: true, subtree: true});
        document.addEventListener('DOMContentLoaded', function () {
            parsing.disconnect();
            ready();
        });
    }
    function stop() {
        if (marked)
            marked.removeAttribute(mark);
        marked = null;
        started = false;
        document.removeEventListener('click', clicked, true);
    }
    return {start: start, show: show, stop: stop};
})();
)js";

const QString kReady = QStringLiteral("ready");
const QString kClick = QStringLiteral("click ");

}

CaretFollower::CaretFollower(RichTextBox& pad, QObject* parent) : QObject(parent), m_pad(pad)
{
    m_delay.setSingleShot(true);
    m_delay.setInterval(kDelayMs);
    connect(&m_delay, &QTimer::timeout, this, [this] { update(); });
    connect(&pad, &RichTextBox::caretMoved, this, &CaretFollower::schedule);
    connect(&pad.document(), &Document::edited, this, &CaretFollower::edited);
}

CaretFollower::~CaretFollower()
{
    for (Followed& f : m_views)
        if (f.widget)
            f.view->setPageMessages({});
}

std::vector<CaretFollower::Followed>::iterator CaretFollower::find(BrowserView* view)
{
    return std::find_if(m_views.begin(), m_views.end(), [view](const Followed& f) { return f.view == view; });
}

bool CaretFollower::active() const
{
    return m_enabled && m_outline &&
           std::any_of(m_views.begin(), m_views.end(), [](const Followed& f) { return !f.widget.isNull(); });
}

void CaretFollower::setEnabled(bool on)
{
    if (on == m_enabled)
        return;
    m_enabled = on;
    if (on) {
        std::vector<Followed> views;
        views.swap(m_views);
        for (const Followed& f : views)
            if (f.widget)
                follow(f.view);
        return;
    }
    for (Followed& f : m_views)
        if (f.widget)
            forget(f);
    m_outline.reset();
    m_delay.stop();
    m_click.reset();
    m_pathJson = "null";
}

void CaretFollower::follow(BrowserView* view)
{
    if (!view || find(view) != m_views.end())
        return;
    std::erase_if(m_views, [](const Followed& f) { return f.widget.isNull(); });
    m_views.push_back({view, view->widget()});
    view->setPageMessages([this, view](const QString& message) { received(view, message); });
    if (!m_enabled)
        return;
    if (!m_outline) {
        m_outline.emplace(Html::Syntax::Html);
        m_toldLength = m_pad.document().byteLength();
    }
    update();
    tell(view, true);
}

void CaretFollower::release(BrowserView* view)
{
    const auto it = find(view);
    if (it == m_views.end())
        return;
    if (it->widget)
        forget(*it);
    m_views.erase(it);
    if (std::none_of(m_views.begin(), m_views.end(), [](const Followed& f) { return !f.widget.isNull(); })) {
        // Nothing shows the document: what was kept about its markup goes.
        m_outline.reset();
        m_delay.stop();
        m_click.reset();
        m_pathJson = "null";
    }
}

void CaretFollower::forget(Followed& followed)
{
    followed.view->setPageScript(QString());
    followed.view->setPageMessages({});
    followed.view->runPageScript(QStringLiteral("typeof quirkpadFollow === 'object' && quirkpadFollow.stop()"), {});
}

void CaretFollower::schedule()
{
    if (active() && !m_delay.isActive())
        m_delay.start();
}

void CaretFollower::edited(long fromByte)
{
    if (!m_outline)
        return;
    m_outline->textChanged(fromByte);
    m_toldLength = m_pad.document().byteLength();
    m_click.reset();
    schedule();
}

void CaretFollower::update()
{
    if (!active())
        return;
    const Document& document = m_pad.document();
    // An edit made outside a step is told a moment later; its news asks
    // again.
    if (document.byteLength() != m_toldLength)
        return;
    const long caret = m_pad.caretByte();
    std::optional<Html::ElementPath> path;
    if (m_click && m_click->caret == caret) {
        path = m_click->path;
    } else {
        m_click.reset();
        path = m_outline->elementPathAt(document.utf8(), caret);
    }
    const QByteArray json = path ? Html::pathToJson(*path) : QByteArray("null");
    if (json == m_pathJson)
        return;
    m_pathJson = json;
    for (const Followed& f : m_views)
        if (f.widget)
            tell(f.view, true);
}

QString CaretFollower::pageScript() const
{
    return QString::fromUtf8(Html::elementPathScript().toByteArray() + kFollowScript + "quirkpadFollow.start(" +
                             m_pathJson + ");\n");
}

void CaretFollower::tell(BrowserView* view, bool scroll)
{
    // The next load of the page starts with the path of now; the page now
    // shown moves its outline, and gets the script first if it was loaded
    // without it (the option was off).
    view->setPageScript(pageScript());
    const QString show = QStringLiteral("quirkpadFollow.show(%1, %2);\n")
                             .arg(QString::fromUtf8(m_pathJson), scroll ? QStringLiteral("true") : QStringLiteral("false"));
    view->runPageScript(QStringLiteral("if (typeof quirkpadFollow === 'object') {\n") + show +
                            QStringLiteral("} else if (typeof quirkpadHost === 'object' && quirkpadHost.inPreview) {\n") +
                            QString::fromUtf8(Html::elementPathScript().toByteArray() + kFollowScript) + show +
                            QStringLiteral("}\n"),
                        {});
}

void CaretFollower::received(BrowserView* view, const QString& message)
{
    const auto it = find(view);
    if (it == m_views.end() || !it->widget || !active())
        return;
    if (message == kReady) {
        // The page may have loaded with a path that was already old.
        view->runPageScript(QStringLiteral("quirkpadFollow.show(%1, true);\n").arg(QString::fromUtf8(m_pathJson)), {});
    } else if (message.startsWith(kClick)) {
        clicked(message.mid(kClick.size()).toUtf8());
        // Beside the text, the keys go back to the text at once.
        if (it->widget->window() == m_pad.window())
            m_pad.SetFocus();
    }
}

void CaretFollower::clicked(const QByteArray& json)
{
    const std::optional<Html::ElementPath> path = Html::pathFromJson(json);
    if (!path || path->isEmpty())
        return;
    const std::optional<qsizetype> start = m_outline->startTagOf(m_pad.document().utf8(), *path);
    if (!start)
        return;
    m_pad.selectBytes(long(*start), long(*start));
    m_click = Click{long(*start), *path};
    schedule();
}
