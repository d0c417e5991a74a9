#include "editing/EditingCommands.h"

#include "editing/TextTransforms.h"
#include "editor/RichTextBox.h"
#include "widgets/WorkProgress.h"

#include <algorithm>

namespace {

constexpr double kZoomStep = 2.0;

// A long transform goes into the text this much at a time.
constexpr qsizetype kPiece = 1 << 20;

// The first `size` bytes of text or fewer, ending on a character's start.
qsizetype pieceEnd(QByteArrayView text, qsizetype size)
{
    qsizetype end = std::min(text.size(), size);
    while (end > 0 && end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return end > 0 ? end : std::min(text.size(), size);
}

// Case mapping takes one character at a time, so the new text goes in a
// piece at a time as it is made: the whole old and new text are never in
// memory beside the undo record, and the undo history makes room for it
// with its first piece. Once the text is changing there is no clean way
// back, so there is no Cancel; the progress shows.
void changeCase(RichTextBox& pad, const QString& label, QByteArray (*convert)(QByteArrayView,
                                                                              const TextTransforms::Progress&))
{
    const RichTextBox::ByteRange selection = pad.selectionBytes();
    if (selection.end <= selection.start)
        return;
    WorkProgress progress(&pad, label, selection.end - selection.start, false);
    qsizetype done = 0;
    pad.SetSelTextInPieces([&](QByteArrayView rest) {
        const qsizetype end = pieceEnd(rest, kPiece);
        RichTextBox::Piece piece{end, convert(rest.first(end), {})};
        done += end;
        progress.advance(done);
        return piece;
    });
}

}

namespace EditingCommands {

// An empty selection would only be replaced by the empty text: leave the
// document, its undo history and the changed flag alone. The selection
// keeps its own line breaks, so there is no conversion either.
void upperCase(RichTextBox& pad)
{
    changeCase(pad, QStringLiteral("Changing to upper case..."), TextTransforms::upperCaseUtf8);
}

void lowerCase(RichTextBox& pad)
{
    changeCase(pad, QStringLiteral("Changing to lower case..."), TextTransforms::lowerCaseUtf8);
}

void reverse(RichTextBox& pad)
{
    const QByteArrayView selected = pad.selectedUtf8();
    if (selected.isEmpty())
        return;
    // One copy of the selection, turned round where it lies; Cancel leaves
    // the text as it was until the copy is complete. Then it goes in a
    // piece at a time, so that the window keeps answering.
    WorkProgress progress(&pad, QStringLiteral("Reversing..."), 2 * selected.size(), true);
    QByteArray text = selected.toByteArray();
    TextTransforms::reverseUtf8(text, [&progress](qsizetype done) { return progress.advance(done); });
    if (progress.cancelled())
        return;
    progress.pastCancelling();
    qsizetype at = 0;
    pad.SetSelTextInPieces([&](QByteArrayView rest) {
        const qsizetype end = pieceEnd(rest, kPiece);
        // The last piece of the old text takes what is left of the new.
        const qsizetype size = end == rest.size() ? text.size() - at : pieceEnd(QByteArrayView(text).sliced(at), end);
        RichTextBox::Piece piece{end, text.sliced(at, size)};
        at += size;
        progress.advance(text.size() + at);
        return piece;
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
