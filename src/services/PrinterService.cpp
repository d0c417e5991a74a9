#include "services/PrinterService.h"

#include <QPrinter>
#include <QPrinterInfo>

Result<> DefaultPrinterService::setUpJob(QPrinter& printer)
{
    // Asked anew for every job: the user may set up a printer while the
    // editor runs.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return Failure(QStringLiteral("No default printer is set up. Add a printer in the system's printer "
                                      "settings and make it the default."));
    printer.setPrinterName(info.printerName());
    if (!printer.isValid())
        return Failure(QStringLiteral("The default printer %1 cannot be used.").arg(info.printerName()));
    return {};
}
