#include "editor/SyntaxColouring.h"
#include "editor/ColourScheme.h"
#include "editor/RichTextBox.h"

#include <Qsci/qscilexercss.h>
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qscilexerjavascript.h>
#include <Qsci/qscilexerxml.h>
#include <QScopeGuard>

#include <algorithm>
#include <cstring>

namespace {

using Sci = QsciScintillaBase;

// A change of the text by more than this, or a whole new text, is looked
// through for long lines; a smaller one is judged by the caret's line.
constexpr qint64 kRescanBytes = 64 * 1024;
// How much of an untitled text is looked at for its first character.
constexpr long kLeadingBytes = 1024;
// The lexers the Scintilla catalogue of this build holds, by name.
constexpr char kPlainLexer = 1;   // SCLEX_NULL
const char* const kHtmlLexer = "hypertext.stylesheets";
const char* const kXmlLexer = "xml";
const char* const kCssLexer = "css";
const char* const kJavaScriptLexer = "cpp";
// Where the HTML lexer that colours style sheets takes the CSS word lists.
constexpr int kStyleSheetWordSets = 6;
// The engine's word lists are numbered 0 to 8.
constexpr int kWordSets = 9;

long bgr(const QColor& c)
{
    return long(c.red()) | (long(c.green()) << 8) | (long(c.blue()) << 16);
}

}

SyntaxColouring::SyntaxColouring(RichTextBox& box, QObject* parent)
    : QObject(parent),
      m_box(box),
      m_html(std::make_unique<QsciLexerHTML>()),
      m_css(std::make_unique<QsciLexerCSS>()),
      m_javaScript(std::make_unique<QsciLexerJavaScript>()),
      m_xml(std::make_unique<QsciLexerXML>())
{
    connect(&box.document(), &Document::contentsChanged, this, &SyntaxColouring::onTextChanged);
    // Setting the font gives every style the default style's look again.
    connect(&box, &RichTextBox::FontApplied, this, &SyntaxColouring::applyColours);
    m_scanPending = true;
    update();
}

SyntaxColouring::~SyntaxColouring() = default;

void SyntaxColouring::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    update();
}

void SyntaxColouring::setDocumentName(const QString& path)
{
    m_loadingName.clear();
    if (path == m_name)
        return;
    m_name = path;
    update();
}

void SyntaxColouring::prepareForLoad(const QString& path)
{
    apply(SyntaxLanguage::Plain);
    // What was said was said of the old text; the new one is judged afresh.
    setNotice(QString());
    m_scanPending = true;
    m_loadingName = path;
    // Once the load is over: a load that fails leaves the old text, and
    // the old name, without a change to react to.
    QMetaObject::invokeMethod(this, [this] {
        m_loadingName.clear();
        update();
    }, Qt::QueuedConnection);
}

void SyntaxColouring::onTextChanged()
{
    const qint64 length = m_box.engine().SendScintilla(Sci::SCI_GETLENGTH);
    if (std::abs(length - m_scannedLength) >= kRescanBytes)
        m_scanPending = true;
    if (!m_scanPending && !m_longLine) {
        // Typing makes a line long one character at a time, where the caret
        // is; its length without the line break, as the full look counts it.
        const QsciScintillaBase& e = m_box.engine();
        const auto line = static_cast<unsigned long>(
            e.SendScintilla(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(e.SendScintilla(Sci::SCI_GETCURRENTPOS))));
        if (e.SendScintilla(Sci::SCI_GETLINEENDPOSITION, line) - e.SendScintilla(Sci::SCI_POSITIONFROMLINE, line) >
            kMaxLineBytes)
            m_longLine = true;
    }
    update();
}

SyntaxLanguage SyntaxColouring::wantedLanguage() const
{
    return m_enabled ? documentLanguage() : SyntaxLanguage::Plain;
}

SyntaxLanguage SyntaxColouring::documentLanguage() const
{
    if (!m_loadingName.isEmpty())
        return SyntaxLanguages::forFileName(m_loadingName);
    if (!m_name.isEmpty())
        return SyntaxLanguages::forFileName(m_name);
    const long length = std::min<long>(m_box.engine().SendScintilla(Sci::SCI_GETLENGTH), kLeadingBytes);
    // Copied out, so that the text's gap is not moved for it; the engine
    // ends the copy with a NUL.
    QByteArray leading(length + 1, Qt::Uninitialized);
    m_box.engine().SendScintilla(Sci::SCI_GETTEXTRANGE, 0L, length, leading.data());
    return SyntaxLanguages::forUntitledText(QByteArrayView(leading.constData(), length));
}

bool SyntaxColouring::hasLineLongerThan(qint64 limit) const
{
    const QsciScintillaBase& e = m_box.engine();
    const long length = e.SendScintilla(Sci::SCI_GETLENGTH);
    if (length <= limit)
        return false;
    // The text in its two parts either side of the engine's gap, read where
    // they lie: nothing is moved or copied for a look through 20 MB.
    const long gap = e.SendScintilla(Sci::SCI_GETGAPPOSITION);
    qint64 run = 0;   // the length of the line so far
    for (const auto& [start, end] : {std::pair{0L, gap}, std::pair{gap, length}}) {
        if (end <= start)
            continue;
        const char* p = reinterpret_cast<const char*>(e.SendScintilla(
            Sci::SCI_GETRANGEPOINTER, static_cast<unsigned long>(start), end - start));
        const char* const stop = p + (end - start);
        // The next LF and the next CR ahead, each looked for again only
        // once passed: every byte is looked at once for each.
        auto next = [stop](const char* from, char c) {
            const void* found = std::memchr(from, c, size_t(stop - from));
            return found ? static_cast<const char*>(found) : stop;
        };
        const char* lf = next(p, '\n');
        const char* cr = next(p, '\r');
        for (;;) {
            const char* lineEnd = std::min(lf, cr);
            if (run + (lineEnd - p) > limit)
                return true;
            if (lineEnd == stop) {
                run += stop - p;
                break;
            }
            run = 0;
            p = lineEnd + 1;
            if (lf < p)
                lf = next(p, '\n');
            if (cr < p)
                cr = next(p, '\r');
        }
    }
    return false;
}

void SyntaxColouring::update()
{
    const SyntaxLanguage wanted = wantedLanguage();
    QString notice;
    SyntaxLanguage shown = wanted;
    if (wanted != SyntaxLanguage::Plain) {
        const qint64 length = m_box.engine().SendScintilla(Sci::SCI_GETLENGTH);
        if (m_scanPending) {
            m_longLine = hasLineLongerThan(kMaxLineBytes);
            m_scannedLength = length;
            m_scanPending = false;
        }
        if (length > kMaxDocumentBytes) {
            notice = QStringLiteral("This document is larger than 32 MB: it is shown without syntax colouring, "
                                    "which would need as much memory again.");
        } else if (m_longLine) {
            notice = QStringLiteral("This document has a line longer than 1 MB: it is shown without syntax "
                                    "colouring, so that editing that line stays quick.");
        }
        if (!notice.isEmpty())
            shown = SyntaxLanguage::Plain;
    }
    apply(shown);
    setNotice(notice);
}

void SyntaxColouring::apply(SyntaxLanguage language)
{
    if (language == m_applied)
        return;
    QsciScintillaBase& e = m_box.engine();
    // Style bytes come fresh (all plain, nothing styled yet) with each
    // language, and go when the text is shown plain.
    e.SendScintilla(Sci::SCI_SETDOCUMENTSTYLEBYTES, 0UL);
    m_applied = language;
    const auto told = qScopeGuard([this] { emit languageChanged(m_applied); });
    auto words = [&e](int set, const char* list) {
        e.SendScintilla(Sci::SCI_SETKEYWORDS, static_cast<unsigned long>(set), list ? list : "");
    };
    auto wordsOf = [&words](const QsciLexer& lexer, int firstSet) {
        // The wrappers number their word lists from 1.
        for (int set = 0; set < kWordSets - firstSet; ++set)
            words(firstSet + set, lexer.keywords(set + 1));
    };
    switch (language) {
    case SyntaxLanguage::Plain:
        e.SendScintilla(Sci::SCI_SETLEXER, static_cast<unsigned long>(kPlainLexer));
        applyColours();
        return;
    case SyntaxLanguage::Html:
        e.SendScintilla(Sci::SCI_SETLEXERLANGUAGE, 0UL, kHtmlLexer);
        wordsOf(*m_html, 0);
        wordsOf(*m_css, kStyleSheetWordSets);
        break;
    case SyntaxLanguage::Xml:
        e.SendScintilla(Sci::SCI_SETLEXERLANGUAGE, 0UL, kXmlLexer);
        wordsOf(*m_xml, 0);
        break;
    case SyntaxLanguage::Css:
        e.SendScintilla(Sci::SCI_SETLEXERLANGUAGE, 0UL, kCssLexer);
        wordsOf(*m_css, 0);
        break;
    case SyntaxLanguage::JavaScript:
        e.SendScintilla(Sci::SCI_SETLEXERLANGUAGE, 0UL, kJavaScriptLexer);
        wordsOf(*m_javaScript, 0);
        // Template literals are strings; a "#" starts no preprocessor line.
        e.SendScintilla(Sci::SCI_SETPROPERTY, "lexer.cpp.backquoted.strings", "1");
        e.SendScintilla(Sci::SCI_SETPROPERTY, "lexer.cpp.track.preprocessor", "0");
        break;
    }
    // Nothing folds: the work would be wasted, as no fold margin is shown.
    e.SendScintilla(Sci::SCI_SETPROPERTY, "fold", "0");
    e.SendScintilla(Sci::SCI_SETDOCUMENTSTYLEBYTES, 1UL);
    applyColours();
}

void SyntaxColouring::applyColours()
{
    QsciScintillaBase& e = m_box.engine();
    // Every style of a lexer in the text's colour first, then the scheme's
    // colours for this language; the predefined styles (line numbers and
    // the like) are not the lexers'.
    const long text = e.SendScintilla(Sci::SCI_STYLEGETFORE, static_cast<unsigned long>(Sci::STYLE_DEFAULT));
    for (int style = 0; style <= Sci::STYLE_MAX; ++style) {
        if (style >= Sci::STYLE_DEFAULT && style <= Sci::STYLE_LASTPREDEFINED)
            continue;
        e.SendScintilla(Sci::SCI_STYLESETFORE, static_cast<unsigned long>(style), text);
    }
    for (const ColourScheme::StyleColour& s : ColourScheme::styles(m_applied))
        e.SendScintilla(Sci::SCI_STYLESETFORE, static_cast<unsigned long>(s.style), bgr(s.colour));
}

void SyntaxColouring::setNotice(const QString& notice)
{
    if (notice == m_notice)
        return;
    m_notice = notice;
    emit noticeChanged(m_notice);
}
