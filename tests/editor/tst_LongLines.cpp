#include "TestRegistry.h"
#include "editor/EngineProbe.h"
#include "editor/RichTextBox.h"

#include <FixedPitchAdvances.h>

#include <QFontDatabase>
#include <QImage>
#include <QTest>
#include <QTextLayout>
#include <QTextLine>

#include <vector>

namespace {

// One line of unit repeated to at least size bytes, shown in a small view.
QByteArray showLongLine(RichTextBox& box, const QByteArray& unit, qsizetype size, const QByteArray& tail = {})
{
    QByteArray line;
    while (line.size() < size)
        line += unit;
    line += tail;
    box.resize(400, 120);
    box.SetText(QString::fromLatin1(line));
    box.show();
    return line;
}

// Scrolls so that a position of the (first) line is in the middle of the view.
int centre(RichTextBox& box, long pos)
{
    const long x = EngineProbe::of(box).SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, pos);
    const long offset = EngineProbe::of(box).SendScintilla(QsciScintillaBase::SCI_GETXOFFSET);
    EngineProbe::of(box).SendScintilla(QsciScintillaBase::SCI_SETXOFFSET, static_cast<unsigned long>(offset + x - box.viewport()->width() / 2));
    return int(EngineProbe::of(box).SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, pos));
}

// Positions after each character as the text layout engine gives them, one
// per byte of the UTF-8 text, as the editing control expects them.
std::vector<float> layoutPositions(const QByteArray& utf8, const QFont& font, QPaintDevice* pd)
{
    const QString text = QString::fromUtf8(utf8);
    QTextLayout layout(text, font, pd);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    std::vector<float> positions;
    int unit = 0;
    for (int i = 0; i < utf8.size();) {
        const unsigned char b = utf8[i];
        const int bytes = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        unit += bytes == 4 ? 2 : 1;
        const float x = float(line.cursorToX(unit));
        for (int k = 0; k < bytes; ++k, ++i)
            positions.push_back(x);
    }
    return positions;
}

bool measures(const QFont& font, QPaintDevice* pd, const QByteArray& utf8)
{
    QsciFixedPitchAdvances advances;
    std::vector<float> positions(size_t(utf8.size()) + 1);
    return advances.measure(font, pd, utf8.constData(), int(utf8.size()), positions.data());
}

} // namespace

class LongLinesTest : public QObject {
    Q_OBJECT
private slots:
    void fixedPitchTableGivesTheLayoutsPositions()
    {
        QWidget device;
        const QByteArray text = QStringLiteral(
            "<p class=\"x\">Grüße, “quoted” – 5 € → ok ½ ±½ ™ ≠ ╔═╗ Ωμ Жё Ճ ẞ</p>"
            "\u00A0 fi ffl -> != <= AV To")
                                    .toUtf8();
        for (const QString& family : {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono")}) {
            if (!QFontDatabase::families().contains(family))
                continue;
            for (const qreal size : {7.5, 10.0, 13.0}) {
                for (const bool bold : {false, true}) {
                    QFont font(family);
                    font.setPointSizeF(size);
                    font.setBold(bold);
                    font.setItalic(bold);
                    QsciFixedPitchAdvances advances;
                    std::vector<float> positions(size_t(text.size()));
                    QVERIFY2(advances.measure(font, &device, text.constData(), int(text.size()), positions.data()),
                             qPrintable(family));
                    const std::vector<float> expected = layoutPositions(text, font, &device);
                    for (size_t i = 0; i < positions.size(); ++i)
                        QVERIFY2(qAbs(positions[i] - expected[i]) < 1e-3,
                                 qPrintable(QStringLiteral("%1 %2pt byte %3: %4 vs %5")
                                                .arg(family).arg(size).arg(i).arg(positions[i]).arg(expected[i])));
                }
            }
        }
    }

    void declinesTextItCannotMeasureExactly()
    {
        QWidget device;
        const QFont mono(QStringLiteral("DejaVu Sans Mono"));
        QVERIFY(measures(mono, &device, "plain ASCII"));
        QVERIFY(!measures(QFont(QStringLiteral("DejaVu Sans")), &device, "plain ASCII"));   // proportional
        QVERIFY(!measures(mono, &device, QStringLiteral("e\u0301").toUtf8()));   // combining mark
        QVERIFY(!measures(mono, &device, QStringLiteral("\u0436\u0483").toUtf8()));   // Cyrillic combining
        QVERIFY(!measures(mono, &device, QStringLiteral("שלום").toUtf8()));        // right to left
        QVERIFY(!measures(mono, &device, QStringLiteral("漢字").toUtf8()));
        QVERIFY(!measures(mono, &device, QStringLiteral("a😀").toUtf8()));
        QVERIFY(!measures(mono, &device, "a\tb"));
        QVERIFY(!measures(mono, &device, QByteArray("a\x01")));
        QVERIFY(!measures(mono, &device, QByteArray("a\xC3")));       // cut sequence
        QVERIFY(!measures(mono, &device, QByteArray("a\xC0\xAF")));   // overlong '/'
        QVERIFY(!measures(mono, &device, QByteArray("a\x80")));       // stray continuation
    }

    // Drawing a long line starts near what is visible instead of at the
    // line's start; a selection that begins far to the left must still end,
    // on screen, exactly at its end.
    void selectionFromFarLeftEndsWhereItEnds()
    {
        RichTextBox box;
        showLongLine(box, "lorem ipsum ", 300000);
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const int end = 200003;
        EngineProbe::of(box).SendScintilla(QsciScintillaBase::SCI_SETSEL, 10UL, long(end));
        EngineProbe::of(box).SendScintilla(QsciScintillaBase::SCI_SCROLLCARET);
        EngineProbe::of(box).SendScintilla(QsciScintillaBase::SCI_SETCARETWIDTH, 0UL);
        const int x = centre(box, end);
        const QImage image = box.viewport()->grab().toImage();
        QVERIFY2(x > 60 && x < image.width() - 60, qPrintable(QString::number(x)));
        const QRgb paper = image.pixel(x + 3, 0);
        const QRgb selected = image.pixel(x - 3, 0);
        QVERIFY(paper != selected);
        // Left of the end the line's background is the selection's, right of
        // it there is none of it; glyphs cover only a part of either side.
        const int lineHeight = int(EngineProbe::of(box).SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0UL));
        int selectedLeft = 0, selectedRight = 0;
        for (int dx = 2; dx < 60; ++dx) {
            for (int y = 0; y < lineHeight; ++y) {
                selectedLeft += image.pixel(x - dx, y) == selected;
                selectedRight += image.pixel(x + dx, y) == selected;
            }
        }
        QVERIFY2(selectedLeft > 58 * lineHeight / 2, qPrintable(QString::number(selectedLeft)));
        QCOMPARE(selectedRight, 0);
    }

    void textIsDrawnAcrossTheVisibleEndOfALongLine()
    {
        RichTextBox box;
        const QByteArray line = showLongLine(box, "<td>cell</td>", 1000000, "END");
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        EngineProbe::of(box).SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
        const int endX = centre(box, long(line.size()));
        const QImage image = box.viewport()->grab().toImage();
        const int lineHeight = int(EngineProbe::of(box).SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0UL));
        QVERIFY2(endX > 100 && endX + 20 < image.width(), qPrintable(QString::number(endX)));
        // Ink in every 40-pixel stretch from the left edge up to the end.
        const QRgb paper = image.pixel(endX + 20, 1);
        for (int left = 4; left + 40 <= endX; left += 40) {
            int ink = 0;
            for (int x = left; x < left + 40; ++x)
                for (int y = 0; y < lineHeight; ++y)
                    ink += image.pixel(x, y) != paper;
            QVERIFY2(ink > 20, qPrintable(QStringLiteral("no text at x=%1").arg(left)));
        }
    }
};

QP_REGISTER_TEST(LongLinesTest)
#include "tst_LongLines.moc"
