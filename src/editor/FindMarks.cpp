#include "editor/FindMarks.h"
#include "editor/MarkIds.h"
#include "editor/RichTextBox.h"

#include <QEvent>

#include <algorithm>

namespace {

using Sci = QsciScintillaBase;

// A line longer than this is looked at only where it is in view.
constexpr long kLongLine = 16 * 1024;
// Bytes looked at either side of the part of a long line in view, for the
// characters partly shown at its edges.
constexpr long kEdge = 256;

constexpr auto kIndicator = static_cast<unsigned long>(MarkIds::kFindMatch);

}

FindMarks::FindMarks(RichTextBox& view, QObject* parent) : QObject(parent), m_view(view), m_viewAlive(&view)
{
    QsciScintillaBase& e = m_view.engine();
    // A soft amber box under the text, its edge a little stronger: the
    // selection and the text's colours stay readable through it.
    e.SendScintilla(Sci::SCI_INDICSETSTYLE, kIndicator, long(Sci::INDIC_ROUNDBOX));
    e.SendScintilla(Sci::SCI_INDICSETFORE, kIndicator, long(0x00A5FF));   // BGR: orange
    e.SendScintilla(Sci::SCI_INDICSETALPHA, kIndicator, 70L);
    e.SendScintilla(Sci::SCI_INDICSETOUTLINEALPHA, kIndicator, 150L);
    e.SendScintilla(Sci::SCI_INDICSETUNDER, kIndicator, 1L);

    // What is on screen changes: scrolls (not the engine's "content" flag,
    // which setting marks raises), edits, caret moves (the selected
    // occurrence is no "other" one) and new sizes.
    connect(&e, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int updated) {
        if (updated & (Sci::SC_UPDATE_V_SCROLL | Sci::SC_UPDATE_H_SCROLL))
            refreshSoon();
    });
    connect(&view, &RichTextBox::caretMoved, this, &FindMarks::refreshSoon);
    connect(&view.document(), &Document::contentsChanged, this, &FindMarks::refreshSoon);
    view.installEventFilter(this);
}

FindMarks::~FindMarks()
{
    if (m_viewAlive)
        clearAll();
}

void FindMarks::setFinder(Finder finder)
{
    m_finder = std::move(finder);
    refresh();
}

bool FindMarks::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_view && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        refreshSoon();
    return QObject::eventFilter(watched, event);
}

void FindMarks::refreshSoon()
{
    if (!m_finder || m_pending)
        return;
    m_pending = true;
    // Once per turn of the event loop, after the paint that reported the
    // change: the marks are never changed while the engine paints.
    QMetaObject::invokeMethod(this, [this] {
        m_pending = false;
        refresh();
    }, Qt::QueuedConnection);
}

QList<FindMarks::Range> FindMarks::visibleBytes() const
{
    const QsciScintillaBase& e = m_view.engine();
    const long lines = e.SendScintilla(Sci::SCI_GETLINECOUNT);
    const long first = e.SendScintilla(Sci::SCI_DOCLINEFROMVISIBLE,
                                       static_cast<unsigned long>(e.SendScintilla(Sci::SCI_GETFIRSTVISIBLELINE)));
    const long last = std::min(lines, first + e.SendScintilla(Sci::SCI_LINESONSCREEN) + 1);
    const long width = m_view.viewport()->width();
    QList<Range> ranges;
    for (long line = first; line < last; ++line) {
        const auto l = static_cast<unsigned long>(line);
        Range r{e.SendScintilla(Sci::SCI_POSITIONFROMLINE, l), e.SendScintilla(Sci::SCI_GETLINEENDPOSITION, l)};
        if (r.end - r.start > kLongLine) {
            // The part in view: the line is laid out already, as it was just painted.
            const long y = e.SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL, r.start);
            const long left = e.SendScintilla(Sci::SCI_POSITIONFROMPOINT, 0UL, y);
            const long right = e.SendScintilla(Sci::SCI_POSITIONFROMPOINT, static_cast<unsigned long>(width), y);
            r = {std::max(r.start, left - kEdge), std::min(r.end, right + kEdge)};
        }
        // Lines that follow each other make one run, their line breaks with them.
        if (!ranges.isEmpty() && r.start - ranges.last().end <= 2)
            ranges.last().end = r.end;
        else
            ranges.append(r);
    }
    return ranges;
}

QList<FindMarks::Range> FindMarks::markedIn(long from, long to) const
{
    const QsciScintillaBase& e = m_view.engine();
    QList<Range> found;
    long at = from;
    while (at < to) {
        const long end = e.SendScintilla(Sci::SCI_INDICATOREND, kIndicator, at);
        if (e.SendScintilla(Sci::SCI_INDICATORVALUEAT, kIndicator, at))
            found.append({at, end > at ? std::min(end, to) : to});
        if (end <= at)
            break;
        at = end;
    }
    return found;
}

QList<FindMarks::Range> FindMarks::marked() const
{
    return markedIn(0, m_view.engine().SendScintilla(Sci::SCI_GETLENGTH));
}

void FindMarks::clearAll()
{
    QsciScintillaBase& e = m_view.engine();
    e.SendScintilla(Sci::SCI_SETINDICATORCURRENT, kIndicator);
    e.SendScintilla(Sci::SCI_INDICATORCLEARRANGE, 0UL, e.SendScintilla(Sci::SCI_GETLENGTH));
}

void FindMarks::refresh()
{
    if (!m_finder) {
        if (!marked().isEmpty())
            clearAll();
        return;
    }
    QList<Range> found;
    QList<Range> shown;
    for (const Range& visible : visibleBytes()) {
        for (const Range& r : m_finder(visible.start, visible.end))
            if (found.isEmpty() || r.start >= found.last().end)
                found.append(r);
        // Marks of an earlier look that reach into view count too.
        shown += markedIn(visible.start, visible.end);
    }
    // Nothing changes on screen: no mark is touched, and nothing repaints.
    const long length = m_view.engine().SendScintilla(Sci::SCI_GETLENGTH);
    QList<Range> wanted;
    for (Range r : std::as_const(found)) {
        r.end = std::min(r.end, length);
        if (r.end > r.start)
            wanted.append(r);
    }
    if (shown == wanted && marked().size() == shown.size())
        return;
    clearAll();
    QsciScintillaBase& e = m_view.engine();
    for (qsizetype i = 0; i < wanted.size(); ++i) {
        // Two values in turn, so that occurrences side by side stay two
        // runs of the indicator, and are read back as two.
        e.SendScintilla(Sci::SCI_SETINDICATORVALUE, static_cast<unsigned long>(1 + i % 2));
        e.SendScintilla(Sci::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(wanted[i].start),
                        wanted[i].end - wanted[i].start);
    }
}
