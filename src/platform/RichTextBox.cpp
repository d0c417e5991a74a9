#include "platform/RichTextBox.h"
#include "platform/Failure.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QContextMenuEvent>
#include <QFont>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cstdlib>

namespace {

constexpr int kMaxFontHundredths = 2160 * 100;

int scintillaEol(LineBreak style)
{
    switch (style) {
    case LineBreak::Lf: return QsciScintillaBase::SC_EOL_LF;
    case LineBreak::Cr: return QsciScintillaBase::SC_EOL_CR;
    case LineBreak::CrLf: break;
    }
    return QsciScintillaBase::SC_EOL_CRLF;
}

}

// Program steps write even when the user's typing is locked out.
class RichTextBox::Writable {
public:
    explicit Writable(RichTextBox* box) : m_box(box), m_wasLocked(box->Locked())
    {
        if (m_wasLocked)
            m_box->SendScintilla(SCI_SETREADONLY, 0UL);
    }
    ~Writable()
    {
        if (m_wasLocked)
            m_box->SendScintilla(SCI_SETREADONLY, 1UL);
    }
private:
    RichTextBox* m_box;
    bool m_wasLocked;
};

namespace {

// The control records no undo steps while this lives, and goes back to what
// it did before however the step ends.
class NoUndoRecord {
public:
    explicit NoUndoRecord(QsciScintillaBase* box)
        : m_box(box), m_was(box->SendScintilla(QsciScintillaBase::SCI_GETUNDOCOLLECTION) != 0)
    {
        m_box->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0UL);
    }
    ~NoUndoRecord()
    {
        m_box->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, static_cast<unsigned long>(m_was));
    }
    NoUndoRecord(const NoUndoRecord&) = delete;
    NoUndoRecord& operator=(const NoUndoRecord&) = delete;

private:
    QsciScintillaBase* m_box;
    bool m_was;
};

}

RichTextBox::ChangeBatch::ChangeBatch(RichTextBox* box) : m_box(box)
{
    ++m_box->m_batchDepth;
}

RichTextBox::ChangeBatch::~ChangeBatch()
{
    if (--m_box->m_batchDepth == 0 && m_box->m_changePending) {
        m_box->m_changePending = false;
        emit m_box->Change();
    }
}

RichTextBox::RichTextBox(QWidget* parent) : QsciScintilla(parent)
{
    // A document without style bytes: plain text needs none, and a large
    // file then costs its own size in memory, not twice that.
    auto doc = SendScintilla(SCI_CREATEDOCUMENT, 0UL, long(SC_DOCUMENTOPTION_STYLES_NONE));
    SendScintilla(SCI_SETDOCPOINTER, 0UL, reinterpret_cast<void*>(doc));
    SendScintilla(SCI_RELEASEDOCUMENT, 0UL, reinterpret_cast<void*>(doc));
    setUtf8(true);
    SendScintilla(SCI_SETLEXER, 1UL);   // the null lexer: no styling work at all
    SendScintilla(SCI_ALLOCATELINECHARACTERINDEX, long(SC_LINECHARACTERINDEX_UTF16));
    SendScintilla(SCI_SETLAYOUTCACHE, long(SC_CACHE_PAGE));
    m_caretPeriod = int(SendScintilla(SCI_GETCARETPERIOD));
    SendScintilla(SCI_SETSCROLLWIDTH, 1L);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1L);
    SendScintilla(SCI_SETPASTECONVERTENDINGS, 1L);
    SendScintilla(SCI_SETMARGINLEFT, 0UL, 4L);
    for (int m = 0; m < 5; ++m)
        SendScintilla(SCI_SETMARGINWIDTHN, static_cast<unsigned long>(m), 0L);
    setTabWidth(4);
    setEolMode(EolWindows);
    setFormat(TextFormat::forNewDocument());

    m_fontName = QStringLiteral("Lucida Console");
    applyFont();
    // The control's own magnification would be a second zoom beside the
    // font size, one that setting the font again does not end.
    for (QsciCommand* cmd : standardCommands()->commands())
        if (cmd->command() == QsciCommand::ZoomIn || cmd->command() == QsciCommand::ZoomOut) {
            cmd->setKey(0);
            cmd->setAlternateKey(0);
        }
    SendScintilla(SCI_SETZOOM, 0L);

    // Only the notifications that come before a change: with those after it,
    // the control copies every inserted or deleted text (20 MB for a 20 MB
    // load) and counts characters from the start of the document for its
    // accessibility events, on every keystroke. Every path that edits runs
    // inside a ChangeBatch, which raises Change once the edit is done.
    SendScintilla(SCI_SETMODEVENTMASK, long(SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE));
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int, int type, const char*, int, int, int, int, int, int, int) { onModified(type); });
    installPlainAccessibility();
}

namespace {

// The control's own accessibility object answers every caret move and edit
// with work proportional to the document. Unless assistive technology is
// listening, the editor is described as a plain widget.
QAccessibleInterface* plainEditorAccessible(const QString&, QObject* object)
{
    auto* box = qobject_cast<RichTextBox*>(object);
    if (!box || QAccessible::isActive())
        return nullptr;
    return new QAccessibleWidget(box, QAccessible::EditableText);
}

}

void RichTextBox::installPlainAccessibility()
{
    // Factories installed later are asked first; the control's own one is
    // installed by the first control made, so install after it, once.
    static bool installed = false;
    if (!installed) {
        installed = true;
        QAccessible::installFactory(plainEditorAccessible);
    }
}

void RichTextBox::onModified(int type)
{
    if (!(type & (SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE)))
        return;
    if (m_batchDepth > 0) {
        m_changePending = true;
        return;
    }
    // An edit from a path outside any batch: report it once the event loop
    // is back, when the text is the new one.
    if (!m_changePending) {
        m_changePending = true;
        QMetaObject::invokeMethod(this, [this] {
            if (m_batchDepth == 0 && m_changePending) {
                m_changePending = false;
                emit Change();
            }
        }, Qt::QueuedConnection);
    }
}

void RichTextBox::caretToStart()
{
    // Without scrolling the caret into view, which on a very long line
    // would lay the whole line out while the window may still be hidden.
    SendScintilla(SCI_SETEMPTYSELECTION, 0UL);
    SendScintilla(SCI_SETFIRSTVISIBLELINE, 0UL);
    SendScintilla(SCI_SETXOFFSET, 0UL);
}

QByteArrayView RichTextBox::utf8() const
{
    const long length = SendScintilla(SCI_GETLENGTH);
    if (length == 0)
        return {};
    const char* p = static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    return QByteArrayView(p, length);
}

QString RichTextBox::Text() const
{
    const QByteArrayView bytes = utf8();
    return QString::fromUtf8(bytes.data(), bytes.size());
}

int RichTextBox::TextLength() const
{
    return utf16Pos(SendScintilla(SCI_GETLENGTH));
}

long RichTextBox::bytePos(int u16) const
{
    if (u16 <= 0)
        return 0;
    const long length = SendScintilla(SCI_GETLENGTH);
    if (u16 >= utf16Pos(length))
        return length;
    // The control keeps a UTF-16 index per line, so only the one line is walked.
    const long line = SendScintilla(SCI_LINEFROMINDEXPOSITION, static_cast<unsigned long>(u16),
                                    long(SC_LINECHARACTERINDEX_UTF16));
    const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    const long lineStartU16 = SendScintilla(SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(line),
                                            long(SC_LINECHARACTERINDEX_UTF16));
    long offset = u16 - lineStartU16;
    if (offset <= 0)
        return lineStart;
    while (offset > 0) {
        const long p = SendScintilla(SCI_POSITIONRELATIVECODEUNITS, static_cast<unsigned long>(lineStart), offset);
        if (p >= 0)
            return p;
        // Between the halves of a surrogate pair: the character's start.
        --offset;
    }
    return lineStart;
}

int RichTextBox::utf16Pos(long byte) const
{
    if (byte <= 0)
        return 0;
    const long line = SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(byte));
    const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    const long lineStartU16 = SendScintilla(SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(line),
                                            long(SC_LINECHARACTERINDEX_UTF16));
    return int(lineStartU16 + SendScintilla(SCI_COUNTCODEUNITS, static_cast<unsigned long>(lineStart), byte));
}

void RichTextBox::replaceRange(long startByte, long endByte, QByteArrayView bytes)
{
    Writable writable(this);
    ChangeBatch batch(this);
    SendScintilla(SCI_SETTARGETRANGE, static_cast<unsigned long>(startByte), endByte);
    // The control insists on a pointer, even for no text.
    SendScintilla(SCI_REPLACETARGET, static_cast<uintptr_t>(bytes.size()), bytes.isEmpty() ? "" : bytes.data());
}

void RichTextBox::SetText(const QString& text)
{
    SetTextUtf8(text.toUtf8());
}

void RichTextBox::SetTextUtf8(QByteArrayView utf8)
{
    replaceRange(0, SendScintilla(SCI_GETLENGTH), utf8);
    caretToStart();
}

QString RichTextBox::SelText() const
{
    const long start = SendScintilla(SCI_GETSELECTIONSTART);
    const long end = SendScintilla(SCI_GETSELECTIONEND);
    if (end <= start)
        return QString();
    const char* p = reinterpret_cast<const char*>(
        SendScintilla(SCI_GETRANGEPOINTER, static_cast<unsigned long>(start), end - start));
    return QString::fromUtf8(p, end - start);
}

void RichTextBox::SetSelText(const QString& text)
{
    const long start = SendScintilla(SCI_GETSELECTIONSTART);
    const long end = SendScintilla(SCI_GETSELECTIONEND);
    const QByteArray bytes = text.toUtf8();
    replaceRange(start, end, bytes);
    const long caret = start + bytes.size();
    SendScintilla(SCI_SETEMPTYSELECTION, static_cast<unsigned long>(caret));
}

void RichTextBox::InsertText(const QString& crlfText)
{
    SetSelText(TextFormats::withLineBreaks(crlfText, m_format.lineBreak));
}

int RichTextBox::SelStart() const
{
    return utf16Pos(SendScintilla(SCI_GETSELECTIONSTART));
}

void RichTextBox::SetSelStart(int position)
{
    SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(bytePos(position)));
}

int RichTextBox::SelLength() const
{
    const long start = SendScintilla(SCI_GETSELECTIONSTART);
    const long end = SendScintilla(SCI_GETSELECTIONEND);
    return utf16Pos(end) - utf16Pos(start);
}

void RichTextBox::SetSelLength(int length)
{
    const long start = SendScintilla(SCI_GETSELECTIONSTART);
    const int startU16 = utf16Pos(start);
    const long end = bytePos(startU16 + std::max(0, length));
    SendScintilla(SCI_SETSEL, static_cast<unsigned long>(start), end);
}

bool RichTextBox::Locked() const
{
    return SendScintilla(SCI_GETREADONLY) != 0;
}

void RichTextBox::SetLocked(bool locked)
{
    SendScintilla(SCI_SETREADONLY, static_cast<unsigned long>(locked));
}

bool RichTextBox::fontAvailable(const QString& name)
{
    if (name.isEmpty())
        return false;
    return QFontDatabase::hasFamily(name) || !QFont::substitutes(name).isEmpty();
}

bool RichTextBox::SetFontName(const QString& name)
{
    if (name == m_fontName)
        return true;   // laying a long line out again costs seconds
    if (!fontAvailable(name))
        return false;
    m_fontName = name;
    applyFont();
    return true;
}

bool RichTextBox::SetFontSize(double points)
{
    if (!(points > 0))
        return false;
    const long hundredths = std::lround(points * 100.0);
    if (hundredths <= 0 || hundredths > kMaxFontHundredths)
        return false;
    if (hundredths == m_fontHundredths)
        return true;
    m_fontHundredths = int(hundredths);
    applyFont();
    return true;
}

void RichTextBox::applyFont()
{
    const QByteArray face = m_fontName.toUtf8();
    SendScintilla(SCI_STYLESETFONT, static_cast<uintptr_t>(STYLE_DEFAULT), face.constData());
    SendScintilla(SCI_STYLESETSIZEFRACTIONAL, static_cast<unsigned long>(STYLE_DEFAULT), long(m_fontHundredths));
    SendScintilla(SCI_STYLECLEARALL);
}

void RichTextBox::adaptToLongLines()
{
    // Each blink of the caret repaints its line, and a line of megabytes is
    // laid out anew for that: keep the caret steady in such a document.
    constexpr long kLongLine = 256 * 1024;
    const long lines = SendScintilla(SCI_GETLINECOUNT);
    long longest = 0;
    if (SendScintilla(SCI_GETLENGTH) > kLongLine) {
        for (long line = 0; line < lines && longest <= kLongLine; ++line)
            longest = std::max(longest, SendScintilla(SCI_LINELENGTH, static_cast<unsigned long>(line)));
    }
    SendScintilla(SCI_SETCARETPERIOD, longest > kLongLine ? 0UL : static_cast<unsigned long>(m_caretPeriod));
}

void RichTextBox::setFormat(const TextFormat& format)
{
    m_format = format;
    SendScintilla(SCI_SETEOLMODE, static_cast<unsigned long>(scintillaEol(format.lineBreak)));
}

TextFile::ReadResult RichTextBox::LoadFile(const QString& path)
{
    Writable writable(this);
    ChangeBatch batch(this);
    // No undo record of a whole file: it would double the memory of a large one.
    NoUndoRecord noUndo(this);
    bool cleared = false;
    TextFile::ReadResult r;
    try {
        r = TextFile::read(
            path,
            [&](const char* p, qsizetype n) { SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(n), p); },
            [&](qsizetype utf8Length) {
                // Told before the first piece, once the file is known
                // readable and small enough: the old text goes, and room for
                // exactly the new one is made at once, with no growing by
                // copying and no unused room kept.
                cleared = true;
                SendScintilla(SCI_CLEARALL);
                SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(utf8Length + 1));
            },
            TextFile::kMaxTextLength);
    } catch (...) {
        // Out of memory making room or appending: reported like any other
        // failure of the load.
        r = {};
        r.error = describeFailure(std::current_exception());
        r.textLost = cleared;
    }
    if (r.ok || r.textLost) {
        if (!r.ok) {
            // Part of a file is no document: what remains is a new, empty one.
            SendScintilla(SCI_CLEARALL);
            r.format = TextFormat::forNewDocument();
        }
        SendScintilla(SCI_EMPTYUNDOBUFFER);
        setFormat(r.format);
        caretToStart();
        adaptToLongLines();
    }
    return r;
}

TextFile::WriteResult RichTextBox::SaveFile(const QString& path)
{
    TextFile::WriteResult r = TextFile::write(path, utf8(), m_format);
    if (r.ok && r.switchedToUtf8)
        setFormat(r.written);
    return r;
}

void RichTextBox::SetFocus()
{
    setFocus(Qt::OtherFocusReason);
}

void RichTextBox::Undo()
{
    ChangeBatch batch(this);
    SendScintilla(SCI_UNDO);
}

bool RichTextBox::CanUndo() const
{
    return SendScintilla(SCI_CANUNDO) != 0;
}

void RichTextBox::releaseKeys(const QList<QKeySequence>& keys)
{
    QList<int> combined;
    for (const QKeySequence& k : keys)
        if (!k.isEmpty())
            combined << k[0].toCombined();
    for (QsciCommand* cmd : standardCommands()->commands()) {
        if (combined.contains(cmd->key()))
            cmd->setKey(0);
        if (combined.contains(cmd->alternateKey()))
            cmd->setAlternateKey(0);
    }
}

void RichTextBox::wheelEvent(QWheelEvent* e)
{
    if (!(e->modifiers() & Qt::ControlModifier)) {
        m_wheelZoomRest = 0;
        QsciScintilla::wheelEvent(e);
        return;
    }
    // Fine-grained wheels and touchpads send parts of a notch; a zoom step
    // is a whole notch.
    constexpr int kNotch = 120;
    const QPoint delta = e->angleDelta();
    m_wheelZoomRest += std::abs(delta.x()) > std::abs(delta.y()) ? delta.x() : delta.y();
    while (m_wheelZoomRest >= kNotch) {
        m_wheelZoomRest -= kNotch;
        emit WheelZoom(true);
    }
    while (m_wheelZoomRest <= -kNotch) {
        m_wheelZoomRest += kNotch;
        emit WheelZoom(false);
    }
    e->accept();
}

int RichTextBox::shiftState(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

int RichTextBox::keyCode(int k)
{
    if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9))
        return k;
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24)
        return 112 + (k - Qt::Key_F1);
    switch (k) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: break;
    }
    return k;
}

void RichTextBox::keyPressEvent(QKeyEvent* e)
{
    KeyDownArgs args{keyCode(e->key()), shiftState(e->modifiers())};
    emit KeyDown(args);
    if (args.keyCode == 0) {
        e->accept();
        return;
    }
    if (Locked() && wouldEdit(e)) {
        // The control refuses the edit but would still drop the selection.
        e->accept();
        return;
    }
    ChangeBatch batch(this);
    QsciScintilla::keyPressEvent(e);
}

bool RichTextBox::wouldEdit(const QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        break;
    }
    if (e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return false;
    const QString text = e->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

void RichTextBox::inputMethodEvent(QInputMethodEvent* e)
{
    ChangeBatch batch(this);
    QsciScintilla::inputMethodEvent(e);
}

void RichTextBox::mousePressEvent(QMouseEvent* e)
{
    const int button = e->button() == Qt::LeftButton ? 1
                       : e->button() == Qt::RightButton ? 2
                       : e->button() == Qt::MiddleButton ? 4 : 0;
    emit MouseDown(button, shiftState(e->modifiers()), e->position().toPoint());
    if (e->button() == Qt::RightButton) {
        // The context menu works on the selection as it is: leave the caret alone.
        e->accept();
        return;
    }
    ChangeBatch batch(this);
    QsciScintilla::mousePressEvent(e);
}

void RichTextBox::mouseReleaseEvent(QMouseEvent* e)
{
    ChangeBatch batch(this);
    QsciScintilla::mouseReleaseEvent(e);
}

void RichTextBox::dropEvent(QDropEvent* e)
{
    ChangeBatch batch(this);
    QsciScintilla::dropEvent(e);
}

void RichTextBox::contextMenuEvent(QContextMenuEvent* e)
{
    // Never the control's own menu; the window shows its own.
    e->accept();
    if (e->reason() == QContextMenuEvent::Keyboard) {
        const long caret = SendScintilla(SCI_GETCURRENTPOS);
        const int x = int(SendScintilla(SCI_POINTXFROMPOSITION, 0UL, caret));
        const int y = int(SendScintilla(SCI_POINTYFROMPOSITION, 0UL, caret));
        emit ContextMenuKey(QPoint(x, y + int(SendScintilla(SCI_TEXTHEIGHT, 0UL))));
    }
}
