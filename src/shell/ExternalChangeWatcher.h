#pragma once
#include "files/FileFingerprint.h"
#include "base/SerialWorker.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

class Document;
class NoticeBar;

// Notices when another program writes, replaces or removes the open file,
// and says so in a notice above the text, once per burst of changes, with
// Reload and Ignore. This editor's own saves and loads are recognised by
// what it recorded right after them: which file it is, its size and times,
// and a digest of its bytes; a file that was only touched, or rewritten
// with the same bytes, is no change either.
//
// The file and its folder are both watched: a program that saves by writing
// a new file and renaming it over the old one leaves the watched file gone.
class ExternalChangeWatcher : public QObject {
    Q_OBJECT
public:
    // Changes closer together than this are one burst.
    static constexpr int kSettleMs = 300;

    ExternalChangeWatcher(Document& doc, NoticeBar& notices, QObject* parent = nullptr);

    // Reload: the file read again, throwing away unsaved changes, which the
    // notice warns of while there are any.
    std::function<void()> reload;

    // The file as this editor last read, wrote or was told of it, and a
    // digest of its bytes once one is at hand.
    const FileFingerprint& knownFile() const { return m_known; }
    const std::optional<QByteArray>& knownDigest() const { return m_knownDigest; }
    // The text came from an older state of the file (recovered work) than
    // the one on disk: says so as for any change by another program.
    void textIsOlderThanFile();

    static const QString kNoticeId;

signals:
    // The file is gone; the text in the editor is all that is left of it.
    void fileRemoved();

private:
    void follow(const QString& path);
    void rememberDisk();
    void watchFile(const FileFingerprint& now);
    void check();
    void compareBytes(const FileFingerprint& now);
    void changed();
    void showChanged();
    void removed();

    Document& m_doc;
    NoticeBar& m_notices;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_path;
    // The notice shown is the one about a change (not about a removal).
    bool m_changeShown = false;
    quint64 m_watchedInode = 0;
    // The file as this editor last knew it: after its own load or save, or
    // a change the user has been told of.
    FileFingerprint m_known;
    std::optional<QByteArray> m_knownDigest;
    // A digest of the known file has been asked for (it may not be here yet).
    bool m_digestComing = false;
    // Counts what m_known has been; a digest taken for an older one is stale.
    quint64 m_knownGeneration = 0;
    // Last member: its jobs end before the rest goes.
    SerialWorker m_digests;
};
