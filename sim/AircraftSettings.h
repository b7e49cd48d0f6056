#pragma once

#include <QtGlobal>

// The flight controller's settings in their wire encodings. The defaults are the factory values
// that a factory reset brings back: quad X frame, SBUS receiver, 1000 mm wheelbase, gains 100,
// protection at 10.8 V / 10.6 V with return home, 20 m return height.
struct AircraftSettings
{
    quint8 uavType = 1;         // 0x02: frame type, 1 = quad X
    qint8 gpsPosX = 0;          // 0x03: antenna offset, cm
    qint8 gpsPosY = 0;
    quint8 receiverType = 0;    // 0x04: 0 SBUS, 1 PPM, 2 PWM
    quint8 channelReverse = 0;  // 0x06: bit n-1 reverses RC input n
    quint8 motorIdle = 2;       // 0x08: level 0..4 ("recommended" is 2)
    quint8 wheelbase = 4;       // 0x09: wheelbase / 250 mm
    quint16 gainAttitude = 100; // 0x0A
    quint16 gainStability = 100;
    quint16 gainThrottle = 100;
    quint8 batteryCells = 3;    // 0x0B
    qint16 voltageOffset = 0;   // 0x0B: correction added to the measured pack voltage, 0.01 V
    quint16 lowVoltage1 = 1080; // 0x0C: 0.01 V
    quint16 lowVoltage2 = 1060;
    quint8 protectionAction = 1; // 0 alarm, 1 return home, 2 land
    quint8 failsafeAction = 1;   // 0x0D
    quint16 heightLimit = 1;     // 0x11
    quint8 returnHeight = 20;    // 0x12: m
    quint16 sprayWidth = 400;    // 0x17: m x 100
    quint16 workSpeed = 500;     // 0x18: m/s x 100
    quint8 pumpSpeed = 60;       // 0x19: %
    quint8 smallPumpSpeed = 20;
    quint8 extSwitch1 = 1;       // 0x1B: liquid-level sensor
    quint8 extSwitch2 = 1;       // 0x1B: altitude radar
    quint32 maintenanceCycle = 1500; // 0x1C: minutes

    static AircraftSettings factory() { return AircraftSettings(); }
    // Number of motors of the frame type (quad 4, hexa 6, octo 8).
    int motorCount() const;
    bool operator==(const AircraftSettings &other) const;
    bool operator!=(const AircraftSettings &other) const { return !(*this == other); }
};
