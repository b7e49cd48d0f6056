#pragma once

#include <QByteArray>
#include <QList>

#include <array>
#include <cstdint>

// One decoded black-box sample: the seven telemetry records 0x41 to 0x47 as the flight
// controller logged them. Kept apart from the live telemetry of the parameter store, so that a
// download never disturbs what the pages show.
struct BlackBoxSample
{
    static constexpr int kSize = 106;
    static constexpr int kColumns = 57;

    // 0x41
    int16_t rate_x = 0, rate_y = 0, rate_z = 0;
    int16_t acc_x = 0, acc_y = 0, acc_z = 0;
    int16_t mag_x = 0, mag_y = 0, mag_z = 0;
    // 0x42
    int8_t roll = 0, Pitch = 0;
    uint8_t yaw = 0;
    int8_t vel_n = 0, vel_e = 0, vel_u = 0;
    int32_t f_lat = 0, f_lon = 0;
    int16_t f_alt = 0;
    // 0x43
    uint8_t warning_code = 0, mean_throttle = 0;
    uint16_t bat_volt = 0, flight_status = 0;
    int16_t shock_exp = 0;
    uint16_t flight_time = 0, dist2home = 0;
    // 0x44
    uint8_t gps_num = 0;
    int32_t gps_lat = 0, gps_lon = 0;
    int16_t gps_alt = 0, gps_v_h = 0, gps_v_v = 0;
    uint16_t gps_h_acc = 0;
    uint8_t gps_fix_status = 0;
    // 0x45
    int16_t eIMU_acc_x = 0, eIMU_acc_y = 0, eIMU_acc_z = 0;
    int16_t eIMU_roll = 0, eIMU_pitch = 0;
    uint16_t eIMU_yaw = 0;
    // 0x46: rc_in_roll, rc_in_pitch, rc_in_thr, rc_in_yaw, rc_in_mode, rc_in_CH6..CH8
    std::array<int8_t, 8> rc_in{};
    // 0x47: mot_1..mot_8
    std::array<uint8_t, 8> mot{};

    // Seven parts in a row, each a leading byte, the record's payload and a trailing byte; bytes
    // missing at the end read as 0.
    static BlackBoxSample decode(const QByteArray &bytes);

    // The export line: row number, time stamp, then the 55 values, each followed by a tab.
    QByteArray exportLine(uint32_t rowIndex, qint64 timer) const;
    // The 57 column titles, each followed by a tab, and the line feed.
    static QByteArray exportHeader();
};
