#pragma once
#include "base/Result.h"
#include "files/TextFile.h"
#include "files/TextFormat.h"

#include <QByteArrayView>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

// The one document being edited: its text, the format its file is written
// in, where it lives, whether it has unsaved changes, and the window caption
// that names it. It is no widget: views (the editing control, and any other
// that shows the same text) observe it and edit it, and so does code that
// has no view at all.
//
// Positions of the text API are counted in UTF-16 code units, as QString
// counts them (a CR LF line break counts two); the byte API addresses the
// UTF-8 text as the engine keeps it.
//
// contentsChanged is raised once for every step that changes the text,
// synchronously at the end of that step (an EditStep), for typing and program
// steps alike; the document counts as modified from then on. Loads and
// whole-text assignments raise it too, even when the text stays the same.
class Document : public QObject {
    Q_OBJECT
public:
    static inline const QString kAppTitle = QStringLiteral("Quirkpad");

    explicit Document(QObject* parent = nullptr);
    ~Document() override;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // --- The text ---------------------------------------------------------
    QString text() const;
    void setText(const QString& text);
    // The same, from UTF-8 bytes: no conversion for text that is UTF-8 already.
    void setTextUtf8(QByteArrayView utf8);
    // The length in UTF-16 code units.
    int textLength() const;
    // The text as UTF-8, without a copy; valid until the next change.
    QByteArrayView utf8() const;
    // A copy of the text that leaves the engine's buffer as it is (a whole
    // view would gather it into one piece, moving the place of the last edit).
    QByteArray snapshot() const;
    // A part of it, the same way (only that part is made contiguous).
    QByteArrayView utf8Range(long startByte, long endByte) const;
    long byteLength() const;
    // Replaces the bytes [startByte, endByte) as one undoable step; the
    // lock does not apply to program steps.
    void replaceBytes(long startByte, long endByte, QByteArrayView utf8);

    // Replaces the bytes [startByte, endByte) by text made in pieces: `write`
    // hands each piece of UTF-8 to the sink it is given. One edit and one
    // undo step, and no copy of the new text besides the document's own and
    // its undo record: a merge of large files is never held whole on the way
    // in. Room for about expectedBytes more is made at once, so that the text
    // is not copied as it grows. When `write` fails, or the engine cannot
    // take a piece, the text and the undo steps are as they were and no
    // change is raised. On success, the byte position after the new text.
    using PieceWriter = std::function<Result<>(const TextFile::Utf8Sink& sink)>;
    Result<long> replaceBytesFrom(long startByte, long endByte, qint64 expectedBytes, const PieceWriter& write);

    // Replaces the bytes [startByte, endByte) a piece at a time, for new
    // text made from the old piece by piece: `next` is shown the bytes not
    // yet replaced and answers how many of them, from their start, the next
    // piece replaces (at least one) and by what. One undo step and one
    // change; the old and the new text are never both whole in memory
    // beside the undo record. Returns the byte position after the new text.
    struct Piece {
        qsizetype replaces = 0;
        QByteArray text;
    };
    using PieceMaker = std::function<Piece(QByteArrayView rest)>;
    long replaceInPieces(long startByte, long endByte, const PieceMaker& next);

    // UTF-16 position <-> byte position (a position inside a character is
    // taken to the character's start).
    long bytePos(int utf16Pos) const;
    int utf16Pos(long bytePos) const;

    int lineCount() const;
    long lineStartByte(int line) const;
    int lineOfByte(long bytePos) const;

    // --- Undo ---------------------------------------------------------------
    bool canUndo() const;
    bool canRedo() const;
    // Undoes or redoes one step; the byte position where it happened, -1
    // when there was none.
    long undo();
    long redo();
    // Whether steps are recorded for undo (a load records none).
    bool collectsUndo() const;
    void setCollectsUndo(bool collect);
    void clearUndo();
    // What the undo history may keep: the larger of this floor and twice the
    // text; past that its oldest steps go (the newest is always kept, so
    // Undo of the last command works), and a long session of large edits
    // does not hold memory for ever.
    static constexpr qint64 kUndoMemoryFloor = qint64(256) << 20;
    void setUndoMemoryBudget(qint64 floor, int perTextByte);
    // How many bytes of text the undo history keeps.
    qint64 undoMemory() const;

    // The user's typing is refused while locked; program steps still write.
    bool isLocked() const;
    void setLocked(bool locked);

    // --- Format, location, modified flag, caption ------------------------
    TextFormat format() const { return m_format; }
    void setFormat(const TextFormat& format);
    // Text a program builds with CR LF, in the document's line breaks.
    QString inLineBreaks(const QString& crlfText) const;

    QString location() const { return m_location; }
    bool isUntitled() const { return m_location.isEmpty(); }
    bool isModified() const { return m_modified; }
    void setModified(bool modified);
    // "Quirkpad", or "Quirkpad (" Q path Q ")": set only by the transitions
    // below; it does not follow the modified flag.
    QString caption() const { return m_caption; }
    static QString captionFor(const QString& path);

    // Transitions of the document's state (the text is loaded or written
    // by the steps that call these):
    // start, New, or a page taken as a new document: untitled, unmodified;
    void becomeUntitled();
    // a file was opened or saved under a new name;
    void becomeNamed(const QString& path);
    // the text was written to the location;
    void becomeSaved();
    // the text was read again from the location; it counts as modified all
    // the same, so that closing or New still asks;
    void becomeReverted();
    // the text was read again from the location at the user's word, and is
    // what is on disk;
    void becomeReloaded();
    // unsaved work brought back: it belongs to its file again (or is
    // untitled) and is not saved;
    void becomeRestored(const QString& path);
    // the location alone (the caption keeps what it showed).
    void setLocation(const QString& path);

    // --- Files ---------------------------------------------------------------
    // The file's format and size.
    using LoadInfo = TextFile::ReadInfo;
    // The one way a file's text becomes the document's: the whole text is
    // replaced by the file's, in one change with no undo step, and the
    // document takes the file's format; location and modified flag are the
    // caller's transition. A file that cannot be read, or is too large,
    // leaves the document as it was. A failure once the old text has gone
    // (the file changed while it was read, memory ran out) leaves a new,
    // empty, untitled document, so that no part of a file can be saved over
    // it; lastLoadLostText() then says so. No failure escapes as an exception.
    // `progress` is told how far the reading is, in bytes of the text
    // (total first known when the old text goes).
    using LoadProgress = std::function<void(qint64 done, qint64 total)>;
    Result<LoadInfo> load(const QString& path, const LoadProgress& progress = {});
    bool lastLoadLostText() const { return m_lastLoadLostText; }
    // The same from text kept elsewhere (recovered work).
    void loadText(QByteArrayView utf8, const TextFormat& format);

    struct SaveInfo {
        // UTF-8 was written instead of the format's encoding, which cannot
        // hold some character of the text; the document's format is now UTF-8.
        bool switchedToUtf8 = false;
    };
    // Writes the whole text in the document's format to the path; state
    // transitions are the caller's.
    Result<SaveInfo> save(const QString& path);

    // --- Steps -------------------------------------------------------------
    // Groups the changes of one step into a single contentsChanged, raised
    // when the outermost step ends.
    class EditStep {
    public:
        explicit EditStep(Document& document);
        ~EditStep();
        EditStep(const EditStep&) = delete;
        EditStep& operator=(const EditStep&) = delete;
    private:
        Document& m_document;
    };
    // Marks the step under way as a change even if the text stays the same
    // (assigning the same text, a load of an empty file into an empty
    // document).
    void markChanged();

    // The engine's document, for the views in the editing layer only.
    void* engineDocument() const;

signals:
    void contentsChanged();
    // Raised just before contentsChanged when the step changed bytes: the
    // first byte position any edit of the step touched. What lies before it
    // is as it was; from there on anything may have changed.
    void edited(long fromByte);
    // At once, for each insertion or deletion within a step: the text may
    // differ from this byte on; what lies before it is as it was. (The
    // step's contentsChanged follows at its end.)
    void textChangedFrom(long startByte);
    void modifiedChanged(bool modified);
    void lockedChanged(bool locked);
    void locationChanged(const QString& location);
    void captionChanged(const QString& caption);
    void formatChanged(const TextFormat& format);
    // Before a file's text replaces the document's (views and colouring
    // prepare for the file by its name).
    void aboutToLoad(const QString& path);
    // The whole text was just replaced by a load (views put the caret at
    // the start).
    void loaded();
    // The text was just read from, or written to, the file at the location:
    // what is on disk there is what this editor last saw of it.
    void synced(const QString& location);

private:
    class Engine;
    friend class Engine;
    void textModified(long position);
    void emitChanged();
    void setCaption(const QString& caption);
    void finishLoad(const TextFormat& format);

    std::unique_ptr<Engine> m_engine;
    TextFormat m_format;
    QString m_location;
    QString m_caption = kAppTitle;
    bool m_modified = false;
    bool m_lastLoadLostText = false;
    int m_stepDepth = 0;
    bool m_changePending = false;
    long m_changedFrom = -1;   // the first byte the pending change touched
};
