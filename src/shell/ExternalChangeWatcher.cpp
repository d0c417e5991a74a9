#include "shell/ExternalChangeWatcher.h"
#include "document/Document.h"
#include "shell/NoticeBar.h"

#include <QFileInfo>

const QString ExternalChangeWatcher::kNoticeId = QStringLiteral("externalChange");

ExternalChangeWatcher::ExternalChangeWatcher(Document& doc, NoticeBar& notices, QObject* parent)
    : QObject(parent), m_doc(doc), m_notices(notices)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &ExternalChangeWatcher::check);
    // Every event restarts the wait: the burst is looked at once it is over.
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_doc, &Document::locationChanged, this, &ExternalChangeWatcher::follow);
    // Loaded or saved by this editor: what is on disk is what it knows.
    connect(&m_doc, &Document::synced, this, [this] {
        m_changeShown = false;
        m_notices.hideNotice(kNoticeId);
        rememberDisk();
        // Gone the moment after this editor read or wrote it: removed by
        // another program, before any event could say so.
        if (!m_known.exists && !m_path.isEmpty())
            removed();
    });
    // Whether Reload would throw unsaved work away is said as it changes.
    connect(&m_doc, &Document::modifiedChanged, this, [this] {
        if (m_changeShown && m_notices.hasNotice(kNoticeId))
            showChanged();
    });
}

void ExternalChangeWatcher::follow(const QString& path)
{
    m_settle.stop();
    m_changeShown = false;
    m_notices.hideNotice(kNoticeId);
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_path = path;
    m_watchedInode = 0;
    if (!m_path.isEmpty())
        m_watcher.addPath(QFileInfo(m_path).absolutePath());
    rememberDisk();
}

void ExternalChangeWatcher::rememberDisk()
{
    m_known = FileFingerprint::of(m_path);
    m_knownDigest.reset();
    const quint64 generation = ++m_knownGeneration;
    watchFile(m_known);
    m_digestComing = m_known.exists && m_known.size <= FileDigest::kMaxSize;
    if (!m_digestComing)
        return;
    // The digest is taken off the window's thread: a large file is read whole.
    m_digests.post([this, path = m_path, known = m_known, generation] {
        const std::optional<QByteArray> digest = FileDigest::of(path, known);
        QMetaObject::invokeMethod(this, [this, digest, generation] {
            if (generation == m_knownGeneration)
                m_knownDigest = digest;
        }, Qt::QueuedConnection);
    });
}

void ExternalChangeWatcher::watchFile(const FileFingerprint& now)
{
    // A file replaced by a rename is another file: the watch moves to it.
    if (!now.exists || (now.inode == m_watchedInode && m_watcher.files().contains(m_path)))
        return;
    m_watcher.removePath(m_path);
    if (m_watcher.addPath(m_path))
        m_watchedInode = now.inode;
}

void ExternalChangeWatcher::check()
{
    if (m_path.isEmpty())
        return;
    const FileFingerprint now = FileFingerprint::of(m_path);
    watchFile(now);
    if (now == m_known)
        return;
    if (!now.exists) {
        removed();
        return;
    }
    if (m_digestComing && now.size == m_known.size) {
        compareBytes(now);
        return;
    }
    changed();
}

void ExternalChangeWatcher::compareBytes(const FileFingerprint& now)
{
    // Touched, or written again with the same bytes: no change to speak of.
    // The digest of the known file was asked for first, on the same thread,
    // so it is here by the time this one's answer arrives.
    const quint64 generation = m_knownGeneration;
    m_digests.post([this, path = m_path, now, generation] {
        const std::optional<QByteArray> digest = FileDigest::of(path, now);
        QMetaObject::invokeMethod(this, [this, now, digest, generation] {
            if (generation != m_knownGeneration)
                return;   // looked at again meanwhile
            if (digest && m_knownDigest && *digest == *m_knownDigest) {
                m_known = now;
                ++m_knownGeneration;
            } else if (FileFingerprint::of(m_path) == now) {
                changed();
            } else {
                m_settle.start();   // changed again while it was read: look once it settles
            }
        }, Qt::QueuedConnection);
    });
}

void ExternalChangeWatcher::textIsOlderThanFile()
{
    if (FileFingerprint::of(m_path).exists)
        changed();
    else
        removed();
}

void ExternalChangeWatcher::changed()
{
    // What the user is told of is known from now on: the same state of the
    // file does not come back as a new notice.
    rememberDisk();
    m_changeShown = true;
    showChanged();
}

void ExternalChangeWatcher::showChanged()
{
    QString text = QStringLiteral("The file \"%1\" was changed by another program.").arg(m_path);
    if (m_doc.isModified())
        text += QStringLiteral(" Reload takes its new text: your unsaved changes here will be lost.");
    m_notices.showNotice(kNoticeId, text, {QStringLiteral("Reload"), QStringLiteral("Ignore")}, [this](int button) {
        m_changeShown = false;
        if (button == 0 && reload)
            reload();
    });
}

void ExternalChangeWatcher::removed()
{
    m_changeShown = false;
    m_known = FileFingerprint();
    m_knownDigest.reset();
    m_digestComing = false;
    ++m_knownGeneration;
    // Nothing on disk holds the text any more: it counts as unsaved.
    m_doc.setModified(true);
    emit fileRemoved();
    m_notices.showNotice(kNoticeId,
                         QStringLiteral("The file \"%1\" was deleted or moved by another program. Its text stays "
                                        "here, marked as changed: Save writes it back.")
                             .arg(m_path),
                         {QStringLiteral("OK")});
}
