#include "config/WaitWithEvents.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QThread>
#include <QTimer>

void waitWithEvents(int ms)
{
    if (ms <= 0)
        return;
    const QDeadlineTimer deadline(ms, Qt::PreciseTimer);

    if (!QAbstractEventDispatcher::instance()) { // no event loop in this thread: nothing to serve
        QThread::msleep(static_cast<unsigned long>(ms));
        return;
    }

    // Each pass handles what is pending and then sleeps until the next event; the timer wakes the
    // last pass at the deadline. This keeps the interface as responsive as polling would, without
    // spinning the processor for the whole wait.
    QTimer wake;
    wake.setTimerType(Qt::PreciseTimer);
    wake.setSingleShot(true);
    while (!deadline.hasExpired()) {
        if (!wake.isActive())
            wake.start(static_cast<int>(deadline.remainingTime()));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

bool waitWithEvents(int ms, const QObject *alive)
{
    const QPointer<const QObject> guard(alive);
    waitWithEvents(ms);
    return !guard.isNull();
}
