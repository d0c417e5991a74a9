#include "MainWindowFixture.h"
#include "editor/EngineProbe.h"
#include "TestRegistry.h"
#include "find/frmFind.h"
#include "editor/RichTextBox.h"

#include <QAction>
#include <QClipboard>
#include <QImage>
#include <QMenu>
#include <QPlatformSurfaceEvent>
#include <QSet>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>
#include <QWindow>

#include <new>
#include <optional>
#include <stdexcept>

namespace {

// Counts the times a window was hidden or lost its native window.
struct HideWatch : QObject {
    int hidden = 0;
    explicit HideWatch(QWidget* window)
    {
        window->installEventFilter(this);
        window->windowHandle()->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Hide ||
            (e->type() == QEvent::PlatformSurface &&
             static_cast<QPlatformSurfaceEvent*>(e)->surfaceEventType() ==
                 QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed))
            ++hidden;
        return false;
    }
};

// A caption as the user reads it: no shortcut label, no trailing dots, any case.
QString plainCaption(const char* caption)
{
    QString c = QString::fromUtf8(caption).section(QLatin1Char('\t'), 0, 0).toLower();
    while (c.endsWith(QLatin1Char('.')))
        c.chop(1);
    return c;
}

// Context items and menu items of the same caption: twins, which must do the same.
QList<std::pair<Cmd, Cmd>> twins()
{
    QHash<QString, Cmd> menuItems;
    for (const CommandTable::MenuRow& r : CommandTable::menuRows())
        if (r.command)
            menuItems.insert(plainCaption(r.caption), *r.command);
    QList<std::pair<Cmd, Cmd>> pairs;
    for (const CommandTable::ContextRow& r : CommandTable::contextRows())
        if (r.command && menuItems.contains(plainCaption(r.caption)))
            pairs.append({menuItems.value(plainCaption(r.caption)), *r.command});
    return pairs;
}

// What a command can change that the user sees.
struct Seen {
    QString text;
    int selStart = 0;
    int selLength = 0;
    QString clipboard;
    double fontSize = 0;
    int findWindows = 0;
    bool operator==(const Seen&) const = default;
};

Seen afterRunning(std::optional<Cmd> command)
{
    MainWindowFixture f;
    frmMain& w = f.make();
    RichTextBox* pad = padOf(w);
    pad->SetText(QStringLiteral("alpha beta gamma"));
    pad->SetSelStart(pad->TextLength());
    pad->InsertText(QStringLiteral("!"));   // a step to undo
    pad->SetSelStart(6);
    pad->SetSelLength(4);
    pad->SetFontSize(10);
    QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
    if (command)
        run(w, *command);
    return {pad->Text(), pad->SelStart(), pad->SelLength(), QGuiApplication::clipboard()->text(), pad->FontSize(),
            int(openWindows<frmFind>().size())};
}

}

class DispatchTest : public QObject {
    Q_OBJECT
private slots:
    // A command that fails part-way (an exception) is reported instead of
    // passing for done, in the system's words for a lack of memory; the
    // next command runs as usual.
    void aCommandThatFailsIsReported_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("description");
        QTest::newRow("out of memory") << 0 << "Cannot allocate memory";
        QTest::newRow("a failure that describes itself") << 1 << "the disk went away";
        QTest::newRow("anything else") << 2 << "Unknown failure";
    }

    void aCommandThatFailsIsReported()
    {
        QFETCH(int, kind);
        QFETCH(QString, description);
        QWidget window;
        CommandTable table(&window);
        QStringList reported;
        table.onFailure([&reported](const QString& d) { reported << d; });
        table.on(Cmd::mnuStart, [kind] {
            if (kind == 0)
                throw std::bad_alloc();
            if (kind == 1)
                throw std::runtime_error("the disk went away");
            throw 42;
        });
        bool nextRan = false;
        table.on(Cmd::mnuEnd, [&nextRan] { nextRan = true; });
        table.action(Cmd::mnuStart)->trigger();
        QCOMPARE(reported, QStringList{description});
        table.action(Cmd::mnuEnd)->trigger();
        QVERIFY(nextRan);
    }

    // The main window tells such a failure with the error box.
    void theMainWindowShowsAFailureInTheErrorBox()
    {
        MainWindowFixture f;
        frmMain& w = f.make();
        partOf<CommandTable>(w).on(Cmd::mnuStart, [] { throw std::runtime_error("the disk went away"); });
        f.prompts.answer(Prompts::Answer::Ok);
        run(w, Cmd::mnuStart);
        QCOMPARE(f.prompts.messages(), QStringList{QStringLiteral("Error:\r\n\"the disk went away\"")});
        QCOMPARE(f.prompts.calls.last().icon, Prompts::Icon::Error);
    }

    // Every command has one row, one action named after it, and a handler:
    // a command the wiring forgot would be an item that silently does nothing.
    void everyCommandHasOneRowAndAHandler()
    {
        QHash<Cmd, int> rows;
        for (const CommandTable::MenuRow& r : CommandTable::menuRows())
            if (r.command)
                ++rows[*r.command];
        for (const CommandTable::ContextRow& r : CommandTable::contextRows())
            if (r.command)
                ++rows[*r.command];
        MainWindowFixture f;
        frmMain& w = f.make();
        const CommandTable& commands = partOf<CommandTable>(w);
        QStringList faults;
        for (int i = 0; i < Commands::kCount; ++i) {
            const Cmd command = Cmd(i);
            const QString name(Commands::name(command));
            if (rows.value(command) != 1)
                faults << QStringLiteral("%1 has %2 rows").arg(name).arg(rows.value(command));
            if (actionOf(w, command) != commands.action(command))
                faults << name + QStringLiteral(" is not its action's name");
            if (!commands.hasHandler(command))
                faults << name + QStringLiteral(" has no handler");
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral(", "))));
    }

    // A context item and the menu item of the same caption do the same to
    // the text, the selection, the clipboard, the zoom and the windows; a
    // toolbar button is its command's own action.
    void twinsBehaveAlike()
    {
        const QList<std::pair<Cmd, Cmd>> pairs = twins();
        QVERIFY(pairs.size() >= 7);   // copy, paste, cut, undo, select all, zoom, find
        const Seen untouched = afterRunning(std::nullopt);
        for (const auto& [item, context] : pairs) {
            const Seen byMenu = afterRunning(item);
            QVERIFY2(!(byMenu == untouched), Commands::name(item).data());
            QVERIFY2(byMenu == afterRunning(context), Commands::name(context).data());
        }

        MainWindowFixture f;
        frmMain& w = f.make();
        const QList<QAction*> actions = w.findChildren<QAction*>();
        for (QToolButton* button : toolBarOf(w)->findChildren<QToolButton*>()) {
            if (!button->defaultAction())
                continue;   // the toolbar's own extension button
            QAction* a = button->defaultAction();
            QVERIFY2(Commands::named(a->objectName()) && actions.contains(a), qPrintable(button->objectName()));
            QVERIFY2(!a->icon().isNull(), qPrintable(button->objectName()));
        }
    }

    // The toolbar has its 26 positions; 14, 18 and 19 are the very items of
    // Always On Top, ViewHTML and LiveHTML, so their pressed states are the
    // items' check marks.
    void theToolbarsPressedButtonsAreTheCheckedItems()
    {
        MainWindowFixture f;
        frmMain& w = f.make();
        const QList<QAction*> positions = toolBarOf(w)->actions();
        QCOMPARE(positions.size(), 26);
        for (const auto& [position, command] :
             {std::pair{14, Cmd::mnuAlwaysOnTop}, std::pair{18, Cmd::mnuViewHTML}, std::pair{19, Cmd::mnuLiveHTML}}) {
            QCOMPARE(positions.at(position - 1), actionOf(w, command));
            QVERIFY(actionOf(w, command)->isCheckable());
        }
    }

    // Shortcuts are unique, leave the editor's own keys (the context menu's
    // labels) alone, and each reaches its command exactly once: the editor's
    // own binding of the same key (Ctrl+L cuts a line, Ctrl+U lower-cases)
    // is gone.
    void everyShortcutReachesItsCommandOnce()
    {
        MainWindowFixture f;
        frmMain& w = f.show();
        CommandTable& commands = partOf<CommandTable>(w);
        QSet<QKeySequence> editorKeys;
        for (const CommandTable::ContextRow& r : CommandTable::contextRows())
            if (*r.shortcutLabel)
                editorKeys << QKeySequence(QLatin1String(r.shortcutLabel), QKeySequence::PortableText);
        QHash<QString, int> runs;
        QList<QAction*> bound;
        QSet<QKeySequence> keys;
        for (Cmd command : commands.commandList()) {
            QAction* a = commands.action(command);
            if (a->shortcut().isEmpty())
                continue;
            QVERIFY2(!keys.contains(a->shortcut()), qPrintable(a->shortcut().toString()));
            QVERIFY2(!editorKeys.contains(a->shortcut()), qPrintable(a->shortcut().toString()));
            keys << a->shortcut();
            bound << a;
            commands.on(command, [&runs, name = QString(Commands::name(command))] { ++runs[name]; });
        }
        QVERIFY(!bound.isEmpty());
        RichTextBox* pad = padOf(w);
        const QString text = QStringLiteral("First LINE here\r\nsecond line");
        pad->SetText(text);
        pad->document().setModified(false);
        pad->SetSelStart(3);
        pad->SetSelLength(8);
        pad->setFocus();
        for (QAction* a : bound) {
            runs.clear();
            QTest::keySequence(pad, a->shortcut());
            QCOMPARE(runs, (QHash<QString, int>{{a->objectName(), 1}}));
            QCOMPARE(pad->Text(), text);
            QCOMPARE(pad->SelStart(), 3);
            QCOMPARE(pad->SelLength(), 8);
        }
        QCOMPARE(changedLabel(w), QStringLiteral("No"));
    }

    // Zooming changes the font size and nothing else: Ctrl with the wheel
    // steps it a notch at a time, and the control's own magnification (and
    // its Ctrl+Plus, Ctrl+Minus) stays out of play.
    void theOnlyZoomIsTheFontSize()
    {
        MainWindowFixture f;
        RichTextBox* pad = padOf(f.show());
        QVERIFY(pad->SetFontSize(9));
        const auto wheel = [pad](int delta, Qt::KeyboardModifiers modifiers) {
            const QPointF at(20, 20);
            QWheelEvent e(at, pad->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
            QApplication::sendEvent(pad->viewport(), &e);
        };
        wheel(120, Qt::ControlModifier);
        QCOMPARE(pad->FontSize(), 11.0);
        wheel(60, Qt::ControlModifier);
        QCOMPARE(pad->FontSize(), 11.0);   // half a notch: not yet
        wheel(60, Qt::ControlModifier);
        QCOMPARE(pad->FontSize(), 13.0);
        wheel(-240, Qt::ControlModifier);
        QCOMPARE(pad->FontSize(), 9.0);
        wheel(120, Qt::NoModifier);         // plain scrolling
        QCOMPARE(pad->FontSize(), 9.0);
        pad->setFocus();
        QTest::keyClick(pad, Qt::Key_Plus, Qt::ControlModifier);
        QTest::keyClick(pad, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(EngineProbe::of(*pad).SendScintilla(QsciScintillaBase::SCI_GETZOOM), 0L);
        QCOMPARE(pad->Text(), QString());
        QCOMPARE(pad->FontSize(), 9.0);
    }

    // Always On Top changes the stacking alone: the main window keeps its
    // native window, place and size, and the Find window it owns stays tied
    // to it (a re-created main window would leave the Find window pointing
    // at one that no longer exists, and the Find window would drop behind).
    void alwaysOnTopKeepsTheWindowAndWhatItOwns()
    {
        MainWindowFixture f;
        frmMain& w = f.show();
        run(w, Cmd::mnuFind);
        QCOMPARE(openWindows<frmFind>().size(), 1);
        QWindow* findHandle = openWindows<frmFind>().first()->windowHandle();
        QWindow* const handle = w.windowHandle();
        // Neither hidden nor re-created: on X11 a new native window blinks,
        // and the Find window's tie still names the old one.
        HideWatch watch(&w);
        const QRect geometry = w.geometry();
        QAction* onTop = actionOf(w, Cmd::mnuAlwaysOnTop);
        for (const bool on : {true, false}) {
            onTop->trigger();
            QCOMPARE(onTop->isChecked(), on);
            QCOMPARE(w.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), on);
            QCOMPARE(w.windowHandle(), handle);
            QCOMPARE(watch.hidden, 0);
            QCOMPARE(w.geometry(), geometry);
            QVERIFY(w.isVisible());
            QCOMPARE(findHandle->transientParent(), handle);
        }
    }

    void checkMarksAndButtonsAgree()
    {
        MainWindowFixture f;
        frmMain& w = f.show();
        QAction* onTop = actionOf(w, Cmd::mnuAlwaysOnTop);
        auto* button = toolBarOf(w)->findChild<QToolButton*>(QStringLiteral("ViewOnTop"));
        onTop->trigger();
        QVERIFY(onTop->isChecked());
        QVERIFY(button->isChecked());
        QVERIFY(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(w.isVisible());
        button->click();
        QVERIFY(!onTop->isChecked());
        QVERIFY(!button->isChecked());
        QVERIFY(!w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));

        f.show();
        RichTextBox* pad = padOf(w);
        pad->setFocus();
        QAction* lock = actionOf(w, Cmd::mnuLockText);
        QTest::keyClick(pad, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(lock->isChecked());
        QVERIFY(pad->Locked());
        QTest::keyClicks(pad, QStringLiteral("nope"));
        QCOMPARE(pad->Text(), QString());
        QTest::keyClick(pad, Qt::Key_B, Qt::ControlModifier);   // commands still insert
        QCOMPARE(pad->Text(), QStringLiteral("<b></b>"));
        QTest::keyClick(pad, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(!lock->isChecked());
        QVERIFY(!pad->Locked());
    }

    // The editor's keys pass the main window's filter (its rules are those
    // of ClipboardCommandsTest): a picture is not pasted, Ctrl+E and Ctrl+R
    // change nothing, and typing marks the document changed.
    void theEditorsKeysPassTheFilter()
    {
        MainWindowFixture f;
        frmMain& w = f.show();
        RichTextBox* pad = padOf(w);
        pad->setFocus();
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QGuiApplication::clipboard()->setImage(picture);
        QTest::keyClick(pad, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(pad, Qt::Key_E, Qt::ControlModifier);
        QTest::keyClick(pad, Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(pad->Text(), QString());
        QCOMPARE(changedLabel(w), QStringLiteral("No"));
        QTest::keyClick(pad, Qt::Key_X);
        QCOMPARE(pad->Text(), QStringLiteral("x"));
        QCOMPARE(changedLabel(w), QStringLiteral("Yes"));
    }

    void rightClickOpensTheContextMenuOnly()
    {
        MainWindowFixture f;
        frmMain& w = f.show();
        RichTextBox* pad = padOf(w);
        QMenu* menu = contextMenuOf(w);
        pad->SetText(QStringLiteral("alpha beta gamma"));
        pad->SetSelStart(6);
        pad->SetSelLength(4);
        QTest::mouseClick(pad->viewport(), Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(!menu->isVisible());
        pad->SetSelStart(6);
        pad->SetSelLength(4);
        QTest::mousePress(pad->viewport(), Qt::RightButton, {}, QPoint(40, 5));
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(pad->SelStart(), 6);
        QCOMPARE(pad->SelLength(), 4);
        menu->hide();
    }
};

QP_REGISTER_TEST(DispatchTest)
#include "DispatchTest.moc"
