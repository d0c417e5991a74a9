#include "document/Document.h"
#include "base/Failure.h"

#include <QMetaObject>
#include <QScopeGuard>

// The engine's own document: the text buffer every view of this document
// shares, with its undo history, line index and marks.
#include <cstddef>
#include <forward_list>
#include <memory>
#include <string>
#include <vector>

#include <Platform.h>
#include <ILoader.h>
#include <ILexer.h>
#include <Scintilla.h>
#include <CharacterCategory.h>
#include <Position.h>
#include <SplitVector.h>
#include <Partitioning.h>
#include <RunStyles.h>
#include <CellBuffer.h>
#include <PerLine.h>
#include <CharClassify.h>
#include <Decoration.h>
#include <CaseFolder.h>
#include <Document.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <limits>
#include <new>

namespace {

int engineEol(LineBreak style)
{
    switch (style) {
    case LineBreak::Lf: return SC_EOL_LF;
    case LineBreak::Cr: return SC_EOL_CR;
    case LineBreak::CrLf: break;
    }
    return SC_EOL_CRLF;
}

}

// Owns one reference to the engine's document and hears of every change of
// its text, whichever view or step made it.
class Document::Engine : public Scintilla::DocWatcher {
public:
    explicit Engine(Document& owner) : m_owner(owner)
    {
        // A document without style bytes: plain text needs none, and a large
        // file then costs its own size in memory, not twice that. Colouring
        // gives it style bytes when it is switched on.
        doc = new Scintilla::Document(SC_DOCUMENTOPTION_STYLES_NONE);
        doc->AddRef();
        doc->SetDBCSCodePage(SC_CP_UTF8);
        // Positions are counted in UTF-16 code units: the engine keeps a
        // UTF-16 index per line so that no conversion walks more than a line.
        doc->AllocateLineCharacterIndex(SC_LINECHARACTERINDEX_UTF16);
        doc->SetUndoMemoryBudget(Document::kUndoMemoryFloor, 2);
        doc->AddWatcher(this, nullptr);
    }
    ~Engine() override
    {
        doc->RemoveWatcher(this, nullptr);
        doc->Release();
    }

    void NotifyModifyAttempt(Scintilla::Document*, void*) override {}
    void NotifySavePoint(Scintilla::Document*, void*, bool) override {}
    void NotifyModified(Scintilla::Document*, Scintilla::DocModification mh, void*) override
    {
        if (mh.modificationType & (SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT))
            m_owner.textModified(long(mh.position));
    }
    void NotifyDeleted(Scintilla::Document*, void*) noexcept override {}
    void NotifyStyleNeeded(Scintilla::Document*, void*, Sci::Position) override {}
    void NotifyLexerChanged(Scintilla::Document*, void*) override {}
    void NotifyErrorOccurred(Scintilla::Document*, void*, int) override {}

    Scintilla::Document* doc = nullptr;

private:
    Document& m_owner;
};

namespace {

// Program steps write even when the user's typing is locked out.
class Writable {
public:
    explicit Writable(Scintilla::Document* doc) : m_doc(doc), m_wasLocked(doc->IsReadOnly())
    {
        if (m_wasLocked)
            m_doc->SetReadOnly(false);
    }
    ~Writable()
    {
        if (m_wasLocked)
            m_doc->SetReadOnly(true);
    }
    Writable(const Writable&) = delete;
    Writable& operator=(const Writable&) = delete;

private:
    Scintilla::Document* m_doc;
    bool m_wasLocked;
};

// No undo steps are recorded while this lives; recording is back as it was
// however the step ends.
class NoUndoRecord {
public:
    explicit NoUndoRecord(Scintilla::Document* doc) : m_doc(doc), m_was(doc->IsCollectingUndo())
    {
        m_doc->SetUndoCollection(false);
    }
    ~NoUndoRecord() { m_doc->SetUndoCollection(m_was); }
    NoUndoRecord(const NoUndoRecord&) = delete;
    NoUndoRecord& operator=(const NoUndoRecord&) = delete;

private:
    Scintilla::Document* m_doc;
    bool m_was;
};

}

Document::Document(QObject* parent) : QObject(parent), m_engine(std::make_unique<Engine>(*this))
{
    setFormat(TextFormat::forNewDocument());
}

Document::~Document() = default;

void* Document::engineDocument() const
{
    return m_engine->doc;
}

// --- Steps and changes -------------------------------------------------------

Document::EditStep::EditStep(Document& document) : m_document(document)
{
    ++m_document.m_stepDepth;
}

Document::EditStep::~EditStep()
{
    if (--m_document.m_stepDepth == 0 && m_document.m_changePending) {
        m_document.m_changePending = false;
        m_document.setModified(true);
        m_document.emitChanged();
    }
}

void Document::markChanged()
{
    m_changePending = true;
}

void Document::emitChanged()
{
    const long from = m_changedFrom;
    m_changedFrom = -1;
    if (from >= 0)
        emit edited(from);
    emit contentsChanged();
}

void Document::textModified(long position)
{
    if (m_changedFrom < 0 || position < m_changedFrom)
        m_changedFrom = position;
    emit textChangedFrom(position);
    if (m_stepDepth > 0) {
        m_changePending = true;
        return;
    }
    // An edit from a path outside any step: reported once the event loop
    // is back, when the text is the new one.
    if (!m_changePending) {
        m_changePending = true;
        QMetaObject::invokeMethod(this, [this] {
            if (m_stepDepth == 0 && m_changePending) {
                m_changePending = false;
                setModified(true);
                emitChanged();
            }
        }, Qt::QueuedConnection);
    }
}

// --- The text ----------------------------------------------------------------

QByteArrayView Document::utf8() const
{
    const Sci::Position length = m_engine->doc->Length();
    if (length == 0)
        return {};
    return QByteArrayView(m_engine->doc->BufferPointer(), length);
}

QByteArray Document::snapshot() const
{
    // The engine keeps the text in two parts around a gap where the last
    // edit was; each part is copied where it lies, so the copy costs one
    // pass over the bytes and the next keystroke finds the gap where it was.
    Scintilla::Document* doc = m_engine->doc;
    const long length = byteLength();
    const long gap = std::clamp(long(doc->GapPosition()), 0L, length);
    QByteArray text(length, Qt::Uninitialized);
    if (gap > 0)
        std::memcpy(text.data(), doc->RangePointer(0, gap), size_t(gap));
    if (length > gap)
        std::memcpy(text.data() + gap, doc->RangePointer(gap, length - gap), size_t(length - gap));
    return text;
}

QByteArrayView Document::utf8Range(long startByte, long endByte) const
{
    const long length = byteLength();
    startByte = std::clamp(startByte, 0L, length);
    endByte = std::clamp(endByte, startByte, length);
    if (endByte == startByte)
        return {};
    return QByteArrayView(m_engine->doc->RangePointer(startByte, endByte - startByte), endByte - startByte);
}

long Document::byteLength() const
{
    return long(m_engine->doc->Length());
}

QString Document::text() const
{
    const QByteArrayView bytes = utf8();
    return QString::fromUtf8(bytes.data(), bytes.size());
}

void Document::setText(const QString& text)
{
    setTextUtf8(text.toUtf8());
}

void Document::setTextUtf8(QByteArrayView utf8)
{
    EditStep step(*this);
    // Assigning the whole text is a change even when the text stays as it
    // was (the empty text given to an empty document): the engine reports
    // no edit then.
    markChanged();
    replaceBytes(0, byteLength(), utf8);
}

int Document::textLength() const
{
    return utf16Pos(byteLength());
}

void Document::replaceBytes(long startByte, long endByte, QByteArrayView utf8)
{
    Scintilla::Document* doc = m_engine->doc;
    Writable writable(doc);
    EditStep step(*this);
    startByte = std::clamp(startByte, 0L, byteLength());
    endByte = std::clamp(endByte, startByte, byteLength());
    // One undo step for the deletion and the insertion together.
    doc->BeginUndoAction();
    if (endByte > startByte)
        doc->DeleteChars(startByte, endByte - startByte);
    if (!utf8.isEmpty())
        doc->InsertString(startByte, utf8.data(), utf8.size());
    doc->EndUndoAction();
}

Result<long> Document::replaceBytesFrom(long startByte, long endByte, qint64 expectedBytes,
                                        const PieceWriter& write)
{
    Scintilla::Document* doc = m_engine->doc;
    Writable writable(doc);
    const long before = byteLength();
    startByte = std::clamp(startByte, 0L, before);
    endByte = std::clamp(endByte, startByte, before);
    if (expectedBytes > 0) {
        // One byte more: the engine makes new room when an insertion would
        // fill the gap exactly.
        const qint64 most = std::numeric_limits<int>::max();
        doc->Allocate(Sci::Position(std::min(before + expectedBytes + 1, most)));
    }
    // The new text goes in behind the replaced bytes, which go once all of
    // it is in: a failure on the way only has to take out what came.
    const bool changeWasPending = m_changePending;
    long at = endByte;
    Result<> result;
    {
        EditStep step(*this);
        doc->BeginUndoAction();
        try {
            result = write([&](const char* utf8, qsizetype length) {
                if (length > 0)
                    at += long(doc->InsertString(at, utf8, length));
            });
        } catch (...) {
            result = Failure(describeFailure(std::current_exception()));
        }
        const long inserted = byteLength() - before;
        // The engine takes what it can when memory runs out, and says nothing.
        if (result && inserted != at - endByte)
            result = Failure(describeFailure(std::make_exception_ptr(std::bad_alloc())));
        if (result)
            doc->DeleteChars(startByte, endByte - startByte);
        else
            doc->DeleteChars(endByte, inserted);
        doc->EndUndoAction();
        if (!result) {
            // The step that came to nothing goes back onto the redo side,
            // so that Undo undoes the user's last edit as before.
            if (inserted > 0)
                doc->Undo();
            m_changePending = changeWasPending;
        }
    }
    if (!result)
        return Failure(result.error());
    return startByte + (at - endByte);
}

long Document::replaceInPieces(long startByte, long endByte, const PieceMaker& next)
{
    Scintilla::Document* doc = m_engine->doc;
    Writable writable(doc);
    EditStep step(*this);
    startByte = std::clamp(startByte, 0L, byteLength());
    endByte = std::clamp(endByte, startByte, byteLength());
    doc->BeginUndoAction();
    const auto endUndoStep = qScopeGuard([doc] { doc->EndUndoAction(); });
    long at = startByte;
    long restEnd = endByte;
    while (at < restEnd) {
        // The gap stands where the last piece went, so the rest is
        // contiguous already and nothing moves.
        const char* rest = doc->RangePointer(at, restEnd - at);
        const Piece piece = next(QByteArrayView(rest, restEnd - at));
        const long replaces = std::clamp<long>(long(piece.replaces), 1, restEnd - at);
        doc->DeleteChars(at, replaces);
        if (!piece.text.isEmpty())
            doc->InsertString(at, piece.text.constData(), piece.text.size());
        at += long(piece.text.size());
        restEnd += long(piece.text.size()) - replaces;
    }
    return at;
}

long Document::bytePos(int u16) const
{
    if (u16 <= 0)
        return 0;
    Scintilla::Document* doc = m_engine->doc;
    const long length = byteLength();
    if (u16 >= utf16Pos(length))
        return length;
    const Sci::Line line = doc->LineFromPositionIndex(u16, SC_LINECHARACTERINDEX_UTF16);
    const Sci::Position lineStart = doc->LineStart(line);
    Sci::Position offset = u16 - doc->IndexLineStart(line, SC_LINECHARACTERINDEX_UTF16);
    while (offset > 0) {
        const Sci::Position p = doc->GetRelativePositionUTF16(lineStart, offset);
        if (p >= 0)
            return long(std::min<Sci::Position>(p, length));
        // Between the halves of a surrogate pair: the character's start.
        --offset;
    }
    return long(lineStart);
}

int Document::utf16Pos(long byte) const
{
    if (byte <= 0)
        return 0;
    Scintilla::Document* doc = m_engine->doc;
    byte = std::min(byte, byteLength());
    const Sci::Line line = doc->SciLineFromPosition(byte);
    const Sci::Position lineStart = doc->LineStart(line);
    return int(doc->IndexLineStart(line, SC_LINECHARACTERINDEX_UTF16) + doc->CountUTF16(lineStart, byte));
}

int Document::lineCount() const
{
    return int(m_engine->doc->LinesTotal());
}

long Document::lineStartByte(int line) const
{
    return long(m_engine->doc->LineStart(line));
}

int Document::lineOfByte(long bytePos) const
{
    return int(m_engine->doc->SciLineFromPosition(bytePos));
}

// --- Undo and lock -------------------------------------------------------------

bool Document::canUndo() const
{
    return m_engine->doc->CanUndo();
}

bool Document::canRedo() const
{
    return m_engine->doc->CanRedo();
}

long Document::undo()
{
    if (!canUndo())
        return -1;
    Writable writable(m_engine->doc);
    EditStep step(*this);
    return long(m_engine->doc->Undo());
}

long Document::redo()
{
    if (!canRedo())
        return -1;
    Writable writable(m_engine->doc);
    EditStep step(*this);
    return long(m_engine->doc->Redo());
}

bool Document::collectsUndo() const
{
    return m_engine->doc->IsCollectingUndo();
}

void Document::setCollectsUndo(bool collect)
{
    m_engine->doc->SetUndoCollection(collect);
}

void Document::clearUndo()
{
    m_engine->doc->DeleteUndoHistory();
}

void Document::setUndoMemoryBudget(qint64 floor, int perTextByte)
{
    m_engine->doc->SetUndoMemoryBudget(Sci::Position(floor), perTextByte);
}

qint64 Document::undoMemory() const
{
    return qint64(m_engine->doc->UndoMemoryHeld());
}

bool Document::isLocked() const
{
    return m_engine->doc->IsReadOnly();
}

void Document::setLocked(bool locked)
{
    if (locked == isLocked())
        return;
    m_engine->doc->SetReadOnly(locked);
    emit lockedChanged(locked);
}

// --- Format, location, modified flag, caption ----------------------------

void Document::setFormat(const TextFormat& format)
{
    const bool differs = !(format == m_format);
    m_format = format;
    // Enter in any view types the document's own line break.
    m_engine->doc->eolMode = engineEol(format.lineBreak);
    if (differs)
        emit formatChanged(m_format);
}

QString Document::inLineBreaks(const QString& crlfText) const
{
    return TextFormats::withLineBreaks(crlfText, m_format.lineBreak);
}

void Document::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

QString Document::captionFor(const QString& path)
{
    if (path.isEmpty())
        return kAppTitle;
    return kAppTitle + QStringLiteral(" (\"") + path + QStringLiteral("\")");
}

void Document::setCaption(const QString& caption)
{
    if (m_caption == caption)
        return;
    m_caption = caption;
    emit captionChanged(caption);
}

void Document::setLocation(const QString& path)
{
    if (m_location == path)
        return;
    m_location = path;
    emit locationChanged(path);
}

void Document::becomeUntitled()
{
    setLocation(QString());
    setModified(false);
    setCaption(kAppTitle);
}

void Document::becomeNamed(const QString& path)
{
    setLocation(path);
    setModified(false);
    setCaption(captionFor(path));
    emit synced(path);
}

void Document::becomeSaved()
{
    setModified(false);
    emit synced(m_location);
}

void Document::becomeReverted()
{
    setModified(true);
    emit synced(m_location);
}

void Document::becomeReloaded()
{
    setModified(false);
    emit synced(m_location);
}

void Document::becomeRestored(const QString& path)
{
    setLocation(path);
    setCaption(captionFor(path));
    setModified(true);
}

// --- Files -------------------------------------------------------------------

Result<Document::LoadInfo> Document::load(const QString& path, const LoadProgress& progress)
{
    m_lastLoadLostText = false;
    emit aboutToLoad(path);
    Scintilla::Document* doc = m_engine->doc;
    Result<TextFile::ReadInfo> r = Failure(QString());
    // Set when the file's text starts to replace the document's: from then
    // on a failure has lost the old text.
    bool cleared = false;
    qint64 loaded = 0;
    qint64 total = 0;
    {
        Writable writable(doc);
        EditStep step(*this);
        // No undo record of a whole file: it would double the memory of a large one.
        NoUndoRecord noUndo(doc);
        try {
            r = TextFile::read(
                path,
                [&](const char* p, qsizetype n) {
                    doc->InsertString(doc->Length(), p, n);
                    loaded += n;
                    if (progress)
                        progress(loaded, total);
                },
                [&](qsizetype utf8Length) {
                    // Told before the first piece, once the file is known
                    // readable and small enough: the old text goes, and room
                    // for exactly the new one is made at once, with no growing
                    // by copying and no unused room kept.
                    cleared = true;
                    doc->DeleteChars(0, doc->Length());
                    doc->Allocate(utf8Length + 1);
                    loaded = 0;
                    total = utf8Length;
                    if (progress)
                        progress(0, total);
                },
                TextFile::kMaxTextLength);
        } catch (...) {
            // Out of memory making room or appending: reported like any other
            // failure of the load.
            r = Failure(describeFailure(std::current_exception()));
        }
        if (r) {
            finishLoad(r->format);
        } else if (cleared) {
            // Part of a file is no document: what remains is a new, empty one.
            doc->DeleteChars(0, doc->Length());
            finishLoad(TextFormat::forNewDocument());
        }
    }
    if (!r) {
        if (cleared) {
            m_lastLoadLostText = true;
            becomeUntitled();
        }
        return Failure(r.error());
    }
    return *r;
}

void Document::loadText(QByteArrayView utf8, const TextFormat& format)
{
    Writable writable(m_engine->doc);
    EditStep step(*this);
    {
        NoUndoRecord noUndo(m_engine->doc);
        replaceBytes(0, byteLength(), utf8);
    }
    finishLoad(format);
}

void Document::finishLoad(const TextFormat& format)
{
    // A change even when the text is the one there was (an empty file into
    // an empty document), as for any whole-text assignment.
    markChanged();
    clearUndo();
    setFormat(format);
    emit loaded();
}

Result<Document::SaveInfo> Document::save(const QString& path)
{
    const Result<TextFile::WriteInfo> r = TextFile::write(path, utf8(), m_format);
    if (!r)
        return Failure(r.error());
    if (r->switchedToUtf8)
        setFormat(r->written);
    return SaveInfo{r->switchedToUtf8};
}
