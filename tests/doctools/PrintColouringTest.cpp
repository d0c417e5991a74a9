#include "DocToolsSupport.h"
#include "TestRegistry.h"
#include "doctools/modPrint.h"
#include "editor/LineNumberMargin.h"
#include "editor/RichTextBox.h"
#include "editor/SyntaxColouring.h"

#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

namespace {

// The pages of one print of the text, as read back from the PDF, and what
// is wrong with their look. Printing happens while the Print window has the
// main window disabled.
QList<PdfPage> printed(const QString& name, const QString& text, bool coloured, QString* lookProblem)
{
    QTemporaryDir out;
    PdfPrinterService pdf(out.path());
    QWidget window;
    auto* box = new RichTextBox(nullptr, &window);
    SyntaxColouring colouring(*box);
    LineNumberMargin numbers(*box);
    colouring.setEnabled(coloured);
    numbers.setVisible(coloured);
    colouring.setDocumentName(name);
    box->SetText(text);
    window.setEnabled(false);
    const Result<> printed = modPrint::PrintRichText(*box, pdf, 1440, 1440, 1440, 1440);
    if (!printed || pdf.files().size() != 1)
        return {};
    *lookProblem = printedLookProblem(pdf.files().first());
    return readPdf(pdf.files().first());
}

}

class PrintColouringTest : public QObject {
    Q_OBJECT
private slots:
    // Colours and the line numbers beside the text are the screen's: the
    // printed pages hold the same words in the same places without them,
    // dark (or in the colours' hues) on white paper, whatever the window.
    void colouringAndLineNumbersLeaveThePrintAlone_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QStringList words;
        QString page = QStringLiteral("<html>\r\n<style>\r\np { color: red; margin: 0 }\r\n</style>\r\n");
        page += longDocument(&words) + QStringLiteral("\r\n<p class=\"end\">&amp; <b>bold</b></p>\r\n</html>\r\n");
        QTest::newRow("page of several sheets of paper") << "page.html" << page;
        QTest::newRow("script") << "app.js" << "function f(a) {\r\n  return 'x' + a; // done\r\n}\r\n";
    }
    void colouringAndLineNumbersLeaveThePrintAlone()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QString plainLook, colouredLook;
        const QList<PdfPage> plain = printed(name, text, false, &plainLook);
        const QList<PdfPage> coloured = printed(name, text, true, &colouredLook);
        QVERIFY(!plain.isEmpty());
        QVERIFY2(plainLook.isEmpty(), qPrintable(plainLook));
        QVERIFY2(colouredLook.isEmpty(), qPrintable(colouredLook));
        QCOMPARE(coloured.size(), plain.size());
        for (qsizetype p = 0; p < plain.size(); ++p) {
            QCOMPARE(coloured[p].text(), plain[p].text());
            QCOMPARE(coloured[p].words.size(), plain[p].words.size());
            // Drawn in runs of one colour, a word may land a hair's breadth
            // (well under a hundredth of a point) from where one run put it.
            for (qsizetype i = 0; i < plain[p].words.size(); ++i) {
                const QRectF a = coloured[p].words[i].box;
                const QRectF b = plain[p].words[i].box;
                const double off = std::max({std::abs(a.left() - b.left()), std::abs(a.top() - b.top()),
                                             std::abs(a.right() - b.right()), std::abs(a.bottom() - b.bottom())});
                QVERIFY2(off < 0.01, qPrintable(plain[p].words[i].text + QStringLiteral(" moved by ") +
                                                QString::number(off)));
            }
        }
    }
};

QP_REGISTER_TEST(PrintColouringTest)
#include "PrintColouringTest.moc"
