#include "shell/StatusBar.h"
#include "editor/RichTextBox.h"
#include "editor/SyntaxColouring.h"
#include "text/LineBreaks.h"
#include "text/StatusText.h"
#include "widgets/Controls.h"
#include "widgets/ElidedLabel.h"

#include <QLabel>
#include <QToolButton>

#include <utility>

namespace {

// Lines and selections up to this many bytes are counted on the spot; a
// longer stretch from the counts kept along the text.
constexpr long kCountedOnTheSpot = 16 * 1024;

// Room on either side of a field's text.
constexpr int kPadding = 6;

// A field of the bar, named and made by the control helpers. The
// description tells a screen reader what its bare text ("LF", "HTML") is
// about; its name stays the text itself.
template <typename Label>
Label* field(Label* l, const char* description)
{
    l->setContentsMargins(kPadding, 0, kPadding, 0);
    l->setAccessibleDescription(QString::fromLatin1(description));
    return l;
}

void say(QLabel* field, const QString& text)
{
    field->setText(text);
    field->setVisible(!text.isEmpty());
}

}

StatusBar::StatusBar(RichTextBox& pad, const SyntaxColouring* colouring, QWidget* parent)
    : QStatusBar(parent),
      m_pad(pad),
      m_index([&document = pad.document()](qsizetype from, qsizetype to) {
          return document.utf8Range(long(from), long(to));
      })
{
    setObjectName(QStringLiteral("statusBar"));
    m_caret = Controls::named(new QToolButton(this), "cmdCaret");
    m_caret->setAutoRaise(true);
    m_caret->setFocusPolicy(Qt::NoFocus);
    m_caret->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_caret->setToolTip(QStringLiteral("Go to a line (Ctrl+G)"));
    m_caret->setAccessibleDescription(QStringLiteral("Line and column of the caret"));
    // As wide as most positions need, so that the bar does not shift as
    // the caret moves.
    m_caret->setMinimumWidth(m_caret->fontMetrics().horizontalAdvance(QStringLiteral("Ln 99999, Col 999")) +
                             4 * kPadding);
    m_selection = field(Controls::label("lblSelection", {}, this), "Length of the selection");
    m_problemAtCaret = field(Controls::named(new ElidedLabel(this), "lblProblemAtCaret"), "Problem at the caret");
    m_problems = field(Controls::label("lblProblems", {}, this), "Problems in the page");
    m_locked = field(Controls::label("lblLocked", {}, this), "Lock");
    m_language = field(Controls::label("lblLanguage", {}, this), "Language");
    m_encoding = field(Controls::label("lblEncoding", {}, this), "Encoding");
    m_lineBreaks = field(Controls::label("lblLineBreaks", {}, this), "Line breaks");

    addWidget(m_caret);
    addWidget(m_selection);
    addWidget(m_problemAtCaret, 1);
    for (QLabel* l : {m_problems, m_locked, m_language, m_encoding, m_lineBreaks})
        addPermanentWidget(l);
    m_selection->hide();
    m_problemAtCaret->hide();
    m_problems->hide();

    connect(m_caret, &QToolButton::clicked, this, &StatusBar::goToLineRequested);
    connect(&pad, &RichTextBox::caretMoved, this, &StatusBar::scheduleCaret);
    Document& document = pad.document();
    connect(&document, &Document::textChangedFrom, this, [this](long startByte) { m_index.changedFrom(startByte); });
    connect(&document, &Document::contentsChanged, this, &StatusBar::textChanged);
    connect(&document, &Document::loaded, this, [this] {
        showLineBreaks();
        m_justLoaded = true;
    });
    connect(&document, &Document::formatChanged, this, &StatusBar::showDocument);
    connect(&document, &Document::lockedChanged, this, &StatusBar::showDocument);
    m_lineBreakPause.setSingleShot(true);
    m_lineBreakPause.setInterval(400);
    connect(&m_lineBreakPause, &QTimer::timeout, this, &StatusBar::showLineBreaks);
    if (colouring)
        connect(colouring, &SyntaxColouring::languageChanged, this, &StatusBar::showLanguage);
    showLanguage(colouring ? colouring->language() : SyntaxLanguage::Plain);
    showDocument();
    showLineBreaks();
    showCaret();
}

QString StatusBar::languageName(SyntaxLanguage language)
{
    switch (language) {
    case SyntaxLanguage::Html: return QStringLiteral("HTML");
    case SyntaxLanguage::Css: return QStringLiteral("CSS");
    case SyntaxLanguage::JavaScript: return QStringLiteral("JavaScript");
    case SyntaxLanguage::Xml: return QStringLiteral("XML");
    case SyntaxLanguage::Plain: break;
    }
    return QStringLiteral("Plain text");
}

void StatusBar::setProblems(const QString& summary, const QString& atCaret)
{
    say(m_problems, summary);
    say(m_problemAtCaret, atCaret);
    m_problemAtCaret->setToolTip(atCaret);
}

void StatusBar::scheduleCaret()
{
    if (m_caretPending)
        return;
    m_caretPending = true;
    // One look per turn of the event loop, however many moves came.
    QMetaObject::invokeMethod(this, [this] {
        m_caretPending = false;
        showCaret();
    }, Qt::QueuedConnection);
}

qsizetype StatusBar::characters(long from, long to)
{
    if (to - from <= kCountedOnTheSpot)
        return StatusText::characters(m_pad.document().utf8Range(from, to));
    return m_index.characters(from, to);
}

void StatusBar::showCaret()
{
    const Document& document = m_pad.document();
    const long caret = m_pad.caretByte();
    const int line = document.lineOfByte(caret);
    m_caret->setText(StatusText::caret(line, int(characters(document.lineStartByte(line), caret))));
    const RichTextBox::ByteRange selected = m_pad.selectionBytes();
    say(m_selection, StatusText::selection(characters(selected.start, selected.end)));
}

void StatusBar::showDocument()
{
    const Document& document = m_pad.document();
    m_encoding->setText(document.format().encodingName());
    say(m_locked, document.isLocked() ? QStringLiteral("Locked") : QString());
    sayLineBreaks();
}

void StatusBar::showLineBreaks()
{
    m_lineBreakPause.stop();
    m_breaks = LineBreaks::detect(m_pad.document().utf8());
    sayLineBreaks();
}

void StatusBar::sayLineBreaks()
{
    // A text without line breaks shows those Enter would type.
    m_lineBreaks->setText(m_breaks == LineBreaks::Style::None ? m_pad.document().format().lineBreakName()
                                                              : LineBreaks::name(m_breaks));
}

void StatusBar::showLanguage(SyntaxLanguage language)
{
    m_language->setText(languageName(language));
}

void StatusBar::textChanged()
{
    // An edit may leave the caret where it was and still change its line
    // (text put in or taken out before it by a command).
    scheduleCaret();
    if (std::exchange(m_justLoaded, false))
        return;   // looked at as the text came
    if (m_pad.document().byteLength() <= kSmallText)
        showLineBreaks();
    else
        m_lineBreakPause.start();
}
