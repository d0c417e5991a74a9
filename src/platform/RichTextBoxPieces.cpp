#include "platform/Failure.h"
#include "platform/RichTextBox.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <new>

Result<> RichTextBox::SetSelTextFrom(qint64 expectedBytes, const PieceWriter& write)
{
    // Program steps write even when the user's typing is locked out.
    const bool locked = Locked();
    if (locked)
        SendScintilla(SCI_SETREADONLY, 0UL);
    const long anchor = SendScintilla(SCI_GETANCHOR);
    const long caret = SendScintilla(SCI_GETCURRENTPOS);
    const ByteRange selected = selectionBytes();
    const long before = SendScintilla(SCI_GETLENGTH);
    if (expectedBytes > 0) {
        // One byte more: the engine makes new room when an insertion would
        // fill the gap exactly.
        const qint64 most = std::numeric_limits<int>::max();
        SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(std::min(before + expectedBytes + 1, most)));
    }

    // The new text goes in behind the selection, which goes once all of it
    // is in: a failure on the way only has to take out what came.
    const bool changeWasPending = m_changePending;
    long at = selected.end;
    Result<> result;
    {
        ChangeBatch batch(this);
        SendScintilla(SCI_BEGINUNDOACTION);
        try {
            result = write([&](const char* utf8, qsizetype length) {
                if (length <= 0)
                    return;
                SendScintilla(SCI_SETTARGETRANGE, static_cast<unsigned long>(at), at);
                SendScintilla(SCI_REPLACETARGET, static_cast<uintptr_t>(length), utf8);
                at += long(length);
            });
        } catch (...) {
            result = Failure(describeFailure(std::current_exception()));
        }
        const long inserted = SendScintilla(SCI_GETLENGTH) - before;
        // The engine takes what it can when memory runs out, and says nothing.
        if (result && inserted != at - selected.end)
            result = Failure(describeFailure(std::make_exception_ptr(std::bad_alloc())));
        SendScintilla(SCI_SETTARGETRANGE, static_cast<unsigned long>(result ? selected.start : selected.end),
                      result ? selected.end : selected.end + inserted);
        SendScintilla(SCI_REPLACETARGET, 0UL, "");
        SendScintilla(SCI_ENDUNDOACTION);
        if (!result) {
            // The step that came to nothing goes back onto the redo side,
            // so that Undo undoes the user's last edit as before.
            if (inserted > 0)
                SendScintilla(SCI_UNDO);
            m_changePending = changeWasPending;
        }
    }
    if (result)
        placeSelection(selected.start + (at - selected.end), selected.start + (at - selected.end), false);
    else
        placeSelection(anchor, caret, false);
    if (locked)
        SendScintilla(SCI_SETREADONLY, 1UL);
    return result;
}
