#pragma once
#include "services/PrinterService.h"

#include <QList>
#include <QRectF>
#include <QString>

// What the document tools' tests share: jobs printed to PDF files, the pages
// read back from a PDF, and file permissions that hold for root too.

// Each job becomes job-001.pdf, job-002.pdf ... in the folder. From job
// failAt on (counted from 1) there is no printer, with the given reason.
class PdfPrinterService : public PrinterService {
public:
    explicit PdfPrinterService(const QString& folder) : m_folder(folder) {}
    Result<> setUpJob(QPrinter& printer) override;

    int failAt = 0;
    QString failure = QStringLiteral("The printer is out of paper.");
    QStringList files() const;   // the PDF files written, in order

private:
    QString m_folder;
    int m_jobs = 0;
};

struct PdfWord {
    QRectF box;   // in points, from the page's top left
    QString text;
};

struct PdfPage {
    double width = 0;
    double height = 0;
    QList<PdfWord> words;
    QString text() const;   // the words in reading order, one blank between
};

// The pages of a PDF as pdftotext reads them (poppler-utils); no pages when
// the file is no PDF.
QList<PdfPage> readPdf(const QString& path);

// What is wrong with the look of the printed pages, "" when nothing: drawn
// without smoothing, they are white paper with ink on it, every mark
// standing out from the paper at least 3 to 1 (no grey band, no pale text).
QString printedLookProblem(const QString& pdf);

// A document of several pages, one of its lines far wider than the paper;
// its words, in order, go to *words.
QString longDocument(QStringList* words);

// What is wrong with the printed pages, "" when nothing: the words must be
// the expected ones in order, every line must start at the left margin and
// nothing cross any margin (in points), and a page followed by another must
// be filled down to its bottom margin.
QString pagesProblem(const QList<PdfPage>& pages, const QStringList& words, double margin);

// While it lives, file permissions hold for this thread even when it runs as
// root (the capabilities that override them are set aside).
class PermissionsHold {
public:
    PermissionsHold();
    ~PermissionsHold();
    PermissionsHold(const PermissionsHold&) = delete;
    PermissionsHold& operator=(const PermissionsHold&) = delete;

private:
    bool m_dropped = false;
};
