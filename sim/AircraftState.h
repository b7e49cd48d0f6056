#pragma once

#include "sim/AircraftSettings.h"

#include <QByteArray>
#include <QMap>

#include <array>

// Everything the simulated flight controller remembers: its settings, the firmware versions of
// its modules, the maintenance counters and what is running on the bench right now.
struct AircraftState
{
    struct Version
    {
        quint8 major = 0;
        quint8 minor = 0;
    };

    AircraftSettings settings;
    std::array<Version, 10> versions{};

    // Maintenance, in minutes. Time to the next service is the cycle minus the flight time since
    // the last service; power-on time grows with the simulator's run time.
    quint32 flightMinutes = 1342;
    quint32 flightMinutesAtService = 1162;
    quint32 powerOnMinutesBase = 2876;

    bool rcCalibrating = false;
    qint64 motorTestStartMs = -1; // start of the last motor test, -1 when none ran
    quint8 pumpRunning = 0;       // 0 off, 1 spray pump, 2 small-spray pump
    QMap<quint8, QByteArray> wayPoints; // way-point number -> 23-byte record

    AircraftState();

    qint32 minutesToService() const;
    quint32 powerOnMinutes(qint64 nowMs) const;
    // Resets what a factory reset resets: the settings (counters and versions stay).
    void restoreFactorySettings();
};
