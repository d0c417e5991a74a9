#pragma once
#include <QWidget>

class PrinterService;
class Prompts;
class QLineEdit;
class RichTextBox;

// Prints the document on the default printer a chosen number of times, each
// copy a job of its own, with one inch of margin on every side. The window
// stays open after printing.
class frmPrint : public QWidget {
    Q_OBJECT
public:
    frmPrint(RichTextBox& pad, PrinterService& printers, Prompts& prompts, QWidget* owner);

    QLineEdit* times() const { return m_times; }

    void Print();

private:
    RichTextBox& m_pad;
    PrinterService& m_printers;
    Prompts& m_prompts;
    QLineEdit* m_times = nullptr;
};
