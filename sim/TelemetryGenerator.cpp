#include "sim/TelemetryGenerator.h"

#include "sim/AircraftFrame.h"
#include "sim/AircraftState.h"
#include "sim/WireWriter.h"

#include <QtMath>

#include <cmath>

namespace {
double wave(double t, double period, double phase = 0.0)
{
    return qSin(2.0 * M_PI * t / period + phase);
}

qint16 clamp16(double v)
{
    return qint16(qBound(-32768, qRound(v), 32767));
}

qint8 clamp8(double v)
{
    return qint8(qBound(-128, qRound(v), 127));
}

void sticks(TelemetrySample &s, double t, const AircraftState &state)
{
    const double amp = state.rcCalibrating ? 100.0 : 60.0;
    const double speed = state.rcCalibrating ? 0.5 : 1.0;
    double rc[8] = {amp * wave(t, 5.4 * speed),
                    amp * wave(t, 6.6 * speed, 0.5),
                    state.rcCalibrating ? 100.0 * wave(t, 4.0) : -100.0 + 40.0 * (1.0 + wave(t, 10.0)),
                    amp * wave(t, 8.2 * speed, 1.0),
                    0.0,
                    -100.0,
                    0.0,
                    100.0};
    for (int i = 0; i < 8; ++i) {
        const bool reversed = state.settings.channelReverse & (1u << i);
        s.rc[size_t(i)] = clamp8(reversed ? -rc[i] : rc[i]);
    }
}

void motors(TelemetrySample &s, qint64 ms, const AircraftState &state)
{
    s.mot.fill(0);
    if (state.motorTestStartMs < 0)
        return;
    // The motor test spins each motor for 1.5 s, one after the other.
    const qint64 since = ms - state.motorTestStartMs;
    const int count = state.settings.motorCount();
    const int motor = int(since / 1500);
    if (since >= 0 && motor < count)
        s.mot[size_t(motor)] = quint8(40 + 5 * state.settings.motorIdle);
}
} // namespace

const QList<quint8> &TelemetryGenerator::types()
{
    static const QList<quint8> kTypes = {0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x4B};
    return kTypes;
}

int TelemetryGenerator::packVoltage(qint64 ms, const AircraftState &state)
{
    // A 3S pack from 12.45 V down to 11.40 V at 0.01 V every 20 s, then a fresh pack.
    const qint64 steps = (ms / 20000) % 105;
    return int(1245 - steps) + (ms / 1000) % 3 + state.settings.voltageOffset;
}

int TelemetryGenerator::probeHeight(qint64 ms, const AircraftState &state)
{
    if (!state.settings.extSwitch2)
        return 0;
    const double t = ms / 1000.0;
    return qRound(155.0 + 125.0 * wave(t, 24.0) + 3.0 * wave(t, 0.9));
}

TelemetrySample TelemetryGenerator::sampleAt(qint64 ms, const AircraftState &state)
{
    const double t = ms / 1000.0;
    TelemetrySample s;
    const double roll = 2.5 * wave(t, 3.1);
    const double pitch = 2.0 * wave(t, 4.3, 1.0);
    const double heading = std::fmod(90.0 + 3.0 * wave(t, 14.0) + 360.0, 360.0);
    const double rad = qDegreesToRadians(heading);

    s.rate_x = clamp16(2.5 * 2 * M_PI / 3.1 * qCos(2 * M_PI * t / 3.1) * 100.0);
    s.rate_y = clamp16(2.0 * 2 * M_PI / 4.3 * qCos(2 * M_PI * t / 4.3 + 1.0) * 100.0);
    s.rate_z = clamp16(3.0 * 2 * M_PI / 14.0 * qCos(2 * M_PI * t / 14.0) * 100.0);
    s.acc_x = clamp16(-981.0 * qSin(qDegreesToRadians(pitch)));
    s.acc_y = clamp16(981.0 * qSin(qDegreesToRadians(roll)));
    s.acc_z = clamp16(981.0 * qCos(qDegreesToRadians(roll)) * qCos(qDegreesToRadians(pitch)));
    s.mag_x = clamp16(230.0 * qCos(rad) + 40.0 * qSin(rad));
    s.mag_y = clamp16(-230.0 * qSin(rad) + 40.0 * qCos(rad));
    s.mag_z = clamp16(420.0 + 4.0 * wave(t, 2.2));

    s.roll = clamp8(roll);
    s.pitch = clamp8(pitch);
    s.yaw = quint8(qRound(heading / 2.0) % 180);
    s.f_lat = TelemetryGenerator::kHomeLat;
    s.f_lon = TelemetryGenerator::kHomeLon;
    s.f_alt = clamp16(120.0 + wave(t, 9.0));

    const bool motorTest = state.motorTestStartMs >= 0 && ms - state.motorTestStartMs < 1500LL * state.settings.motorCount();
    s.warning_code = 0;
    s.mean_throttle = motorTest ? 12 : 0;
    s.bat_volt = quint16(packVoltage(ms, state));
    s.flight_status = 0x0009; // GPS mode, on the ground
    s.shock_exp = clamp16(motorTest ? 180.0 + 40.0 * wave(t, 0.7) : 8.0 + 4.0 * wave(t, 1.3));

    s.gps_num = quint8(qRound(15.0 + 3.0 * wave(t, 47.0)));
    s.gps_lat = kHomeLat + qRound(30.0 * wave(t, 61.0));
    s.gps_lon = kHomeLon + qRound(30.0 * wave(t, 53.0, 0.7));
    s.gps_alt = clamp16(120.0 + 8.0 * wave(t, 37.0));
    s.gps_v_h = clamp16(3.0 + 2.0 * wave(t, 5.0));
    s.gps_v_v = clamp16(2.0 * wave(t, 7.0));
    s.gps_h_acc = quint16(qRound(750.0 + 120.0 * wave(t, 29.0)));
    s.gps_fix_status = 3;

    s.eIMU_acc_x = clamp16(s.acc_x + 3);
    s.eIMU_acc_y = clamp16(s.acc_y - 2);
    s.eIMU_acc_z = clamp16(s.acc_z + 1);
    s.eIMU_roll = clamp16(roll * 100.0 + 12.0);
    s.eIMU_pitch = clamp16(pitch * 100.0 - 8.0);
    s.eIMU_yaw = quint16(qRound(heading * 100.0) % 36000);

    sticks(s, t, state);
    motors(s, ms, state);
    return s;
}

QByteArray TelemetryGenerator::payload(quint8 type, qint64 ms, const AircraftState &state)
{
    return payload(type, sampleAt(ms, state), ms, state);
}

QByteArray TelemetryGenerator::payload(quint8 type, const TelemetrySample &s, qint64 ms,
                                       const AircraftState &state)
{
    QByteArray p;
    if (type >= 0x41 && type <= 0x47) {
        p = TelemetryCodec::record(type, s);
    } else if (type == 0x48) {
        p = WireWriter().u32(quint32(ms / 1000)).data(); // seconds since power-on
    } else if (type == 0x4B) {
        // Radar status, height in 0.01 m, then reserved bytes: 20 in all.
        p = WireWriter().u8(state.settings.extSwitch2 ? 1 : 0).u16(probeHeight(ms, state)).fill(17, 0).data();
    }
    AircraftFrame::removeSyncPairs(p);
    return p;
}
