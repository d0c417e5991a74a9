#include "editing/EditingCommands.h"

#include "editing/TextTransforms.h"
#include "editor/RichTextBox.h"

namespace {

constexpr double kZoomStep = 2.0;

// An empty selection would only be replaced by the empty text: leave the
// document, its undo history and the changed flag alone. The selection
// keeps its own line breaks, so there is no conversion either.
template <typename Transform>
void transformSelection(RichTextBox& pad, Transform transform)
{
    const QByteArrayView selected = pad.selectedUtf8();
    if (selected.isEmpty())
        return;
    pad.SetSelTextUtf8(transform(selected));
}

}

namespace EditingCommands {

void upperCase(RichTextBox& pad)
{
    transformSelection(pad, TextTransforms::upperCaseUtf8);
}

void lowerCase(RichTextBox& pad)
{
    transformSelection(pad, TextTransforms::lowerCaseUtf8);
}

void reverse(RichTextBox& pad)
{
    // One copy of the selection, turned round where it lies.
    transformSelection(pad, [](QByteArrayView selected) {
        QByteArray text = selected.toByteArray();
        TextTransforms::reverseUtf8(text);
        return text;
    });
}

void insertTimeOnly(RichTextBox& pad, const QDateTime& now, const QLocale& locale)
{
    pad.InsertText(TextTransforms::longTimeText(now.time(), locale));
}

void insertDateOnly(RichTextBox& pad, const QDateTime& now, const QLocale& locale)
{
    pad.InsertText(TextTransforms::shortDateText(now.date(), locale));
}

void insertTimeAndDate(RichTextBox& pad, const QDateTime& now, const QLocale& locale)
{
    pad.InsertText(TextTransforms::generalDateTimeText(now, locale));
}

void goToStart(RichTextBox& pad)
{
    pad.SetSelStart(0);
}

void goToEnd(RichTextBox& pad)
{
    pad.SetSelStart(pad.TextLength());
}

void zoomIn(RichTextBox& pad)
{
    pad.SetFontSize(pad.FontSize() + kZoomStep);
}

void zoomOut(RichTextBox& pad)
{
    pad.SetFontSize(pad.FontSize() - kZoomStep);
}

}
