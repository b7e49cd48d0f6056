#pragma once

#include "app/SharedValue.h"

#include <cstdint>

// The aircraft's parameters in the encodings the flight controller uses on the wire, plus the live
// telemetry. One process-wide instance (aircraftParams()); zero at start and never reset, so a page
// shows the last value either side wrote until a fresh read reply overwrites it.
struct AircraftParams
{
    // Settings
    SharedValue<int8_t> gpsPosX;       // cm
    SharedValue<int8_t> gpsPosY;       // cm
    SharedValue<uint8_t> Contrl_type;  // receiver type code 0..2 (page option = 3 - code)
    SharedValue<uint8_t> Contrl_Rec;   // channel-reverse mask, bit n-1 for channel n
    SharedValue<uint8_t> batteryCells; // 2..6
    SharedValue<uint16_t> voltCalib;   // 0.01 V
    SharedValue<uint8_t> Uav_wid;      // wheelbase / 250
    SharedValue<uint8_t> M_CCR0;       // motor idle code (page shows code + 1)
    SharedValue<uint8_t> escCalibMotor;
    SharedValue<uint8_t> failsafeAction;
    SharedValue<uint8_t> Uav_Type;     // frame type 0..10
    SharedValue<uint8_t> fcInfo[7];    // opaque: three bytes, a word (low byte first), two bytes
    SharedValue<uint16_t> LV1;         // 0.01 V
    SharedValue<uint16_t> LV2;         // 0.01 V
    SharedValue<uint8_t> SP_S;         // 0 alarm, 1 return home, 2 land
    SharedValue<uint16_t> sensRateP;
    SharedValue<uint16_t> sensRateD;
    SharedValue<uint16_t> altRateP;
    SharedValue<uint16_t> heightLimit;
    SharedValue<uint8_t> returnHeight; // m

    // Monitoring and versions
    SharedValue<uint8_t> selfCheckFlags1;
    SharedValue<uint8_t> selfCheckFlags2;
    struct ModuleVersion
    {
        SharedValue<uint8_t> major;
        SharedValue<uint8_t> minor;
    };
    static constexpr int kModuleCount = 10;
    ModuleVersion moduleVersion[kModuleCount];

    // Spraying
    SharedValue<uint16_t> sprayWidth; // x100
    SharedValue<uint16_t> workSpeed;  // x100
    SharedValue<uint8_t> pumpSpeed;
    SharedValue<uint8_t> smallPumpSpeed;
    SharedValue<uint8_t> extSwitch1;
    SharedValue<uint8_t> extSwitch2;

    // Maintenance (32 bit on the wire)
    SharedValue<int32_t> maintTimer1; // minutes to the next service: negative when overdue
    SharedValue<uint32_t> maintTimer2;
    SharedValue<uint32_t> maintTimer3;
    SharedValue<uint32_t> maintCycle;

    // Flight commands
    SharedValue<uint8_t> globalWpBound[3];
    struct WayPoint
    {
        SharedValue<uint8_t> WP_No;
        SharedValue<uint8_t> WP_ID;
        SharedValue<int32_t> WP_Lon;
        SharedValue<int32_t> WP_Lat;
        SharedValue<uint16_t> WP_Alt;
        SharedValue<int8_t> WP_V;
        SharedValue<uint8_t> WP_Head;
        SharedValue<uint16_t> WP_Delay;
        SharedValue<uint8_t> reserved1;  // meaning not defined; kept opaque
        SharedValue<uint16_t> reserved2;
        SharedValue<uint16_t> reserved3;
        SharedValue<uint8_t> reserved4;
        SharedValue<uint8_t> WP2;
    } wayPoint;

    // Firmware transfer
    SharedValue<uint32_t> fwPacketIndex;
    SharedValue<uint32_t> fwPacketCount;

    // Telemetry 0x41: raw sensors
    SharedValue<int16_t> rate_x, rate_y, rate_z;
    SharedValue<int16_t> acc_x, acc_y, acc_z;
    SharedValue<int16_t> mag_x, mag_y, mag_z;
    // 0x42: position and attitude
    SharedValue<int8_t> roll, Pitch;
    SharedValue<uint8_t> yaw;
    SharedValue<int8_t> vel_n, vel_e, vel_u;
    SharedValue<int32_t> f_lat, f_lon;
    SharedValue<int16_t> f_alt;
    // 0x43: condition monitor
    SharedValue<uint8_t> warning_code; // bit 7 compass, 6 barometer, 5 IMU, 2 receiver: set = faulty
    SharedValue<uint8_t> mean_throttle;
    SharedValue<uint16_t> bat_volt; // 0.01 V
    SharedValue<uint16_t> flight_status;
    SharedValue<int16_t> shock_exp;
    SharedValue<uint16_t> flight_time;
    SharedValue<uint16_t> dist2home;
    // 0x44: GPS
    SharedValue<uint8_t> gps_num;
    SharedValue<int32_t> gps_lat, gps_lon;
    SharedValue<int16_t> gps_alt, gps_v_h, gps_v_v;
    SharedValue<uint16_t> gps_h_acc;
    SharedValue<uint8_t> gps_fix_status;
    // 0x45: external IMU
    SharedValue<int16_t> eIMU_acc_x, eIMU_acc_y, eIMU_acc_z;
    SharedValue<int16_t> eIMU_roll, eIMU_pitch;
    SharedValue<uint16_t> eIMU_yaw;
    // 0x46: RC inputs
    SharedValue<int8_t> rc_in_roll, rc_in_pitch, rc_in_thr, rc_in_yaw, rc_in_mode, rc_in_CH6,
        rc_in_CH7, rc_in_CH8;
    // 0x47: motor outputs
    SharedValue<uint8_t> mot[8]; // mot_1 .. mot_8
    // 0x48
    SharedValue<uint32_t> otherData;
    // 0x4B
    SharedValue<uint8_t> overheadByte0;
    SharedValue<uint16_t> probeHeight; // 0.01 m
};

AircraftParams &aircraftParams();
