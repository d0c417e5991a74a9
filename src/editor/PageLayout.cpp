#include "editor/PageLayout.h"
#include "editor/RichTextBox.h"

#include <Qsci/qsciprinter.h>
#include <QPainter>

namespace {

using Sci = QsciScintillaBase;

// The page holds the document's text alone: the control would print the
// line numbers it shows beside it, which are no part of the document, and
// the marks drawn over the text (a page's problems, the matches of a
// search), which are the screen's.
class ScreenMarksHidden {
public:
    explicit ScreenMarksHidden(QsciScintillaBase& engine) : m_engine(engine)
    {
        for (unsigned long m = 0; m < kMargins; ++m) {
            m_widths[m] = m_engine.SendScintilla(Sci::SCI_GETMARGINWIDTHN, m);
            m_engine.SendScintilla(Sci::SCI_SETMARGINWIDTHN, m, 0L);
        }
        for (int i = Sci::INDIC_CONTAINER; i <= Sci::INDIC_MAX; ++i) {
            m_indicators[i - Sci::INDIC_CONTAINER] = m_engine.SendScintilla(Sci::SCI_INDICGETSTYLE, ul(i));
            m_engine.SendScintilla(Sci::SCI_INDICSETSTYLE, ul(i), long(Sci::INDIC_HIDDEN));
        }
        for (int m = 0; m < kMarkers; ++m) {
            m_markers[m] = m_engine.SendScintilla(Sci::SCI_MARKERSYMBOLDEFINED, ul(m));
            m_engine.SendScintilla(Sci::SCI_MARKERDEFINE, ul(m), long(Sci::SC_MARK_EMPTY));
        }
    }
    ~ScreenMarksHidden()
    {
        for (int m = 0; m < kMarkers; ++m)
            m_engine.SendScintilla(Sci::SCI_MARKERDEFINE, ul(m), m_markers[m]);
        for (int i = Sci::INDIC_CONTAINER; i <= Sci::INDIC_MAX; ++i)
            m_engine.SendScintilla(Sci::SCI_INDICSETSTYLE, ul(i), m_indicators[i - Sci::INDIC_CONTAINER]);
        for (unsigned long m = 0; m < kMargins; ++m)
            m_engine.SendScintilla(Sci::SCI_SETMARGINWIDTHN, m, m_widths[m]);
    }
    ScreenMarksHidden(const ScreenMarksHidden&) = delete;
    ScreenMarksHidden& operator=(const ScreenMarksHidden&) = delete;

private:
    static unsigned long ul(int v) { return static_cast<unsigned long>(v); }
    static constexpr unsigned long kMargins = 5;
    // Markers 25 to 31 are the engine's folding symbols, which this editor
    // never shows.
    static constexpr int kMarkers = 25;
    static constexpr int kIndicators = Sci::INDIC_MAX - Sci::INDIC_CONTAINER + 1;
    QsciScintillaBase& m_engine;
    long m_widths[kMargins] = {};
    long m_indicators[kIndicators] = {};
    long m_markers[kMarkers] = {};
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
    const ScreenMarksHidden screenMarks(engine);
    // Printed on white paper whatever the screen shows behind the text (the
    // greyed page of a disabled window, say); the words keep their colours.
    engine.SendScintilla(QsciScintillaBase::SCI_SETPRINTCOLOURMODE,
                         static_cast<unsigned long>(QsciScintillaBase::SC_PRINT_COLOURONWHITE));
    if (!m_printer->printRange(&box, painter))
        return Failure(QStringLiteral("The printer did not take a new page."));
    return {};
}
