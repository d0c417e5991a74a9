#pragma once
#include "html/TidyCheck.h"

#include <QByteArray>
#include <QObject>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

class QThreadPool;

// What says that typing has paused: a single-shot timer in the editor, one
// fired by hand in the tests.
class PauseTimer {
public:
    virtual ~PauseTimer() = default;
    // Starts the wait again from now; `elapsed` is called once, on the
    // thread that started it, when the wait ends without a restart.
    virtual void start(std::chrono::milliseconds pause, std::function<void()> elapsed) = 0;
    virtual void stop() = 0;
    virtual bool active() const = 0;
};

// Checks a document when typing pauses, on a worker thread, from a snapshot
// of its text: told of every edit, it waits for a pause, takes the snapshot
// and has the text checked (HTML Tidy unless told otherwise) away from the
// caller's thread, and hands the problems back on the caller's thread with
// the generation of the text they belong to. An edit makes every earlier
// generation's result obsolete: it is never delivered. Nothing here ever
// waits for a check; at most one check per scheduler runs at a time, the
// next one (of the newest text) starting when it ends. Destroying the
// scheduler drops a check still running.
class CheckScheduler : public QObject {
    Q_OBJECT
public:
    using Problems = std::vector<TidyCheck::Problem>;
    // Called on the caller's thread when a pause ends: the text to check.
    using Snapshot = std::function<QByteArray()>;
    // Runs on a worker thread.
    using Checker = std::function<Result<Problems>(QByteArrayView utf8)>;

    static constexpr std::chrono::milliseconds kPause{500};

    explicit CheckScheduler(Snapshot snapshot, QObject* parent = nullptr);
    ~CheckScheduler() override;

    // The text was edited and is now `length` bytes long: the pause starts
    // again and results of older generations are obsolete. A length above
    // the limit is not checked (tooLarge is told at the pause instead), so
    // that a large document is never copied for nothing. The new generation.
    quint64 edited(qsizetype length);
    // Convenience for a caller that has the text at hand: it becomes what
    // the next check takes.
    quint64 edited(const QByteArray& utf8);
    // Nothing more is delivered until the next edit (the document was
    // closed, or is no longer HTML).
    void cancel();

    quint64 generation() const { return m_generation; }
    bool checking() const { return m_running; }

    // Tests and the bench.
    void setPause(std::chrono::milliseconds pause) { m_pause = pause; }
    void setTimer(std::unique_ptr<PauseTimer> timer);
    void setChecker(Checker checker) { m_checker = std::move(checker); }
    void setSizeLimit(qsizetype bytes) { m_sizeLimit = bytes; }
    void setThreadPool(QThreadPool* pool) { m_pool = pool; }

signals:
    // The problems of the text as it is now (generation() == generation).
    void checked(quint64 generation, const CheckScheduler::Problems& problems);
    // The check of the current text could not run; why, in words for the user.
    void failed(quint64 generation, const QString& why);
    // The pause ended on a text above the size limit: it is not checked.
    void tooLarge(quint64 generation, qsizetype length);

private:
    void paused();
    void start();
    void finished(quint64 generation, const Result<Problems>& result);

    Snapshot m_snapshot;
    Checker m_checker;
    std::unique_ptr<PauseTimer> m_timer;
    QThreadPool* m_pool;
    std::chrono::milliseconds m_pause = kPause;
    qsizetype m_sizeLimit = TidyCheck::kLargestChecked;
    QByteArray m_givenText;
    bool m_textGiven = false;
    qsizetype m_length = 0;
    quint64 m_generation = 0;
    // A pause ended while a check ran: the newest text waits for it.
    bool m_wanted = false;
    bool m_running = false;
    bool m_cancelled = true;
};
