#include "platform/PrinterService.h"

#include <Qsci/qsciprinter.h>
#include <QPrinterInfo>

std::unique_ptr<QsciPrinter> DefaultPrinterService::newJob(QString* error)
{
    // Asked anew for every job: the user may set up a printer while the
    // editor runs.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        *error = QStringLiteral("No default printer is set up. Add a printer in the system's printer settings "
                                "and make it the default.");
        return nullptr;
    }
    auto printer = std::make_unique<QsciPrinter>(QPrinter::HighResolution);
    printer->setPrinterName(info.printerName());
    if (!printer->isValid()) {
        *error = QStringLiteral("The default printer %1 cannot be used.").arg(info.printerName());
        return nullptr;
    }
    return printer;
}
