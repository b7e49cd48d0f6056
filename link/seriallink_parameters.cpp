// Configuration commands 0x01 to 0x1C: builders read the parameter store, replies write it and
// report with SignalReturnInfo. An acknowledgement has length 1 with a status byte (0 = success);
// a read reply is longer, so the pending key of most commands is the reply length it waits for.
#include "link/seriallink.h"

#include "app/AircraftParams.h"
#include "link/FrameReader.h"
#include "link/WireWriter.h"

namespace {
QByteArray bytes(std::initializer_list<uint8_t> values)
{
    QByteArray b;
    for (uint8_t v : values)
        b.append(char(v));
    return b;
}
} // namespace

// --- Builders ----------------------------------------------------------------------------------

void SerialLink::requestUav_Mod_FCCID(char Id)
{
    // 0x3F has no handler, so this stays pending until the next tracked command replaces it.
    sendTracked(0x3F, bytes({uint8_t(Id)}), 0);
}

void SerialLink::requestUav_FbwInfomation()
{
    sendTracked(_FbwInfomation, {}, 0);
}

void SerialLink::sendUav_UavType()
{
    sendTracked(_UavType, bytes({m_params.Uav_Type}), 1);
}

void SerialLink::requestUav_UavType()
{
    sendTracked(_UavType, {}, 2);
}

void SerialLink::sendUav_GpsSetup()
{
    sendTracked(_GpsSetup, bytes({uint8_t(m_params.gpsPosX.load()), uint8_t(m_params.gpsPosY.load())}), 1);
}

void SerialLink::requestUav_GpsSetup()
{
    sendTracked(_GpsSetup, {}, 2);
}

void SerialLink::sendUav_ReceiveType()
{
    sendTracked(_ReceiveType, bytes({m_params.Contrl_type}), 1);
}

void SerialLink::requestUav_ReceiveType()
{
    sendTracked(_ReceiveType, {}, 2);
}

void SerialLink::sendUav_RemoteCalibrate(char Command)
{
    // 3 starts the calibration, 0x0C ends it; the reply echoes the sub-command.
    sendTracked(_RemoteCalibrate, bytes({uint8_t(Command)}), int16_t(uint8_t(Command)));
}

void SerialLink::sendUav_RemoteChannelReverse()
{
    sendTracked(_RemoteChannelReverse, bytes({m_params.Contrl_Rec}), 1);
}

void SerialLink::requestUav_RemoteChannelReverse()
{
    sendTracked(_RemoteChannelReverse, {}, 2);
}

void SerialLink::sendUav_EcsCalibration(int t)
{
    m_params.escCalibMotor = uint8_t(t);
    sendTracked(_EcsCalibration, bytes({uint8_t(t)}), 0);
}

void SerialLink::sendUav_MotorIdle()
{
    sendTracked(_MotorIdle, bytes({m_params.M_CCR0}), 1);
}

void SerialLink::requestUav_MotorIdle()
{
    sendTracked(_MotorIdle, {}, 2);
}

void SerialLink::sendUav_MotorWheelbase()
{
    sendTracked(_MotorWheelbase, bytes({m_params.Uav_wid}), 1);
}

void SerialLink::requestUav_MotorWheelbase()
{
    sendTracked(_MotorWheelbase, {}, 2);
}

void SerialLink::sendUav_InductionDegrees()
{
    sendTracked(_InductionDegrees,
                WireWriter().u16(m_params.sensRateP).u16(m_params.sensRateD).u16(m_params.altRateP),
                1);
}

void SerialLink::requestUav_InductionDegrees()
{
    sendTracked(_InductionDegrees, {}, 6);
}

void SerialLink::sendUav_VoltageColibration()
{
    sendTracked(_VoltageColibration, WireWriter().u8(m_params.batteryCells).u16(m_params.voltCalib), 0);
}

void SerialLink::sendUav_LowVoltageProtection()
{
    sendTracked(_LowVoltageProtection,
                WireWriter().u16(m_params.LV1).u16(m_params.LV2).u8(m_params.SP_S), 1);
}

void SerialLink::requestUav_LowVoltageProtection()
{
    sendTracked(_LowVoltageProtection, {}, 5);
}

void SerialLink::sendUav_RunawayProtection()
{
    sendTracked(_RunawayProtection, bytes({m_params.failsafeAction}), 1);
}

void SerialLink::requestUav_RunawayProtection()
{
    sendTracked(_RunawayProtection, {}, 2);
}

void SerialLink::sendUav_SensorCalibration(char f)
{
    sendTracked(_SensorCalibration, bytes({uint8_t(f)}), 0);
}

void SerialLink::requestUav_RestoreFactorySettings()
{
    sendTracked(_RestoreFactorySettings, bytes({0x01}), 0);
}

void SerialLink::requestUav_FirmwareVersion(char MoldID)
{
    sendTracked(_FirmwareVersion, bytes({uint8_t(MoldID)}), int16_t(uint8_t(MoldID)));
}

void SerialLink::sendUav_FlyingHeightLimit()
{
    sendTracked(_FlyingHeightLimit, WireWriter().u16(m_params.heightLimit), 0);
}

void SerialLink::requestUav_FlyingHeightLimit()
{
    sendTracked(_FlyingHeightLimit, {}, 0);
}

void SerialLink::sendUav_ReturnHeight()
{
    // Read reply and acknowledgement both have length 1: this flag alone tells them apart.
    returnHeightRead = false;
    sendTracked(_ReturnHeight, bytes({m_params.returnHeight}), 0);
}

void SerialLink::requestUav_ReturnHeight()
{
    returnHeightRead = true;
    sendTracked(_ReturnHeight, {}, 1);
}

void SerialLink::requestUav_OnlineMonitoring()
{
    sendTracked(_OnlineMonitoring, {}, 0);
}

void SerialLink::sendUav_SpraySpeed()
{
    sendTracked(_PumpTest, bytes({0x01, m_params.pumpSpeed}), 0);
}

void SerialLink::sendUav_SmallSpraySpeed()
{
    sendTracked(_PumpTest, bytes({0x02, m_params.smallPumpSpeed}), 0);
}

void SerialLink::sendUav_SpraySpeedEnd()
{
    sendTracked(_PumpTest, bytes({0x11, m_params.pumpSpeed}), 0);
}

void SerialLink::sendUav_SmallSpraySpeedEnd()
{
    sendTracked(_PumpTest, bytes({0x12, m_params.smallPumpSpeed}), 0);
}

void SerialLink::requestUav_SpraySpeed()
{
    sendTracked(_PumpTest, bytes({0x01}), 1);
}

void SerialLink::requestUav_SmallSpraySpeed()
{
    sendTracked(_PumpTest, bytes({0x02}), 1);
}

void SerialLink::sendUav_SetSprayWidth()
{
    sendTracked(_SprayWidth, WireWriter().u16(m_params.sprayWidth), 0);
}

void SerialLink::requestUav_SetSprayWidth()
{
    sendTracked(_SprayWidth, bytes({0x01}), 0);
}

void SerialLink::sendUav_SetWorkSpeed()
{
    sendTracked(_WorkSpeed, WireWriter().u16(m_params.workSpeed), 0);
}

void SerialLink::requestUav_SetWorkSpeed()
{
    sendTracked(_WorkSpeed, bytes({0x01}), 0);
}

void SerialLink::sendUav_ExternelSwitch(uchar id, uchar Enable)
{
    sendTracked(_ExternelSwitch, bytes({Enable, id, 0xFF}), 0);
}

void SerialLink::requestUav_ExternelSwitch(uchar id)
{
    sendTracked(_ExternelSwitch, bytes({0x01, id}), 0);
}

void SerialLink::sendUav_MaintenanceTimer(uchar id, int v)
{
    WireWriter payload;
    switch (id) {
    case 2: // maintenance done: reset
        payload.u8(0x04).u32(0);
        break;
    case 3:
        payload.u8(0x05).u32(0);
        break;
    case 4: // new cycle
        m_params.maintCycle = uint32_t(v);
        payload.u8(0x06).u32(uint32_t(v));
        break;
    default:
        payload.u32(0);
        break;
    }
    sendTracked(_MaintenanceTimer, payload, 0);
}

void SerialLink::requestUav_MaintenanceTimer(uchar id)
{
    static constexpr uint8_t kSubCommand[] = {0, 0x01, 0x02, 0x03, 0x07};
    WireWriter payload;
    if (id >= 1 && id <= 4)
        payload.u8(kSubCommand[id]);
    payload.u32(0);
    sendTracked(_MaintenanceTimer, payload, 0);
}

// --- Replies -----------------------------------------------------------------------------------

void SerialLink::replyUav_FbwInfomation(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8))
        return;
    ackPending(_FbwInfomation, 0);
    m_params.Uav_Type = r.u8(8);
    // Any length is an answer; the information bytes are stored as far as they came.
    for (int i = 0; i < 7 && r.covers(9 + i); ++i)
        m_params.fcInfo[i] = r.u8(9 + i);
}

void SerialLink::replyUav_UavType(QByteArray b)
{
    const FrameReader r(b);
    const uint8_t len = r.lengthByte();
    if (len == 1 && r.covers(8)) {
        ackPending(_UavType, 1);
        Q_EMIT SignalReturnInfo(_UavType, r.u8(8) == 0 ? tr("Model setup successfully！")
                                                       : tr("Model setup failed！"));
    } else if (len == 2 && r.covers(9)) {
        ackPending(_UavType, 2);
        if (r.u8(9) != 0) {
            Q_EMIT SignalReturnInfo(_UavType, tr("Failed to download model!"));
            return;
        }
        m_params.Uav_Type = r.u8(8);
        Q_EMIT SignalReturnInfo(_UavType, tr("Model information download success!"));
    }
}

void SerialLink::replyUav_GpsSetup(QByteArray b)
{
    const FrameReader r(b);
    const uint8_t len = r.lengthByte();
    if (len == 1 && r.covers(8)) {
        if (r.u8(8) != 0)
            return;
        ackPending(_GpsSetup, 1);
        Q_EMIT SignalReturnInfo(_GpsSetup, tr("GPS setup successfully！"));
    } else if (len == 2 && r.covers(9)) {
        m_params.gpsPosX = r.i8(8);
        m_params.gpsPosY = r.i8(9);
        ackPending(_GpsSetup, 2);
        Q_EMIT SignalReturnInfo(_GpsSetup, tr("Download GPS Setup parameter success！"));
    }
}

void SerialLink::replyUav_ReceiveType(QByteArray b)
{
    const FrameReader r(b);
    const uint8_t len = r.lengthByte();
    if (len == 1 && r.covers(8)) {
        if (r.u8(8) != 0)
            return;
        ackPending(_ReceiveType, 1);
        Q_EMIT SignalReturnInfo(_ReceiveType, tr("Receiver type setting success！"));
    } else if (len == 2 && r.covers(9)) {
        if (r.u8(9) != 0)
            return;
        m_params.Contrl_type = r.u8(8);
        ackPending(_ReceiveType, 2);
        Q_EMIT SignalReturnInfo(_ReceiveType, tr("Receiver type download success!"));
    }
}

void SerialLink::replyUav_RemoteCalibrate(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(9))
        return;
    ackPending(_RemoteCalibrate, int16_t(r.u8(8)));
    Q_EMIT SignalReturnInfo(_RemoteCalibrate, r.u8(9) == 0 ? tr("指令已接收！") : tr("指令有误！"));
}

void SerialLink::replyUav_RemoteChannelReverse(QByteArray b)
{
    const FrameReader r(b);
    const uint8_t len = r.lengthByte();
    if (len == 1 && r.covers(8)) {
        if (r.u8(8) != 0)
            return;
        ackPending(_RemoteChannelReverse, 1);
        Q_EMIT SignalReturnInfo(_RemoteChannelReverse, tr("遥控器通道正反向已设置"));
    } else if (len == 2 && r.covers(9)) {
        if (r.u8(9) != 0)
            return;
        m_params.Contrl_Rec = r.u8(8);
        ackPending(_RemoteChannelReverse, 2);
        Q_EMIT SignalReturnInfo(_RemoteChannelReverse, tr("遥控器通道正反向设置信息下载成功"));
    }
}

void SerialLink::replyUav_EcsCalibration(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8))
        return;
    ackPending(_EcsCalibration, 0);
    const uint8_t status = r.u8(8);
    QString text;
    if (status == 0)
        text = tr("开始校准电调！");
    else if (status >= 1 && status <= 10)
        text = tr("单个电调校准完毕！");
    else if (status == 0x10)
        text = tr("所有电调校准完毕！");
    else
        text = tr("指令未执行！！！");
    Q_EMIT SignalReturnInfo(_EcsCalibration, text);
}

void SerialLink::replyUav_MotorIdle(QByteArray b)
{
    const FrameReader r(b);
    const uint8_t len = r.lengthByte();
    if (len == 1 && r.covers(8)) {
        if (r.u8(8) != 0)
            return;
        ackPending(_MotorIdle, 1);
        Q_EMIT SignalReturnInfo(_MotorIdle, tr("电机怠速设置成功！"));
    } else if (len == 2 && r.covers(9)) {
        if (r.u8(9) != 0)
            return;
        m_params.M_CCR0 = r.u8(8);
        ackPending(_MotorIdle, 2);
        Q_EMIT SignalReturnInfo(_MotorIdle, tr("电机怠速值下载成功"));
    }
}

void SerialLink::replyUav_MotorWheelbase(QByteArray b)
{
    const FrameReader r(b);
    const uint8_t len = r.lengthByte();
    if (len == 1 && r.covers(8)) {
        if (r.u8(8) != 0)
            return;
        ackPending(_MotorWheelbase, 1);
        Q_EMIT SignalReturnInfo(_MotorWheelbase, tr("飞机轴距设置成功！"));
    } else if (len == 2 && r.covers(9)) {
        if (r.u8(9) != 0)
            return;
        m_params.Uav_wid = r.u8(8);
        ackPending(_MotorWheelbase, 2);
        Q_EMIT SignalReturnInfo(_MotorWheelbase, tr("下载飞机轴距参数成功"));
    }
}

void SerialLink::replyUav_InductionDegrees(QByteArray b)
{
    const FrameReader r(b);
    const uint8_t len = r.lengthByte();
    if (len == 1 && r.covers(8)) {
        if (r.u8(8) != 0)
            return;
        Q_EMIT SignalReturnInfo(_InductionDegrees, QString());
        ackPending(_InductionDegrees, 1);
    } else if (len == 6 && r.covers(13)) {
        m_params.sensRateP = r.u16(8);
        m_params.sensRateD = r.u16(10);
        m_params.altRateP = r.u16(12);
        Q_EMIT SignalReturnInfo(_InductionDegrees, QString());
        ackPending(_InductionDegrees, 6);
    }
}

void SerialLink::replyUav_VoltageColibration(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8))
        return;
    ackPending(_VoltageColibration, 0);
    Q_EMIT SignalReturnInfo(_VoltageColibration,
                            r.u8(8) == 0 ? tr("电压校准成功！") : tr("电压校准失败！"));
}

void SerialLink::replyUav_LowVoltageProtection(QByteArray b)
{
    const FrameReader r(b);
    const uint8_t len = r.lengthByte();
    if (len == 1 && r.covers(8)) {
        if (r.u8(8) != 0)
            return;
        Q_EMIT SignalReturnInfo(_LowVoltageProtection, tr("低压保护设置成功！"));
        ackPending(_LowVoltageProtection, 1);
    } else if (len == 5 && r.covers(12)) {
        m_params.LV1 = r.u16(8);
        m_params.LV2 = r.u16(10);
        m_params.SP_S = r.u8(12);
        Q_EMIT SignalReturnInfo(_LowVoltageProtection, tr("低压保护参数下载成功！"));
        ackPending(_LowVoltageProtection, 5);
    }
}

void SerialLink::replyUav_RunawayProtection(QByteArray b)
{
    const FrameReader r(b);
    const uint8_t len = r.lengthByte();
    if (len == 1 && r.covers(8)) {
        ackPending(_RunawayProtection, 1);
        Q_EMIT SignalReturnInfo(_RunawayProtection, r.u8(8) == 0 ? tr("失控保护参数设置成功！")
                                                                 : tr("失控保护参数设置失败！"));
    } else if (len == 2 && r.covers(9)) {
        ackPending(_RunawayProtection, 2);
        if (r.u8(9) != 0) {
            Q_EMIT SignalReturnInfo(_RunawayProtection, tr("失控保护参数下载失败"));
            return;
        }
        m_params.failsafeAction = r.u8(8);
        Q_EMIT SignalReturnInfo(_RunawayProtection, tr("失控保护参数下载成功"));
    }
}

void SerialLink::replyUav_SensorCalibration(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8))
        return;
    ackPending(_SensorCalibration, 0);
    const uint8_t status = r.u8(8);
    Q_EMIT SignalReturnInfo(_SensorCalibration, status == 0   ? tr("指令已接收")
                                                : status == 4 ? tr("校准失败")
                                                              : tr("指令接收错误"));
}

void SerialLink::replyUav_RestoreFactorySettings(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8))
        return;
    ackPending(_RestoreFactorySettings, 0);
    Q_EMIT SignalReturnInfo(_RestoreFactorySettings,
                            r.u8(8) == 0 ? tr("恢复出厂设置成功！") : tr("恢复出厂设置失败！"));
}

void SerialLink::replyUav_FirmwareVersion(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8))
        return;
    const uint8_t module = r.u8(8);
    // Only a module the store knows carries a version to read.
    if (module < AircraftParams::kModuleCount && !r.covers(10))
        return;
    ackPending(_FirmwareVersion, module);
    if (module < AircraftParams::kModuleCount) {
        m_params.moduleVersion[module].major = r.u8(9);
        m_params.moduleVersion[module].minor = r.u8(10);
    }
    Q_EMIT SignalReturnInfo(_FirmwareVersion, QString::number(module));
}

void SerialLink::replyUav_FlyingHeightLimit(QByteArray b)
{
    const FrameReader r(b);
    const uint8_t len = r.lengthByte();
    if (len == 1 && r.covers(8)) {
        if (r.u8(8) != 0)
            return;
        ackPending(_FlyingHeightLimit, 0);
        Q_EMIT SignalReturnInfo(r.type(), QString());
    } else if (len == 2 && r.covers(9)) {
        m_params.heightLimit = (r.u8(8) != 0 || r.u8(9) != 0) ? 1 : 0;
        ackPending(_FlyingHeightLimit, 0);
        Q_EMIT SignalReturnInfo(r.type(), QString());
    }
}

void SerialLink::replyUav_ReturnHeight(QByteArray b)
{
    const FrameReader r(b);
    if (r.lengthByte() != 1 || !r.covers(8))
        return;
    if (returnHeightRead) {
        m_params.returnHeight = r.u8(8);
        ackPending(_ReturnHeight, 1);
    } else {
        if (r.u8(8) != 0)
            return;
        ackPending(_ReturnHeight, 0);
    }
    Q_EMIT SignalReturnInfo(_ReturnHeight, QString());
}

void SerialLink::replyUav_OnlineMonitoring(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8))
        return;
    if (r.u8(8) == 5) {
        if (!r.covers(10))
            return;
        m_params.selfCheckFlags1 = r.u8(9);
        m_params.selfCheckFlags2 = r.u8(10);
    }
    ackPending(_OnlineMonitoring, 0);
}

void SerialLink::replyUav_PumpTest(QByteArray b)
{
    const FrameReader r(b);
    const uint8_t len = r.lengthByte();
    if (len == 2 && r.covers(9)) {
        if (r.u8(8) != 0)
            return;
        ackPending(_PumpTest, 0);
        Q_EMIT SignalReturnInfo(_PumpTest, QString());
    } else if (len == 3 && r.covers(10)) {
        if (r.u8(8) == 0) {
            if (r.u8(9) == 1)
                m_params.pumpSpeed = r.u8(10);
            else if (r.u8(9) == 2)
                m_params.smallPumpSpeed = r.u8(10);
        }
        ackPending(_PumpTest, 1);
        Q_EMIT SignalReturnInfo(_PumpTest, QString());
    }
}

void SerialLink::replyUav_SprayWidth(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(10) || r.u8(8) != 0)
        return;
    m_params.sprayWidth = r.u16(9);
    ackPending(_SprayWidth, 0);
    Q_EMIT SignalReturnInfo(_SprayWidth, QString());
}

void SerialLink::replyUav_WorkSpeed(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8))
        return;
    ackPending(_WorkSpeed, 0);
    if (r.u8(8) != 0 || !r.covers(10))
        return;
    m_params.workSpeed = r.u16(9);
    Q_EMIT SignalReturnInfo(_WorkSpeed, QString());
}

void SerialLink::replyUav_ExternelSwitch(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8))
        return;
    ackPending(_ExternelSwitch, 0);
    if (r.u8(8) != 0 || !r.covers(10))
        return;
    const uint8_t id = r.u8(9);
    if (id == 1)
        m_params.extSwitch1 = r.u8(10);
    else if (id == 2)
        m_params.extSwitch2 = r.u8(10);
    Q_EMIT SignalReturnInfo(_ExternelSwitch, QString::number(id));
}

void SerialLink::replyUav_MaintenanceTimer(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(13) || r.u8(8) != 0)
        return;
    const uint8_t id = r.u8(9);
    const uint32_t value = r.u32(10);
    switch (id) {
    case 1: m_params.maintTimer1 = value; break;
    case 2: m_params.maintTimer2 = value; break;
    case 3: m_params.maintTimer3 = value; break;
    case 7: m_params.maintCycle = value; break;
    default: break;
    }
    ackPending(_MaintenanceTimer, 0);
    Q_EMIT SignalReturnInfo(_MaintenanceTimer, QString::number(id, 16));
}
