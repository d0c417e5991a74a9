#include "TestRegistry.h"
#include "ToolWindows.h"
#include "widgets/OwnedWindow.h"
#include "editor/RichTextBox.h"

#include <QToolBar>
#include <QToolButton>
#include <functional>

using Opener = std::function<void(frmMain&)>;
Q_DECLARE_METATYPE(Opener)

namespace {

Opener menu(Cmd command)
{
    return [command](frmMain& w) { w.commands().action(command)->trigger(); };
}

Opener toolbarButton(const char* key)
{
    return [key](frmMain& w) { w.toolBar()->findChild<QToolButton*>(QLatin1String(key))->click(); };
}

}

class ToolWindowsTest : public QObject {
    Q_OBJECT
private slots:
    // Each window acts as a dialog: the main window takes no input while it
    // is open and gets it back however the window goes away.
    void closingGivesTheMainWindowBack_data()
    {
        QTest::addColumn<Opener>("open");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("way");   // buttons to click in order, "escape" or "close box"
        QTest::addColumn<bool>("inserts");

        QTest::newRow("wizard: Apply") << menu(Cmd::mnuWebPageWizard) << "frmWebPageWizard" << "cmdApply" << true;
        QTest::newRow("wizard: Cancel") << menu(Cmd::mnuWebPageWizard) << "frmWebPageWizard" << "cmdCancel"
                                        << false;
        QTest::newRow("wizard: Escape") << menu(Cmd::mnuWebPageWizard) << "frmWebPageWizard" << "escape" << false;
        QTest::newRow("wizard: close box") << menu(Cmd::mnuWebPageWizard) << "frmWebPageWizard" << "close box"
                                           << false;
        QTest::newRow("wizard from the toolbar: Cancel")
            << toolbarButton("WebPageWizard") << "frmWebPageWizard" << "cmdCancel" << false;
        QTest::newRow("custom font: Insert") << menu(Cmd::mnuCustomFont) << "frmCustomFont"
                                             << "cmdConvert cmdInsert" << true;
        QTest::newRow("custom font: Escape on the output frame")
            << menu(Cmd::mnuCustomFont) << "frmCustomFont" << "cmdConvert escape" << false;
        QTest::newRow("custom font: close box") << menu(Cmd::mnuCustomFont) << "frmCustomFont" << "close box"
                                                << false;
        QTest::newRow("ANSI: Escape") << menu(Cmd::mnuANSIConverter) << "frmANSIConverter" << "escape" << false;
        QTest::newRow("ANSI: close box after a lookup")
            << menu(Cmd::mnuANSIConverter) << "frmANSIConverter" << "cmdANSIFind1 close box" << false;
        QTest::newRow("templates: Insert") << menu(Cmd::mnuWebPageTemplates) << "frmWebPageTemplates"
                                           << "cmdInsert" << true;
        QTest::newRow("templates: Cancel") << menu(Cmd::mnuWebPageTemplates) << "frmWebPageTemplates"
                                           << "cmdCancel" << false;
        QTest::newRow("templates: Escape") << menu(Cmd::mnuWebPageTemplates) << "frmWebPageTemplates" << "escape"
                                           << false;
        QTest::newRow("templates: close box") << menu(Cmd::mnuWebPageTemplates) << "frmWebPageTemplates"
                                              << "close box" << false;
        QTest::newRow("database wizard: Insert") << toolbarButton("DatabaseWizard") << "frmDatabaseWizard"
                                                 << "cmdNext cmdASP_Generate cmdDB_Insert" << true;
        QTest::newRow("database wizard: Cancel on the code page")
            << menu(Cmd::mnuDBCW) << "frmDatabaseWizard" << "cmdNext cmdASP_Back optPHP cmdNext cmdPHP_Generate cmdCancel"
            << false;
        QTest::newRow("database wizard: Escape") << menu(Cmd::mnuDBCW) << "frmDatabaseWizard" << "cmdNext escape"
                                                 << false;
        QTest::newRow("database wizard: close box") << menu(Cmd::mnuDBCW) << "frmDatabaseWizard" << "close box"
                                                    << false;
        QTest::newRow("merge: Escape") << menu(Cmd::mnuMergeDocs) << "frmMergeDocs" << "escape" << false;
        QTest::newRow("merge: close box") << menu(Cmd::mnuMergeDocs) << "frmMergeDocs" << "close box" << false;
        QTest::newRow("print: Escape") << toolbarButton("Print") << "frmPrint" << "escape" << false;
        QTest::newRow("print: close box") << menu(Cmd::mnuPrint) << "frmPrint" << "close box" << false;
        QTest::newRow("spelling: Cancel") << toolbarButton("SpellCheck") << "frmSpellCheck" << "cmdCancel" << false;
        QTest::newRow("spelling: Escape") << menu(Cmd::mnuSpellCheck) << "frmSpellCheck" << "escape" << false;
        QTest::newRow("spelling: close box") << menu(Cmd::mnuSpellCheck) << "frmSpellCheck" << "close box"
                                             << false;
    }

    void closingGivesTheMainWindowBack()
    {
        QFETCH(Opener, open);
        QFETCH(QString, window);
        QFETCH(QString, way);
        QFETCH(bool, inserts);

        MainWindowFixture f;
        frmMain& w = f.show();
        open(w);
        QWidget* tool = toolWindow(window);
        QVERIFY(tool);
        QTRY_COMPARE(QApplication::activeWindow(), tool);
        QCOMPARE(OwnedWindow::owner(tool), &w);
        QVERIFY(!w.isInputEnabled());
        QVERIFY(tool->isEnabled());
        // A second opening brings the same window forward.
        open(w);
        QCOMPARE(MainWindowFixture::windows<QWidget>().count(tool), 1);
        QCOMPARE(toolWindow(window), tool);

        for (const QString& step : way.split(QLatin1Char(' '))) {
            if (step == QLatin1String("escape"))
                QTest::keyClick(tool->focusWidget() ? tool->focusWidget() : tool, Qt::Key_Escape);
            else if (step == QLatin1String("close"))
                tool->close();
            else if (step != QLatin1String("box"))
                click(tool, step);
        }
        QTRY_VERIFY(w.isInputEnabled());
        QVERIFY(!toolWindow(window));
        QCOMPARE(w.pad()->Text().isEmpty(), !inserts);
        QCOMPARE(w.document().isModified(), inserts);
        QCOMPARE(f.prompts.calls.size(), 0);
    }

};

QP_REGISTER_TEST(ToolWindowsTest)
#include "ToolWindowsTest.moc"
