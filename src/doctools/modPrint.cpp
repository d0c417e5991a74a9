#include "doctools/modPrint.h"
#include "platform/PrinterService.h"
#include "platform/RichTextBox.h"

#include <Qsci/qsciprinter.h>
#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>

namespace modPrint {

namespace {

// The page holds the document's text alone: the control would print the
// line numbers it shows beside it, which are no part of the document.
class NoLineNumbersPrinted {
public:
    explicit NoLineNumbersPrinted(QsciScintillaBase& engine) : m_engine(engine)
    {
        for (unsigned long m = 0; m < kMargins; ++m) {
            m_widths[m] = m_engine.SendScintilla(QsciScintillaBase::SCI_GETMARGINWIDTHN, m);
            if (m_engine.SendScintilla(QsciScintillaBase::SCI_GETMARGINTYPEN, m) == QsciScintillaBase::SC_MARGIN_NUMBER)
                m_engine.SendScintilla(QsciScintillaBase::SCI_SETMARGINWIDTHN, m, 0L);
        }
    }
    ~NoLineNumbersPrinted()
    {
        for (unsigned long m = 0; m < kMargins; ++m)
            m_engine.SendScintilla(QsciScintillaBase::SCI_SETMARGINWIDTHN, m, m_widths[m]);
    }
    NoLineNumbersPrinted(const NoLineNumbersPrinted&) = delete;
    NoLineNumbersPrinted& operator=(const NoLineNumbersPrinted&) = delete;

private:
    static constexpr unsigned long kMargins = 5;
    QsciScintillaBase& m_engine;
    long m_widths[kMargins] = {};
};

}

PrintResult PrintRichText(RichTextBox& rtbRichTextBox, PrinterService& printers, int LeftMargin,
                          double TopMargin, double RightMargin, double BottomMargin)
{
    PrintResult r;
    std::unique_ptr<QsciPrinter> printer = printers.newJob(&r.error);
    if (!printer)
        return r;
    printer->setDocName(QStringLiteral("Quirkpad"));
    // Margins count from the paper's edges (a printer that cannot reach that
    // close to an edge has them raised to what it can). The painter's origin
    // is then the margins' corner, and the control lays each page out in the
    // area within them.
    constexpr double twipsPerPoint = 20.0;
    printer->setFullPage(false);
    printer->setPageMargins(QMarginsF(LeftMargin / twipsPerPoint, TopMargin / twipsPerPoint,
                                      RightMargin / twipsPerPoint, BottomMargin / twipsPerPoint),
                            QPageLayout::Point);

    QPainter painter;
    if (!painter.begin(printer.get())) {
        r.error = QStringLiteral("The print job could not be started on %1.").arg(printer->printerName());
        return r;
    }
    // An empty document is still one job of one (empty) page: beginning the
    // job made it.
    const NoLineNumbersPrinted noLineNumbers(rtbRichTextBox.engine());
    // Printed on white paper whatever the screen shows behind the text (the
    // greyed page of a disabled window, say); the words keep their colours.
    rtbRichTextBox.engine().SendScintilla(QsciScintillaBase::SCI_SETPRINTCOLOURMODE,
                                          static_cast<unsigned long>(QsciScintillaBase::SC_PRINT_COLOURONWHITE));
    if (rtbRichTextBox.TextLength() > 0 && !printer->printRange(&rtbRichTextBox, painter)) {
        painter.end();
        r.error = QStringLiteral("The printer did not take a new page.");
        return r;
    }
    if (!painter.end() || printer->printerState() == QPrinter::Error) {
        r.error = QStringLiteral("The print job could not be finished.");
        return r;
    }
    r.ok = true;
    return r;
}

}
