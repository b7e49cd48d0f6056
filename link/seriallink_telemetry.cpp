// Telemetry frames 0x41 to 0x4B: each record is copied whole into the store, then announced. They
// never touch the pending command and are never suppressed.
#include "link/seriallink.h"

#include "app/AircraftParams.h"
#include "link/FrameReader.h"

void SerialLink::replyUav_SensorRawData(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8 + 17))
        return;
    m_params.rate_x = r.i16(8);
    m_params.rate_y = r.i16(10);
    m_params.rate_z = r.i16(12);
    m_params.acc_x = r.i16(14);
    m_params.acc_y = r.i16(16);
    m_params.acc_z = r.i16(18);
    m_params.mag_x = r.i16(20);
    m_params.mag_y = r.i16(22);
    m_params.mag_z = r.i16(24);
    Q_EMIT SignalReturnInfo(_SensorRawData, QString());
    Q_EMIT SignalTlmtrData_Pri_41_Downloaded();
}

void SerialLink::replyUav_PositionAttitudeData(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8 + 15))
        return;
    m_params.roll = r.i8(8);
    m_params.Pitch = r.i8(9);
    m_params.yaw = r.u8(10);
    m_params.vel_n = r.i8(11);
    m_params.vel_e = r.i8(12);
    m_params.vel_u = r.i8(13);
    m_params.f_lat = r.i32(14);
    m_params.f_lon = r.i32(18);
    m_params.f_alt = r.i16(22);
    Q_EMIT SignalReturnInfo(_PositionAttitudeData, QString());
    Q_EMIT SignalTlmtrData_Pos_42_Downloaded();
}

void SerialLink::replyUav_ConditionMonitorData(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8 + 11))
        return;
    m_params.warning_code = r.u8(8);
    m_params.mean_throttle = r.u8(9);
    m_params.bat_volt = r.u16(10);
    m_params.flight_status = r.u16(12);
    m_params.shock_exp = r.i16(14);
    m_params.flight_time = r.u16(16);
    m_params.dist2home = r.u16(18);
    Q_EMIT SignalReturnInfo(_ConditionMonitorData, QString());
    Q_EMIT SignalTlmtrData_Sta_43_Downloaded();
}

void SerialLink::replyUav_GpsRawData(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8 + 17))
        return;
    m_params.gps_num = r.u8(8);
    m_params.gps_lat = r.i32(9);
    m_params.gps_lon = r.i32(13);
    m_params.gps_alt = r.i16(17);
    m_params.gps_v_h = r.i16(19);
    m_params.gps_v_v = r.i16(21);
    m_params.gps_h_acc = r.u16(23);
    m_params.gps_fix_status = r.u8(25);
    Q_EMIT SignalReturnInfo(_GpsRawData, QString());
    Q_EMIT SignalTlmtrData_GPS_44_Downloaded();
}

void SerialLink::replyUav_IMUData(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8 + 11))
        return;
    m_params.eIMU_acc_x = r.i16(8);
    m_params.eIMU_acc_y = r.i16(10);
    m_params.eIMU_acc_z = r.i16(12);
    m_params.eIMU_roll = r.i16(14);
    m_params.eIMU_pitch = r.i16(16);
    m_params.eIMU_yaw = r.u16(18);
    Q_EMIT SignalReturnInfo(_IMUData, QString());
    Q_EMIT SignalTlmtrData_Mcu_45_Downloaded();
}

void SerialLink::replyUav_RemoteControlInputVolume(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8 + 7))
        return;
    m_params.rc_in_roll = r.i8(8);
    m_params.rc_in_pitch = r.i8(9);
    m_params.rc_in_thr = r.i8(10);
    m_params.rc_in_yaw = r.i8(11);
    m_params.rc_in_mode = r.i8(12);
    m_params.rc_in_CH6 = r.i8(13);
    m_params.rc_in_CH7 = r.i8(14);
    m_params.rc_in_CH8 = r.i8(15);
    Q_EMIT SignalReturnInfo(_RemoteControlInputVolume, QString());
    Q_EMIT SignalTlmtrData_Con_46_Downloaded();
}

void SerialLink::replyUav_MotorOutput(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8 + 7))
        return;
    for (int i = 0; i < 8; ++i)
        m_params.mot[i] = r.u8(8 + i);
    Q_EMIT SignalReturnInfo(_MotorOutput, QString());
    Q_EMIT SignalTlmtrData_Mot_47_Downloaded();
}

void SerialLink::replyUav_OtherData(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8 + 3))
        return;
    m_params.otherData = r.u32(8);
    Q_EMIT SignalReturnInfo(_OtherData, QString());
    Q_EMIT SignalTlmtrData_Oth_48_Downloaded();
}

void SerialLink::replyUav_OverheadInformation1(QByteArray b)
{
    // 20 bytes arrive; only the first three carry anything we use.
    const FrameReader r(b);
    if (!r.covers(8 + 2))
        return;
    m_params.overheadByte0 = r.u8(8);
    m_params.probeHeight = r.u16(9);
    Q_EMIT SignalReturnInfo(_OverheadInformation1, QString());
}

void SerialLink::FlightStatus(quint16 status)
{
    const int mode = status & 0x0F;
    const int value = status >> 8;
    Q_EMIT SignalFlightStatus(mode, value);

    QString modeText;
    QString statusText;
    switch (mode) {
    case 0:
        modeText = tr("Attitude");
        break;
    case 1:
        modeText = tr("M");
        break;
    case 2:
        modeText = tr("Hover");
        statusText = tr("UAV is hovering");
        break;
    case 3:
        modeText = tr("Circle");
        statusText = tr("The number of circles passed is") + QString::number(value);
        break;
    case 4:
        modeText = tr("Guided");
        if (value == 0)
            statusText = tr("UAV is flying to the target point");
        else if (value == 1)
            statusText = tr("UAV has reached the target point already");
        else
            return;
        break;
    case 5:
        Q_EMIT SignalFlightStatus(tr("Auto"),
                                  tr("The number of destination waypoint is") + QString::number(value));
        Q_EMIT SignalFlightNextWayPoint(value);
        return;
    case 6: {
        static const char *const kReturn[] = {
            QT_TR_NOOP("UAV is ready to return"),
            QT_TR_NOOP("UAV is climbing to the returning height"),
            QT_TR_NOOP("UAV is returning to point above home"),
            QT_TR_NOOP("UAV is hovering above the home point"),
            QT_TR_NOOP("UAV is going to down"),
            QT_TR_NOOP("UAV is going to land"),
        };
        if (value > 5)
            return;
        modeText = tr("RTL");
        statusText = tr(kReturn[value]);
        break;
    }
    case 7:
        modeText = tr("TakeOff");
        if (value == 0)
            statusText = tr("UAV is taking off");
        else if (value == 1)
            statusText = tr("UAV has reached a predetermined height");
        else
            return;
        break;
    case 8: {
        static const char *const kLand[] = {
            QT_TR_NOOP("UAV is flighting to the land point"),
            QT_TR_NOOP("UAV is hovering above the land point"),
            QT_TR_NOOP("UAV is going to down"),
        };
        if (value > 2)
            return;
        modeText = tr("Land");
        statusText = tr(kLand[value]);
        break;
    }
    case 9:
        modeText = tr("GPS");
        statusText = tr("hover");
        break;
    default:
        return;
    }
    Q_EMIT SignalFlightStatus(modeText, statusText);
}
