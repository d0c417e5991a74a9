// Quirkpad: fast measuring of text in a fixed-pitch font.
//
// Scintilla measures every segment of a line through a QTextLayout, about
// 40 microseconds per segment of 100 bytes: a line of 5 MB costs two seconds
// for every layout, and it is laid out again after every edit. In a
// fixed-pitch font without kerning or ligatures a simple character has the
// same advance wherever it stands, so the position after each character is
// the running sum of advances looked up once per character. The table is
// used only where that gives exactly what the QTextLayout gives: it checks
// the font against a QTextLayout first, and any text with characters outside
// its simple ranges takes the QTextLayout path.

#ifndef QSCI_FIXED_PITCH_ADVANCES_H
#define QSCI_FIXED_PITCH_ADVANCES_H

#include <array>
#include <optional>
#include <unordered_map>

#include <QFont>
#include <QFontMetricsF>

class QPaintDevice;

class QsciFixedPitchAdvances
{
public:
    // Fills positions[i], for each byte i of the UTF-8 text, with the x of
    // the end of the character that byte belongs to, and returns true; or
    // returns false, positions undefined, when the table cannot measure this
    // text in this font on this device.
    bool measure(const QFont &font, QPaintDevice *pd, const char *s, int len,
            float *positions);

    // Whether a character is one whose advance never depends on its
    // neighbours in a font that passed the check: Latin, Greek, Cyrillic and
    // Armenian without combining marks, general punctuation, currency,
    // letterlike symbols, arrows, mathematical operators and box drawing.
    static bool isSimple(char32_t cp);

private:
    enum class Verdict { Unknown, Usable, Unusable };

    bool usable(const QFont &font, QPaintDevice *pd);
    bool matchesLayout(const QFont &font, QPaintDevice *pd);
    // The advance of a simple character, or a negative value when the font
    // has no glyph of its own for it.
    qreal advance(char32_t cp);

    Verdict verdict = Verdict::Unknown;
    int dpiX = 0, dpiY = 0;
    std::optional<QFontMetricsF> metrics;
    std::array<qreal, 128> ascii {};
    bool asciiFilled = false;
    std::unordered_map<char32_t, qreal> others;
};

// The font behind a Scintilla font handle: the QFont (what the handle points
// at, so code that only needs the QFont reads it as one) and its advances.
struct QsciFont : QFont
{
    QsciFixedPitchAdvances advances;
};

#endif
