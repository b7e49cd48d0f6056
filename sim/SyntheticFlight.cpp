#include "sim/SyntheticFlight.h"

#include "sim/TelemetryGenerator.h"

#include <QtMath>

#include <cmath>

namespace {
enum Phase { GroundBefore, TakeOff, Transit, Spray, Return, Landing, GroundAfter, PhaseCount };

constexpr double kSprayHeight = 3.0;  // m
constexpr double kReturnHeight = 10.0; // m
constexpr double kPassSpacing = 4.0;  // m
constexpr double kMetresPerDegLat = 111320.0;

// Deterministic noise in [-1, 1] for (record, sample, channel).
double noise(int record, int sample, int channel)
{
    quint32 x = quint32(record) * 0x9E3779B1u ^ quint32(sample) * 0x85EBCA77u ^ quint32(channel) * 0xC2B2AE3Du;
    x ^= x >> 15;
    x *= 0x2C1B3C6Du;
    x ^= x >> 12;
    x *= 0x297A2D39u;
    x ^= x >> 15;
    return (x % 20001u) / 10000.0 - 1.0;
}

struct Point
{
    double n = 0, e = 0, alt = 0;
};

Point lerp(const Point &a, const Point &b, double u)
{
    return {a.n + (b.n - a.n) * u, a.e + (b.e - a.e) * u, a.alt + (b.alt - a.alt) * u};
}

struct Plan
{
    int start[PhaseCount + 1] = {};
    Point field;     // first corner of the field
    int passes = 4;
    double passLength = 40;
    Point sprayEnd;

    Phase phaseOf(int i, double *u) const
    {
        for (int p = 0; p < PhaseCount; ++p) {
            if (i < start[p + 1]) {
                const int len = start[p + 1] - start[p];
                *u = len > 1 ? double(i - start[p]) / (len - 1) : 1.0;
                return Phase(p);
            }
        }
        *u = 1.0;
        return GroundAfter;
    }
};

Point sprayPoint(const Plan &plan, double u)
{
    // Walk the lawn-mower path: passes north and south, stepping east between them.
    const double total = plan.passes * plan.passLength + (plan.passes - 1) * kPassSpacing;
    double d = u * total;
    for (int k = 0; k < plan.passes; ++k) {
        const double east = plan.field.e + k * kPassSpacing;
        if (d <= plan.passLength || k == plan.passes - 1) {
            const double along = qMin(d, plan.passLength);
            const double north = k % 2 == 0 ? along : plan.passLength - along;
            return {plan.field.n + north, east, kSprayHeight};
        }
        d -= plan.passLength;
        if (d <= kPassSpacing)
            return {plan.field.n + (k % 2 == 0 ? plan.passLength : 0), east + d, kSprayHeight};
        d -= kPassSpacing;
    }
    return plan.sprayEnd;
}

Plan makePlan(int record, int count, double dt)
{
    Plan plan;
    // Shares of the flight: ground, take-off, transit, spray, return, landing, ground. A very
    // short record simply loses its shortest phases.
    const double share[PhaseCount] = {0.04, 0.07, 0.08, 0.59, 0.12, 0.06, 0.04};
    double cumulative = 0;
    for (int p = 0; p < PhaseCount; ++p) {
        plan.start[p] = qBound(0, qRound(cumulative * count), count);
        cumulative += share[p];
    }
    plan.start[PhaseCount] = count;

    const double bearing = qDegreesToRadians(30.0 + 37.0 * (record % 7));
    const double transitSeconds = (plan.start[Spray] - plan.start[Transit]) * dt;
    const double transit = qBound(8.0, 4.0 * transitSeconds, 60.0);
    plan.field = {transit * qCos(bearing), transit * qSin(bearing), kSprayHeight};
    plan.passes = 3 + record % 4;
    const double sprayDistance = 5.0 * (plan.start[Return] - plan.start[Spray]) * dt * 0.9;
    plan.passLength = qMax(5.0, (sprayDistance - (plan.passes - 1) * kPassSpacing) / plan.passes);
    plan.sprayEnd = sprayPoint(plan, 1.0);
    return plan;
}

Point position(const Plan &plan, int i)
{
    double u = 0;
    const Point home;
    switch (plan.phaseOf(i, &u)) {
    case GroundBefore:
    case GroundAfter:
        return home;
    case TakeOff:
        return {0, 0, kSprayHeight * u};
    case Transit:
        return lerp({0, 0, kSprayHeight}, plan.field, u);
    case Spray:
        return sprayPoint(plan, u);
    case Return: {
        const Point high{plan.sprayEnd.n, plan.sprayEnd.e, kReturnHeight};
        if (u < 0.2)
            return lerp(plan.sprayEnd, high, u / 0.2);
        if (u < 0.85)
            return lerp(high, {0, 0, kReturnHeight}, (u - 0.2) / 0.65);
        return {0, 0, kReturnHeight};
    }
    case Landing:
        return {0, 0, kReturnHeight * (1.0 - u)};
    default:
        return home;
    }
}

quint16 flightStatus(const Plan &plan, int i)
{
    double u = 0;
    switch (plan.phaseOf(i, &u)) {
    case TakeOff:
        return u < 1.0 ? 0x0007 : 0x0107;
    case Transit:
        return 0x0105; // auto, heading for way-point 1
    case Spray: {
        const int pass = qMin(plan.passes, 1 + int(u * plan.passes));
        return quint16(((pass + 1) << 8) | 5);
    }
    case Return:
        return u < 0.2 ? 0x0106 : u < 0.85 ? 0x0206 : 0x0306;
    case Landing:
        return u < 0.8 ? 0x0406 : 0x0506;
    default:
        return 0x0009;
    }
}

qint16 s16(double v)
{
    return qint16(qBound(-32768, qRound(v), 32767));
}

qint8 s8(double v)
{
    return qint8(qBound(-128, qRound(v), 127));
}
} // namespace

QList<TelemetrySample> SyntheticFlight::fly(int record, int count, double dt)
{
    QList<TelemetrySample> out;
    if (count <= 0)
        return out;
    const Plan plan = makePlan(record, count, dt);
    const double cosLat = qCos(qDegreesToRadians(TelemetryGenerator::kHomeLat / 1e7));
    const int motors = record % 5 == 0 ? 6 : 4;
    double heading = 90.0;
    for (int i = 0; i < count; ++i) {
        const Point here = position(plan, i);
        const Point before = position(plan, qMax(0, i - 1));
        const Point after = position(plan, qMin(count - 1, i + 1));
        const double span = (qMin(count - 1, i + 1) - qMax(0, i - 1)) * dt;
        const double vn = span > 0 ? (after.n - before.n) / span : 0;
        const double ve = span > 0 ? (after.e - before.e) / span : 0;
        const double vu = span > 0 ? (after.alt - before.alt) / span : 0;
        const double speed = std::hypot(vn, ve);
        const double lastHeading = heading;
        if (speed > 0.5)
            heading = std::fmod(qRadiansToDegrees(std::atan2(ve, vn)) + 360.0, 360.0);
        double u = 0;
        const Phase phase = plan.phaseOf(i, &u);
        const bool flying = phase != GroundBefore && phase != GroundAfter && here.alt > 0.05;
        const auto nz = [&](int channel) { return noise(record, i, channel); };

        TelemetrySample s;
        const double pitch = -qBound(-20.0, 2.5 * speed, 20.0) + (flying ? 1.5 * nz(1) : 0.3 * nz(1));
        double turn = std::fmod(heading - lastHeading + 540.0, 360.0) - 180.0;
        const double roll = qBound(-25.0, turn / 6.0, 25.0) + (flying ? 1.5 * nz(2) : 0.3 * nz(2));
        s.rate_x = s16((flying ? 60 : 5) * nz(3));
        s.rate_y = s16((flying ? 60 : 5) * nz(4));
        s.rate_z = s16(turn / dt * 100.0);
        const double vibration = flying ? 18.0 : 2.0;
        s.acc_x = s16(-981.0 * qSin(qDegreesToRadians(pitch)) + vibration * nz(5));
        s.acc_y = s16(981.0 * qSin(qDegreesToRadians(roll)) + vibration * nz(6));
        s.acc_z = s16(981.0 * qCos(qDegreesToRadians(pitch)) + vibration * nz(7));
        const double rad = qDegreesToRadians(heading);
        s.mag_x = s16(230.0 * qCos(rad) + 40.0 * qSin(rad) + 3 * nz(8));
        s.mag_y = s16(-230.0 * qSin(rad) + 40.0 * qCos(rad) + 3 * nz(9));
        s.mag_z = s16(420.0 + 3 * nz(10));

        s.roll = s8(roll);
        s.pitch = s8(pitch);
        s.yaw = quint8(qRound(heading / 2.0) % 180);
        s.vel_n = s8(vn * 10);
        s.vel_e = s8(ve * 10);
        s.vel_u = s8(vu * 10);
        s.f_lat = TelemetryGenerator::kHomeLat + qRound(here.n / kMetresPerDegLat * 1e7);
        s.f_lon = TelemetryGenerator::kHomeLon + qRound(here.e / (kMetresPerDegLat * cosLat) * 1e7);
        s.f_alt = s16(here.alt * 10);

        const double progress = double(i) / qMax(1, count - 1);
        const double throttle = flying ? 52 + 8 * vu + 3 * nz(11) : phase == TakeOff ? 20 : 0;
        s.warning_code = 0;
        s.mean_throttle = quint8(qBound(0, qRound(throttle), 100));
        s.bat_volt = quint16(qRound(1255 - 120 * progress - (flying ? 30 : 0) + 2 * nz(12)));
        s.flight_status = flightStatus(plan, i);
        s.shock_exp = s16(flying ? 220 + 70 * nz(13) : 10 + 5 * nz(13));
        s.flight_time = quint16(qMax(0.0, (i - plan.start[TakeOff]) * dt));
        s.dist2home = quint16(qRound(std::hypot(here.n, here.e)));

        s.gps_num = quint8(17 + qRound(2 * nz(14)));
        s.gps_lat = s.f_lat + qRound(15 * nz(15));
        s.gps_lon = s.f_lon + qRound(15 * nz(16));
        s.gps_alt = s16(120 + here.alt * 10 + 3 * nz(17));
        s.gps_v_h = s16(speed * 100);
        s.gps_v_v = s16(vu * 100);
        s.gps_h_acc = quint16(750 + qRound(150 * nz(18)));
        s.gps_fix_status = 3;

        s.eIMU_acc_x = s16(s.acc_x + 3);
        s.eIMU_acc_y = s16(s.acc_y - 2);
        s.eIMU_acc_z = s16(s.acc_z + 1);
        s.eIMU_roll = s16(roll * 100 + 12);
        s.eIMU_pitch = s16(pitch * 100 - 8);
        s.eIMU_yaw = quint16(qRound(heading * 100) % 36000);

        const bool onGround = phase == GroundBefore || phase == GroundAfter;
        s.rc = {s8(2 * nz(19)), s8(2 * nz(20)),
                s8(onGround ? -100 : phase == TakeOff ? 40 : phase == Landing ? -30 : 0),
                s8(2 * nz(21)), s8(onGround ? 0 : 100), s8(phase == Spray ? 100 : -100), 0, 100};
        for (int m = 0; m < motors; ++m)
            s.mot[size_t(m)] = quint8(flying || phase == TakeOff
                                          ? qBound(30, qRound(120 + 0.6 * throttle + 6 * nz(22 + m)), 255)
                                          : 0);
        out.append(s);
    }
    return out;
}
