#include "GeneratorWindows.h"
#include "TestRegistry.h"
#include "generators/WebPage.h"
#include "platform/OwnedWindow.h"
#include "platform/RichTextBox.h"

#include <QPlainTextEdit>
#include <QPushButton>
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

class GeneratorWindowsTest : public QObject {
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
                control<QPushButton>(tool, qPrintable(step))->click();
        }
        QTRY_VERIFY(w.isInputEnabled());
        QVERIFY(!toolWindow(window));
        QCOMPARE(w.pad()->Text().isEmpty(), !inserts);
        QCOMPARE(w.document().isChanged(), inserts);
        QCOMPARE(f.prompts.calls.size(), 0);
    }

    // Texts go in by the insertion rule: over the selection or at the caret,
    // in the document's line-break style, as one undo step, caret behind.
    void insertion_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");

        for (const char* name : {"frmWebPageWizard", "frmCustomFont"}) {
            QTest::addRow("%s, CR LF, over a selection", name) << name << QByteArray("one\r\ntwo\r\n") << 5 << 3;
            QTest::addRow("%s, CR LF, at the caret", name) << name << QByteArray("one\r\ntwo\r\n") << 3 << 0;
            QTest::addRow("%s, LF, over a selection", name) << name << QByteArray("one\ntwo\n") << 4 << 3;
            QTest::addRow("%s, LF, at the caret", name) << name << QByteArray("one\ntwo\n") << 8 << 0;
        }
    }

    void insertion()
    {
        QFETCH(QString, window);
        QFETCH(QByteArray, file);
        QFETCH(int, selStart);
        QFETCH(int, selLength);

        MainWindowFixture f;
        frmMain& w = f.make({QStringLiteral("quirkpad"), f.file(QStringLiteral("page.html"), file)});
        w.show();
        RichTextBox& pad = *w.pad();
        const QString before = pad.Text();
        pad.SetSelStart(selStart);
        pad.SetSelLength(selLength);

        QString inserted;
        if (window == QLatin1String("frmWebPageWizard")) {
            QWidget* wizard = openTool(w, Cmd::mnuWebPageWizard, "frmWebPageWizard");
            control<QPushButton>(wizard, "cmdApply")->click();
            inserted = WebPage::build(WebPageFields());
        } else {
            QWidget* font = openTool(w, Cmd::mnuCustomFont, "frmCustomFont");
            control<QPushButton>(font, "cmdConvert")->click();
            // The user breaks the output over two lines before inserting.
            auto* html = control<QPlainTextEdit>(font, "txtHTML");
            html->moveCursor(QTextCursor::End);
            QTest::keyClick(html, Qt::Key_Return);
            QTest::keyClicks(html, QStringLiteral("<br>"));
            control<QPushButton>(font, "cmdInsert")->click();
            inserted = QStringLiteral("Enter text here...\r\n<br>");
        }
        const QString eol = file.contains("\r\n") ? QStringLiteral("\r\n") : QStringLiteral("\n");
        inserted.replace(QStringLiteral("\r\n"), eol);

        QString expected = before;
        expected.replace(selStart, selLength, inserted);
        QCOMPARE(pad.Text(), expected);
        QCOMPARE(pad.SelStart(), selStart + inserted.size());
        QCOMPARE(pad.SelLength(), 0);
        QCOMPARE(w.document().changed(), QStringLiteral("Yes"));
        pad.Undo();
        QCOMPARE(pad.Text(), before);
    }
};

QP_REGISTER_TEST(GeneratorWindowsTest)
#include "GeneratorWindowsTest.moc"
