#pragma once

// The whole program against the simulated aircraft on a pseudo-terminal, for the page tests: the
// frames the aircraft received, the wait for the read-back after a handshake, and main().

#include "app/KivApplication.h"
#include "app/LinkConnected.h"
#include "link/serialport.h"
#include "sim/SimulatedAircraft.h"
#include "ui/KivMainWindow.h"

#include <QLoggingCategory>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace e2e {

inline SimulatedAircraft *aircraft = nullptr;

struct Received
{
    quint8 type;
    QByteArray payload; // empty for a read request
};

inline AircraftSettings &onBoard()
{
    return aircraft->state().settings;
}

inline bool waitForReadBack()
{
    QSignalSpy readBack(KivApplication::instance(), &KivApplication::readBackFinished);
    return readBack.wait(20000) && QTest::qWaitFor([] { return linkConnected == 1; }, 1000);
}

// Records into `received` every frame the aircraft gets, then lets the program find the aircraft
// and waits until it has read everything.
inline bool connectProgram(QObject *context, QList<Received> &received)
{
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    QObject::connect(aircraft, &AircraftEngine::frameReceived, context, [&received](quint8 type, int length, const QByteArray &frame) {
        received.append({type, frame.mid(8, length)});
    });
    mainWindow->activateWindow();
    KivApplication::instance()->serialPort()->addExtraPortName(aircraft->slavePath());
    return waitForReadBack();
}

// `more` starts what else the window should already talk to (the simulated services).
template<typename Test>
int runProgram(int argc, char *argv[], const KivApplication::StartupHook &more = {})
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    KivApplication *app = KivApplication::getInstance(argc, argv, [&more](KivApplication *a) {
        aircraft = new SimulatedAircraft(a);
        aircraft->setTelemetryRate(20);
        if (more)
            more(a);
    });
    if (!aircraft->start())
        qFatal("no pseudo-terminal: %s", qPrintable(aircraft->errorString()));
    Test test;
    const int result = QTest::qExec(&test, argc, argv);
    delete app;
    return result;
}

} // namespace e2e
