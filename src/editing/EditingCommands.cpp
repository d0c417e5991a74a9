#include "editing/EditingCommands.h"

#include "editing/TextTransforms.h"
#include "platform/RichTextBox.h"

namespace {

constexpr double kZoomStep = 2.0;

template <typename Transform>
void transformSelection(RichTextBox& pad, Transform transform)
{
    const QString selected = pad.SelText();
    // An empty selection would only be replaced by the empty text: leave the
    // document, its undo history and the changed flag alone.
    if (selected.isEmpty())
        return;
    // The selection keeps its own line breaks, so no conversion here.
    pad.SetSelText(transform(selected));
}

}

namespace EditingCommands {

void upperCase(RichTextBox& pad)
{
    transformSelection(pad, TextTransforms::upperCase);
}

void lowerCase(RichTextBox& pad)
{
    transformSelection(pad, TextTransforms::lowerCase);
}

void reverse(RichTextBox& pad)
{
    transformSelection(pad, TextTransforms::reversed);
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
