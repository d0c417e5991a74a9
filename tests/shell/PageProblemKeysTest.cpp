#include "MainWindowFixture.h"
#include "TestRegistry.h"
#include "editor/EngineProbe.h"
#include "editor/MarkIds.h"
#include "editor/RichTextBox.h"

#include <QTest>

// F8 and Shift+F8 are keys of the main window: from the text they go to the
// page's next and previous problem, the text area itself does nothing with
// them, and with the option off they do nothing at all.
class PageProblemKeysTest : public QObject {
    Q_OBJECT
private slots:
    void f8GoesFromProblemToProblem()
    {
        const QByteArray page = "<!DOCTYPE html>\n<html><head><title>t</title></head><body>\n<div>\n<p>a <zz>b</zz>\n"
                                "</body></html>\n";
        MainWindowFixture f;
        f.make({QStringLiteral("quirkpad"), f.file(QStringLiteral("a.html"), page)});
        frmMain& w = f.show();
        RichTextBox* pad = padOf(w);
        const long zz = page.indexOf("<zz>");
        const auto errorAtZz = [pad, zz] {
            return EngineProbe::of(*pad).SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT, MarkIds::kProblemError, zz);
        };
        QTRY_VERIFY_WITH_TIMEOUT(errorAtZz() > 0, 30000);

        pad->setFocus();
        pad->selectBytes(0, 0);
        QTest::keyClick(pad, Qt::Key_F8);
        QCOMPARE(pad->selectionBytes().end, page.indexOf("<div>"));
        QTest::keyClick(pad, Qt::Key_F8, Qt::ShiftModifier);
        QCOMPARE(pad->selectionBytes().end, page.indexOf("</zz>"));
        QTest::keyClick(pad, Qt::Key_F8, Qt::ShiftModifier);
        QCOMPARE(pad->selectionBytes().end, zz);
        QCOMPARE(pad->document().snapshot(), page);
        QVERIFY(!pad->document().isModified());

        f.settings.setOn(Setting::CheckPage, false);
        w.applyFontSettings();   // what the next activation does
        QCOMPARE(errorAtZz(), 0L);
        QTest::keyClick(pad, Qt::Key_F8);
        QCOMPARE(pad->selectionBytes().end, zz);
        QCOMPARE(pad->document().snapshot(), page);
    }
};

QP_REGISTER_TEST(PageProblemKeysTest)
#include "PageProblemKeysTest.moc"
