#include "TestRegistry.h"
#include "MainWindowFixture.h"
#include "ToolWindows.h"
#include "widgets/OwnedWindow.h"
#include "editor/RichTextBox.h"

#include <QLineEdit>
#include <QToolBar>
#include <QToolButton>
#include <functional>

using Opener = std::function<void(MainWindowFixture&)>;
Q_DECLARE_METATYPE(Opener)

namespace {

Opener menu(Cmd command)
{
    return [command](MainWindowFixture& f) { run(*f.window, command); };
}

Opener toolbarButton(const char* key)
{
    return [key](MainWindowFixture& f) { toolBarOf(*f.window)->findChild<QToolButton*>(QLatin1String(key))->click(); };
}

// File's properties of the document's file (an empty one, so that the
// document stays empty and unchanged).
Opener propertiesOfTheFile()
{
    return [](MainWindowFixture& f) {
        if (padOf(*f.window)->document().isUntitled()) {
            f.prompts.answerOpen(f.file(QStringLiteral("empty.html"), QByteArray()));
            run(*f.window, Cmd::mnuOpen);
        }
        run(*f.window, Cmd::mnuFileProps);
    };
}

// Ctrl+G in the text, and a click on the caret's place in the status bar.
Opener goToLineKey()
{
    return [](MainWindowFixture& f) { QTest::keyClick(f.window->pad(), Qt::Key_G, Qt::ControlModifier); };
}

Opener caretPlace()
{
    return [](MainWindowFixture& f) {
        QTest::mouseClick(f.window->findChild<QToolButton*>(QStringLiteral("cmdCaret")), Qt::LeftButton);
    };
}

// A window that acts as a dialog: the main window takes no input while it is
// open; opened again, it comes forward.
QTestData& dialog(const char* name)
{
    return QTest::newRow(name) << true << 1 << QString();
}

// A window that leaves the main window usable: opened again, `windows` of
// it are open, and the text box `kept` (if any) holds what it held.
QTestData& usable(const char* name, int windows, const char* kept)
{
    return QTest::newRow(name) << false << windows << QString::fromUtf8(kept);
}

}

class ToolWindowsTest : public QObject {
    Q_OBJECT

    static int openWindows(const QString& name)
    {
        int open = 0;
        for (QWidget* top : QApplication::topLevelWidgets())
            open += top->objectName() == name && top->isVisible();
        return open;
    }

private slots:
    // A window that acts as a dialog keeps the main window from taking
    // input while it is open, and gives it back however the window goes
    // away; Find and File's properties leave it usable throughout.
    void closingGivesTheMainWindowBack_data()
    {
        QTest::addColumn<bool>("disablesMain");
        QTest::addColumn<int>("windowsOpenedTwice");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<Opener>("open");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("way");   // buttons to click in order, "escape" or "close box"
        QTest::addColumn<bool>("inserts");

        dialog("wizard: Apply") << menu(Cmd::mnuWebPageWizard) << "frmWebPageWizard" << "cmdApply" << true;
        dialog("wizard: Cancel") << menu(Cmd::mnuWebPageWizard) << "frmWebPageWizard" << "cmdCancel" << false;
        dialog("wizard: Escape") << menu(Cmd::mnuWebPageWizard) << "frmWebPageWizard" << "escape" << false;
        dialog("wizard: close box") << menu(Cmd::mnuWebPageWizard) << "frmWebPageWizard" << "close box" << false;
        dialog("wizard from the toolbar: Cancel")
            << toolbarButton("WebPageWizard") << "frmWebPageWizard" << "cmdCancel" << false;
        dialog("custom font: Insert") << menu(Cmd::mnuCustomFont) << "frmCustomFont" << "cmdConvert cmdInsert" << true;
        dialog("custom font: Escape on the output frame")
            << menu(Cmd::mnuCustomFont) << "frmCustomFont" << "cmdConvert escape" << false;
        dialog("custom font: close box") << menu(Cmd::mnuCustomFont) << "frmCustomFont" << "close box" << false;
        dialog("ANSI: Escape") << menu(Cmd::mnuANSIConverter) << "frmANSIConverter" << "escape" << false;
        dialog("ANSI: close box after a lookup")
            << menu(Cmd::mnuANSIConverter) << "frmANSIConverter" << "cmdANSIFind1 close box" << false;
        dialog("templates: Insert") << menu(Cmd::mnuWebPageTemplates) << "frmWebPageTemplates" << "cmdInsert" << true;
        dialog("templates: Cancel") << menu(Cmd::mnuWebPageTemplates) << "frmWebPageTemplates" << "cmdCancel" << false;
        dialog("templates: Escape") << menu(Cmd::mnuWebPageTemplates) << "frmWebPageTemplates" << "escape" << false;
        dialog("templates: close box")
            << menu(Cmd::mnuWebPageTemplates) << "frmWebPageTemplates" << "close box" << false;
        dialog("database wizard: Insert")
            << toolbarButton("DatabaseWizard") << "frmDatabaseWizard" << "cmdNext cmdASP_Generate cmdDB_Insert" << true;
        dialog("database wizard: Cancel on the code page")
            << menu(Cmd::mnuDBCW) << "frmDatabaseWizard" << "cmdNext cmdASP_Back optPHP cmdNext cmdPHP_Generate cmdCancel"
            << false;
        dialog("database wizard: Escape") << menu(Cmd::mnuDBCW) << "frmDatabaseWizard" << "cmdNext escape" << false;
        dialog("database wizard: close box") << menu(Cmd::mnuDBCW) << "frmDatabaseWizard" << "close box" << false;
        dialog("merge: Escape") << menu(Cmd::mnuMergeDocs) << "frmMergeDocs" << "escape" << false;
        dialog("merge: close box") << menu(Cmd::mnuMergeDocs) << "frmMergeDocs" << "close box" << false;
        dialog("print: Escape") << toolbarButton("Print") << "frmPrint" << "escape" << false;
        dialog("print: close box") << menu(Cmd::mnuPrint) << "frmPrint" << "close box" << false;
        dialog("spelling: Cancel") << toolbarButton("SpellCheck") << "frmSpellCheck" << "cmdCancel" << false;
        dialog("spelling: Escape") << menu(Cmd::mnuSpellCheck) << "frmSpellCheck" << "escape" << false;
        dialog("spelling: close box") << menu(Cmd::mnuSpellCheck) << "frmSpellCheck" << "close box" << false;
        dialog("settings: Cancel") << menu(Cmd::mnuSettings) << "frmSettings" << "cmdCancel" << false;
        dialog("settings: Escape") << menu(Cmd::mnuSettings) << "frmSettings" << "escape" << false;
        usable("find: Escape", 1, "txtFind") << menu(Cmd::mnuFind) << "frmFind" << "escape" << false;
        usable("find from the context menu: close box", 1, "txtFind_Rep")
            << menu(Cmd::rcFindReplace) << "frmFind" << "close box" << false;
        usable("find from the toolbar: close box", 1, "txtReplace")
            << toolbarButton("FindReplace") << "frmFind" << "close box" << false;
        usable("file's properties: Escape", 2, "") << propertiesOfTheFile() << "frmFileProperties" << "escape" << false;
        usable("file's properties: close box", 2, "")
            << propertiesOfTheFile() << "frmFileProperties" << "close box" << false;
        usable("go to line by Ctrl+G: Escape", 1, "txtLine") << goToLineKey() << "frmGoToLine" << "escape" << false;
        usable("go to line from the status bar: Cancel", 1, "txtLine")
            << caretPlace() << "frmGoToLine" << "cmdCancel" << false;
    }

    void closingGivesTheMainWindowBack()
    {
        QFETCH(bool, disablesMain);
        QFETCH(int, windowsOpenedTwice);
        QFETCH(QString, kept);
        QFETCH(Opener, open);
        QFETCH(QString, window);
        QFETCH(QString, way);
        QFETCH(bool, inserts);

        MainWindowFixture f;
        frmMain& w = f.show();
        open(f);
        QPointer<QWidget> tool = toolWindow(window);
        QVERIFY(tool);
        QTRY_COMPARE(QApplication::activeWindow(), tool.data());
        // Owned by the main window: an owned window, or a dialog child of it.
        QCOMPARE(tool->parentWidget() ? tool->parentWidget() : OwnedWindow::owner(tool), &w);
        QCOMPARE(w.isEnabled(), !disablesMain);
        QVERIFY(tool->isEnabled());
        if (!kept.isEmpty())
            control<QLineEdit>(tool, kept)->setText(QStringLiteral("typed"));
        open(f);
        QCOMPARE(openWindows(window), windowsOpenedTwice);
        if (windowsOpenedTwice == 1)
            QCOMPARE(toolWindow(window), tool.data());
        if (!kept.isEmpty())
            QCOMPARE(control<QLineEdit>(tool, kept)->text(), QStringLiteral("typed"));

        for (const QString& step : way.split(QLatin1Char(' '))) {
            if (step == QLatin1String("escape"))
                QTest::keyClick(tool->focusWidget() ? tool->focusWidget() : tool.data(), Qt::Key_Escape);
            else if (step == QLatin1String("close"))
                tool->close();
            else if (step != QLatin1String("box"))
                click(tool, step);
        }
        QTRY_VERIFY(w.isEnabled());
        QTRY_VERIFY(!tool);
        QCOMPARE(openWindows(window), windowsOpenedTwice - 1);
        QCOMPARE(padOf(w)->Text().isEmpty(), !inserts);
        QCOMPARE(padOf(w)->document().isModified(), inserts);
        QCOMPARE(f.prompts.pending(), 0);
    }

    // An untitled document has no file to show.
    void filePropertiesOfAnUntitledDocumentSaySo()
    {
        MainWindowFixture f;
        frmMain& w = f.make();
        f.prompts.answer(Prompts::Answer::Ok);
        run(w, Cmd::mnuFileProps);
        QCOMPARE(f.prompts.messages(), QStringList{QStringLiteral("No file is currently open to view.")});
        QCOMPARE(f.prompts.calls.last().icon, Prompts::Icon::Error);
        QVERIFY(!toolWindow(QStringLiteral("frmFileProperties")));
    }

};

QP_REGISTER_TEST(ToolWindowsTest)
#include "ToolWindowsTest.moc"
