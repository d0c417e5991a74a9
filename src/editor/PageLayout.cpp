#include "editor/PageLayout.h"
#include "editor/RichTextBox.h"

#include <Qsci/qsciprinter.h>
#include <QPainter>

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

PageLayout::PageLayout() : m_printer(std::make_unique<QsciPrinter>(QPrinter::HighResolution)) {}

PageLayout::~PageLayout() = default;

QPrinter& PageLayout::printer()
{
    return *m_printer;
}

Result<> PageLayout::print(RichTextBox& box, QPainter& painter)
{
    if (box.TextLength() == 0)
        return {};
    QsciScintillaBase& engine = box.engine();
    const NoLineNumbersPrinted noLineNumbers(engine);
    // Printed on white paper whatever the screen shows behind the text (the
    // greyed page of a disabled window, say); the words keep their colours.
    engine.SendScintilla(QsciScintillaBase::SCI_SETPRINTCOLOURMODE,
                         static_cast<unsigned long>(QsciScintillaBase::SC_PRINT_COLOURONWHITE));
    if (!m_printer->printRange(&box, painter))
        return Failure(QStringLiteral("The printer did not take a new page."));
    return {};
}
