#pragma once
#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>

class QDialog;
class QProgressBar;
class QWidget;

// The sign of life of long work done on the window's thread: nothing while
// the work is short; once it has gone on for a moment, a progress window
// over the owner's window says what is being done and how far it is, the
// windows are drawn again as they need, and where the work can stop
// cleanly, Cancel stops it.
//
// When the window appears and how often it is brought up to date follow
// the pacing's clock, which tests replace, so the same work shows the same
// steps on any machine, however busy.
class WorkProgress {
public:
    struct Pacing {
        // Milliseconds since any fixed moment; never goes back.
        std::function<qint64()> clock;
        // Work that is over sooner shows nothing.
        qint64 delayMs = 500;
        // The window is brought up to date, and waiting events handled, at
        // most this often.
        qint64 intervalMs = 40;
    };
    // The pacing of every piece of work from now on; the real clock unless
    // replaced.
    static Pacing& pacing();
    static Pacing defaultPacing();

    // `total`: the amount of work, in any unit advance() counts in. Without
    // `cancellable` the window has no Cancel and the keyboard and mouse wait
    // until the work is done.
    WorkProgress(QWidget* owner, const QString& label, qint64 total, bool cancellable);
    ~WorkProgress();
    WorkProgress(const WorkProgress&) = delete;
    WorkProgress& operator=(const WorkProgress&) = delete;

    // `done` of the total is done now. False once the user has cancelled:
    // the work then stops, leaving things as they were before it began.
    bool advance(qint64 done);
    bool cancelled() const { return m_cancelled; }
    // From here on the work cannot stop cleanly (it is changing the text):
    // Cancel is no longer offered.
    void pastCancelling();

    // The window's name, for anyone who looks for it.
    static inline const QString kWindowName = QStringLiteral("dlgProgress");

private:
    void show();

    QWidget* m_owner;
    QString m_label;
    qint64 m_total;
    bool m_cancellable;
    Pacing m_pacing;
    qint64 m_start = 0;
    qint64 m_lastUpdate = 0;
    bool m_cancelled = false;
    std::unique_ptr<QDialog> m_window;
    QProgressBar* m_bar = nullptr;
    QWidget* m_cancel = nullptr;
};
