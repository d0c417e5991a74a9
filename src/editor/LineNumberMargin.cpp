#include "editor/LineNumberMargin.h"
#include "editor/ColourScheme.h"
#include "editor/RichTextBox.h"

namespace {

using Sci = QsciScintillaBase;

constexpr unsigned long kMargin = 0;
// Never narrower than two digits: the first lines of a new document would
// otherwise move the text sideways at the tenth.
constexpr int kMinDigits = 2;

long bgr(const QColor& c)
{
    return long(c.red()) | (long(c.green()) << 8) | (long(c.blue()) << 16);
}

int digitsOf(long count)
{
    int digits = 1;
    while (count >= 10) {
        count /= 10;
        ++digits;
    }
    return std::max(digits, kMinDigits);
}

}

LineNumberMargin::LineNumberMargin(RichTextBox& box, QObject* parent) : QObject(parent), m_box(box)
{
    m_box.engine().SendScintilla(Sci::SCI_SETMARGINTYPEN, kMargin, long(Sci::SC_MARGIN_NUMBER));
    connect(&box.document(), &Document::contentsChanged, this, &LineNumberMargin::onTextChanged);
    connect(&box, &RichTextBox::FontApplied, this, &LineNumberMargin::restyle);
    restyle();
}

void LineNumberMargin::setVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    m_digits = 0;
    fit();
}

int LineNumberMargin::width() const
{
    return int(m_box.engine().SendScintilla(Sci::SCI_GETMARGINWIDTHN, kMargin));
}

void LineNumberMargin::onTextChanged()
{
    if (m_visible && digitsOf(m_box.engine().SendScintilla(Sci::SCI_GETLINECOUNT)) != m_digits)
        fit();
}

void LineNumberMargin::restyle()
{
    QsciScintillaBase& e = m_box.engine();
    const auto style = static_cast<unsigned long>(Sci::STYLE_LINENUMBER);
    e.SendScintilla(Sci::SCI_STYLESETFORE, style, bgr(ColourScheme::lineNumberText()));
    e.SendScintilla(Sci::SCI_STYLESETBACK, style, bgr(ColourScheme::lineNumberBackground()));
    // The digits' width follows the font.
    m_digits = 0;
    fit();
}

void LineNumberMargin::fit()
{
    QsciScintillaBase& e = m_box.engine();
    if (!m_visible) {
        e.SendScintilla(Sci::SCI_SETMARGINWIDTHN, kMargin, 0L);
        return;
    }
    m_digits = digitsOf(e.SendScintilla(Sci::SCI_GETLINECOUNT));
    // The widest number of that many digits, with half a digit of room
    // either side.
    const QByteArray widest = QByteArray(m_digits + 1, '9');
    const long width = e.SendScintilla(Sci::SCI_TEXTWIDTH, static_cast<unsigned long>(Sci::STYLE_LINENUMBER),
                                       widest.constData());
    e.SendScintilla(Sci::SCI_SETMARGINWIDTHN, kMargin, width);
}
