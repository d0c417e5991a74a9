#include "shell/RecoveryKeeper.h"
#include "services/EditorOptions.h"
#include "files/RecoveryFile.h"
#include "editor/RichTextBox.h"
#include "shell/DocumentState.h"
#include "shell/FileCommands.h"
#include "shell/NoticeBar.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

const QString RecoveryKeeper::kNoticeId = QStringLiteral("recovery");
const QString RecoveryKeeper::kFailureNoticeId = QStringLiteral("recoveryFailed");

namespace {

// The text as the control holds it. The engine keeps it in two parts around
// a gap where the last edit was; each part is copied where it lies, so the
// snapshot costs one pass over the bytes and leaves the gap (and the next
// keystroke) where it was.
QByteArray snapshot(const RichTextBox& pad)
{
    using E = QsciScintillaBase;
    const QsciScintillaBase& engine = pad.engine();
    const long length = engine.SendScintilla(E::SCI_GETLENGTH);
    const long gap = std::clamp(engine.SendScintilla(E::SCI_GETGAPPOSITION), 0L, length);
    QByteArray text(length, Qt::Uninitialized);
    const auto part = [&](long start, long size) {
        if (size > 0)
            std::memcpy(text.data() + start,
                        reinterpret_cast<const char*>(
                            engine.SendScintilla(E::SCI_GETRANGEPOINTER, static_cast<unsigned long>(start), size)),
                        size_t(size));
    };
    part(0, gap);
    part(gap, length - gap);
    return text;
}

QString describe(const RecoveryFile::Header& h)
{
    return h.path.isEmpty() ? QStringLiteral("an untitled document") : QLatin1Char('"') + h.path + QLatin1Char('"');
}

}

RecoveryKeeper::RecoveryKeeper(RichTextBox& pad, DocumentState& doc, FileCommands& files, NoticeBar& notices,
                               QObject* parent, const QString& folder)
    : QObject(parent), m_pad(pad), m_doc(doc), m_files(files), m_notices(notices), m_folder(folder)
{
    QString error;
    if (!m_folder.open(&error))
        m_notices.showNotice(kFailureNoticeId, QStringLiteral("Unsaved work cannot be kept for recovery: ") + error,
                             {});
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        // One write at a time: a slow disk gets the next copy when it is ready.
        if (m_writesInFlight > 0) {
            m_timer.start(m_quietMs);
            return;
        }
        writeNow();
    });
    connect(&m_doc, &DocumentState::changedChanged, this, &RecoveryKeeper::onChangedFlag);
    // Saved, reverted or loaded: the text is what is on disk.
    connect(&m_doc, &DocumentState::synced, this, [this] {
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
    if (!m_pendingSince.isValid())
        m_pendingSince.start();
    // Each change puts the copy off until typing pauses, but not for ever.
    if (!m_timer.isActive() || m_pendingSince.elapsed() < kLongestWaitMs)
        m_timer.start(m_quietMs);
}

void RecoveryKeeper::textOnlyHere()
{
    textEdited();
}

void RecoveryKeeper::onChangedFlag(const QString& changed)
{
    if (changed == DocumentState::Yes) {
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
    if (!EditorOptions::recoveryCopies())
        discardCopy();
    else if (m_needsCopy && m_doc.isChanged() && !m_timer.isActive())
        m_timer.start(m_quietMs);
}

void RecoveryKeeper::writeNow()
{
    m_timer.stop();
    m_pendingSince.invalidate();
    if (m_ended || !m_needsCopy || !m_doc.isChanged() || !m_folder.isOpen())
        return;
    if (!EditorOptions::recoveryCopies()) {
        discardCopy();   // the copy is still owed if the option comes back on
        return;
    }
    m_needsCopy = false;
    const RecoveryFile::Header header{m_doc.location(), m_pad.document().format(), QCoreApplication::applicationPid()};
    const QByteArray text = snapshot(m_pad);
    ++m_writesInFlight;
    m_worker.post([this, path = m_folder.ownCopy(), header, text] {
        const QString error = RecoveryFile::save(path, header, text);
        QMetaObject::invokeMethod(this, [this, error] { written(error); }, Qt::QueuedConnection);
    });
}

void RecoveryKeeper::written(const QString& error)
{
    --m_writesInFlight;
    if (error.isEmpty())
        m_notices.hideNotice(kFailureNoticeId);
    else
        m_notices.showNotice(kFailureNoticeId, QStringLiteral("Unsaved work cannot be kept for recovery: ") + error,
                             {});
}

void RecoveryKeeper::discardCopy()
{
    m_timer.stop();
    m_pendingSince.invalidate();
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
    for (RecoveryFolder::Leftover& l : m_folder.claimLeftovers())
        m_offers.push_back(std::make_shared<RecoveryFolder::Leftover>(std::move(l)));
    m_offersTotal = int(m_offers.size());
    offerNext();
}

void RecoveryKeeper::offerNext()
{
    if (m_offers.empty()) {
        m_notices.hideNotice(kNoticeId);
        return;
    }
    const RecoveryFolder::Leftover& offer = *m_offers.front();
    const QString count = m_offersTotal > 1 ? QStringLiteral(" (%1 of %2)")
                                                  .arg(m_offersTotal - int(m_offers.size()) + 1)
                                                  .arg(m_offersTotal)
                                            : QString();
    QFile file(offer.copy);
    std::optional<RecoveryFile::Start> start;
    if (file.open(QIODevice::ReadOnly))
        start = RecoveryFile::parseHeader(file.read(64 * 1024));
    if (!start) {
        m_notices.showNotice(kNoticeId,
                             QStringLiteral("Unsaved work from a Quirkpad that did not close normally cannot be read (")
                                 + offer.copy + QStringLiteral(").") + count,
                             {QStringLiteral("Discard")}, [this](int button) {
                                 if (button == 0)
                                     discardOffered();
                                 else
                                     postponeOffers();
                             });
        return;
    }
    m_notices.showNotice(kNoticeId,
                         QStringLiteral("Unsaved work from a Quirkpad that did not close normally: %1, as it was at %2.")
                                 .arg(describe(start->header), offer.written.toString(QStringLiteral("yyyy-MM-dd HH:mm")))
                             + count,
                         {QStringLiteral("Open"), QStringLiteral("Discard")}, [this](int button) {
                             if (button == 0)
                                 openOffered();
                             else if (button == 1)
                                 discardOffered();
                             else
                                 postponeOffers();
                         });
}

void RecoveryKeeper::openOffered()
{
    const std::shared_ptr<RecoveryFolder::Leftover> offer = m_offers.front();
    // The document open now is asked about first, as Open asks.
    if (!m_files.askToSave(QStringLiteral("Would you like to save your document before opening another?"))) {
        offerNext();
        return;
    }
    QFile file(offer->copy);
    std::optional<RecoveryFile::Contents> copy;
    if (file.open(QIODevice::ReadOnly))
        copy = RecoveryFile::parse(file.readAll());
    file.close();
    if (!copy) {
        offerNext();   // now says it cannot be read
        return;
    }
    m_pad.LoadText(copy->text, copy->header.format);
    m_doc.restored(copy->header.path);
    // This editor's own copy is on disk before the old one goes.
    m_needsCopy = true;
    writeNow();
    m_offers.erase(m_offers.begin());
    const bool ownCopyOwed = m_folder.isOpen() && EditorOptions::recoveryCopies();
    m_worker.post([offer, ownCopyOwed, ownCopy = m_folder.ownCopy()] {
        // A copy that could not be written leaves the old one for the next start.
        if (ownCopyOwed && !QFileInfo::exists(ownCopy))
            return;
        QFile::remove(offer->copy);
        offer->lock.removeAndRelease();
    });
    offerNext();
}

void RecoveryKeeper::discardOffered()
{
    const std::shared_ptr<RecoveryFolder::Leftover> offer = m_offers.front();
    m_offers.erase(m_offers.begin());
    QFile::remove(offer->copy);
    offer->lock.removeAndRelease();
    offerNext();
}

void RecoveryKeeper::postponeOffers()
{
    // Left for the next start; another editor started meanwhile may offer
    // them from now on.
    m_offers.clear();
    m_notices.hideNotice(kNoticeId);
}
