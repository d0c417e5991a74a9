#include "editor/MatchMarks.h"
#include "editor/BracePair.h"
#include "editor/ColourScheme.h"
#include "editor/MarkIds.h"
#include "editor/PageOutline.h"
#include "editor/RichTextBox.h"

#include <QEvent>
#include <algorithm>

namespace {

using Sci = QsciScintillaBase;
constexpr auto kTagMark = static_cast<unsigned long>(MarkIds::kTagPair);

long bgr(const QColor& c)
{
    return long(c.red()) | (long(c.green()) << 8) | (long(c.blue()) << 16);
}

}

MatchMarks::MatchMarks(RichTextBox& box, PageOutline& outline, QObject* parent)
    : QObject(parent), m_box(box), m_outline(outline)
{
    m_soon.setSingleShot(true);
    m_soon.setInterval(0);
    m_pause.setSingleShot(true);
    m_pause.setInterval(kTypingPauseMs);
    connect(&m_soon, &QTimer::timeout, this, &MatchMarks::followCaret);
    connect(&m_pause, &QTimer::timeout, this, [this] {
        m_edited = false;
        markTags(m_box.SendScintilla(Sci::SCI_GETCURRENTPOS));
    });
    connect(&box, &QsciScintillaBase::SCN_UPDATEUI, this, &MatchMarks::onUpdate);
    connect(&box.document(), &Document::contentsChanged, this, &MatchMarks::onTextChanged);
    connect(&box, &RichTextBox::FontApplied, this, &MatchMarks::restyle);
    box.installEventFilter(this);

    m_box.SendScintilla(Sci::SCI_INDICSETSTYLE, kTagMark, long(Sci::INDIC_STRAIGHTBOX));
    m_box.SendScintilla(Sci::SCI_INDICSETFORE, kTagMark, bgr(ColourScheme::matchOutline()));
    m_box.SendScintilla(Sci::SCI_INDICSETALPHA, kTagMark, 60L);
    m_box.SendScintilla(Sci::SCI_INDICSETOUTLINEALPHA, kTagMark, 140L);
    m_box.SendScintilla(Sci::SCI_INDICSETUNDER, kTagMark, 1L);
    m_box.SendScintilla(Sci::SCI_SETCARETLINEBACK, bgr(ColourScheme::caretLineBackground()));
    // Also while another window has the keyboard (Find, say).
    m_box.SendScintilla(Sci::SCI_SETCARETLINEVISIBLEALWAYS, 1UL);
    showCaretLine();
    restyle();
}

bool MatchMarks::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_box && event->type() == QEvent::EnabledChange)
        showCaretLine();
    return QObject::eventFilter(watched, event);
}

void MatchMarks::showCaretLine()
{
    m_box.SendScintilla(Sci::SCI_SETCARETLINEVISIBLE, m_box.isEnabled() ? 1UL : 0UL);
}

void MatchMarks::restyle()
{
    // Setting the font gives every style the plain text's look again.
    const auto style = static_cast<unsigned long>(Sci::STYLE_BRACELIGHT);
    m_box.SendScintilla(Sci::SCI_STYLESETBACK, style, bgr(ColourScheme::matchBackground()));
}

void MatchMarks::onUpdate(int updated)
{
    // Content covers the colouring too: brackets pair only with brackets of
    // their own style, known once the text around them is coloured.
    if ((updated & Sci::SC_UPDATE_CONTENT) || m_box.SendScintilla(Sci::SCI_GETCURRENTPOS) != m_caret)
        m_soon.start();
}

void MatchMarks::onTextChanged()
{
    m_edited = true;
    m_bracketsMoved = true;
    m_tagsMoved = true;
    m_soon.start();
}

void MatchMarks::followCaret()
{
    m_caret = m_box.SendScintilla(Sci::SCI_GETCURRENTPOS);
    markBrackets(m_caret);
    if (m_edited && m_box.document().byteLength() > kQuickBytes) {
        m_pause.start();
        return;
    }
    m_pause.stop();
    m_edited = false;
    markTags(m_caret);
}

void MatchMarks::markBrackets(long caret)
{
    auto charAt = [this](long position) {
        return char(m_box.SendScintilla(Sci::SCI_GETCHARAT, static_cast<unsigned long>(position)));
    };
    const long length = m_box.document().byteLength();
    // The bracket before the caret first, as the one just typed or passed.
    long bracket = -1;
    if (caret > 0 && BracePair::isBracket(charAt(caret - 1)))
        bracket = caret - 1;
    else if (caret < length && BracePair::isBracket(charAt(caret)))
        bracket = caret;
    long partner = -1;
    if (bracket >= 0) {
        const long from = std::max(0L, bracket - kBracketReach);
        const long to = std::min(length, bracket + kBracketReach + 1);
        const QByteArrayView text = m_box.document().utf8Range(from, to);
        const long style = m_box.SendScintilla(Sci::SCI_GETSTYLEAT, static_cast<unsigned long>(bracket));
        const auto found = BracePair::partner(text, bracket - from, [&](qsizetype i) {
            return m_box.SendScintilla(Sci::SCI_GETSTYLEAT, static_cast<unsigned long>(from + i)) == style;
        });
        if (found)
            partner = from + long(*found);
        else
            bracket = -1;
    }
    if (bracket == m_bracket && partner == m_partner && !m_bracketsMoved)
        return;
    m_bracketsMoved = false;
    m_bracket = bracket;
    m_partner = partner;
    m_box.SendScintilla(Sci::SCI_BRACEHIGHLIGHT, static_cast<unsigned long>(bracket), partner);
}

void MatchMarks::markTags(long caret)
{
    std::vector<Html::ByteRange> tags;
    if (const std::optional<Html::TagPair> pair = m_outline.tagPairAt(caret)) {
        tags.push_back(pair->startName);
        if (!pair->endName.isNull())
            tags.push_back(pair->endName);
    }
    // Marks made before an edit have moved with the text.
    if (tags == m_tags && !m_tagsMoved)
        return;
    m_tagsMoved = false;
    m_box.SendScintilla(Sci::SCI_SETINDICATORCURRENT, kTagMark);
    if (!m_tags.empty())
        m_box.SendScintilla(Sci::SCI_INDICATORCLEARRANGE, 0UL, m_box.document().byteLength());
    for (const Html::ByteRange& r : tags)
        m_box.SendScintilla(Sci::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(r.begin), long(r.end - r.begin));
    m_tags = std::move(tags);
}
