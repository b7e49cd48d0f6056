#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>

// For bench/startup only: when R7_STARTUP_PROBE is set, prints the wall-clock time (ms since the
// epoch) of the window's first paint and quits. The same probe runs in the minimal Qt program the
// start-up is compared with.
class StartupProbe final : public QObject
{
public:
    static void installOn(QWidget *window)
    {
        if (qEnvironmentVariableIsSet("R7_STARTUP_PROBE"))
            window->installEventFilter(new StartupProbe(window));
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            std::printf("first-paint %lld\n", static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    using QObject::QObject;
    bool m_painted = false;
};
