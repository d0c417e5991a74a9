#include "EditorParts.h"
#include "ToolWindows.h"
#include "generators/frmCustomFont.h"
#include "generators/frmWebPageWizard.h"
#include "TestRegistry.h"
#include "generators/WebPage.h"
#include "editor/RichTextBox.h"

#include <QPlainTextEdit>
#include <QPushButton>

class GeneratorWindowsTest : public QObject {
    Q_OBJECT
private slots:
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

        EditorParts f;
        QVERIFY(f.files.loadAsDocument(f.file(QStringLiteral("page.html"), file)));
        RichTextBox& pad = f.pad;
        const QString before = pad.Text();
        pad.SetSelStart(selStart);
        pad.SetSelLength(selLength);

        QString inserted;
        if (window == QLatin1String("frmWebPageWizard")) {
            QWidget* wizard = f.open<frmWebPageWizard>(f.files, f.prompts);
            control<QPushButton>(wizard, "cmdApply")->click();
            inserted = WebPage::build(WebPageFields());
        } else {
            QWidget* font = f.open<frmCustomFont>(f.pad, f.prompts);
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
        QVERIFY(f.doc.isModified());
        pad.Undo();
        QCOMPARE(pad.Text(), before);
    }
};

QP_REGISTER_TEST(GeneratorWindowsTest)
#include "GeneratorWindowsTest.moc"
