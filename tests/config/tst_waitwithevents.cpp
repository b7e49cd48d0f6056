#include "config/WaitWithEvents.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

#include <ctime>

class TestWaitWithEvents : public QObject
{
    Q_OBJECT

private slots:
    void nonPositiveReturnsWithoutProcessing_data()
    {
        QTest::addColumn<int>("ms");
        QTest::newRow("zero") << 0;
        QTest::newRow("negative") << -5;
    }

    void nonPositiveReturnsWithoutProcessing()
    {
        QFETCH(int, ms);
        bool called = false;
        QMetaObject::invokeMethod(
            this, [&called] { called = true; }, Qt::QueuedConnection);
        waitWithEvents(ms);
        QVERIFY(!called);
        QCoreApplication::processEvents();
        QVERIFY(called); // it really was pending
    }

    void processesQueuedCallsAndTimers()
    {
        bool queuedCalled = false;
        bool timerFired = false;
        QMetaObject::invokeMethod(
            this, [&] { queuedCalled = true; }, Qt::QueuedConnection);
        QTimer::singleShot(20, this, [&] { timerFired = true; });
        waitWithEvents(200);
        QVERIFY(queuedCalled);
        QVERIFY(timerFired);
    }

    void doesNotEndEarly_data()
    {
        QTest::addColumn<int>("ms");
        QTest::addColumn<bool>("busy"); // a steady stream of events keeps every pass short
        QTest::newRow("1 ms") << 1 << false;
        QTest::newRow("250 ms") << 250 << false;
        QTest::newRow("60 ms, busy") << 60 << true;
    }

    void doesNotEndEarly()
    {
        QFETCH(int, ms);
        QFETCH(bool, busy);
        QTimer busyTimer;
        int ticks = 0;
        connect(&busyTimer, &QTimer::timeout, this, [&ticks] { ++ticks; });
        if (busy)
            busyTimer.start(0);
        QElapsedTimer clock;
        clock.start();
        waitWithEvents(ms);
        QVERIFY2(clock.elapsed() >= ms, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(ticks > 0, busy);
    }

    void reentrantWaitFinishesBeforeTheOuterOne()
    {
        bool innerDone = false;
        QTimer::singleShot(5, this, [&innerDone] {
            waitWithEvents(80);
            innerDone = true;
        });
        QElapsedTimer clock;
        clock.start();
        waitWithEvents(20);
        QVERIFY(innerDone);
        QVERIFY(clock.elapsed() >= 80);
    }

    void idleWaitSleeps()
    {
        // Nothing to do for 300 ms: the wait must sleep, not poll (polling costs about half of it).
        const std::clock_t before = std::clock();
        waitWithEvents(300);
        const double cpuMs = double(std::clock() - before) * 1000.0 / CLOCKS_PER_SEC;
        QVERIFY2(cpuMs < 60.0, qPrintable(QStringLiteral("%1 ms of processor time").arg(cpuMs)));
    }
};

QTEST_GUILESS_MAIN(TestWaitWithEvents)
#include "tst_waitwithevents.moc"
