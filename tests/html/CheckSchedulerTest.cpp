#include "HandPauseTimer.h"
#include "TestRegistry.h"
#include "html/CheckScheduler.h"

#include <QMutex>
#include <QSemaphore>
#include <QTest>
#include <QThreadPool>

namespace {

using HandTimer = HandPauseTimer;

// A check that runs until the test lets it end, and tells which text it had.
struct Gate {
    QMutex mutex;
    QStringList checked;
    int returned = 0;
    QSemaphore open;

    template <typename F>
    auto locked(F f)
    {
        QMutexLocker lock(&mutex);
        return f();
    }
    CheckScheduler::Checker checker()
    {
        return [this](QByteArrayView utf8) -> Result<CheckScheduler::Problems> {
            locked([&] { checked << QString::fromUtf8(utf8); });
            open.acquire();
            locked([&] { ++returned; });
            if (utf8 == "fail")
                return Failure(QStringLiteral("no"));
            TidyCheck::Problem p;
            p.message = QString::fromUtf8(utf8);
            return CheckScheduler::Problems{p};
        };
    }
    QStringList checks() { return locked([&] { return checked; }); }
    int returns() { return locked([&] { return returned; }); }
};

}

// Checking when typing pauses: what is checked, what is delivered, and
// what never is.
class CheckSchedulerTest : public QObject {
    Q_OBJECT

private slots:
    void checksTheNewestTextWhenTypingPauses_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("checks");   // the texts checked, in order
        QTest::addColumn<QStringList>("events");   // what the scheduler told, in order
        QTest::addColumn<int>("snapshots");

        QTest::newRow("a pause checks the text")
            << QStringList{"edit:v1", "pause", "done"} << QStringList{"v1"} << QStringList{"checked 1 v1"} << 1;
        QTest::newRow("typing on starts the pause again")
            << QStringList{"edit:v1", "edit:v2", "pause", "done"} << QStringList{"v2"} << QStringList{"checked 2 v2"}
            << 1;
        QTest::newRow("results one after another")
            << QStringList{"edit:v1", "pause", "done", "edit:v2", "pause", "done"} << QStringList{"v1", "v2"}
            << QStringList{"checked 1 v1", "checked 2 v2"} << 2;
        QTest::newRow("an edit during a check makes its result obsolete")
            << QStringList{"edit:v1", "pause", "edit:v2", "done", "pause", "done"} << QStringList{"v1", "v2"}
            << QStringList{"checked 2 v2"} << 2;
        QTest::newRow("a pause during a check: the newest text after it")
            << QStringList{"edit:v1", "pause", "edit:v2", "pause", "done", "done"} << QStringList{"v1", "v2"}
            << QStringList{"checked 2 v2"} << 2;
        QTest::newRow("typing again before the check ends waits for the next pause")
            << QStringList{"edit:v1", "pause", "edit:v2", "pause", "edit:v3", "done", "pause", "done"}
            << QStringList{"v1", "v3"} << QStringList{"checked 3 v3"} << 2;
        QTest::newRow("too large: not even copied")
            << QStringList{"edit:toolarge", "pause"} << QStringList{} << QStringList{"tooLarge 1 8"} << 0;
        QTest::newRow("too large, then small again")
            << QStringList{"edit:toolong", "pause", "edit:v2", "pause", "done"} << QStringList{"v2"}
            << QStringList{"tooLarge 1 7", "checked 2 v2"} << 1;
        QTest::newRow("cancelled while checking")
            << QStringList{"edit:v1", "pause", "cancel", "done"} << QStringList{"v1"} << QStringList{} << 1;
        QTest::newRow("cancelled before the pause")
            << QStringList{"edit:v1", "cancel", "pause"} << QStringList{} << QStringList{} << 0;
        QTest::newRow("an edit after cancelling")
            << QStringList{"edit:v1", "cancel", "edit:v2", "pause", "done"} << QStringList{"v2"}
            << QStringList{"checked 2 v2"} << 1;
        QTest::newRow("the check failed") << QStringList{"edit:fail", "pause", "done"} << QStringList{"fail"}
                                          << QStringList{"failed 1 no"} << 1;
        QTest::newRow("text given with the edit")
            << QStringList{"give:g1", "pause", "done"} << QStringList{"g1"} << QStringList{"checked 1 g1"} << 0;
    }
    void checksTheNewestTextWhenTypingPauses()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, checks);
        QFETCH(QStringList, events);
        QFETCH(int, snapshots);

        Gate gate;
        QThreadPool pool;   // ends before the gate it runs checks behind
        QByteArray document;
        int snapshotsTaken = 0;
        QStringList told;
        {
            CheckScheduler scheduler([&] {
                ++snapshotsTaken;
                return document;
            });
            auto* timer = new HandTimer;
            scheduler.setTimer(std::unique_ptr<PauseTimer>(timer));
            scheduler.setChecker(gate.checker());
            scheduler.setThreadPool(&pool);
            scheduler.setSizeLimit(6);
            connect(&scheduler, &CheckScheduler::checked, this, [&](quint64 g, const CheckScheduler::Problems& p) {
                QCOMPARE(g, scheduler.generation());
                told << QStringLiteral("checked %1 %2").arg(g).arg(p.at(0).message);
            });
            connect(&scheduler, &CheckScheduler::failed, this,
                    [&](quint64 g, const QString& why) { told << QStringLiteral("failed %1 %2").arg(g).arg(why); });
            connect(&scheduler, &CheckScheduler::tooLarge, this,
                    [&](quint64 g, qsizetype length) { told << QStringLiteral("tooLarge %1 %2").arg(g).arg(length); });

            for (const QString& step : steps) {
                const QString verb = step.section(':', 0, 0);
                const QByteArray text = step.section(':', 1).toUtf8();
                if (verb == "edit") {
                    document = text;
                    scheduler.edited(document.size());
                } else if (verb == "give") {
                    scheduler.edited(text);
                } else if (verb == "pause") {
                    timer->fire();
                } else if (verb == "cancel") {
                    scheduler.cancel();
                } else if (verb == "done") {
                    // One check ends; then the scheduler has told its result,
                    // is idle, or has started the next check.
                    const int returned = gate.returns();
                    const qsizetype toldBefore = told.size();
                    gate.open.release();
                    QTRY_COMPARE_WITH_TIMEOUT(gate.returns(), returned + 1, 30000);
                    QTRY_VERIFY_WITH_TIMEOUT(told.size() > toldBefore || !scheduler.checking()
                                                 || gate.checks().size() > returned + 1,
                                             30000);
                }
            }
            QTRY_VERIFY_WITH_TIMEOUT(!scheduler.checking(), 30000);
        }
        QCOMPARE(gate.checks(), checks);
        QCOMPARE(told, events);
        QCOMPARE(snapshotsTaken, snapshots);
    }

    // Going away while a check runs neither waits for it nor hears of it.
    void destroyedWhileCheckingDropsTheCheck()
    {
        Gate gate;
        QThreadPool pool;
        auto scheduler = std::make_unique<CheckScheduler>([] { return QByteArray("v1"); });
        auto* timer = new HandTimer;
        scheduler->setTimer(std::unique_ptr<PauseTimer>(timer));
        scheduler->setChecker(gate.checker());
        scheduler->setThreadPool(&pool);
        scheduler->edited(2);
        timer->fire();
        QVERIFY(scheduler->checking());
        scheduler.reset();   // the check is still waiting for the gate
        gate.open.release();
        pool.waitForDone();
        QCoreApplication::processEvents();
        QCOMPARE(gate.checks(), QStringList{"v1"});
    }

    // With the real timer and HTML Tidy on the global pool.
    void checksAPageWithTidy()
    {
        CheckScheduler scheduler({});
        scheduler.setPause(std::chrono::milliseconds(0));
        QList<QByteArray> keys;
        connect(&scheduler, &CheckScheduler::checked, this, [&](quint64, const CheckScheduler::Problems& problems) {
            for (const TidyCheck::Problem& p : problems)
                keys << p.key;
        });
        scheduler.edited(QByteArray("<!DOCTYPE html>\n<html><head><title>t</title></head><body>\n"
                                    "<p id=\"a\">1</p><p id=\"a\">2</p>\n</body></html>"));
        QTRY_COMPARE_WITH_TIMEOUT(keys, QList<QByteArray>{"ANCHOR_NOT_UNIQUE"}, 30000);
    }
};

QP_REGISTER_TEST(CheckSchedulerTest)
#include "CheckSchedulerTest.moc"
