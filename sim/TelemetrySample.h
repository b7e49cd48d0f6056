#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <array>

// One set of the flight controller's live values, named after the host's export columns. The
// same seven records travel as telemetry frames 0x41 to 0x47 and, each wrapped in a leading and
// a trailing byte, as one 106-byte black-box sample.
struct TelemetrySample
{
    // 0x41, 18 bytes
    qint16 rate_x = 0, rate_y = 0, rate_z = 0; // deg/s x 100
    qint16 acc_x = 0, acc_y = 0, acc_z = 0;    // m/s^2 x 100
    qint16 mag_x = 0, mag_y = 0, mag_z = 0;
    // 0x42, 16 bytes
    qint8 roll = 0, pitch = 0; // deg
    quint8 yaw = 0;            // deg / 2
    qint8 vel_n = 0, vel_e = 0, vel_u = 0; // m/s x 10
    qint32 f_lat = 0, f_lon = 0;           // deg x 1e7
    qint16 f_alt = 0;                      // m x 10
    // 0x43, 12 bytes
    quint8 warning_code = 0, mean_throttle = 0;
    quint16 bat_volt = 0; // V x 100
    quint16 flight_status = 0;
    qint16 shock_exp = 0; // x 1000
    quint16 flight_time = 0, dist2home = 0;
    // 0x44, 18 bytes
    quint8 gps_num = 0;
    qint32 gps_lat = 0, gps_lon = 0;
    qint16 gps_alt = 0;            // m x 10
    qint16 gps_v_h = 0, gps_v_v = 0; // m/s x 100
    quint16 gps_h_acc = 0;         // m x 1000
    quint8 gps_fix_status = 0;
    // 0x45, 12 bytes (external IMU)
    qint16 eIMU_acc_x = 0, eIMU_acc_y = 0, eIMU_acc_z = 0; // x 100
    qint16 eIMU_roll = 0, eIMU_pitch = 0;                  // deg x 100
    quint16 eIMU_yaw = 0;                                  // deg x 100
    // 0x46, 8 bytes: roll, pitch, throttle, yaw, mode, CH6, CH7, CH8
    std::array<qint8, 8> rc{};
    // 0x47, 8 bytes
    std::array<quint8, 8> mot{};
};

class TelemetryCodec
{
public:
    static constexpr int kSampleSize = 106;

    // Payload of record type 0x41 to 0x47; empty for other types.
    static QByteArray record(quint8 type, const TelemetrySample &s);
    // The seven records, each as leading byte (its type), payload and a trailing check byte.
    static QByteArray blackBoxSample(const TelemetrySample &s);
};
