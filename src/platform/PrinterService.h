#pragma once
#include <QString>

#include <memory>

class QsciPrinter;

// Where print jobs go. The editor prints on the desktop's default printer;
// tests put a service in its place that writes each job to a PDF file.
class PrinterService {
public:
    virtual ~PrinterService() = default;

    // A printer for one new job, not yet begun; nothing, with a plain
    // description of why, when there is nowhere to print.
    virtual std::unique_ptr<QsciPrinter> newJob(QString* error) = 0;
};

// The default printer of the print system (CUPS), as it is at each job.
class DefaultPrinterService : public PrinterService {
public:
    std::unique_ptr<QsciPrinter> newJob(QString* error) override;
};
