#pragma once
#include "base/Result.h"

class QPrinter;

// Where print jobs go. The editor prints on the desktop's default printer;
// tests put a service in its place that writes each job to a PDF file.
class PrinterService {
public:
    virtual ~PrinterService() = default;

    // Points a printer, not yet begun, at where one new job goes; a plain
    // description of why when there is nowhere to print.
    virtual Result<> setUpJob(QPrinter& printer) = 0;
};

// The default printer of the print system (CUPS), as it is at each job.
class DefaultPrinterService : public PrinterService {
public:
    Result<> setUpJob(QPrinter& printer) override;
};
