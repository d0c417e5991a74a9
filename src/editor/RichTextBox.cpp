#include "editor/RichTextBox.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace {

// Below one point no eye reads the text; above this no screen shows a line.
constexpr int kMinFontHundredths = 100;
constexpr int kMaxFontHundredths = 2160 * 100;

// The engine's key bindings the control keeps, each on purpose: the keys of
// a plain edit box. Moving the caret and extending the one stream selection;
// deleting a character or a word; a line break; leaving a mode (Escape); and
// the standard keys for select all, copy, cut, paste (after the window's
// plain-text rule), undo and redo. Redo stays because an undo one step too
// far would otherwise lose the user's own typing for good; like undo, it
// raises Change.
//
// Every other binding is gone: column selection (Alt+Shift with arrows,
// Home, End, Page Up/Down), duplicating, transposing, moving, copying,
// cutting or deleting lines (Ctrl+D, Ctrl+T, Ctrl+Shift+T, Ctrl+L,
// Ctrl+Shift+L), deleting to either end of the line (Ctrl+Shift+Backspace,
// Ctrl+Shift+Delete), changing case (Ctrl+U, Ctrl+Shift+U), indenting
// (Shift+Tab; Tab is typed as a tab character, see typeTab), overtype
// (Insert), zoom (Ctrl+Plus, Ctrl+Minus), and the other platform's
// clipboard keys (Ctrl+Insert, Shift+Insert, Shift+Delete, Alt+Backspace),
// whose paste would not pass the window's plain-text rule. Each of those
// would edit the text in a way no command of the program knows, or select
// text that the program's commands do not see as the user does. (The typing
// aids attached to a view, the user's options, may do more with Enter, Tab,
// Shift+Tab and the characters of tags: see KeyAid.)
using C = QsciCommand;
struct KeptKey {
    C::Command command;
    QKeyCombination key;
};
constexpr KeptKey kKeptKeys[] = {
    {C::CharLeft, Qt::Key_Left},
    {C::CharLeftExtend, Qt::SHIFT | Qt::Key_Left},
    {C::CharRight, Qt::Key_Right},
    {C::CharRightExtend, Qt::SHIFT | Qt::Key_Right},
    {C::WordLeft, Qt::CTRL | Qt::Key_Left},
    {C::WordLeftExtend, Qt::CTRL | Qt::SHIFT | Qt::Key_Left},
    {C::WordRight, Qt::CTRL | Qt::Key_Right},
    {C::WordRightExtend, Qt::CTRL | Qt::SHIFT | Qt::Key_Right},
    {C::LineUp, Qt::Key_Up},
    {C::LineUpExtend, Qt::SHIFT | Qt::Key_Up},
    {C::LineDown, Qt::Key_Down},
    {C::LineDownExtend, Qt::SHIFT | Qt::Key_Down},
    {C::LineScrollUp, Qt::CTRL | Qt::Key_Up},
    {C::LineScrollDown, Qt::CTRL | Qt::Key_Down},
    {C::VCHome, Qt::Key_Home},
    {C::VCHomeExtend, Qt::SHIFT | Qt::Key_Home},
    {C::LineEnd, Qt::Key_End},
    {C::LineEndExtend, Qt::SHIFT | Qt::Key_End},
    {C::DocumentStart, Qt::CTRL | Qt::Key_Home},
    {C::DocumentStartExtend, Qt::CTRL | Qt::SHIFT | Qt::Key_Home},
    {C::DocumentEnd, Qt::CTRL | Qt::Key_End},
    {C::DocumentEndExtend, Qt::CTRL | Qt::SHIFT | Qt::Key_End},
    {C::PageUp, Qt::Key_PageUp},
    {C::PageUpExtend, Qt::SHIFT | Qt::Key_PageUp},
    {C::PageDown, Qt::Key_PageDown},
    {C::PageDownExtend, Qt::SHIFT | Qt::Key_PageDown},
    {C::Cancel, Qt::Key_Escape},
    {C::Delete, Qt::Key_Delete},
    {C::DeleteBack, Qt::Key_Backspace},
    {C::DeleteBack, Qt::SHIFT | Qt::Key_Backspace},
    {C::DeleteWordLeft, Qt::CTRL | Qt::Key_Backspace},
    {C::DeleteWordRight, Qt::CTRL | Qt::Key_Delete},
    {C::Newline, Qt::Key_Return},
    {C::Newline, Qt::SHIFT | Qt::Key_Return},
    {C::SelectAll, Qt::CTRL | Qt::Key_A},
    {C::SelectionCopy, Qt::CTRL | Qt::Key_C},
    {C::SelectionCut, Qt::CTRL | Qt::Key_X},
    {C::Paste, Qt::CTRL | Qt::Key_V},
    {C::Undo, Qt::CTRL | Qt::Key_Z},
    {C::Redo, Qt::CTRL | Qt::Key_Y},
};

bool kept(C::Command command, int key)
{
    for (const KeptKey& k : kKeptKeys)
        if (k.command == command && k.key.toCombined() == key)
            return true;
    return false;
}

bool isArrow(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

// Keys after which the caret keeps to the column the engine remembers.
bool movesAcrossLines(int key)
{
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown;
}

// The engine makes a column selection from a press with Ctrl here (with Alt
// on other platforms; its setting for that modifier has no effect in this
// port), and Ctrl with a click would add a selection: the control has one
// stream selection, so the mouse reaches the engine with Shift alone, which
// extends it.
template <typename Deliver>
void streamSelecting(QMouseEvent* e, Deliver deliver)
{
    QMouseEvent plain(e->type(), e->position(), e->scenePosition(), e->globalPosition(), e->button(), e->buttons(),
                      e->modifiers() & Qt::ShiftModifier, e->pointingDevice());
    plain.setTimestamp(e->timestamp());
    deliver(&plain);
    e->setAccepted(plain.isAccepted());
}

}

RichTextBox::RichTextBox(Document* document, QWidget* parent)
    : QsciScintilla(parent),
      m_ownDocument(document ? nullptr : std::make_unique<Document>()),
      m_document(document ? document : m_ownDocument.get())
{
    SendScintilla(SCI_SETDOCPOINTER, 0UL, m_document->engineDocument());
    setUtf8(true);
    SendScintilla(SCI_SETLEXER, 1UL);   // the null lexer: no styling work at all
    SendScintilla(SCI_SETLAYOUTCACHE, long(SC_CACHE_PAGE));
    // A coloured document is coloured as far as it is shown, a little at a
    // time when there is much to do before that: a jump to the end of a
    // large page never waits for the whole page to be coloured.
    SendScintilla(SCI_SETIDLESTYLING, long(SC_IDLESTYLING_TOVISIBLE));
    m_caretPeriod = int(SendScintilla(SCI_GETCARETPERIOD));
    SendScintilla(SCI_SETSCROLLWIDTH, 1L);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1L);
    SendScintilla(SCI_SETPASTECONVERTENDINGS, 1L);
    SendScintilla(SCI_SETMARGINLEFT, 0UL, 4L);
    for (int m = 0; m < 5; ++m)
        SendScintilla(SCI_SETMARGINWIDTHN, static_cast<unsigned long>(m), 0L);
    setTabWidth(4);

    m_fontName = QStringLiteral("Lucida Console");
    applyFont();
    // The control's own magnification would be a second zoom beside the
    // font size, one that setting the font again does not end.
    SendScintilla(SCI_SETZOOM, 0L);

    // One stream selection, always: the program's commands read and replace
    // the text from the selection's start to its end, so a column or a
    // second selection would have them act on text the user did not see
    // selected. Stream mode is set and its "moves extend" state, which
    // setting the mode switches on, is cancelled at once.
    SendScintilla(SCI_SETMULTIPLESELECTION, 0UL);
    SendScintilla(SCI_SETADDITIONALSELECTIONTYPING, 0UL);
    SendScintilla(SCI_SETMULTIPASTE, static_cast<unsigned long>(SC_MULTIPASTE_ONCE));
    SendScintilla(SCI_SETMOUSESELECTIONRECTANGULARSWITCH, 0UL);
    SendScintilla(SCI_SETVIRTUALSPACEOPTIONS, static_cast<unsigned long>(SCVS_NONE));
    SendScintilla(SCI_SETSELECTIONMODE, static_cast<unsigned long>(SC_SEL_STREAM));
    SendScintilla(SCI_CANCEL);
    // Typing replaces, a tab is a character, and Backspace deletes one.
    SendScintilla(SCI_SETOVERTYPE, 0UL);
    SendScintilla(SCI_SETTABINDENTS, 0UL);
    SendScintilla(SCI_SETBACKSPACEUNINDENTS, 0UL);
    keepOnlyPlainEditingKeys();

    // No notifications of edits from the control: the document hears of
    // every edit itself, and with them the control would copy every inserted
    // or deleted text (20 MB for a 20 MB load) and count characters from the
    // start of the document for its accessibility events, on every keystroke.
    SendScintilla(SCI_SETMODEVENTMASK, 0L);
    connect(m_document, &Document::loaded, this, &RichTextBox::documentLoaded);
    // The engine tells what changed on screen as it paints: whatever shows
    // the caret follows from there, once per paint, never per edit. (Not
    // on its "content" flag, which marks and colouring raise too: a mark
    // set in answer would raise it again, for ever.)
    connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int updated) {
        if (updated & SC_UPDATE_SELECTION)
            emit caretMoved();
    });
    installPlainAccessibility();
}

RichTextBox::~RichTextBox()
{
    // The engine lets go of the document before the document may go.
    SendScintilla(SCI_SETDOCPOINTER, 0UL, static_cast<void*>(nullptr));
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

void RichTextBox::placeSelection(long anchorByte, long caretByte, bool viewFollows)
{
    if (anchorByte != caretByte)
        SendScintilla(SCI_SETSEL, static_cast<unsigned long>(anchorByte), caretByte);
    else if (viewFollows)
        SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(caretByte));
    else
        SendScintilla(SCI_SETEMPTYSELECTION, static_cast<unsigned long>(caretByte));
    // Up and Down keep to the column the engine chose when the user last
    // moved the caret across a line; after a program's move they must start
    // from where the caret is now. The column is chosen when the next such
    // key arrives: choosing it lays the caret's line out, which on a line of
    // megabytes costs a noticeable moment that a key may never need.
    m_caretColumnStale = true;
}

void RichTextBox::caretToStart()
{
    // Without scrolling the caret into view, which on a very long line
    // would lay the whole line out while the window may still be hidden.
    placeSelection(0, 0, false);
    SendScintilla(SCI_SETFIRSTVISIBLELINE, 0UL);
    SendScintilla(SCI_SETXOFFSET, 0UL);
}

QByteArrayView RichTextBox::selectedUtf8() const
{
    const ByteRange r = selectionBytes();
    if (r.end <= r.start)
        return {};
    // Only the selection is made contiguous, not the whole document.
    return m_document->utf8Range(r.start, r.end);
}

RichTextBox::ByteRange RichTextBox::selectionBytes() const
{
    return {SendScintilla(SCI_GETSELECTIONSTART), SendScintilla(SCI_GETSELECTIONEND)};
}

long RichTextBox::caretByte() const
{
    return SendScintilla(SCI_GETCURRENTPOS);
}

void RichTextBox::selectBytes(long start, long end)
{
    placeSelection(start, end, true);
}

QString RichTextBox::Text() const
{
    return m_document->text();
}

int RichTextBox::TextLength() const
{
    return m_document->textLength();
}

void RichTextBox::replaceRange(long startByte, long endByte, QByteArrayView bytes)
{
    m_document->replaceBytes(startByte, endByte, bytes);
}

void RichTextBox::SetText(const QString& text)
{
    SetTextUtf8(text.toUtf8());
}

void RichTextBox::SetTextUtf8(QByteArrayView utf8)
{
    Document::EditStep step(*m_document);
    m_document->setTextUtf8(utf8);
    caretToStart();
}

QString RichTextBox::SelText() const
{
    const QByteArrayView bytes = selectedUtf8();
    return QString::fromUtf8(bytes.data(), bytes.size());
}

void RichTextBox::SetSelText(const QString& text)
{
    SetSelTextUtf8(text.toUtf8());
}

void RichTextBox::SetSelTextUtf8(QByteArrayView utf8)
{
    Document::EditStep step(*m_document);
    const ByteRange r = selectionBytes();
    replaceRange(r.start, r.end, utf8);
    const long caret = r.start + utf8.size();
    placeSelection(caret, caret, false);
}

Result<> RichTextBox::SetSelTextFrom(qint64 expectedBytes, const Document::PieceWriter& write)
{
    const long anchor = SendScintilla(SCI_GETANCHOR);
    const long caret = SendScintilla(SCI_GETCURRENTPOS);
    const ByteRange selected = selectionBytes();
    const Result<long> end = m_document->replaceBytesFrom(selected.start, selected.end, expectedBytes, write);
    if (!end) {
        placeSelection(anchor, caret, false);
        return Failure(end.error());
    }
    placeSelection(*end, *end, false);
    return {};
}

void RichTextBox::SetSelTextInPieces(const Document::PieceMaker& next)
{
    Document::EditStep step(*m_document);
    const ByteRange r = selectionBytes();
    const long end = m_document->replaceInPieces(r.start, r.end, next);
    placeSelection(end, end, false);
}

void RichTextBox::SetTextInPieces(const Document::PieceMaker& next)
{
    Document::EditStep step(*m_document);
    m_document->markChanged();   // a change even when the text stays as it was, as for SetTextUtf8
    m_document->replaceInPieces(0, m_document->byteLength(), next);
    caretToStart();
}

void RichTextBox::InsertText(const QString& crlfText)
{
    SetSelText(m_document->inLineBreaks(crlfText));
}

int RichTextBox::SelStart() const
{
    return m_document->utf16Pos(SendScintilla(SCI_GETSELECTIONSTART));
}

void RichTextBox::SetSelStart(int position)
{
    const long caret = m_document->bytePos(position);
    placeSelection(caret, caret, true);
}

int RichTextBox::SelLength() const
{
    const long start = SendScintilla(SCI_GETSELECTIONSTART);
    const long end = SendScintilla(SCI_GETSELECTIONEND);
    return m_document->utf16Pos(end) - m_document->utf16Pos(start);
}

void RichTextBox::SetSelLength(int length)
{
    const long start = SendScintilla(SCI_GETSELECTIONSTART);
    const int startU16 = m_document->utf16Pos(start);
    const long end = m_document->bytePos(startU16 + std::max(0, length));
    placeSelection(start, end, true);
}

bool RichTextBox::Locked() const
{
    return m_document->isLocked();
}

void RichTextBox::SetLocked(bool locked)
{
    m_document->setLocked(locked);
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
    if (!(points * 100.0 >= kMinFontHundredths))
        return false;
    const long hundredths = std::lround(points * 100.0);
    if (hundredths > kMaxFontHundredths)
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
    emit FontApplied();
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

void RichTextBox::documentLoaded()
{
    caretToStart();
    adaptToLongLines();
}

void RichTextBox::SetFocus()
{
    setFocus(Qt::OtherFocusReason);
}

void RichTextBox::Undo()
{
    // Through the view, so that the caret goes where the undone step was.
    Document::EditStep step(*m_document);
    SendScintilla(SCI_UNDO);
}

bool RichTextBox::CanUndo() const
{
    return m_document->canUndo();
}

void RichTextBox::keepOnlyPlainEditingKeys()
{
    for (QsciCommand* cmd : standardCommands()->commands()) {
        if (cmd->key() && !kept(cmd->command(), cmd->key()))
            cmd->setKey(0);
        if (cmd->alternateKey() && !kept(cmd->command(), cmd->alternateKey()))
            cmd->setAlternateKey(0);
    }
}

void RichTextBox::typeTab()
{
    // A tab character in place of the selection, as any typed character:
    // the engine's own Tab would indent every line of a selection over
    // several lines instead, and rewrite their leading blanks.
    Document::EditStep step(*m_document);
    SendScintilla(SCI_REPLACESEL, 0UL, "\t");
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

void RichTextBox::changeEvent(QEvent* e)
{
    if (e->type() != QEvent::EnabledChange) {
        QsciScintilla::changeEvent(e);
        return;
    }
    // Not the control's own disabled look: it greys the text and gives the
    // plain style alone a grey background, so that words of other styles
    // stand in white boxes and the text can hardly be read (and a print made
    // meanwhile looks the same). Here every style keeps its text colour on
    // one background, and the caret goes.
    QsciScintillaBase::changeEvent(e);
    SendScintilla(SCI_SETCARETSTYLE, static_cast<unsigned long>(isEnabled() ? CARETSTYLE_LINE : CARETSTYLE_INVISIBLE));
    const QColor back = isEnabled() ? paper() : palette().color(QPalette::Disabled, QPalette::Base);
    for (int style = 0; style <= STYLE_MAX; ++style) {
        // The margins' and tips' own styles keep their colours.
        if (style > STYLE_DEFAULT && style <= STYLE_LASTPREDEFINED)
            continue;
        SendScintilla(SCI_STYLESETBACK, static_cast<unsigned long>(style), back);
    }
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
    if (m_keyAid && m_keyAid->keyPressed(*e)) {
        e->accept();
        return;
    }
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    const bool tab = e->key() == Qt::Key_Tab && mods == Qt::NoModifier;
    if (!tab && !standardCommands()->boundTo(e->key() | mods.toInt())) {
        // A key the control does not bind does nothing: with Ctrl it would
        // otherwise type its letter where the platform reports one, and an
        // arrow with Alt would scroll the view as if it had moved the caret.
        const bool withCtrl = (mods & (Qt::ControlModifier | Qt::MetaModifier)) && !(mods & Qt::AltModifier);
        if (withCtrl || isArrow(e->key())) {
            e->accept();
            return;
        }
    }
    if (m_caretColumnStale && movesAcrossLines(e->key())) {
        SendScintilla(SCI_CHOOSECARETX);
        m_caretColumnStale = false;
    }
    Document::EditStep step(*m_document);
    if (tab) {
        e->accept();
        typeTab();
    } else {
        QsciScintilla::keyPressEvent(e);
    }
    if (m_keyAid)
        m_keyAid->keyDone(*e);
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
    // The control's paste clears the selection before it finds it may not
    // insert, so a locked paste would still lose the user's selection.
    if (e->matches(QKeySequence::Paste))
        return true;
    if (e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return false;
    const QString text = e->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

void RichTextBox::inputMethodEvent(QInputMethodEvent* e)
{
    Document::EditStep step(*m_document);
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
    // A click chooses the column Up and Down keep to; a paste with the
    // middle button moves the caret without choosing one.
    m_caretColumnStale = e->button() != Qt::LeftButton;
    Document::EditStep step(*m_document);
    streamSelecting(e, [this](QMouseEvent* plain) { QsciScintilla::mousePressEvent(plain); });
}

void RichTextBox::mouseDoubleClickEvent(QMouseEvent* e)
{
    streamSelecting(e, [this](QMouseEvent* plain) { QsciScintilla::mouseDoubleClickEvent(plain); });
}

void RichTextBox::mouseMoveEvent(QMouseEvent* e)
{
    // A drag that starts here and moves the text to another program
    // removes it here when it ends.
    Document::EditStep step(*m_document);
    streamSelecting(e, [this](QMouseEvent* plain) { QsciScintilla::mouseMoveEvent(plain); });
}

void RichTextBox::mouseReleaseEvent(QMouseEvent* e)
{
    Document::EditStep step(*m_document);
    streamSelecting(e, [this](QMouseEvent* plain) { QsciScintilla::mouseReleaseEvent(plain); });
}

QByteArray RichTextBox::fromMimeData(const QMimeData* source, bool& rectangular) const
{
    // Text pasted or dropped, also from a program that marks it as a column,
    // goes in as one stream at the caret.
    QByteArray text = QsciScintilla::fromMimeData(source, rectangular);
    rectangular = false;
    return text;
}

void RichTextBox::dropEvent(QDropEvent* e)
{
    Document::EditStep step(*m_document);
    QsciScintilla::dropEvent(e);
    m_caretColumnStale = true;
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
