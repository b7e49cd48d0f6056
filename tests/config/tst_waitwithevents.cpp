#include "config/WaitWithEvents.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QtTest>

#include <ctime>

namespace {

class EventCounter : public QObject
{
public:
    int count = 0;

protected:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User) {
            ++count;
            return true;
        }
        return QObject::event(e);
    }
};

} // namespace

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

    void processesQueuedCallsPostedEventsAndTimers()
    {
        bool queuedCalled = false;
        bool timerFired = false;
        EventCounter counter;
        QMetaObject::invokeMethod(
            this, [&] { queuedCalled = true; }, Qt::QueuedConnection);
        QCoreApplication::postEvent(&counter, new QEvent(QEvent::User));
        QTimer::singleShot(20, this, [&] { timerFired = true; });

        waitWithEvents(200);

        QVERIFY(queuedCalled);
        QCOMPARE(counter.count, 1);
        QVERIFY(timerFired);
    }

    void doesNotEndEarly_data()
    {
        QTest::addColumn<int>("ms");
        QTest::newRow("1 ms") << 1;
        QTest::newRow("20 ms") << 20;
        QTest::newRow("250 ms") << 250;
    }

    void doesNotEndEarly()
    {
        QFETCH(int, ms);
        QElapsedTimer clock;
        clock.start();
        waitWithEvents(ms);
        QVERIFY2(clock.elapsed() >= ms, qPrintable(QString::number(clock.elapsed())));
    }

    void busyEventsDoNotEndTheWaitEarly()
    {
        // A steady stream of events keeps every pass short; the wait still lasts its full time.
        QTimer busy;
        int ticks = 0;
        connect(&busy, &QTimer::timeout, this, [&ticks] { ++ticks; });
        busy.start(0);
        QElapsedTimer clock;
        clock.start();
        waitWithEvents(60);
        QVERIFY(clock.elapsed() >= 60);
        QVERIFY(ticks > 0);
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
