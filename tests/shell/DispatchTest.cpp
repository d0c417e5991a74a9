#include "MainWindowFixture.h"
#include "editor/EngineProbe.h"
#include "TestRegistry.h"
#include "find/frmFind.h"
#include "editor/RichTextBox.h"

#include <QAction>
#include <QClipboard>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>
#include <QToolBar>
#include <QPlatformSurfaceEvent>
#include <QToolButton>
#include <QWheelEvent>
#include <QWindow>

#include <functional>
#include <new>
#include <stdexcept>

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

class DispatchTest : public QObject {
    Q_OBJECT
private slots:
    // A command that fails part-way (an exception) is reported with the
    // error box instead of passing for done; the next command runs as usual.
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
        MainWindowFixture f;
        frmMain& w = f.make();
        w.commands().on(Cmd::mnuStart, [kind] {
            if (kind == 0)
                throw std::bad_alloc();
            if (kind == 1)
                throw std::runtime_error("the disk went away");
            throw 42;
        });
        f.prompts.answer(Prompts::Answer::Ok);
        w.commands().action(Cmd::mnuStart)->trigger();
        QCOMPARE(f.prompts.messages(), QStringList{QStringLiteral("Error:\r\n\"%1\"").arg(description)});
        QCOMPARE(f.prompts.calls.last().icon, Prompts::Icon::Error);
        w.pad()->SetText(QStringLiteral("abc"));
        w.commands().action(Cmd::mnuEnd)->trigger();
        QCOMPARE(w.pad()->SelStart(), 3);
    }

    // The whole menu bar, item by item: name, caption and shortcut, with one
    // dash per level of submenu.
    void menuBarHasEveryMenuInOrder()
    {
        MainWindowFixture f;
        frmMain& w = f.make();
        QStringList tree;
        const std::function<void(const QList<QAction*>&, int)> walk = [&](const QList<QAction*>& actions, int depth) {
            const QString dashes = depth ? QString(depth, QLatin1Char('-')) + QLatin1Char(' ') : QString();
            for (QAction* a : actions) {
                if (a->isSeparator()) {
                    tree << dashes + QStringLiteral("(separator)");
                    continue;
                }
                const QString name = a->menu() ? a->menu()->objectName() : a->objectName();
                tree << dashes + name + QLatin1Char('|') + a->text() + QLatin1Char('|') +
                            a->shortcut().toString(QKeySequence::PortableText);
                if (a->menu())
                    walk(a->menu()->actions(), depth + 1);
            }
        };
        walk(w.menuBar()->actions(), 0);
        const QStringList expected = {
            QStringLiteral("mnuFile|File|"),
            QStringLiteral("- mnuNew|New|Ctrl+N"),
            QStringLiteral("- (separator)"),
            QStringLiteral("- mnuOpen|Open|Ctrl+O"),
            QStringLiteral("- (separator)"),
            QStringLiteral("- mnuSave|Save|Ctrl+S"),
            QStringLiteral("- mnuSaveAs|Save As...|"),
            QStringLiteral("- (separator)"),
            QStringLiteral("- mnuPrint|Print|Ctrl+P"),
            QStringLiteral("- (separator)"),
            QStringLiteral("- mnuExit|Exit|"),
            QStringLiteral("mnuEdit|Edit|"),
            QStringLiteral("- mnuUndo|Undo|"),
            QStringLiteral("- mnuCut|Cut|"),
            QStringLiteral("- mnuCopy|Copy|"),
            QStringLiteral("- mnuPaste|Paste|"),
            QStringLiteral("- (separator)"),
            QStringLiteral("- mnuSelAll|Select All|"),
            QStringLiteral("- mnuFind|Find/Replace|Ctrl+F"),
            QStringLiteral("- (separator)"),
            QStringLiteral("- mnuEditExtra|Extra|"),
            QStringLiteral("-- mnuEditExtra_RevText|Reverse selected text|"),
            QStringLiteral("-- mnuEditExtra_UCase|Convert selected to Upper Case|"),
            QStringLiteral("-- mnuEditExtra_LCase|Convert selected to Lower Case|"),
            QStringLiteral("-- (separator)"),
            QStringLiteral("-- mnuStart|Start|"),
            QStringLiteral("-- mnuEnd|End|"),
            QStringLiteral("- (separator)"),
            QStringLiteral("- mnuRevertDocument|Revert Document|Ctrl+F12"),
            QStringLiteral("- mnuLockText|Lock text|Ctrl+L"),
            QStringLiteral("mnuInsert|Insert|"),
            QStringLiteral("- mnuTime|Time/Date|"),
            QStringLiteral("-- mnuTimeOnly|Time only|"),
            QStringLiteral("-- mnuDateOnly|Date only|"),
            QStringLiteral("-- mnuTimeDate|Time and Date|F5"),
            QStringLiteral("- mnuMergeDocs|Merge Documents...|"),
            QStringLiteral("mnuView|View|"),
            QStringLiteral("- mnuViewHTML|ViewHTML|"),
            QStringLiteral("- mnuLiveHTML|LiveHTML|"),
            QStringLiteral("- mnuAlwaysOnTop|Always On Top|"),
            QStringLiteral("- mnuFileProps|File's properties...|"),
            QStringLiteral("- (separator)"),
            QStringLiteral("- mnuZoomIn|Zoom In|"),
            QStringLiteral("- mnuZoomOut|Zoom Out|"),
            QStringLiteral("mnuWebDevelopment|Web Development|"),
            QStringLiteral("- mnuHTMLCSS|HTML/CSS|"),
            QStringLiteral("-- mnuHTMLTags|HTML tags|Ctrl+H"),
            QStringLiteral("-- mnuHTMLBold|Bold|Ctrl+B"),
            QStringLiteral("-- mnuHTMLUnderlined|Underlined|Ctrl+U"),
            QStringLiteral("-- mnuHTMLItalic|Italic|Ctrl+I"),
            QStringLiteral("-- mnuHTMLComment|Comment|"),
            QStringLiteral("-- (separator)"),
            QStringLiteral("-- mnuCustomFont|Custom Font...|"),
            QStringLiteral("- mnudotNET|.NET|"),
            QStringLiteral("-- mnudotNETScript|Script tags|"),
            QStringLiteral("-- mnudotNETForm|Form tags|"),
            QStringLiteral("-- mnudotNETComment|Comment|"),
            QStringLiteral("--- mnudotNETComment_VB|Visual Basic|"),
            QStringLiteral("--- mnudotNETComment_CCJ|Visual C# .NET, Visual C++ .NET or JScript .NET|"),
            QStringLiteral("--- mnudotNETComment_Delphi|Delphi .NET|"),
            QStringLiteral("- mnuASP|ASP|"),
            QStringLiteral("-- mnuASPTags|ASP tags|Ctrl+F3"),
            QStringLiteral("-- mnuASPOutput|Output|Shift+F3"),
            QStringLiteral("-- mnuASPComment|Comment|"),
            QStringLiteral("- mnuPHP|PHP|"),
            QStringLiteral("-- mnuPHPTags|PHP tags|Ctrl+F4"),
            QStringLiteral("-- mnuASPOuput|PHP Output|Shift+F4"),
            QStringLiteral("-- mnuPHPComment|Comment|"),
            QStringLiteral("- mnuJS|JavaScript|"),
            QStringLiteral("-- mnuJSTags|JavaScript tags|Ctrl+F1"),
            QStringLiteral("-- mnuJSOutput|Output|Shift+F1"),
            QStringLiteral("-- mnuJSComment|Comment|"),
            QStringLiteral("- mnuVBS|VBScript|"),
            QStringLiteral("-- mnuVBSTags|VBScript tags|Ctrl+F2"),
            QStringLiteral("-- mnuVBSOutput|Output|Shift+F2"),
            QStringLiteral("-- mnuVBSComment|Comment|"),
            QStringLiteral("- (separator)"),
            QStringLiteral("- mnuWebPageWizard|Web Page Wizard|"),
            QStringLiteral("- mnuWebPageTemplates|Web Page Templates|"),
            QStringLiteral("- mnuDBCW|Database Connection Wizard|"),
            QStringLiteral("mnuTools|Tools|"),
            QStringLiteral("- mnuSpellCheck|Spell Checker|"),
            QStringLiteral("- mnuANSIConverter|ANSI Converter|"),
            QStringLiteral("- (separator)"),
            QStringLiteral("- mnuSettings|Settings|"),
            QStringLiteral("mnuHelp|Help|"),
            QStringLiteral("- mnuAbout|About|F12"),
            QStringLiteral("- (separator)"),
            QStringLiteral("- mnuLicenceAgreement|Licence Agreement|"),
            QStringLiteral("- mnuInterface|Interface|"),
            QStringLiteral("- (separator)"),
            QStringLiteral("- mnuWebSite|Corvane Web Site|"),
            QStringLiteral("- mnuQPWebSite|Quirkpad Web Site|"),
        };
        QCOMPARE(tree, expected);
        QVERIFY(w.commands().action(Cmd::mnuLockText)->isCheckable());
    }

    void contextMenuAndToolbarMatchTheTable()
    {
        MainWindowFixture f;
        frmMain& w = f.make();
        QStringList items;
        for (QAction* a : w.contextMenu()->actions())
            items << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(items, (QStringList{"Copy\tCtrl+C", "Paste\tCtrl+V", "Cut\tCtrl+X", "Delete", "-", "Undo\tCtrl+Z",
                                     "Select All...\tCtrl+A", "-", "Zoom in", "Zoom out", "-", "Length of selected",
                                     "Find/Replace"}));
        QCOMPARE(w.contextMenu()->objectName(), QStringLiteral("rcRightClick"));

        const QList<QAction*> positions = w.toolBar()->actions();
        QCOMPARE(positions.size(), 26);
        for (int separator : {4, 8, 13, 17, 22, 25})
            QVERIFY(positions.at(separator - 1)->isSeparator());
        QCOMPARE(positions.at(13), w.commands().action(Cmd::mnuAlwaysOnTop));
        QCOMPARE(positions.at(17), w.commands().action(Cmd::mnuViewHTML));
        QCOMPARE(positions.at(18), w.commands().action(Cmd::mnuLiveHTML));
        auto* button = w.toolBar()->findChild<QToolButton*>(QStringLiteral("SpellCheck"));
        QVERIFY(button);
        QCOMPARE(button->toolTip(), QStringLiteral("Sell Check"));
        QCOMPARE(w.toolBar()->findChild<QToolButton*>(QStringLiteral("ViewProperties"))->toolTip(),
                 QStringLiteral("View file's properties"));
        for (QAction* a : positions)
            if (!a->isSeparator())
                QVERIFY2(!a->icon().isNull(), qPrintable(a->objectName()));
    }

    // Every item, button and context entry does something: a command the
    // wiring forgot would be a menu item that silently does nothing.
    void everyCommandHasItsHandler()
    {
        MainWindowFixture f;
        frmMain& w = f.make();
        QStringList dead;
        for (Cmd command : w.commands().commandList())
            if (!w.commands().hasHandler(command))
                dead << QString(Commands::name(command));
        QCOMPARE(w.commands().commandList().size(), Commands::kCount);
        QVERIFY2(dead.isEmpty(), qPrintable(dead.join(QStringLiteral(", "))));
    }

    // Each shortcut reaches its command exactly once, and the editor's own
    // binding of the same key (Ctrl+L cuts a line, Ctrl+U lower-cases) is gone.
    void everyShortcutReachesItsCommandOnce()
    {
        MainWindowFixture f;
        frmMain& w = f.show();
        QHash<QString, int> runs;
        QList<QAction*> bound;
        for (Cmd command : w.commands().commandList()) {
            QAction* a = w.commands().action(command);
            if (a->shortcut().isEmpty())
                continue;
            bound << a;
            w.commands().on(command, [&runs, name = QString(Commands::name(command))] { ++runs[name]; });
        }
        QCOMPARE(bound.size(), 21);
        const QString text = QStringLiteral("First LINE here\r\nsecond line");
        w.pad()->SetText(text);
        w.document().setModified(false);
        w.pad()->SetSelStart(3);
        w.pad()->SetSelLength(8);
        w.pad()->setFocus();
        for (QAction* a : bound) {
            runs.clear();
            QTest::keySequence(w.pad(), a->shortcut());
            QCOMPARE(runs.value(a->objectName()), 1);
            QCOMPARE(runs.size(), 1);
            QCOMPARE(w.pad()->Text(), text);
            QCOMPARE(w.pad()->SelStart(), 3);
            QCOMPARE(w.pad()->SelLength(), 8);
        }
        QCOMPARE(changedLabel(w), QStringLiteral("No"));
    }

    // Zooming changes the font size and nothing else: Ctrl with the wheel
    // steps it a notch at a time, and the control's own magnification (and
    // its Ctrl+Plus, Ctrl+Minus) stays out of play.
    void theOnlyZoomIsTheFontSize()
    {
        MainWindowFixture f;
        frmMain& w = f.show();
        RichTextBox* pad = w.pad();
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

    void twinsRunTheSameCommand()
    {
        MainWindowFixture f;
        frmMain& w = f.show();
        int cuts = 0;
        int pastes = 0;
        w.commands().on(Cmd::rcCut, [&cuts] { ++cuts; });
        w.commands().on(Cmd::rcPaste, [&pastes] { ++pastes; });
        w.commands().action(Cmd::mnuCut)->trigger();
        w.toolBar()->findChild<QToolButton*>(QStringLiteral("Cut"))->click();
        w.commands().action(Cmd::rcCut)->trigger();
        QCOMPARE(cuts, 3);
        w.commands().action(Cmd::mnuPaste)->trigger();
        w.toolBar()->findChild<QToolButton*>(QStringLiteral("Paste"))->click();
        w.commands().action(Cmd::rcPaste)->trigger();
        QCOMPARE(pastes, 3);
    }

    // Always On Top changes the stacking alone: the main window keeps its
    // native window, place and size, and the Find window it owns stays tied
    // to it (a re-created main window would leave the Find window pointing
    // at one that no longer exists, and the Find window would drop behind).
    void alwaysOnTopKeepsTheWindowAndWhatItOwns()
    {
        MainWindowFixture f;
        frmMain& w = f.show();
        w.commands().action(Cmd::mnuFind)->trigger();
        QCOMPARE(MainWindowFixture::windows<frmFind>().size(), 1);
        QWindow* findHandle = MainWindowFixture::windows<frmFind>().first()->windowHandle();
        QWindow* const handle = w.windowHandle();
        // Neither hidden nor re-created: on X11 a new native window blinks,
        // and the Find window's tie still names the old one.
        HideWatch watch(&w);
        const QRect geometry = w.geometry();
        QAction* onTop = w.commands().action(Cmd::mnuAlwaysOnTop);
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
        QAction* onTop = w.commands().action(Cmd::mnuAlwaysOnTop);
        auto* button = w.toolBar()->findChild<QToolButton*>(QStringLiteral("ViewOnTop"));
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
        w.pad()->setFocus();
        QAction* lock = w.commands().action(Cmd::mnuLockText);
        QTest::keyClick(w.pad(), Qt::Key_L, Qt::ControlModifier);
        QVERIFY(lock->isChecked());
        QVERIFY(w.pad()->Locked());
        QTest::keyClicks(w.pad(), QStringLiteral("nope"));
        QCOMPARE(w.pad()->Text(), QString());
        QTest::keyClick(w.pad(), Qt::Key_B, Qt::ControlModifier);   // commands still insert
        QCOMPARE(w.pad()->Text(), QStringLiteral("<b></b>"));
        QTest::keyClick(w.pad(), Qt::Key_L, Qt::ControlModifier);
        QVERIFY(!lock->isChecked());
        QVERIFY(!w.pad()->Locked());
    }

    void keyFilterOfTheEditor()
    {
        MainWindowFixture f;
        frmMain& w = f.show();
        RichTextBox* pad = w.pad();
        pad->setFocus();
        QClipboard* cb = QGuiApplication::clipboard();

        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::red);
        cb->setImage(picture);
        QTest::keyClick(pad, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(pad->Text(), QString());
        QCOMPARE(changedLabel(w), QStringLiteral("No"));

        auto* formatted = new QMimeData;
        formatted->setHtml(QStringLiteral("<b>bold</b>"));
        formatted->setText(QStringLiteral("bold"));
        cb->setMimeData(formatted);
        QTest::keyClick(pad, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(pad->Text(), QStringLiteral("bold"));
        QVERIFY(!cb->mimeData()->hasHtml());
        QCOMPARE(cb->text(), QStringLiteral("bold"));

        QTest::keyClick(pad, Qt::Key_E, Qt::ControlModifier);
        QTest::keyClick(pad, Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(pad->Text(), QStringLiteral("bold"));

        QTest::keyClick(pad, Qt::Key_X);
        QCOMPARE(pad->Text(), QStringLiteral("boldx"));
        QCOMPARE(changedLabel(w), QStringLiteral("Yes"));
    }

    void rightClickOpensTheContextMenuOnly()
    {
        MainWindowFixture f;
        frmMain& w = f.show();
        RichTextBox* pad = w.pad();
        pad->SetText(QStringLiteral("alpha beta gamma"));
        pad->SetSelStart(6);
        pad->SetSelLength(4);
        QTest::mouseClick(pad->viewport(), Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(!w.contextMenu()->isVisible());
        pad->SetSelStart(6);
        pad->SetSelLength(4);
        QTest::mousePress(pad->viewport(), Qt::RightButton, {}, QPoint(40, 5));
        QTRY_VERIFY(w.contextMenu()->isVisible());
        QCOMPARE(pad->SelStart(), 6);
        QCOMPARE(pad->SelLength(), 4);
        w.contextMenu()->hide();
    }
};

QP_REGISTER_TEST(DispatchTest)
#include "DispatchTest.moc"
