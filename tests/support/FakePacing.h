#pragma once
#include "widgets/WorkProgress.h"

#include <QApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>

// Long work paced by the test instead of the machine: each look at the
// clock finds stepMs gone, and first shows the test the progress window as
// a user would see it: each new value is kept in `shown`, and once
// `cancelAfter` values are seen the window is cancelled (Cancel clicked, or
// closed where there is none). The real pacing comes back when it goes.
class FakePacing {
public:
    explicit FakePacing(qint64 delayMs = 0, qint64 intervalMs = 0, qint64 stepMs = 100)
        : m_saved(WorkProgress::pacing())
    {
        WorkProgress::pacing() = {[this, stepMs] {
                                      look();
                                      return now += stepMs;
                                  },
                                  delayMs, intervalMs};
    }
    ~FakePacing() { WorkProgress::pacing() = m_saved; }
    FakePacing(const FakePacing&) = delete;
    FakePacing& operator=(const FakePacing&) = delete;

    // The progress window on screen, or nullptr.
    static QWidget* window()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == WorkProgress::kWindowName && w->isVisible())
                return w;
        return nullptr;
    }

    qint64 now = 0;
    QList<int> shown;
    int cancelAfter = -1;

private:
    void look()
    {
        QWidget* w = window();
        if (!w)
            return;
        const int value = w->findChild<QProgressBar*>()->value();
        if (!shown.isEmpty() && shown.last() == value)
            return;
        shown << value;
        if (shown.size() != cancelAfter)
            return;
        if (auto* cancel = w->findChild<QPushButton*>(QStringLiteral("cmdCancel")))
            cancel->click();
        else
            w->close();
    }

    WorkProgress::Pacing m_saved;
};
