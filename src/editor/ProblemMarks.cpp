#include "editor/ProblemMarks.h"
#include "editor/ColourScheme.h"
#include "editor/MarkIds.h"
#include "editor/RichTextBox.h"
#include "editor/SyntaxLanguage.h"
#include "html/CheckScheduler.h"
#include "html/PageProblems.h"

#include <algorithm>
#include <cstdint>
#include <map>

namespace {

using Sci = QsciScintillaBase;
using Severity = TidyCheck::Severity;

// How much of an untitled text is looked at for its first character (as
// the colouring looks).
constexpr long kLeadingBytes = 1024;
// Scintilla keeps an indicator's value in 24 bits.
constexpr std::size_t kMostMarks = 0xFFFFFF;

long bgr(const QColor& c)
{
    return long(c.red()) | (long(c.green()) << 8) | (long(c.blue()) << 16);
}

int indicatorOf(Severity s)
{
    return s == Severity::Error ? MarkIds::kProblemError : MarkIds::kProblemWarning;
}

int markerOf(Severity s)
{
    return s == Severity::Error ? MarkIds::kProblemErrorMarker : MarkIds::kProblemWarningMarker;
}

unsigned long ul(long v)
{
    return static_cast<unsigned long>(v);
}

}

ProblemMarks::ProblemMarks(RichTextBox& box, CheckScheduler& scheduler, QObject* parent)
    : QObject(parent), m_box(box), m_scheduler(scheduler)
{
    QsciScintillaBase& e = m_box.engine();
    for (const Severity s : {Severity::Error, Severity::Warning}) {
        const QColor colour = s == Severity::Error ? ColourScheme::problemError() : ColourScheme::problemWarning();
        const auto indicator = ul(indicatorOf(s));
        e.SendScintilla(Sci::SCI_INDICSETSTYLE, indicator, long(Sci::INDIC_SQUIGGLEPIXMAP));
        e.SendScintilla(Sci::SCI_INDICSETFORE, indicator, bgr(colour));
        // Where an error and a warning underline the same text, the error's
        // red is the one seen: warnings are drawn first, under the text.
        e.SendScintilla(Sci::SCI_INDICSETUNDER, indicator, long(s == Severity::Warning));
        const auto marker = ul(markerOf(s));
        e.SendScintilla(Sci::SCI_MARKERDEFINE, marker, long(Sci::SC_MARK_CIRCLE));
        e.SendScintilla(Sci::SCI_MARKERSETFORE, marker, bgr(colour.darker(130)));
        e.SendScintilla(Sci::SCI_MARKERSETBACK, marker, bgr(colour));
    }
    const auto margin = ul(MarkIds::kSymbolMargin);
    e.SendScintilla(Sci::SCI_SETMARGINTYPEN, margin, long(Sci::SC_MARGIN_SYMBOL));
    e.SendScintilla(Sci::SCI_SETMARGINMASKN, margin,
                    long((1 << MarkIds::kProblemErrorMarker) | (1 << MarkIds::kProblemWarningMarker)));
    e.SendScintilla(Sci::SCI_SETMARGINWIDTHN, margin, 0L);

    m_scheduler.setChecker([](QByteArrayView page) { return PageProblems::check(page); });
    connect(&m_scheduler, &CheckScheduler::checked, this, &ProblemMarks::checked);
    connect(&m_scheduler, &CheckScheduler::failed, this, [this](quint64, const QString& why) {
        clearMarks();
        setNotice(why);
    });
    connect(&m_scheduler, &CheckScheduler::tooLarge, this, [this](quint64, qsizetype) {
        clearMarks();
        m_tooLarge = true;
        fitMargin();
        setNotice(QStringLiteral("This page is larger than %1 MB: its problems are not marked as you type.")
                      .arg(TidyCheck::kLargestChecked >> 20));
    });
    Document& doc = m_box.document();
    connect(&doc, &Document::contentsChanged, this, &ProblemMarks::textChanged);
    connect(&doc, &Document::locationChanged, this, &ProblemMarks::judge);
    // A whole new text: the old one's marks (the margin's gathered on the
    // first line) go, and a large page is told about again.
    connect(&doc, &Document::loaded, this, [this] {
        clearMarks();
        setNotice({});
    });
    connect(&m_box, &RichTextBox::FontApplied, this, &ProblemMarks::fitMargin);
    connect(&m_box, &QsciScintillaBase::SCN_UPDATEUI, this, &ProblemMarks::caretMoved);
    judge();
}

ProblemMarks::~ProblemMarks() = default;

void ProblemMarks::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    judge();
}

bool ProblemMarks::isPage() const
{
    const Document& doc = m_box.document();
    if (!doc.isUntitled())
        return SyntaxLanguages::forFileName(doc.location()) == SyntaxLanguage::Html;
    // Copied out, so that the text's gap is not moved for it; the engine
    // ends the copy with a NUL.
    const long length = std::min(doc.byteLength(), kLeadingBytes);
    QByteArray leading(length + 1, Qt::Uninitialized);
    m_box.engine().SendScintilla(Sci::SCI_GETTEXTRANGE, 0L, length, leading.data());
    return SyntaxLanguages::forUntitledText(QByteArrayView(leading.constData(), length)) == SyntaxLanguage::Html;
}

void ProblemMarks::textChanged()
{
    const bool wasActive = m_active;
    // Only an untitled text changes its language by being edited (a page
    // that becomes one is told to the scheduler as it does).
    if (m_box.document().isUntitled())
        judge();
    if (m_active && wasActive)
        m_scheduler.edited(m_box.document().byteLength());
}

void ProblemMarks::judge()
{
    activate(m_enabled && isPage());
}

void ProblemMarks::activate(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    m_tooLarge = false;
    fitMargin();
    if (active) {
        m_scheduler.edited(m_box.document().byteLength());
        return;
    }
    m_scheduler.cancel();
    clearMarks();
    setNotice({});
}

void ProblemMarks::fitMargin()
{
    QsciScintillaBase& e = m_box.engine();
    // A narrow strip, always there while the page is checked, so that the
    // text does not move sideways as problems come and go while typing.
    long width = 0;
    if (m_active && !m_tooLarge)
        width = std::max(8L, e.SendScintilla(Sci::SCI_TEXTHEIGHT, 0UL) * 2 / 3);
    e.SendScintilla(Sci::SCI_SETMARGINWIDTHN, ul(MarkIds::kSymbolMargin), width);
}

void ProblemMarks::checked(quint64, const std::vector<TidyCheck::Problem>& problems)
{
    if (m_tooLarge) {
        m_tooLarge = false;
        fitMargin();
    }
    setNotice({});
    apply(problems);
}

void ProblemMarks::apply(const std::vector<TidyCheck::Problem>& problems)
{
    clearMarks();
    QsciScintillaBase& e = m_box.engine();
    const Document& doc = m_box.document();
    const long length = doc.byteLength();
    qsizetype errors = 0;
    // Problems of one kind at one place are one mark: a later mark over the
    // same place would hide an earlier one.
    struct Placed {
        long start, end;
        std::size_t group;
    };
    std::vector<Placed> placed;
    std::map<std::pair<long, int>, std::size_t> atPlace;
    for (const TidyCheck::Problem& p : problems) {
        if (p.severity == Severity::Error)
            ++errors;
        const long offset = std::clamp(long(p.offset), 0L, length);
        const long from = std::max(0L, offset - 4);
        const QByteArrayView window = doc.utf8Range(from, std::min(length, offset + long(PageProblems::kLongestMark) + 1));
        const PageProblems::Span span = PageProblems::underlined(window, offset - from);
        const QString message = (p.severity == Severity::Error ? QStringLiteral("Error: ") : QStringLiteral("Warning: "))
                                + p.message;
        const auto key = std::pair{long(from + span.start), int(p.severity)};
        if (const auto same = atPlace.find(key); same != atPlace.end()) {
            Placed& mark = placed[same->second];
            mark.end = std::max(mark.end, long(from + span.end));
            m_groups[mark.group].messages << message;
            continue;
        }
        if (m_groups.size() >= kMostMarks)
            continue;
        atPlace.emplace(key, placed.size());
        placed.push_back({long(from + span.start), long(from + span.end), m_groups.size()});
        m_groups.push_back({p.severity, {message}});
    }
    // In the order of their places, each from its start on: a mark that
    // overlaps the one before keeps its own start.
    std::map<int, Severity> lines;
    for (const Placed& mark : placed) {
        const Severity s = m_groups[mark.group].severity;
        e.SendScintilla(Sci::SCI_SETINDICATORCURRENT, ul(indicatorOf(s)));
        e.SendScintilla(Sci::SCI_SETINDICATORVALUE, ul(long(mark.group + 1)));
        e.SendScintilla(Sci::SCI_INDICATORFILLRANGE, ul(mark.start), mark.end - mark.start);
        auto [line, added] = lines.emplace(doc.lineOfByte(mark.start), s);
        if (!added && s == Severity::Error)
            line->second = s;
    }
    // One mark a line in the margin: an error's where the line has one.
    for (const auto& [line, s] : lines)
        e.SendScintilla(Sci::SCI_MARKERADD, ul(line), long(markerOf(s)));
    setStatus(PageProblems::summary(errors, qsizetype(problems.size()) - errors), caretText());
}

void ProblemMarks::clearMarks()
{
    // Every mark belongs to a group: with none there is nothing to clear,
    // and a large page is spared a walk over all its lines.
    if (!m_groups.empty()) {
        QsciScintillaBase& e = m_box.engine();
        const long length = m_box.document().byteLength();
        for (const Severity s : {Severity::Error, Severity::Warning}) {
            e.SendScintilla(Sci::SCI_SETINDICATORCURRENT, ul(indicatorOf(s)));
            e.SendScintilla(Sci::SCI_INDICATORCLEARRANGE, 0UL, length);
            e.SendScintilla(Sci::SCI_MARKERDELETEALL, long(markerOf(s)));
        }
        m_groups.clear();
    }
    setStatus({}, {});
}

std::vector<ProblemMarks::Mark> ProblemMarks::marks() const
{
    const QsciScintillaBase& e = m_box.engine();
    const long length = m_box.document().byteLength();
    std::vector<Mark> found;
    // Where each group's mark is in `found`, once seen.
    std::vector<std::size_t> index(m_groups.size(), SIZE_MAX);
    for (const Severity s : {Severity::Error, Severity::Warning}) {
        const auto indicator = ul(indicatorOf(s));
        for (long pos = 0; pos < length;) {
            const long end = e.SendScintilla(Sci::SCI_INDICATOREND, indicator, pos);
            const long value = e.SendScintilla(Sci::SCI_INDICATORVALUEAT, indicator, pos);
            const std::size_t group = std::size_t(value) - 1;
            if (value > 0 && group < m_groups.size()) {
                // A mark that a later one cut in two goes on after it; it
                // stands where its first piece does.
                if (index[group] == SIZE_MAX) {
                    index[group] = found.size();
                    found.push_back({pos, end, s, m_groups[group].messages});
                } else {
                    found[index[group]].end = end;
                }
            }
            if (end <= pos)
                break;
            pos = end;
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const Mark& a, const Mark& b) { return a.start < b.start; });
    return found;
}

void ProblemMarks::caretMoved()
{
    setStatus(m_summary, caretText());
}

QString ProblemMarks::caretText() const
{
    if (m_groups.empty())
        return {};
    const QsciScintillaBase& e = m_box.engine();
    const long caret = e.SendScintilla(Sci::SCI_GETCURRENTPOS);
    // The marks the caret is in, or (just after typing) at the end of.
    QStringList told;
    for (const long pos : {caret, caret - 1}) {
        if (pos < 0)
            continue;
        for (const Severity s : {Severity::Error, Severity::Warning}) {
            const long value = e.SendScintilla(Sci::SCI_INDICATORVALUEAT, ul(indicatorOf(s)), pos);
            if (value > 0 && std::size_t(value) <= m_groups.size())
                told << m_groups[std::size_t(value) - 1].messages;
        }
        if (!told.isEmpty())
            break;
    }
    return told.join(QStringLiteral("; "));
}

void ProblemMarks::goToNext()
{
    goTo(true);
}

void ProblemMarks::goToPrevious()
{
    goTo(false);
}

void ProblemMarks::goTo(bool forward)
{
    if (m_groups.empty())
        return;
    std::vector<qsizetype> starts;
    for (const Mark& m : marks())
        starts.push_back(m.start);
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    const long caret = m_box.engine().SendScintilla(Sci::SCI_GETCURRENTPOS);
    const qsizetype stop = PageProblems::nextStop(starts, caret, forward);
    if (stop >= 0)
        m_box.selectBytes(long(starts[std::size_t(stop)]), long(starts[std::size_t(stop)]));
}

void ProblemMarks::setStatus(const QString& summary, const QString& atCaret)
{
    if (summary == m_summary && atCaret == m_atCaret)
        return;
    m_summary = summary;
    m_atCaret = atCaret;
    emit statusChanged(m_summary, m_atCaret);
}

void ProblemMarks::setNotice(const QString& notice)
{
    if (notice == m_notice)
        return;
    m_notice = notice;
    emit noticeChanged(m_notice);
}
