#include "preview/BrowserEngine.h"
#include "preview/BrowserView.h"
#include "files/AppPaths.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QLoggingCategory>
#include <QOpenGLContext>

#include <unistd.h>

// Qt's own hook behind Qt::AA_ShareOpenGLContexts, exported by Qt GUI.
void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace BrowserEngine {
namespace {

// The engine draws pages with the GPU through a context that every OpenGL
// context of the application shares. Qt makes it at start-up when asked
// with Qt::AA_ShareOpenGLContexts, but that loads the OpenGL driver (with a
// software renderer, LLVM: some 60 MB) into every editing session. Made
// here, it costs only a session that shows a page. Without it, or when no
// context can be made, the engine draws in software.
void appendFlags(const QByteArray& flags);

void ensureSharedGlContext()
{
    if (QOpenGLContext::globalShareContext() || !QCoreApplication::instance())
        return;
    // As Qt itself does at start-up with Qt::AA_ShareOpenGLContexts: the
    // context is made shared even when it cannot be created, so that the
    // engine finds one and falls back to drawing in software.
    auto* context = new QOpenGLContext(QCoreApplication::instance());
    context->setFormat(QSurfaceFormat::defaultFormat());
    const bool created = context->create();
    qt_gl_set_global_share_context(context);
    if (!created)
        appendFlags("--disable-gpu");   // a GPU process could only crash here
}

struct Loaded {
    QString path;
    QuirkpadCreateBrowserFn create = nullptr;
};

Loaded& loaded()
{
    static Loaded state;
    return state;
}

// The module at the current modulePath(). Once loaded it stays: the engine
// keeps threads and a child process that outlive any one view.
Result<> load()
{
    const QString path = modulePath();
    Loaded& state = loaded();
    if (state.create && state.path == path)
        return {};
    if (!QFileInfo::exists(path))
        return Failure(QStringLiteral("The browser engine module %1 is missing.").arg(path));
    prepareEnvironment();
    ensureSharedGlContext();
    QLibrary lib(path);
    lib.setLoadHints(QLibrary::PreventUnloadHint);
    if (!lib.load())
        return Failure(lib.errorString());
    auto abi = reinterpret_cast<QuirkpadBrowserAbiFn>(lib.resolve("quirkpad_browser_abi"));
    auto create = reinterpret_cast<QuirkpadCreateBrowserFn>(lib.resolve("quirkpad_create_browser"));
    if (!abi || !create)
        return Failure(QStringLiteral("%1 is not a Quirkpad browser module.").arg(path));
    if (abi() != kBrowserViewAbi)
        return Failure(QStringLiteral("%1 belongs to another version of Quirkpad.").arg(path));
    state.path = path;
    state.create = create;
    return {};
}

void appendFlags(const QByteArray& flags)
{
    QByteArray current = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    for (const QByteArray& flag : flags.split(' ')) {
        if (current.contains(flag))
            continue;
        if (!current.isEmpty())
            current += ' ';
        current += flag;
    }
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", current);
}

}

QString modulePath()
{
    return AppPaths::pluginDir() + QStringLiteral("/libquirkpad_browser.so");
}

bool isLoaded()
{
    return loaded().create != nullptr;
}

void prepareEnvironment()
{
    // The engine reports its start-up parameters on the terminal; users of an
    // editor have no use for them.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    appendFlags("--disable-background-networking --disable-component-update");
}

Result<BrowserView*> createView(QWidget* parent)
{
    if (const Result<> module = load(); !module)
        return Failure(module.error());
    BrowserView* view = loaded().create(parent);
    if (!view)
        return Failure(QStringLiteral("The browser engine could not start."));
    return view;
}

}
