#pragma once
#include "platform/Result.h"
#include "platform/TextFile.h"
#include "platform/TextFormat.h"

#include <Qsci/qsciscintilla.h>
#include <QByteArrayView>
#include <QKeySequence>
#include <QList>
#include <QString>

#include <functional>

// The editing control every command works through. Positions and lengths are
// counted in UTF-16 code units, as QString counts them; a CR LF line break
// counts two. Change is raised once, synchronously, inside every step that
// changes the text: a key press, a drop, or a program step (SetText,
// SetSelText, LoadFile, Undo).
//
// It is the engine's widget, but it offers only the operations below: the
// engine's own ways to change the text, the selection, the keys or the
// editing modes are private here, because each would bypass the Change
// event, the insertion rule or the lock. There is one stream selection, no
// column or multiple selections, and the keyboard does only what a plain
// edit box does (see the list of kept keys in the source).
class RichTextBox : public QsciScintilla {
    Q_OBJECT
public:
    // Key-down arguments: a Windows-style key code (A = 65 ... Z = 90,
    // F1 = 112 ...) and the shift state (1 Shift, 2 Ctrl, 4 Alt). Setting
    // keyCode to 0 swallows the key.
    struct KeyDownArgs {
        int keyCode = 0;
        int shift = 0;
    };

    explicit RichTextBox(QWidget* parent = nullptr);

    // The least the undo history may keep before its oldest steps go.
    static constexpr qint64 kUndoMemoryFloor = qint64(256) << 20;

    QString Text() const;
    void SetText(const QString& text);
    // The same, from UTF-8 bytes: no conversion for text that is UTF-8 already.
    void SetTextUtf8(QByteArrayView utf8);
    int TextLength() const;

    QString SelText() const;
    // Replaces the selection (or inserts at the caret); the caret ends after
    // the new text with nothing selected. Line breaks are taken as given.
    void SetSelText(const QString& text);
    // The insertion rule for text the program builds with CR LF: the line
    // breaks follow the document's style.
    void InsertText(const QString& crlfText);
    // SetSelText from UTF-8 bytes: no conversion for text that is UTF-8 already.
    void SetSelTextUtf8(QByteArrayView utf8);
    // SetSelText from text made in pieces: `write` hands each piece of
    // UTF-8 to the sink it is given. One edit and one undo step, and no copy
    // of the new text besides the document's own and its undo record: a
    // merge of large files is never held whole on the way in. Room for about
    // expectedBytes more is made at once, so that the document is not copied
    // as it grows. When `write` fails, or the control cannot take a piece,
    // the text, the selection and the undo steps are as they were and no
    // change is raised (defined in RichTextBoxPieces.cpp).
    using PieceWriter = std::function<Result<>(const TextFile::Utf8Sink& sink)>;
    Result<> SetSelTextFrom(qint64 expectedBytes, const PieceWriter& write);
    // SetSelTextUtf8 a piece at a time, for new text made from the selection
    // piece by piece: `next` is shown the selected bytes not yet replaced
    // and answers how many of them, from their start, the next piece
    // replaces (at least one) and by what. One undo step and one Change, as
    // for SetSelTextUtf8; the old and the new text are never both whole in
    // memory beside the undo record.
    struct Piece {
        qsizetype replaces = 0;
        QByteArray text;
    };
    void SetSelTextInPieces(const std::function<Piece(QByteArrayView rest)>& next);
    // SetTextUtf8 the same way: the whole text, the caret to the start.
    void SetTextInPieces(const std::function<Piece(QByteArrayView rest)>& next);

    int SelStart() const;
    void SetSelStart(int position);
    int SelLength() const;
    void SetSelLength(int length);

    bool Locked() const;
    void SetLocked(bool locked);

    QString FontName() const { return m_fontName; }
    double FontSize() const { return m_fontHundredths / 100.0; }
    // Each returns false and changes nothing for a font or size the control
    // cannot take (a name not installed, a size of 0 or below, or absurdly big).
    bool SetFontName(const QString& name);
    bool SetFontSize(double points);

    // Replaces the whole text by the file's; the document takes the file's
    // format. A file that cannot be read, or is too large, leaves the text
    // as it was; a failure once the old text has gone (the file changed
    // while read, memory ran out) leaves an empty new document and says so
    // (textLost). Undo collection and the lock are back as they were on
    // every way out; no failure escapes as an exception.
    TextFile::ReadResult LoadFile(const QString& path);
    // Replaces the whole text as a load does, from text kept elsewhere (a
    // recovered document): no undo step back to the old text, the document
    // takes the format, the caret goes to the start.
    void LoadText(QByteArrayView utf8, const TextFormat& format);
    // Writes the whole text in the document's format (see TextFile::write);
    // the document takes the format that was written.
    TextFile::WriteResult SaveFile(const QString& path);

    TextFormat format() const { return m_format; }
    void setFormat(const TextFormat& format);

    // The document's bytes as UTF-8, without a copy; valid until the next change.
    QByteArrayView utf8() const;
    // The selected bytes, the same way.
    QByteArrayView selectedUtf8() const;
    // How many bytes of text the undo history keeps (see the constructor
    // for how much it may).
    qint64 undoMemory() const;

    // The selection as byte offsets into utf8(), and selecting by them (the
    // caret at the end, the view following it), for work on the bytes.
    struct ByteRange {
        long start = 0;
        long end = 0;
    };
    ByteRange selectionBytes() const;
    void selectBytes(long start, long end);

    void SetFocus();
    void Undo();
    bool CanUndo() const;

    // UTF-16 position <-> byte position in the control.
    long bytePos(int utf16Pos) const;
    int utf16Pos(long bytePos) const;

    // Removes the control's own key bindings for these keys, so that the
    // window's shortcuts of the same keys act instead.
    void releaseKeys(const QList<QKeySequence>& keys);

    static bool fontAvailable(const QString& name);

    // No minimum size of its own: a window may shrink the text area away.
    QSize minimumSizeHint() const override { return {0, 0}; }

    // The engine itself, by name, for what the program never edits through:
    // measurements, tests and page layout for printing.
    QsciScintillaBase& engine() { return *this; }
    const QsciScintillaBase& engine() const { return *this; }

    // Groups the changes of one step into a single Change.
    class ChangeBatch {
    public:
        explicit ChangeBatch(RichTextBox* box);
        ~ChangeBatch();
        ChangeBatch(const ChangeBatch&) = delete;
        ChangeBatch& operator=(const ChangeBatch&) = delete;
    private:
        RichTextBox* m_box;
    };

signals:
    void Change();
    void KeyDown(RichTextBox::KeyDownArgs& args);
    // Button 1 left, 2 right, 4 middle; shift state as for KeyDown.
    void MouseDown(int button, int shift, const QPoint& position);
    // The keyboard's menu key: where a context menu belongs.
    void ContextMenuKey(const QPoint& position);
    // Ctrl with the mouse wheel, one notch at a time: the window zooms by
    // changing the font size, so that the zoom ends when the font is set.
    void WheelZoom(bool zoomIn);
    // The font was set: every style has the default style's look again
    // (font, size and colours), for colouring to give its colours back.
    void FontApplied();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void changeEvent(QEvent* e) override;
    QByteArray fromMimeData(const QMimeData* source, bool& rectangular) const override;

private:
    // The engine's own editing, selecting and mode switching: reachable only
    // from inside, where every edit runs in a ChangeBatch. engine() is the
    // door for code that must talk to the engine itself.
    using QsciScintillaBase::SendScintilla;
    using QsciScintillaBase::SendScintillaPtrResult;
    using QsciScintilla::append;
    using QsciScintilla::autoCompleteFromAll;
    using QsciScintilla::autoCompleteFromAPIs;
    using QsciScintilla::autoCompleteFromDocument;
    using QsciScintilla::beginUndoAction;
    using QsciScintilla::clear;
    using QsciScintilla::convertEols;
    using QsciScintilla::copy;
    using QsciScintilla::cut;
    using QsciScintilla::endUndoAction;
    using QsciScintilla::findFirst;
    using QsciScintilla::findFirstInSelection;
    using QsciScintilla::findNext;
    using QsciScintilla::indent;
    using QsciScintilla::insert;
    using QsciScintilla::insertAt;
    using QsciScintilla::moveToMatchingBrace;
    using QsciScintilla::paste;
    using QsciScintilla::read;
    using QsciScintilla::redo;
    using QsciScintilla::removeSelectedText;
    using QsciScintilla::replace;
    using QsciScintilla::replaceSelectedText;
    using QsciScintilla::selectAll;
    using QsciScintilla::selectToMatchingBrace;
    using QsciScintilla::setAutoCompletionSource;
    using QsciScintilla::setAutoIndent;
    using QsciScintilla::setBackspaceUnindents;
    using QsciScintilla::setCursorPosition;
    using QsciScintilla::setDocument;
    using QsciScintilla::setEolMode;
    using QsciScintilla::setFont;
    using QsciScintilla::setIndentation;
    using QsciScintilla::setIndentationsUseTabs;
    using QsciScintilla::setLexer;
    using QsciScintilla::setModified;
    using QsciScintilla::setOverwriteMode;
    using QsciScintilla::setReadOnly;
    using QsciScintilla::setSelection;
    using QsciScintilla::setTabIndents;
    using QsciScintilla::setText;
    using QsciScintilla::setUtf8;
    using QsciScintilla::showUserList;
    using QsciScintilla::standardCommands;
    using QsciScintilla::undo;
    using QsciScintilla::unindent;
    using QsciScintilla::zoomIn;
    using QsciScintilla::zoomOut;
    using QsciScintilla::zoomTo;

    class Writable;
    void replaceRange(long startByte, long endByte, QByteArrayView utf8);
    // Replaces the bytes from start to end as the pieces come, as one undo
    // step; returns where the new text ends.
    long replaceInPieces(long start, long end, const std::function<Piece(QByteArrayView rest)>& next);
    // Every selection the program sets goes through here.
    void placeSelection(long anchorByte, long caretByte, bool viewFollows);
    void keepOnlyPlainEditingKeys();
    void typeTab();
    void applyFont();
    void caretToStart();
    void adaptToLongLines();
    // The end of every whole-document load: a change, no undo record, the
    // format, the caret at the start.
    void finishLoad(const TextFormat& format);
    static void installPlainAccessibility();
    void onModified(int type);
    static int keyCode(int qtKey);
    // Whether the key, pressed into the control, would change the text.
    static bool wouldEdit(const QKeyEvent* e);
    static int shiftState(Qt::KeyboardModifiers m);

    TextFormat m_format;
    QString m_fontName;
    int m_fontHundredths = 900;
    int m_batchDepth = 0;
    int m_caretPeriod = 500;
    int m_wheelZoomRest = 0;
    bool m_changePending = false;
    // The caret was placed by the program since the engine last chose the
    // column that Up and Down keep to (see placeSelection).
    bool m_caretColumnStale = false;
};
