#pragma once
#include "platform/TextFile.h"
#include "platform/TextFormat.h"

#include <Qsci/qsciscintilla.h>
#include <QByteArrayView>
#include <QKeySequence>
#include <QList>
#include <QString>

// The editing control every command works through. Positions and lengths are
// counted in UTF-16 code units, as QString counts them; a CR LF line break
// counts two. Change is raised once, synchronously, inside every step that
// changes the text: a key press, a drop, or a program step (SetText,
// SetSelText, LoadFile, Undo).
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
    // Writes the whole text in the document's format (see TextFile::write);
    // the document takes the format that was written.
    TextFile::WriteResult SaveFile(const QString& path);

    TextFormat format() const { return m_format; }
    void setFormat(const TextFormat& format);

    // The document's bytes as UTF-8, without a copy; valid until the next change.
    QByteArrayView utf8() const;

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

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    class Writable;
    void replaceRange(long startByte, long endByte, QByteArrayView utf8);
    void applyFont();
    void caretToStart();
    void adaptToLongLines();
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
};
