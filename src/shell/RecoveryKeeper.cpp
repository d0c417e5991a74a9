#include "shell/RecoveryKeeper.h"
#include "document/Document.h"
#include "services/SettingsStore.h"
#include "files/SaveJournal.h"
#include "files/TextFile.h"
#include "shell/FileCommands.h"
#include "shell/NoticeBar.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <cstring>

struct RecoveryKeeper::Offer {
    RecoveryFolder::Leftover left;
    std::optional<SaveJournal::Layout> journal;   // for a save cut short
    RecoveryFile::FileSince since = RecoveryFile::FileSince::Unchanged;
};

const QString RecoveryKeeper::kNoticeId = QStringLiteral("recovery");
const QString RecoveryKeeper::kFailureNoticeId = QStringLiteral("recoveryFailed");

namespace {

QString describe(const RecoveryFile::Header& h)
{
    return h.path.isEmpty() ? QStringLiteral("an untitled document") : QLatin1Char('"') + h.path + QLatin1Char('"');
}

qint64 steadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

QString sinceText(RecoveryFile::FileSince since)
{
    switch (since) {
    case RecoveryFile::FileSince::Changed: return QStringLiteral(" Another program has changed the file since.");
    case RecoveryFile::FileSince::Removed: return QStringLiteral(" The file has been deleted or moved since.");
    case RecoveryFile::FileSince::Unchanged: break;
    }
    return {};
}

}

RecoveryKeeper::RecoveryKeeper(Document& doc, FileCommands& files, SettingsStore& settings, NoticeBar& notices,
                               QObject* parent, const QString& folder)
    : QObject(parent), m_doc(doc), m_files(files), m_settings(settings), m_notices(notices), m_folder(folder), m_clock(steadyMs)
{
    if (const Result<> opened = m_folder.open(); !opened)
        m_notices.showNotice(kFailureNoticeId,
                             QStringLiteral("Unsaved work cannot be kept for recovery: ") + opened.error(), {});
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        // One write at a time: a slow disk gets the next copy when it is ready.
        if (m_writesInFlight > 0) {
            m_timer.start(m_quietMs);
            return;
        }
        writeNow();
    });
    connect(&m_doc, &Document::modifiedChanged, this, &RecoveryKeeper::onModifiedChanged);
    // Saved, reverted or loaded: the text is what is on disk.
    connect(&m_doc, &Document::synced, this, [this] {
        m_needsCopy = false;
        discardCopy();
    });
}

RecoveryKeeper::~RecoveryKeeper()
{
    m_timer.stop();
}

void RecoveryKeeper::textEdited()
{
    if (m_ended)
        return;
    m_needsCopy = true;
    const qint64 now = m_clock();
    if (m_pendingSince < 0)
        m_pendingSince = now;
    // Each change puts the copy off until typing pauses, but never past the
    // longest wait after the first change it holds.
    m_timer.start(int(std::clamp<qint64>(m_pendingSince + kLongestWaitMs - now, 0, m_quietMs)));
}

void RecoveryKeeper::textOnlyHere()
{
    textEdited();
}

void RecoveryKeeper::onModifiedChanged(bool modified)
{
    if (modified) {
        textEdited();
        return;
    }
    // Saved, or its changes given up (No at a save question, New, a page
    // taken as the document).
    m_needsCopy = false;
    discardCopy();
}

void RecoveryKeeper::applyOption()
{
    if (!m_settings.isOn(Setting::RecoveryCopies))
        discardCopy();
    else if (m_needsCopy && m_doc.isModified() && !m_timer.isActive())
        m_timer.start(m_quietMs);
}

void RecoveryKeeper::writeNow()
{
    m_timer.stop();
    m_pendingSince = -1;
    if (m_ended || !m_needsCopy || !m_doc.isModified() || !m_folder.isOpen())
        return;
    if (!m_settings.isOn(Setting::RecoveryCopies)) {
        discardCopy();   // the copy is still owed if the option comes back on
        return;
    }
    m_needsCopy = false;
    RecoveryFile::Header header{m_doc.location(), m_doc.format(), QCoreApplication::applicationPid(), {}};
    if (!header.path.isEmpty() && knownFile)
        header.file = knownFile();
    const QByteArray text = m_doc.snapshot();
    ++m_writesInFlight;
    m_worker.post([this, path = m_folder.ownCopy(), header, text] {
        const Result<> saved = RecoveryFile::save(path, header, text);
        QMetaObject::invokeMethod(this, [this, saved] { written(saved); }, Qt::QueuedConnection);
    });
}

void RecoveryKeeper::written(const Result<>& saved)
{
    --m_writesInFlight;
    if (saved)
        m_notices.hideNotice(kFailureNoticeId);
    else
        m_notices.showNotice(kFailureNoticeId,
                             QStringLiteral("Unsaved work cannot be kept for recovery: ") + saved.error(), {});
}

void RecoveryKeeper::discardCopy()
{
    m_timer.stop();
    m_pendingSince = -1;
    if (!m_folder.isOpen())
        return;
    m_worker.post([path = m_folder.ownCopy()] { QFile::remove(path); });
}

void RecoveryKeeper::waitForDisk()
{
    m_worker.waitForIdle();
}

void RecoveryKeeper::endOfSession()
{
    if (m_ended)
        return;
    discardCopy();
    m_ended = true;
    m_worker.waitForIdle();
    m_folder.close();
    postponeOffers();
}

void RecoveryKeeper::offerLeftovers()
{
    if (!m_folder.isOpen())
        return;
    for (RecoveryFolder::Leftover& l : m_folder.claimLeftovers()) {
        auto offer = std::make_shared<Offer>(Offer{std::move(l), std::nullopt});
        if (offer->left.kind == RecoveryFolder::Leftover::Kind::Journal) {
            // A save cut short before it touched the file, or after it had
            // written all of it, left nothing to undo.
            offer->journal = SaveJournal::inspect(offer->left.copy);
            if (!offer->journal || SaveJournal::saveWasComplete(offer->left.copy, *offer->journal)) {
                offer->left.lock.removeAndRelease();
                continue;
            }
        }
        m_offers.push_back(std::move(offer));
    }
    m_offersTotal = int(m_offers.size());
    offerNext();
}

void RecoveryKeeper::offerNext()
{
    if (m_offers.empty()) {
        m_notices.hideNotice(kNoticeId);
        return;
    }
    if (m_offers.front()->journal)
        offerJournal();
    else
        offerCopy();
}

QString RecoveryKeeper::countText() const
{
    return m_offersTotal > 1 ? QStringLiteral(" (%1 of %2)")
                                   .arg(m_offersTotal - int(m_offers.size()) + 1)
                                   .arg(m_offersTotal)
                             : QString();
}

void RecoveryKeeper::offerCopy()
{
    const QString count = countText();
    Offer& offer = *m_offers.front();
    QFile file(offer.left.copy);
    std::optional<RecoveryFile::Start> start;
    if (file.open(QIODevice::ReadOnly))
        start = RecoveryFile::parseHeader(file.read(64 * 1024));
    if (!start) {
        m_notices.showNotice(kNoticeId,
                             QStringLiteral("Unsaved work from a Quirkpad that did not close normally cannot be read (")
                                 + offer.left.copy + QStringLiteral(").") + count,
                             {QStringLiteral("Discard")}, [this](int button) {
                                 if (button == 0)
                                     discardOffered();
                                 else
                                     postponeOffers();
                             });
        return;
    }
    const RecoveryFile::Header& h = start->header;
    offer.since = h.file && !h.path.isEmpty() ? RecoveryFile::fileSince(h.path, *h.file)
                                              : RecoveryFile::FileSince::Unchanged;
    m_notices.showNotice(kNoticeId,
                         QStringLiteral("Unsaved work from a Quirkpad that did not close normally: %1, as it was at %2.")
                                 .arg(describe(h), offer.left.written.toString(QStringLiteral("yyyy-MM-dd HH:mm")))
                             + sinceText(offer.since) + count,
                         {QStringLiteral("Open"), QStringLiteral("Discard")}, [this](int button) {
                             if (button == 0)
                                 openOffered();
                             else if (button == 1)
                                 discardOffered();
                             else
                                 postponeOffers();
                         });
}

void RecoveryKeeper::offerJournal(const QString& problem)
{
    const Offer& offer = *m_offers.front();
    m_notices.showNotice(kNoticeId,
                         problem
                             + QStringLiteral("A save of \"%1\" was cut short at %2, when Quirkpad did not close "
                                              "normally: the file may be incomplete. Put Back makes it what it was "
                                              "before that save; Open brings back the text that was being saved.")
                                   .arg(offer.journal->path,
                                        offer.left.written.toString(QStringLiteral("yyyy-MM-dd HH:mm")))
                             + countText(),
                         {QStringLiteral("Put Back"), QStringLiteral("Open"), QStringLiteral("Discard")},
                         [this](int button) {
                             if (button == 0)
                                 putBackOffered();
                             else if (button == 1)
                                 openJournal();
                             else if (button == 2)
                                 discardOffered();
                             else
                                 postponeOffers();
                         });
}

void RecoveryKeeper::restore(QByteArrayView text, const QString& path, const TextFormat& format)
{
    const std::shared_ptr<Offer> offer = m_offers.front();
    m_doc.loadText(text, format);
    m_doc.becomeRestored(path);
    // This editor's own copy is on disk before the old one goes.
    m_needsCopy = true;
    writeNow();
    m_offers.erase(m_offers.begin());
    const bool ownCopyOwed = m_folder.isOpen() && m_settings.isOn(Setting::RecoveryCopies);
    m_worker.post([offer, ownCopyOwed, ownCopy = m_folder.ownCopy()] {
        // A copy that could not be written leaves the old one for the next start.
        if (ownCopyOwed && !QFileInfo::exists(ownCopy))
            return;
        QFile::remove(offer->left.copy);
        offer->left.lock.removeAndRelease();
    });
    if (offer->since != RecoveryFile::FileSince::Unchanged)
        emit openedOverChangedFile();
    offerNext();
}

void RecoveryKeeper::openOffered()
{
    // The document open now is asked about first, as Open asks.
    if (!m_files.askToSave(QStringLiteral("Would you like to save your document before opening another?"))) {
        offerNext();
        return;
    }
    QFile file(m_offers.front()->left.copy);
    std::optional<RecoveryFile::Contents> copy;
    if (file.open(QIODevice::ReadOnly))
        copy = RecoveryFile::parse(file.readAll());
    file.close();
    if (!copy) {
        offerNext();   // now says it cannot be read
        return;
    }
    restore(copy->text, copy->header.path, copy->header.format);
}

void RecoveryKeeper::openJournal()
{
    if (!m_files.askToSave(QStringLiteral("Would you like to save your document before opening another?"))) {
        offerNext();
        return;
    }
    const Offer& offer = *m_offers.front();
    const Result<QByteArray> bytes = SaveJournal::newBytes(offer.left.copy, *offer.journal);
    if (!bytes) {
        offerJournal(QStringLiteral("The text cannot be read: %1. ").arg(bytes.error()));
        return;
    }
    // The bytes as the file would have held them: read as the file would be.
    QByteArray text;
    const TextFormat format = TextFile::decode(
        *bytes, [&text](const char* p, qsizetype n) { text.append(p, n); },
        [&text](qsizetype length) {
            text.clear();
            text.reserve(length);
        });
    restore(text, offer.journal->path, format);
}

void RecoveryKeeper::putBackOffered()
{
    const std::shared_ptr<Offer> offer = m_offers.front();
    const Result<> done = SaveJournal::putBack(offer->left.copy, *offer->journal);
    if (!done) {
        offerJournal(QStringLiteral("The file cannot be put back: %1. ").arg(done.error()));
        return;
    }
    m_offers.erase(m_offers.begin());
    offer->left.lock.removeAndRelease();
    // The document shows the file as it was before: it is read again.
    if (m_doc.location() == offer->journal->path && !m_doc.isModified())
        m_files.loadAsDocument(offer->journal->path);
    offerNext();
}

void RecoveryKeeper::discardOffered()
{
    const std::shared_ptr<Offer> offer = m_offers.front();
    m_offers.erase(m_offers.begin());
    QFile::remove(offer->left.copy);
    offer->left.lock.removeAndRelease();
    offerNext();
}

void RecoveryKeeper::postponeOffers()
{
    // Left for the next start; another editor started meanwhile may offer
    // them from now on.
    m_offers.clear();
    m_notices.hideNotice(kNoticeId);
}
