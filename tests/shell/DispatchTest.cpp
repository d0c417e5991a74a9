#include "MainWindowFixture.h"
#include "TestRegistry.h"
#include "find/frmFind.h"
#include "platform/RichTextBox.h"

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
#include <QWindow>

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
    void menuBarHasEveryMenuInOrder()
    {
        MainWindowFixture f;
        frmMain& w = f.make();
        QStringList captions;
        for (QAction* a : w.menuBar()->actions())
            captions << a->text();
        QCOMPARE(captions, (QStringList{"File", "Edit", "Insert", "View", "Web Development", "Tools", "Help"}));
        auto* file = w.findChild<QMenu*>(QStringLiteral("mnuFile"));
        QStringList items;
        for (QAction* a : file->actions())
            items << (a->isSeparator() ? QStringLiteral("-") : a->text() + QLatin1Char('|') + a->shortcut().toString());
        QCOMPARE(items, (QStringList{"New|Ctrl+N", "-", "Open|Ctrl+O", "-", "Save|Ctrl+S", "Save As...|", "-",
                                     "Print|Ctrl+P", "-", "Exit|"}));
        for (int i = 1; i <= 14; ++i)
            QVERIFY2(w.findChild<QAction*>(QStringLiteral("mnuBreak%1").arg(i)), qPrintable(QString::number(i)));
        auto* comment = w.findChild<QMenu*>(QStringLiteral("mnudotNETComment"));
        QCOMPARE(comment->actions().size(), 3);
        QCOMPARE(comment->actions().at(1)->text(), QStringLiteral("Visual C# .NET, Visual C++ .NET or JScript .NET"));
        QCOMPARE(w.commands().action(QStringLiteral("mnuASPOuput"))->text(), QStringLiteral("PHP Output"));
        QVERIFY(w.commands().action(QStringLiteral("mnuLockText"))->isCheckable());
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
        QCOMPARE(positions.at(13), w.commands().action(QStringLiteral("mnuAlwaysOnTop")));
        QCOMPARE(positions.at(17), w.commands().action(QStringLiteral("mnuViewHTML")));
        QCOMPARE(positions.at(18), w.commands().action(QStringLiteral("mnuLiveHTML")));
        auto* button = w.toolBar()->findChild<QToolButton*>(QStringLiteral("SpellCheck"));
        QVERIFY(button);
        QCOMPARE(button->toolTip(), QStringLiteral("Sell Check"));
        QCOMPARE(w.toolBar()->findChild<QToolButton*>(QStringLiteral("ViewProperties"))->toolTip(),
                 QStringLiteral("View file's properties"));
        for (QAction* a : positions)
            if (!a->isSeparator())
                QVERIFY2(!a->icon().isNull(), qPrintable(a->objectName()));
    }

    // Each shortcut reaches its command exactly once, and the editor's own
    // binding of the same key (Ctrl+L cuts a line, Ctrl+U lower-cases) is gone.
    void everyShortcutReachesItsCommandOnce()
    {
        MainWindowFixture f;
        frmMain& w = f.show();
        QHash<QString, int> runs;
        QList<QAction*> bound;
        for (const QString& name : w.commands().commandNames()) {
            QAction* a = w.commands().action(name);
            if (a->shortcut().isEmpty())
                continue;
            bound << a;
            w.commands().on(name, [&runs, name] { ++runs[name]; });
        }
        QCOMPARE(bound.size(), 21);
        const QString text = QStringLiteral("First LINE here\r\nsecond line");
        w.pad()->SetText(text);
        w.document().setChanged(false);
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
        QCOMPARE(w.document().changed(), QStringLiteral("No"));
    }

    void twinsRunTheSameCommand()
    {
        MainWindowFixture f;
        frmMain& w = f.show();
        int cuts = 0;
        int pastes = 0;
        w.commands().on(QStringLiteral("rcCut"), [&cuts] { ++cuts; });
        w.commands().on(QStringLiteral("rcPaste"), [&pastes] { ++pastes; });
        w.commands().action(QStringLiteral("mnuCut"))->trigger();
        w.toolBar()->findChild<QToolButton*>(QStringLiteral("Cut"))->click();
        w.commands().action(QStringLiteral("rcCut"))->trigger();
        QCOMPARE(cuts, 3);
        w.commands().action(QStringLiteral("mnuPaste"))->trigger();
        w.toolBar()->findChild<QToolButton*>(QStringLiteral("Paste"))->click();
        w.commands().action(QStringLiteral("rcPaste"))->trigger();
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
        w.commands().action(QStringLiteral("mnuFind"))->trigger();
        QCOMPARE(MainWindowFixture::windows<frmFind>().size(), 1);
        QWindow* findHandle = MainWindowFixture::windows<frmFind>().first()->windowHandle();
        QWindow* const handle = w.windowHandle();
        // Neither hidden nor re-created: on X11 a new native window blinks,
        // and the Find window's tie still names the old one.
        HideWatch watch(&w);
        const QRect geometry = w.geometry();
        QAction* onTop = w.commands().action(QStringLiteral("mnuAlwaysOnTop"));
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
        QAction* onTop = w.commands().action(QStringLiteral("mnuAlwaysOnTop"));
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
        QAction* lock = w.commands().action(QStringLiteral("mnuLockText"));
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
        QCOMPARE(w.document().changed(), QStringLiteral("No"));

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
        QCOMPARE(w.document().changed(), QStringLiteral("Yes"));
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
