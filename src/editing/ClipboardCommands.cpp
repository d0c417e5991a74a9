#include "editing/ClipboardCommands.h"

#include "services/Prompts.h"

#include <QMimeData>

namespace {

constexpr int kShiftCtrl = 2;
constexpr int kKeyE = 69;
constexpr int kKeyR = 82;
constexpr int kKeyV = 86;

QString clipboardText(QClipboard* clipboard)
{
    return clipboard ? clipboard->text(QClipboard::Clipboard) : QString();
}

}

namespace ClipboardCommands {

void copy(RichTextBox& pad, QClipboard* clipboard)
{
    const QString selected = pad.SelText();
    if (selected.isEmpty() || !clipboard)
        return;
    // setText replaces everything the clipboard held by the text alone.
    clipboard->setText(selected, QClipboard::Clipboard);
}

void cut(RichTextBox& pad, QClipboard* clipboard)
{
    const QString selected = pad.SelText();
    if (selected.isEmpty() || !clipboard)
        return;
    copy(pad, clipboard);
    // A clipboard that did not take the text must not cost the user it.
    if (clipboardText(clipboard) != selected)
        return;
    pad.SetSelText(QString());
}

void paste(RichTextBox& pad, QClipboard* clipboard)
{
    const QString text = TextFormats::normalizedLineBreaks(clipboardText(clipboard), pad.document().format().lineBreak);
    // Nothing to insert and nothing to replace: not an edit at all.
    if (text.isEmpty() && pad.SelLength() == 0)
        return;
    pad.SetSelText(text);
}

void deleteSelection(RichTextBox& pad)
{
    if (pad.SelLength() == 0)
        return;
    pad.SetSelText(QString());
}

void undo(RichTextBox& pad)
{
    pad.Undo();
}

void selectAll(RichTextBox& pad)
{
    pad.SetSelStart(0);
    pad.SetSelLength(pad.TextLength());
}

void lengthOfSelected(RichTextBox& pad, Prompts& prompts)
{
    const int length = pad.SelLength();
    const QString text = length > 0
        ? QStringLiteral("Characters in currently selected text: ") + QString::number(length) + QLatin1Char('.')
        : QStringLiteral("No text selected.");
    prompts.message(text, Prompts::Icon::Information, Prompts::Buttons::Ok);
}

bool swallowEditorKey(int keyCode, int shift, QClipboard* clipboard)
{
    if (shift != kShiftCtrl)
        return false;
    switch (keyCode) {
    case kKeyV: {
        if (!clipboard)
            return false;
        const QMimeData* data = clipboard->mimeData(QClipboard::Clipboard);
        if (data && data->hasImage())
            return true;
        const QString text = clipboardText(clipboard);
        if (!text.isEmpty())
            clipboard->setText(text, QClipboard::Clipboard);
        return false;
    }
    case kKeyE:   // would centre the paragraph in a rich-text control
    case kKeyR:   // would right-align it
        return true;
    default:
        return false;
    }
}

void filterEditorKey(RichTextBox::KeyDownArgs& args, QClipboard* clipboard)
{
    if (swallowEditorKey(args.keyCode, args.shift, clipboard))
        args.keyCode = 0;
}

}
