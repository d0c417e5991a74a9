#pragma once
#include "files/RecoveryFolder.h"
#include "base/SerialWorker.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <memory>
#include <vector>

class DocumentState;
class FileCommands;
class NoticeBar;
class RichTextBox;

// Keeps the document's unsaved text in a recovery copy, so that a crash, a
// kill or a power cut loses nothing, and offers at start-up the work that
// editors which ended without closing left behind.
//
// The copy is written once typing has paused for a moment: the text is
// copied out of the control between two events (a few milliseconds for
// 20 MB) and written to disk on a thread of its own, so typing never waits
// for the disk. The copy goes whenever the text is again what is on disk or
// its changes were given up: a save, a revert, a load, a new document, and
// the end of a normal run.
class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    static constexpr int kQuietMs = 2000;
    // Typing that never pauses still gets a copy this often.
    static constexpr int kLongestWaitMs = 30000;

    RecoveryKeeper(RichTextBox& pad, DocumentState& doc, FileCommands& files, NoticeBar& notices,
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

    static const QString kNoticeId;
    static const QString kFailureNoticeId;

private:
    void onChangedFlag(const QString& changed);
    void discardCopy();
    void written(const QString& error);
    void offerNext();
    void openOffered();
    void discardOffered();
    void postponeOffers();

    RichTextBox& m_pad;
    DocumentState& m_doc;
    FileCommands& m_files;
    NoticeBar& m_notices;
    RecoveryFolder m_folder;
    QTimer m_timer;
    QElapsedTimer m_pendingSince;
    int m_quietMs = kQuietMs;
    bool m_needsCopy = false;
    int m_writesInFlight = 0;
    bool m_ended = false;
    std::vector<std::shared_ptr<RecoveryFolder::Leftover>> m_offers;
    int m_offersTotal = 0;
    // Last member: destroyed first, so every job has run before the folder
    // lets go of this editor's lock.
    SerialWorker m_worker;
};
