#include "html/CheckScheduler.h"

#include <QFutureWatcher>
#include <QPromise>
#include <QThreadPool>
#include <QTimer>

namespace {

class QtPauseTimer : public PauseTimer {
public:
    QtPauseTimer()
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (m_elapsed)
                m_elapsed();
        });
    }

    void start(std::chrono::milliseconds pause, std::function<void()> elapsed) override
    {
        m_elapsed = std::move(elapsed);
        m_timer.start(pause);
    }
    void stop() override { m_timer.stop(); }
    bool active() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
    std::function<void()> m_elapsed;
};

// What a worker hands back (QFuture wants a type it can make empty).
struct Outcome {
    bool ok = false;
    CheckScheduler::Problems problems;
    QString failure;
};

}

CheckScheduler::CheckScheduler(Snapshot snapshot, QObject* parent)
    : QObject(parent),
      m_snapshot(std::move(snapshot)),
      m_checker([](QByteArrayView utf8) { return TidyCheck::check(utf8); }),
      m_timer(std::make_unique<QtPauseTimer>()),
      m_pool(QThreadPool::globalInstance())
{
}

CheckScheduler::~CheckScheduler() = default;

void CheckScheduler::setTimer(std::unique_ptr<PauseTimer> timer)
{
    m_timer = std::move(timer);
}

quint64 CheckScheduler::edited(qsizetype length)
{
    ++m_generation;
    m_length = length;
    m_givenText.clear();
    m_textGiven = false;
    m_cancelled = false;
    m_timer->start(m_pause, [this] { paused(); });
    return m_generation;
}

quint64 CheckScheduler::edited(const QByteArray& utf8)
{
    const quint64 generation = edited(utf8.size());
    m_givenText = utf8;
    m_textGiven = true;
    return generation;
}

void CheckScheduler::cancel()
{
    m_cancelled = true;
    m_wanted = false;
    m_timer->stop();
    m_givenText.clear();
}

void CheckScheduler::paused()
{
    if (m_cancelled)
        return;
    if (m_length > m_sizeLimit) {
        emit tooLarge(m_generation, m_length);
        return;
    }
    if (m_running) {
        m_wanted = true;
        return;
    }
    start();
}

void CheckScheduler::start()
{
    m_wanted = false;
    const QByteArray text = m_textGiven ? m_givenText : m_snapshot ? m_snapshot() : QByteArray();
    const quint64 generation = m_generation;

    auto promise = std::make_shared<QPromise<Outcome>>();
    auto* watcher = new QFutureWatcher<Outcome>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        const Outcome outcome = watcher->future().resultCount() > 0 ? watcher->result() : Outcome{};
        finished(generation, outcome.ok ? Result<Problems>(outcome.problems) : Result<Problems>(Failure(outcome.failure)));
    });
    promise->start();
    watcher->setFuture(promise->future());
    m_running = true;
    m_pool->start([promise, text, checker = m_checker] {
        Result<Problems> result = checker(text);
        Outcome outcome;
        outcome.ok = result.ok();
        outcome.failure = result.error();
        if (result.ok())
            outcome.problems = std::move(result).value();
        promise->addResult(std::move(outcome));
        promise->finish();
    });
}

void CheckScheduler::finished(quint64 generation, const Result<Problems>& result)
{
    m_running = false;
    if (!m_cancelled && generation == m_generation) {
        if (result)
            emit checked(generation, *result);
        else
            emit failed(generation, result.error().isEmpty() ? QStringLiteral("The page could not be checked.")
                                                              : result.error());
        return;
    }
    // A pause ended while this obsolete check ran: the newest text is checked
    // now, unless a later edit's pause is still to come.
    if (m_wanted && !m_cancelled && !m_timer->active())
        start();
}
