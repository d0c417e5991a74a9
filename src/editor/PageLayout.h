#pragma once
#include "base/Result.h"

#include <QString>

#include <memory>

class QPainter;
class QPrinter;
class QsciPrinter;
class RichTextBox;

// One print job of a view's text, laid out by the editing engine page after
// page as the view shows it: the text alone (no line numbers), on white
// paper whatever the screen shows behind the text, the words in their
// colours.
class PageLayout {
public:
    PageLayout();
    ~PageLayout();
    PageLayout(const PageLayout&) = delete;
    PageLayout& operator=(const PageLayout&) = delete;

    // The job's printer: set it up (where to, margins) before printing.
    QPrinter& printer();

    // Lays the whole text out on the painter, begun on printer(); fails when
    // the printer took no new page. An empty text prints nothing (beginning
    // the job made its one empty page).
    Result<> print(RichTextBox& box, QPainter& painter);

private:
    std::unique_ptr<QsciPrinter> m_printer;
};
