#include "FakePacing.h"
#include "TestRegistry.h"
#include "widgets/WorkProgress.h"

#include <QTest>

class WorkProgressTest : public QObject {
    Q_OBJECT
private slots:
    // Ten steps of a tenth each, the clock 100 ms on at every look: the
    // window comes once the work has gone on for the delay, is brought up
    // to date no oftener than the interval, and Cancel, where there is one,
    // stops the work.
    void showsLongWorkAndStopsOnCancel_data()
    {
        QTest::addColumn<qint64>("delay");
        QTest::addColumn<qint64>("interval");
        QTest::addColumn<bool>("cancellable");
        QTest::addColumn<int>("cancelAfter");
        QTest::addColumn<QList<int>>("shown");   // in thousandths
        QTest::addColumn<int>("steps");          // taken before the work stopped

        QTest::newRow("short work shows nothing") << qint64(1500) << qint64(0) << true << 1 << QList<int>{} << 10;
        QTest::newRow("shown after the delay")
            << qint64(500) << qint64(0) << true << -1 << QList<int>{500, 600, 700, 800, 900} << 10;
        QTest::newRow("no oftener than the interval")
            << qint64(0) << qint64(250) << true << -1 << QList<int>{100, 400, 700} << 10;
        QTest::newRow("Cancel stops the work") << qint64(0) << qint64(0) << true << 2 << QList<int>{100, 200} << 3;
        QTest::newRow("no Cancel: closing does not stop it")
            << qint64(0) << qint64(0) << false << 2 << QList<int>{100, 200, 300, 400, 500, 600, 700, 800, 900} << 10;
    }
    void showsLongWorkAndStopsOnCancel()
    {
        QFETCH(qint64, delay);
        QFETCH(qint64, interval);
        QFETCH(bool, cancellable);
        QFETCH(int, cancelAfter);
        QFETCH(QList<int>, shown);
        QFETCH(int, steps);

        QWidget owner;
        owner.show();
        FakePacing pacing(delay, interval);
        pacing.cancelAfter = cancelAfter;
        int taken = 0;
        {
            WorkProgress work(&owner, QStringLiteral("Working..."), 10, cancellable);
            while (taken < 10 && work.advance(++taken)) {
            }
            QCOMPARE(work.cancelled(), cancellable && cancelAfter > 0 && !shown.isEmpty());
        }
        QCOMPARE(pacing.shown, shown);
        QCOMPARE(taken, steps);
        QVERIFY(!FakePacing::window());   // gone with the work
    }
};

QP_REGISTER_TEST(WorkProgressTest)
#include "tst_WorkProgress.moc"
