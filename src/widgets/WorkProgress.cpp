#include "widgets/WorkProgress.h"
#include "widgets/OwnedWindow.h"
#include "services/Prompts.h"

#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kSteps = 1000;

// Closing the window (Escape, the close box) is Cancel; where there is no
// Cancel, the window stays until the work is done.
class ProgressWindow : public QDialog {
public:
    ProgressWindow(const bool& cancellable, std::function<void()> onCancel)
        : m_cancellable(cancellable), m_onCancel(std::move(onCancel))
    {
    }

    void reject() override
    {
        if (!m_cancellable)
            return;
        m_onCancel();
        QDialog::reject();
    }

private:
    const bool& m_cancellable;
    std::function<void()> m_onCancel;
};

}

WorkProgress::Pacing WorkProgress::defaultPacing()
{
    Pacing p;
    p.clock = [] {
        static QElapsedTimer since = [] {
            QElapsedTimer t;
            t.start();
            return t;
        }();
        return since.elapsed();
    };
    return p;
}

WorkProgress::Pacing& WorkProgress::pacing()
{
    static Pacing current = defaultPacing();
    return current;
}

WorkProgress::WorkProgress(QWidget* owner, const QString& label, qint64 total, bool cancellable)
    : m_owner(owner), m_label(label), m_total(std::max<qint64>(total, 1)), m_cancellable(cancellable),
      m_pacing(pacing())
{
    m_start = m_pacing.clock();
    m_lastUpdate = m_start;
}

WorkProgress::~WorkProgress() = default;

bool WorkProgress::advance(qint64 done)
{
    if (m_cancelled)
        return false;
    const qint64 now = m_pacing.clock();
    if (!m_window && now - m_start >= m_pacing.delayMs)
        show();
    else if (now - m_lastUpdate < m_pacing.intervalMs)
        return true;
    m_lastUpdate = now;
    if (m_bar)
        m_bar->setValue(int(std::clamp<qint64>(done, 0, m_total) * kSteps / m_total));
    // The windows are drawn and the window system is answered, also before
    // the progress shows. Timers wait: what they would do (a copy of the
    // text, a preview, another file looked at) would meet the work half
    // done. Keys and clicks wait too, unless they can reach Cancel alone.
    QEventLoop::ProcessEventsFlags flags = QEventLoop::X11ExcludeTimers;
    if (!m_cancel || !m_cancellable)
        flags |= QEventLoop::ExcludeUserInputEvents;
    QCoreApplication::processEvents(flags);
    return !m_cancelled;
}

void WorkProgress::pastCancelling()
{
    m_cancellable = false;
    if (m_cancel)
        m_cancel->setEnabled(false);
}

void WorkProgress::show()
{
    auto window = std::make_unique<ProgressWindow>(m_cancellable, [this] { m_cancelled = true; });
    window->setObjectName(kWindowName);
    window->setWindowTitle(kAppTitle);
    // Nothing else takes input meanwhile: the work has the text.
    window->setWindowModality(Qt::ApplicationModal);
    if (!m_cancellable)
        window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* label = new QLabel(m_label, window.get());
    m_bar = new QProgressBar(window.get());
    m_bar->setRange(0, kSteps);
    m_bar->setTextVisible(false);
    auto* layout = new QVBoxLayout(window.get());
    layout->addWidget(label);
    layout->addWidget(m_bar);
    if (m_cancellable) {
        auto* cancel = new QPushButton(QStringLiteral("Cancel"), window.get());
        m_cancel = cancel;
        cancel->setObjectName(QStringLiteral("cmdCancel"));
        QObject::connect(cancel, &QPushButton::clicked, window.get(), &QDialog::reject);
        auto* row = new QHBoxLayout;
        row->addStretch(1);
        row->addWidget(cancel);
        layout->addLayout(row);
    }
    window->setMinimumWidth(360);
    OwnedWindow::setOwner(window.get(), m_owner);
    if (m_owner && m_owner->window()->isVisible()) {
        window->adjustSize();
        const QRect over = m_owner->window()->frameGeometry();
        window->move(over.center() - QPoint(window->width() / 2, window->height() / 2));
    }
    window->show();
    m_window = std::move(window);
}
