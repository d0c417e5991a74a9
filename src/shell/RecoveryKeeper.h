#pragma once
#include "files/RecoveryFile.h"
#include "files/RecoveryFolder.h"
#include "base/SerialWorker.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

class Document;
class SettingsStore;
class FileCommands;
class NoticeBar;

// Keeps the document's unsaved text in a recovery copy, so that a crash, a
// kill or a power cut loses nothing, and offers at start-up the work that
// editors which ended without closing left behind.
//
// The copy is written once typing has paused for a moment: the text is
// copied out of the control between two events (a few milliseconds for
// 20 MB) and written to disk on a thread of its own, so typing never waits
// for the disk. The copy goes whenever the text is again what is on disk or
// its changes were given up: a save, a revert, a load, a new document, and
// the end of a normal run. Each copy notes what the file was when the editor
// last read or wrote it, so that recovered work is never put over a newer
// file without a word.
//
// Saves that overwrite a file in place and were cut short leave a journal
// (see SaveJournal): the file may be incomplete, and the journal is offered
// with the copies, to put the file back as it was or to open the text that
// was being saved.
class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    static constexpr int kQuietMs = 2000;
    // Typing that never pauses still gets a copy within this time of the
    // first unsaved change.
    static constexpr int kLongestWaitMs = 30000;
    // Milliseconds on a steady clock.
    using Clock = std::function<qint64()>;

    RecoveryKeeper(Document& doc, FileCommands& files, SettingsStore& settings, NoticeBar& notices,
                   QObject* parent = nullptr, const QString& folder = RecoveryFolder::defaultPath());
    // Waits for the disk; the copy stays, as after any end that was not the
    // closing sequence.
    ~RecoveryKeeper() override;

    // Offers, one after another and the newest first, the work of editors
    // that no longer run.
    void offerLeftovers();
    // At the end of a normal run: this editor's copy and lock go; work
    // offered but not taken stays for the next start.
    void endOfSession();

    // The text was edited.
    void textEdited();
    // The text now exists nowhere else (its file was removed).
    void textOnlyHere();
    // Follows the option that switches copies off and on.
    void applyOption();

    // Copies the text out now and hands it to the disk (what a pause in
    // typing does).
    void writeNow();
    // Returns once everything handed to the disk is there.
    void waitForDisk();

    QString copyPath() const { return m_folder.ownCopy(); }
    void setQuietTime(int ms) { m_quietMs = ms; }
    void setClock(Clock clock) { m_clock = std::move(clock); }
    // The wait the next copy was last put off by; -1 when none is due.
    int copyDueIn() const { return m_timer.isActive() ? m_timer.interval() : -1; }

    // The document's file as the editor last read or wrote it (set by the
    // main window from the watch on the file).
    std::function<RecoveryFile::FileIdentity()> knownFile;

    static const QString kNoticeId;
    static const QString kFailureNoticeId;

signals:
    // Work was opened whose file another program has changed or removed
    // since the work was kept.
    void openedOverChangedFile();

private:
    struct Offer;
    void onModifiedChanged(bool modified);
    void discardCopy();
    void written(const Result<>& saved);
    void offerNext();
    QString countText() const;
    void offerCopy();
    void offerJournal(const QString& problem = QString());
    void openOffered();
    void openJournal();
    void putBackOffered();
    void restore(QByteArrayView text, const QString& path, const TextFormat& format);
    void discardOffered();
    void postponeOffers();

    Document& m_doc;
    FileCommands& m_files;
    SettingsStore& m_settings;
    NoticeBar& m_notices;
    RecoveryFolder m_folder;
    QTimer m_timer;
    Clock m_clock;
    qint64 m_pendingSince = -1;   // the first change not in a copy yet
    int m_quietMs = kQuietMs;
    bool m_needsCopy = false;
    int m_writesInFlight = 0;
    bool m_ended = false;
    std::vector<std::shared_ptr<Offer>> m_offers;
    int m_offersTotal = 0;
    // Last member: destroyed first, so every job has run before the folder
    // lets go of this editor's lock.
    SerialWorker m_worker;
};
