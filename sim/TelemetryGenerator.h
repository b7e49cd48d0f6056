#pragma once

#include "sim/TelemetrySample.h"

#include <QList>

struct AircraftState;

// Live values of an aircraft standing on the bench, as smooth functions of time so that the same
// moment always gives the same frame: a slight attitude wobble, sticks being moved, a pack that
// drains slowly (and is swapped when low), a changing satellite count, the radar's height
// reading. A motor test spins the motors in turn; RC calibration sweeps the sticks end to end.
class TelemetryGenerator
{
public:
    // Home position of the bench.
    static constexpr qint32 kHomeLat = 225432101;  // 22.5432101 deg
    static constexpr qint32 kHomeLon = 1139456789; // 113.9456789 deg

    static const QList<quint8> &types(); // 0x41..0x48, 0x4B
    static TelemetrySample sampleAt(qint64 ms, const AircraftState &state);
    // Payload of one telemetry frame (0x48 and 0x4B are not part of a sample).
    static QByteArray payload(quint8 type, qint64 ms, const AircraftState &state);
    static QByteArray payload(quint8 type, const TelemetrySample &s, qint64 ms,
                              const AircraftState &state);
    // Pack voltage in 0.01 V, calibration included.
    static int packVoltage(qint64 ms, const AircraftState &state);
    // Radar height in 0.01 m (0 while the radar is switched off).
    static int probeHeight(qint64 ms, const AircraftState &state);
};
