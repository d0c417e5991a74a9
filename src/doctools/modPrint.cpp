#include "doctools/modPrint.h"
#include "services/PrinterService.h"
#include "editor/RichTextBox.h"

#include "editor/PageLayout.h"

#include <QPrinter>
#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>

namespace modPrint {

Result<> PrintRichText(RichTextBox& rtbRichTextBox, PrinterService& printers, int LeftMargin, double TopMargin,
                       double RightMargin, double BottomMargin)
{
    PageLayout layout;
    QPrinter* printer = &layout.printer();
    if (const Result<> job = printers.setUpJob(*printer); !job)
        return job;
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
    if (!painter.begin(printer))
        return Failure(QStringLiteral("The print job could not be started on %1.").arg(printer->printerName()));
    // An empty document is still one job of one (empty) page: beginning the
    // job made it.
    if (const Result<> laidOut = layout.print(rtbRichTextBox, painter); !laidOut) {
        painter.end();
        return laidOut;
    }
    if (!painter.end() || printer->printerState() == QPrinter::Error)
        return Failure(QStringLiteral("The print job could not be finished."));
    return {};
}

}
