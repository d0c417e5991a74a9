// The HTML preview's costs, as the user feels them:
//  - typing with LiveHTML on in a 1 MB page: the time from a keystroke to the
//    preview page on disk holding it (the reload then runs in the engine's
//    own processes; a load that is still running makes later keystrokes ask
//    for one more reload instead of queueing one each);
//  - start-up: the editor binary (build/quirkpad) until its window is on the
//    screen, with the memory it holds then and whether the browser engine is
//    mapped (it must not be), and the editor's code started in a fresh
//    process, without and with a preview opened, until the window shows and,
//    with a preview, until the page has loaded.
//
// Run it under a display for the binary's start-up (xvfb-run -a
// build/bench/bench_preview); without one that case is skipped and the
// rest runs on the offscreen platform.
#include "files/AppPaths.h"
#include "services/QtPrompts.h"
#include "editor/RichTextBox.h"
#include "services/SettingsStore.h"
#include "services/Shell.h"
#include "preview/BrowserView.h"
#include "preview/PreviewController.h"
#include "preview/PreviewFile.h"
#include "preview/frmWebBrowser.h"
#include "shell/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QWindow>

#include "BenchMain.h"

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr qsizetype kPageBytes = 1024 * 1024;

// Runs the event loop until the condition holds or the time is up.
bool spinUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

QString buildDir()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/.."));
}

// A web page of 1 MB: headings, paragraphs and a table, some of it not ASCII.
QString page()
{
    QString out = QStringLiteral("<!DOCTYPE html>\r\n<html>\r\n<head><title>Big page</title></head>\r\n<body>\r\n");
    for (int section = 0; out.size() < kPageBytes; ++section) {
        out += QStringLiteral("<h2>Section %1</h2>\r\n").arg(section);
        for (int p = 0; p < 8; ++p)
            out += QStringLiteral("<p>Paragraph %1 of section %2: caf\u00e9, cr\u00e8me br\u00fbl\u00e9e, "
                                  "\u20ac 12,50 &ndash; <b>bold</b> and <i>italic</i> words.</p>\r\n")
                       .arg(p)
                       .arg(section);
        out += QStringLiteral("<table><tr><td>a</td><td>b</td></tr><tr><td>c</td><td>d</td></tr></table>\r\n");
    }
    out += QStringLiteral("</body>\r\n</html>\r\n");
    return out;
}

QByteArray procStatus(qint64 pid, const char* field)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed();
    return {};
}

double kilobytes(const QByteArray& statusValue)
{
    return statusValue.split(' ').value(0).toDouble();
}

bool mapsWebEngine(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/maps").arg(pid));
    return f.open(QIODevice::ReadOnly) && f.readAll().contains("libQt6WebEngineCore");
}

// Keystroke to preview file: range(0) 0 types with no preview (the plain
// cost of a keystroke), 1 with LiveHTML on.
void BM_KeystrokeToPreviewFile(benchmark::State& state)
{
    const bool live = state.range(0) == 1;
    AppPaths::setPluginDir(buildDir());
    QWidget main;
    auto* pad = new RichTextBox(nullptr, &main);
    main.resize(800, 600);
    main.show();
    QAction viewHtml, liveHtml;
    QtPrompts prompts(&main);
    PreviewController preview(*pad, &viewHtml, &liveHtml, &main, &prompts);
    QObject::connect(&pad->document(), &Document::contentsChanged, &preview, &PreviewController::liveRefresh);
    int loads = 0;
    QObject::connect(&preview, &PreviewController::pageLoaded, [&loads](bool) { ++loads; });

    pad->SetText(page());
    if (live) {
        preview.LiveHTML();
        if (!preview.window() || !spinUntil([&] { return loads > 0; }, 60000)) {
            state.SkipWithError("the preview did not load");
            return;
        }
    }
    // Typing in the middle of the page, as one edits a large page.
    pad->SetSelStart(pad->TextLength() / 2);
    pad->setFocus();
    const QString file = preview.window() ? preview.window()->tempLocation() : QString();
    qint64 expectedSize = live ? QFileInfo(file).size() : 0;

    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QCoreApplication::sendEvent(pad, &press);
        QCoreApplication::sendEvent(pad, &release);

        state.PauseTiming();
        if (live) {
            ++expectedSize;
            if (QFileInfo(file).size() != expectedSize) {
                state.SkipWithError("the preview file does not hold the keystroke");
                break;
            }
        }
        // Between keystrokes the engine gets its turn, as between real ones.
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetLabel(live ? "LiveHTML on" : "no preview");
    if (live && preview.window()) {
        // How long the page takes to catch up with the last keystroke.
        QElapsedTimer t;
        t.start();
        BrowserView* view = preview.window()->webBrowser();
        spinUntil([&] { return !view->isLoading(); }, 60000);
        state.counters["catch_up_ms"] = t.nsecsElapsed() / 1e6;
    }
}
BENCHMARK(BM_KeystrokeToPreviewFile)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Iterations(300);

// The write alone: 1 MB of page into the temporary folder, replacing the last.
void BM_WritePreviewPage(benchmark::State& state)
{
    const QByteArray text = page().toUtf8();
    const QString path = AppPaths::tempDir().valueOr(QString()) + QStringLiteral("/Temp1.html");
    for (auto _ : state) {
        if (!PreviewFile::write(path, text)) {
            state.SkipWithError("cannot write the page");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_WritePreviewPage)->Unit(benchmark::kMicrosecond);

// The child side of the start-up cases: the editor's main window started as
// main() starts it (without Qt::AA_ShareOpenGLContexts: the preview makes
// its shared context when it first needs one), shown, and with "preview" ViewHTML run until its page
// has loaded. Prints "ready <peak RSS kB> <engine mapped>" and ends.
int startupChild(const QString& mode)
{
    int argc = 1;
    char name[] = "quirkpad";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    AppPaths::setPluginDir(buildDir());
    QtPrompts prompts;
    DesktopShell shell;
    SettingsStore settings;
    frmMain window({&prompts, &shell, &settings});
    prompts.setOwner(&window);
    window.startUp(QStringList{QStringLiteral("quirkpad")});
    window.show();
    bool ok = spinUntil([&] { return window.windowHandle() && window.windowHandle()->isExposed(); }, 30000);
    if (ok && mode == QLatin1String("preview")) {
        auto* preview = window.findChild<PreviewController*>();
        ok = preview != nullptr;
        if (ok) {
            bool loaded = false;
            QObject::connect(preview, &PreviewController::pageLoaded, [&loaded](bool) { loaded = true; });
            // As the menu item does.
            window.findChild<QAction*>(QString(Commands::name(Cmd::mnuViewHTML)))->trigger();
            ok = spinUntil([&] { return loaded; }, 60000);
        }
    }
    const qint64 self = QCoreApplication::applicationPid();
    std::printf("%s %.0f %d\n", ok ? "ready" : "failed", kilobytes(procStatus(self, "VmHWM:")), int(mapsWebEngine(self)));
    std::fflush(stdout);
    AppPaths::deleteTempFolder();
    std::_Exit(0);
}

// Start-up of the editor's code in a fresh process: range(0) 0 until the
// main window shows, 1 until a preview opened right away has loaded.
void BM_EditorStartup(benchmark::State& state)
{
    const bool preview = state.range(0) == 1;
    double peakKb = 0;
    int engineMapped = 0;
    for (auto _ : state) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer t;
        t.start();
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--startup-child"), preview ? QStringLiteral("preview") : QStringLiteral("plain")});
        if (!child.waitForReadyRead(90000)) {
            state.SkipWithError("the editor did not start");
            break;
        }
        const double seconds = t.nsecsElapsed() / 1e9;
        const QList<QByteArray> reply = child.readAllStandardOutput().trimmed().split(' ');
        child.waitForFinished(30000);
        if (reply.value(0) != "ready") {
            state.SkipWithError("the editor did not get ready");
            break;
        }
        state.SetIterationTime(seconds);
        peakKb = reply.value(1).toDouble();
        engineMapped = reply.value(2).toInt();
    }
    state.counters["peak_rss_MB"] = peakKb / 1024.0;
    state.counters["engine_mapped"] = engineMapped;
    state.SetLabel(preview ? "with a preview opened" : "plain");
}
BENCHMARK(BM_EditorStartup)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}

// Xlib's macros (KeyPress, None, Bool...) clash with Qt's names: it comes
// after every use of those.
#include <X11/Xlib.h>

namespace {

// The few Xlib calls the binary's start-up case needs, found at run time:
// the benchmark links nothing of X itself.
struct Xlib {
    decltype(&XOpenDisplay) openDisplay = nullptr;
    decltype(&XCloseDisplay) closeDisplay = nullptr;
    decltype(&XDefaultRootWindow) rootWindow = nullptr;
    decltype(&XQueryTree) queryTree = nullptr;
    decltype(&XFetchName) fetchName = nullptr;
    decltype(&XGetWindowAttributes) windowAttributes = nullptr;
    decltype(&XInternAtom) internAtom = nullptr;
    decltype(&XSendEvent) sendEvent = nullptr;
    decltype(&XFlush) flush = nullptr;
    decltype(&XFree) free = nullptr;

    bool load()
    {
        void* lib = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
        if (!lib)
            return false;
        auto get = [lib](auto& fn, const char* name) {
            fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(dlsym(lib, name));
            return fn != nullptr;
        };
        return get(openDisplay, "XOpenDisplay") && get(closeDisplay, "XCloseDisplay") &&
               get(rootWindow, "XDefaultRootWindow") && get(queryTree, "XQueryTree") &&
               get(fetchName, "XFetchName") && get(windowAttributes, "XGetWindowAttributes") &&
               get(internAtom, "XInternAtom") && get(sendEvent, "XSendEvent") && get(flush, "XFlush") &&
               get(free, "XFree");
    }

    // A viewable window (at most two levels below the root) with this title.
    Window findViewable(Display* d, const char* title)
    {
        Window found = 0;
        std::function<void(Window, int)> walk = [&](Window w, int depth) {
            char* name = nullptr;
            if (fetchName(d, w, &name) && name) {
                const bool match = std::strcmp(name, title) == 0;
                free(name);
                XWindowAttributes a;
                if (match && windowAttributes(d, w, &a) && a.map_state == IsViewable) {
                    found = w;
                    return;
                }
            }
            if (depth == 2)
                return;
            Window root, parent, *children = nullptr;
            unsigned int n = 0;
            if (!queryTree(d, w, &root, &parent, &children, &n))
                return;
            for (unsigned int i = 0; i < n && !found; ++i)
                walk(children[i], depth + 1);
            if (children)
                free(children);
        };
        walk(rootWindow(d), 0);
        return found;
    }

    void askToClose(Display* d, Window w)
    {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = w;
        e.xclient.message_type = internAtom(d, "WM_PROTOCOLS", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = long(internAtom(d, "WM_DELETE_WINDOW", False));
        e.xclient.data.l[1] = CurrentTime;
        sendEvent(d, w, False, NoEventMask, &e);
        flush(d);
    }
};

// build/quirkpad from launch until its window is viewable on the display,
// with its resident memory at that moment.
void BM_QuirkpadBinaryStartup(benchmark::State& state)
{
    const QString binary = buildDir() + QStringLiteral("/quirkpad");
    Xlib x;
    Display* display = qEnvironmentVariableIsEmpty("DISPLAY") || !x.load() ? nullptr : x.openDisplay(nullptr);
    if (!display) {
        state.SkipWithError("needs an X display (run under xvfb-run)");
        return;
    }
    if (!QFileInfo(binary).isExecutable()) {
        state.SkipWithError("build/quirkpad is not built");
        x.closeDisplay(display);
        return;
    }
    QTemporaryDir home;
    double rssKb = 0;
    int engineMapped = 0;
    for (auto _ : state) {
        QProcess editor;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());   // leave the user's settings alone
        editor.setProcessEnvironment(env);
        editor.setProcessChannelMode(QProcess::ForwardedChannels);
        QElapsedTimer t;
        t.start();
        editor.start(binary, {});
        Window w = 0;
        while (!w && t.elapsed() < 30000 && editor.state() != QProcess::NotRunning) {
            w = x.findViewable(display, "Quirkpad");
            if (!w)
                QThread::usleep(500);
        }
        const double seconds = t.nsecsElapsed() / 1e9;
        if (!w) {
            state.SkipWithError("no Quirkpad window appeared");
            editor.kill();
            editor.waitForFinished();
            break;
        }
        state.SetIterationTime(seconds);
        rssKb = kilobytes(procStatus(editor.processId(), "VmRSS:"));
        engineMapped = int(mapsWebEngine(editor.processId()));
        // An orderly close, so that the editor removes its temporary folder.
        x.askToClose(display, w);
        if (!editor.waitForFinished(10000)) {
            editor.kill();
            editor.waitForFinished();
        }
    }
    x.closeDisplay(display);
    state.counters["rss_MB"] = rssKb / 1024.0;
    state.counters["engine_mapped"] = engineMapped;
}
BENCHMARK(BM_QuirkpadBinaryStartup)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--startup-child") == 0)
        return startupChild(QString::fromLatin1(argv[2]));

    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rc = runBenchmarks(argc, argv);
    AppPaths::deleteTempFolder();
    return rc;
}
