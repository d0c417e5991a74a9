#pragma once
#include "base/Result.h"
#include "document/Document.h"
#include "editor/KeyAid.h"
#include "files/TextFile.h"

#include <Qsci/qsciscintilla.h>
#include <QByteArrayView>
#include <QKeySequence>
#include <QList>
#include <QPointer>
#include <QString>
#include <memory>

// The editing control every command works through: a view of a Document
// (its text, format and undo history live there, and so does the change
// event). The view holds the caret and the selection, the keys, the font and
// how the text is shown. Positions and lengths are counted in UTF-16 code
// units, as QString counts them; a CR LF line break counts two. Every step
// that changes the text here (a key press, a drop, a program step) is one
// step of the document, which raises its change once at the step's end.
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

    // A view of the document; without one, of a document of its own (a
    // scratch box).
    explicit RichTextBox(Document* document = nullptr, QWidget* parent = nullptr);
    ~RichTextBox() override;

    Document& document() const { return *m_document; }

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
    // change is raised.
    Result<> SetSelTextFrom(qint64 expectedBytes, const Document::PieceWriter& write);
    // SetSelTextUtf8 a piece at a time, for new text made from the selection
    // piece by piece: `next` is shown the selected bytes not yet replaced
    // and answers how many of them, from their start, the next piece
    // replaces (at least one) and by what. One undo step and one Change, as
    // for SetSelTextUtf8; the old and the new text are never both whole in
    // memory beside the undo record.
    using Piece = Document::Piece;
    void SetSelTextInPieces(const Document::PieceMaker& next);
    // SetTextUtf8 the same way: the whole text, the caret to the start.
    void SetTextInPieces(const Document::PieceMaker& next);

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

    // The selected bytes as UTF-8, without a copy; valid until the next change.
    QByteArrayView selectedUtf8() const;

    // The selection as byte offsets into utf8(), and selecting by them (the
    // caret at the end, the view following it), for work on the bytes.
    struct ByteRange {
        long start = 0;
        long end = 0;
    };
    ByteRange selectionBytes() const;
    void selectBytes(long start, long end);
    // Where the caret stands (the end of the selection the user moves), as
    // a byte offset into utf8().
    long caretByte() const;

    void SetFocus();
    void Undo();
    bool CanUndo() const;

    // The typing aids attached to this view (null: none), asked about every
    // key on its way to the engine.
    void setKeyAid(KeyAid* aid) { m_keyAid = aid; }

    // Removes the control's own key bindings for these keys, so that the
    // window's shortcuts of the same keys act instead.
    void releaseKeys(const QList<QKeySequence>& keys);

    static bool fontAvailable(const QString& name);

    // No minimum size of its own: a window may shrink the text area away.
    QSize minimumSizeHint() const override { return {0, 0}; }

signals:
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
    // The caret or the selection moved (typing moves the caret too); at
    // most once per repaint of the view, so a hidden view tells nothing.
    // An edit that leaves the caret where it was raises only the
    // document's contentsChanged.
    void caretMoved();

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
    // The engine itself, for the parts of the editing view that work on it
    // (colouring, margins, page layout, marks) and for the probe that tests
    // and benchmarks measure it through: nothing outside this folder talks
    // to the engine.
    friend class SyntaxColouring;
    friend class LineNumberMargin;
    friend class PageLayout;
    friend class ProblemMarks;
    friend class FindMarks;
    friend class EngineProbe;
    friend class AutoIndent;
    friend class BlockIndenter;
    friend class TagCloser;
    friend class MatchMarks;
    QsciScintillaBase& engine() { return *this; }
    const QsciScintillaBase& engine() const { return *this; }

    // The engine's own editing, selecting and mode switching: reachable only
    // from inside, where every edit runs in a step of the document.
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

    void replaceRange(long startByte, long endByte, QByteArrayView utf8);
    // Replaces the bytes from start to end as the pieces come, as one undo
    // step; returns where the new text ends.
    // Every selection the program sets goes through here.
    void placeSelection(long anchorByte, long caretByte, bool viewFollows);
    void keepOnlyPlainEditingKeys();
    void typeTab();
    void applyFont();
    void caretToStart();
    void adaptToLongLines();
    // After a whole-document load: the caret at the start.
    void documentLoaded();
    static void installPlainAccessibility();
    static int keyCode(int qtKey);
    // Whether the key, pressed into the control, would change the text.
    static bool wouldEdit(const QKeyEvent* e);
    static int shiftState(Qt::KeyboardModifiers m);

    QPointer<KeyAid> m_keyAid;
    std::unique_ptr<Document> m_ownDocument;
    Document* m_document;
    QString m_fontName;
    int m_fontHundredths = 900;
    int m_caretPeriod = 500;
    int m_wheelZoomRest = 0;
    // The caret was placed by the program since the engine last chose the
    // column that Up and Down keep to (see placeSelection).
    bool m_caretColumnStale = false;
};
