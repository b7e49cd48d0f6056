// Every builder's bytes and pending key, and every reply row: store writes, texts, and whether the
// pending command is acknowledged. Frames are handed to the handlers the way the worker does.
#include "app/AircraftParams.h"
#include "blackbox/BlackBoxDownloadState.h"
#include "link/seriallink.h"
#include "support/FrameBytes.h"

#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

using FrameBytes::hex;
using FrameBytes::reply;

using Call = std::function<void(SerialLink &, AircraftParams &, BlackBoxDownloadState &)>;
using Check = std::function<bool(const AircraftParams &, const BlackBoxDownloadState &)>;
Q_DECLARE_METATYPE(Call)
Q_DECLARE_METATYPE(Check)

namespace {
const Check kNoCheck = [](const AircraftParams &, const BlackBoxDownloadState &) { return true; };
}

class tst_SerialLinkCatalogue : public QObject
{
    Q_OBJECT

    std::unique_ptr<AircraftParams> m_params;
    std::unique_ptr<BlackBoxDownloadState> m_blackBox;
    std::unique_ptr<SerialLink> m_link;

private Q_SLOTS:
    void init()
    {
        m_params = std::make_unique<AircraftParams>();
        m_blackBox = std::make_unique<BlackBoxDownloadState>();
        m_link = std::make_unique<SerialLink>(nullptr, m_params.get(), m_blackBox.get());
    }
    void cleanup() { m_link.reset(); }

    void builders_data()
    {
        QTest::addColumn<Call>("call");
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("resend");
        auto row = [](const char *name, Call call, int type, const char *payload, int key, bool resend = true) {
            QTest::newRow(name) << call << type << hex(payload) << key << resend;
        };
        using L = SerialLink;
        using P = AircraftParams;
        using B = BlackBoxDownloadState;
        row("Mod_FCCID", [](L &l, P &, B &) { l.requestUav_Mod_FCCID(7); }, 0x3F, "07", 0);
        row("FbwInfomation", [](L &l, P &, B &) { l.requestUav_FbwInfomation(); }, 0x01, "", 0);
        row("UavType set", [](L &l, P &p, B &) { p.Uav_Type = 5; l.sendUav_UavType(); }, 0x02, "05", 1);
        row("UavType read", [](L &l, P &, B &) { l.requestUav_UavType(); }, 0x02, "", 2);
        row("GpsSetup set", [](L &l, P &p, B &) { p.gpsPosX = -3; p.gpsPosY = 12; l.sendUav_GpsSetup(); }, 0x03, "FD 0C", 1);
        row("GpsSetup read", [](L &l, P &, B &) { l.requestUav_GpsSetup(); }, 0x03, "", 2);
        row("ReceiveType set", [](L &l, P &p, B &) { p.Contrl_type = 2; l.sendUav_ReceiveType(); }, 0x04, "02", 1);
        row("ReceiveType read", [](L &l, P &, B &) { l.requestUav_ReceiveType(); }, 0x04, "", 2);
        row("RC calibration start", [](L &l, P &, B &) { l.sendUav_RemoteCalibrate(3); }, 0x05, "03", 3);
        row("RC calibration stop", [](L &l, P &, B &) { l.sendUav_RemoteCalibrate(12); }, 0x05, "0C", 12);
        row("ChannelReverse set", [](L &l, P &p, B &) { p.Contrl_Rec = 0x81; l.sendUav_RemoteChannelReverse(); }, 0x06, "81", 1);
        row("ChannelReverse read", [](L &l, P &, B &) { l.requestUav_RemoteChannelReverse(); }, 0x06, "", 2);
        row("EcsCalibration", [](L &l, P &, B &) { l.sendUav_EcsCalibration(0x105); }, 0x07, "05", 0);
        row("MotorIdle set", [](L &l, P &p, B &) { p.M_CCR0 = 2; l.sendUav_MotorIdle(); }, 0x08, "02", 1);
        row("MotorIdle read", [](L &l, P &, B &) { l.requestUav_MotorIdle(); }, 0x08, "", 2);
        row("Wheelbase set", [](L &l, P &p, B &) { p.Uav_wid = 4; l.sendUav_MotorWheelbase(); }, 0x09, "04", 1);
        row("Wheelbase read", [](L &l, P &, B &) { l.requestUav_MotorWheelbase(); }, 0x09, "", 2);
        row("Gains set", [](L &l, P &p, B &) { p.sensRateP = 100; p.sensRateD = 0x1234; p.altRateP = 7; l.sendUav_InductionDegrees(); }, 0x0A, "64 00 34 12 07 00", 1);
        row("Gains read", [](L &l, P &, B &) { l.requestUav_InductionDegrees(); }, 0x0A, "", 6);
        row("VoltageCalibration", [](L &l, P &p, B &) { p.batteryCells = 6; p.voltCalib = 2520; l.sendUav_VoltageColibration(); }, 0x0B, "06 D8 09", 0);
        row("LowVoltage set", [](L &l, P &p, B &) { p.LV1 = 1080; p.LV2 = 1060; p.SP_S = 1; l.sendUav_LowVoltageProtection(); }, 0x0C, "38 04 24 04 01", 1);
        row("LowVoltage read", [](L &l, P &, B &) { l.requestUav_LowVoltageProtection(); }, 0x0C, "", 5);
        row("Runaway set", [](L &l, P &p, B &) { p.failsafeAction = 2; l.sendUav_RunawayProtection(); }, 0x0D, "02", 1);
        row("Runaway read", [](L &l, P &, B &) { l.requestUav_RunawayProtection(); }, 0x0D, "", 2);
        row("SensorCalibration", [](L &l, P &, B &) { l.sendUav_SensorCalibration(9); }, 0x0E, "09", 0);
        row("FactoryReset", [](L &l, P &, B &) { l.requestUav_RestoreFactorySettings(); }, 0x0F, "01", 0);
        row("FirmwareVersion", [](L &l, P &, B &) { l.requestUav_FirmwareVersion(7); }, 0x10, "07", 7);
        row("HeightLimit set", [](L &l, P &p, B &) { p.heightLimit = 0x0105; l.sendUav_FlyingHeightLimit(); }, 0x11, "05 01", 0);
        row("HeightLimit read", [](L &l, P &, B &) { l.requestUav_FlyingHeightLimit(); }, 0x11, "", 0);
        row("ReturnHeight set", [](L &l, P &p, B &) { p.returnHeight = 30; l.sendUav_ReturnHeight(); }, 0x12, "1E", 0);
        row("ReturnHeight read", [](L &l, P &, B &) { l.requestUav_ReturnHeight(); }, 0x12, "", 1);
        row("OnlineMonitoring", [](L &l, P &, B &) { l.requestUav_OnlineMonitoring(); }, 0x14, "", 0);
        row("SpraySpeed", [](L &l, P &p, B &) { p.pumpSpeed = 40; l.sendUav_SpraySpeed(); }, 0x19, "01 28", 0);
        row("SmallSpraySpeed", [](L &l, P &p, B &) { p.smallPumpSpeed = 20; l.sendUav_SmallSpraySpeed(); }, 0x19, "02 14", 0);
        row("SpraySpeedEnd", [](L &l, P &p, B &) { p.pumpSpeed = 40; l.sendUav_SpraySpeedEnd(); }, 0x19, "11 28", 0);
        row("SmallSpraySpeedEnd", [](L &l, P &p, B &) { p.smallPumpSpeed = 20; l.sendUav_SmallSpraySpeedEnd(); }, 0x19, "12 14", 0);
        row("SpraySpeed read", [](L &l, P &, B &) { l.requestUav_SpraySpeed(); }, 0x19, "01", 1);
        row("SmallSpraySpeed read", [](L &l, P &, B &) { l.requestUav_SmallSpraySpeed(); }, 0x19, "02", 1);
        row("SprayWidth set", [](L &l, P &p, B &) { p.sprayWidth = 550; l.sendUav_SetSprayWidth(); }, 0x17, "26 02", 0);
        row("SprayWidth read", [](L &l, P &, B &) { l.requestUav_SetSprayWidth(); }, 0x17, "01", 0);
        row("WorkSpeed set", [](L &l, P &p, B &) { p.workSpeed = 0x1234; l.sendUav_SetWorkSpeed(); }, 0x18, "34 12", 0);
        row("WorkSpeed read", [](L &l, P &, B &) { l.requestUav_SetWorkSpeed(); }, 0x18, "01", 0);
        row("ExternelSwitch set", [](L &l, P &, B &) { l.sendUav_ExternelSwitch(2, 1); }, 0x1B, "01 02 FF", 0);
        row("ExternelSwitch read", [](L &l, P &, B &) { l.requestUav_ExternelSwitch(2); }, 0x1B, "01 02", 0);
        row("Maintenance done", [](L &l, P &, B &) { l.sendUav_MaintenanceTimer(2, 0); }, 0x1C, "04 00 00 00 00", 0);
        row("Maintenance id 3", [](L &l, P &, B &) { l.sendUav_MaintenanceTimer(3, 77); }, 0x1C, "05 00 00 00 00", 0);
        row("Maintenance cycle", [](L &l, P &, B &) { l.sendUav_MaintenanceTimer(4, 1000); }, 0x1C, "06 E8 03 00 00", 0);
        row("Maintenance other", [](L &l, P &, B &) { l.sendUav_MaintenanceTimer(9, 5); }, 0x1C, "00 00 00 00", 0);
        row("Maintenance read 1", [](L &l, P &, B &) { l.requestUav_MaintenanceTimer(1); }, 0x1C, "01 00 00 00 00", 0);
        row("Maintenance read 3", [](L &l, P &, B &) { l.requestUav_MaintenanceTimer(3); }, 0x1C, "03 00 00 00 00", 0);
        row("Maintenance read 4", [](L &l, P &, B &) { l.requestUav_MaintenanceTimer(4); }, 0x1C, "07 00 00 00 00", 0);
        row("Maintenance read other", [](L &l, P &, B &) { l.requestUav_MaintenanceTimer(5); }, 0x1C, "00 00 00 00", 0);
        row("MotorTest", [](L &l, P &, B &) { l.sendMotorTest(); }, 0xC2, "0F", 0, false);
        row("OneKeyFly", [](L &l, P &, B &) { l.sendOneKeyFly(); }, 0xC3, "00 00", 0);
        row("OneKeyLand", [](L &l, P &, B &) { l.sendOneKeyLand(); }, 0xC3, "02 00", 2);
        row("Cancel", [](L &l, P &, B &) { l.sendCancel(); }, 0xC3, "07 00", 7);
        row("ClickFly", [](L &l, P &, B &) { l.sendClickFly(113.9, 22.5); }, 0xC4, "C0 C2 E3 43 40 3A 69 0D", 0);
        row("ClickFly west", [](L &l, P &, B &) { l.sendClickFly(-0.5, 22.5); }, 0xC4, "C0 B4 B3 FF 40 3A 69 0D", 0);
        row("GlobalWayPointBound", [](L &l, P &, B &) { l.sendUav_GlobalWayPointBound(); }, 0x81, "00 00 00", 2);
        row("WayPointBound", [](L &l, P &p, B &) {
            auto &w = p.wayPoint;
            w.WP_No = 1; w.WP_ID = 2; w.WP_Lon = 0x01020304; w.WP_Lat = -2; w.WP_Alt = 0x0506; w.WP_V = -1;
            w.WP_Head = 9; w.WP_Delay = 0x0A0B; w.reserved1 = 1; w.reserved2 = 2; w.reserved3 = 3; w.reserved4 = 4; w.WP2 = 0x0C;
            l.sendUav_WayPointBound();
        }, 0x81, "01 02 04 03 02 01 FE FF FF FF 06 05 FF 09 0B 0A 00 00 00 00 00 00 0C", 2);
        row("WayPointBound read", [](L &l, P &, B &) { l.requestUav_WayPointBound(3); }, 0x81, "03", 23);
        row("SystemReset", [](L &l, P &, B &) { l.requestUav_SystemReset(); }, 0xD1, "01", 0);
        row("FirmwareUpdate", [](L &l, P &, B &) { l.requestUav_FirmwareUpdate(); }, 0xD2, "", 0);
        row("ModuleAndVersion", [](L &l, P &, B &) { l.requestUav_UpdateModuleAndVersion(0, 3, 0); }, 0xD3, "00 03 00", 0);
        row("FirmwareSize", [](L &l, P &, B &) { l.requestUav_FirmwareSize(500); }, 0xD4, "F4 01 00 00", 0);
        row("SendFirmware", [](L &l, P &, B &) { l.requestUav_SendFirmware(0x0102, hex("AA BB CC")); }, 0xD5, "02 01 AA BB CC", 0);
        row("SendFirmwareDone", [](L &l, P &, B &) { l.requestUav_SendFirmwareDone(); }, 0xD6, "", 0);
        row("HostOK", [](L &l, P &, B &) { l.request_HostOK(); }, 0xE1, "FF", 0);
        row("HostIndex", [](L &l, P &, B &) { l.request_HostIndex(); }, 0xE2, "FF", 0);
        row("HostIndexReady", [](L &l, P &, B &) { l.request_HostIndexReady(0x01020304); }, 0xE3, "01 02 03 04 FF", 0);
        row("DataLen", [](L &l, P &, B &) { l.request_DataLen(25); }, 0xE4, "00 00 00 19", 0);
        row("Data", [](L &l, P &, B &) { l.request_Data(25, 0x10003); }, 0xE5, "00 00 00 19 00 01 00 03", 3);
    }
    void builders()
    {
        QFETCH(Call, call);
        QFETCH(int, type);
        QFETCH(QByteArray, payload);
        QFETCH(int, key);
        QFETCH(bool, resend);
        QSignalSpy sent(m_link.get(), &SerialLink::SignalSendData);
        call(*m_link, *m_params, *m_blackBox);
        QCOMPARE(sent.size(), 1);
        const QByteArray frame = sent.at(0).at(0).toByteArray();
        QCOMPARE(frame.toHex(' '), buildFrame(uint8_t(type), uint8_t(payload.size()), payload).toHex(' '));
        QCOMPARE(int(m_link->currentPendingType()), type);
        QCOMPARE(int(m_link->currentPendingKey()), key);
        QCOMPARE(m_link->isResendActive(), resend);
        QCOMPARE(m_link->pendingFrame(), frame);
    }

    void builderSideEffects()
    {
        m_link->sendUav_MaintenanceTimer(4, 1000);
        QCOMPARE(m_params->maintCycle.load(), 1000u);
        m_link->sendUav_EcsCalibration(0x107);
        QCOMPARE(m_params->escCalibMotor.load(), uint8_t(7));
        m_link->request_Data(1, 1);
        QCOMPARE(m_link->currentHeartbeatFlag(), uint8_t(0x00));
        QVERIFY(m_link->isContinuous());
    }

    void continuousHoldsOrdinaryCommandsBack()
    {
        QSignalSpy sent(m_link.get(), &SerialLink::SignalSendData);
        m_link->setContinuous(true);
        QCOMPARE(m_link->currentHeartbeatFlag(), uint8_t(0x00));
        m_link->requestUav_UavType();
        m_link->sendOneKeyFly();
        m_link->requestUav_FirmwareUpdate();
        m_link->sendConnect();
        // The builder's own store write still happens.
        m_link->sendUav_MaintenanceTimer(4, 1234);
        QCOMPARE(m_params->maintCycle.load(), 1234u);
        QCOMPARE(sent.size(), 0);
        // Bulk-transfer requests and heartbeats go out.
        m_link->requestUav_SendFirmware(1, QByteArray(300, 'x'));
        m_link->request_DataLen(3);
        m_link->sendHeartbeat(0);
        QCOMPARE(sent.size(), 3);
        QCOMPARE(sent.at(0).at(0).toByteArray().size(), 12 + 2 + SerialLink::kFirmwareChunkSize);
        m_link->setContinuous(false);
        QCOMPARE(m_link->currentHeartbeatFlag(), uint8_t(0xFF));
        m_link->requestUav_UavType();
        QCOMPARE(sent.size(), 4);
    }

    void replies_data()
    {
        QTest::addColumn<Call>("before");
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<bool>("cleared");
        QTest::addColumn<int>("command"); // -1: no SignalReturnInfo
        QTest::addColumn<QString>("info");
        QTest::addColumn<Check>("check");
        using L = SerialLink;
        using P = AircraftParams;
        using B = BlackBoxDownloadState;
        auto row = [](const char *name, Call before, QByteArray frame, bool cleared, int command,
                      const QString &info, Check check = kNoCheck) {
            QTest::newRow(name) << before << frame << cleared << command << info << check;
        };
        const auto ack = [](int type, const char *payload) { return reply(uint8_t(type), hex(payload)); };

        row("FbwInfomation", [](L &l, P &, B &) { l.requestUav_FbwInfomation(); },
            ack(0x01, "05 01 02 03 34 12 06 07"), true, -1, {},
            [](const P &p, const B &) { return p.Uav_Type == 5 && p.fcInfo[0] == 1 && p.fcInfo[3] == 0x34 && p.fcInfo[6] == 7; });
        row("FbwInfomation short", [](L &l, P &, B &) { l.requestUav_FbwInfomation(); }, ack(0x01, "06 01"), true, -1, {},
            [](const P &p, const B &) { return p.Uav_Type == 6 && p.fcInfo[0] == 1 && p.fcInfo[1] == 0; });
        row("UavType set ok", [](L &l, P &, B &) { l.sendUav_UavType(); }, ack(0x02, "00"), true, 0x02, "Model setup successfully！");
        row("UavType set failed", [](L &l, P &, B &) { l.sendUav_UavType(); }, ack(0x02, "01"), true, 0x02, "Model setup failed！");
        row("UavType read", [](L &l, P &, B &) { l.requestUav_UavType(); }, ack(0x02, "05 00"), true, 0x02,
            "Model information download success!", [](const P &p, const B &) { return p.Uav_Type == 5; });
        row("UavType read failed", [](L &l, P &, B &) { l.requestUav_UavType(); }, ack(0x02, "05 01"), true, 0x02,
            "Failed to download model!", [](const P &p, const B &) { return p.Uav_Type == 0; });
        row("UavType ack while reading", [](L &l, P &, B &) { l.requestUav_UavType(); }, ack(0x02, "00"), false, 0x02, "Model setup successfully！");
        row("UavType odd length", [](L &l, P &, B &) { l.requestUav_UavType(); }, ack(0x02, "05 00 00"), false, -1, {});
        row("GpsSetup read", [](L &l, P &, B &) { l.requestUav_GpsSetup(); }, ack(0x03, "FD 0C"), true, 0x03,
            "Download GPS Setup parameter success！", [](const P &p, const B &) { return p.gpsPosX == -3 && p.gpsPosY == 12; });
        row("GpsSetup set refused", [](L &l, P &, B &) { l.sendUav_GpsSetup(); }, ack(0x03, "01"), false, -1, {});
        row("ReceiveType set refused", [](L &l, P &, B &) { l.sendUav_ReceiveType(); }, ack(0x04, "01"), false, -1, {});
        row("ReceiveType set ok", [](L &l, P &, B &) { l.sendUav_ReceiveType(); }, ack(0x04, "00"), true, 0x04, "Receiver type setting success！");
        row("ReceiveType read", [](L &l, P &, B &) { l.requestUav_ReceiveType(); }, ack(0x04, "02 00"), true, 0x04,
            "Receiver type download success!", [](const P &p, const B &) { return p.Contrl_type == 2; });
        row("RC calibration echo", [](L &l, P &, B &) { l.sendUav_RemoteCalibrate(3); }, ack(0x05, "03 00"), true, 0x05, "指令已接收！");
        row("RC calibration other echo", [](L &l, P &, B &) { l.sendUav_RemoteCalibrate(3); }, ack(0x05, "0C 01"), false, 0x05, "指令有误！");
        row("ChannelReverse read", [](L &l, P &, B &) { l.requestUav_RemoteChannelReverse(); }, ack(0x06, "81 00"), true, 0x06,
            "遥控器通道正反向设置信息下载成功", [](const P &p, const B &) { return p.Contrl_Rec == 0x81; });
        row("ChannelReverse set", [](L &l, P &, B &) { l.sendUav_RemoteChannelReverse(); }, ack(0x06, "00"), true, 0x06, "遥控器通道正反向已设置");
        row("ESC started", [](L &l, P &, B &) { l.sendUav_EcsCalibration(1); }, ack(0x07, "00"), true, 0x07, "开始校准电调！");
        row("ESC one done", [](L &l, P &, B &) { l.sendUav_EcsCalibration(1); }, ack(0x07, "0A"), true, 0x07, "单个电调校准完毕！");
        row("ESC all done", [](L &l, P &, B &) { l.sendUav_EcsCalibration(1); }, ack(0x07, "10"), true, 0x07, "所有电调校准完毕！");
        row("ESC refused", [](L &l, P &, B &) { l.sendUav_EcsCalibration(1); }, ack(0x07, "0B"), true, 0x07, "指令未执行！！！");
        row("MotorIdle read", [](L &l, P &, B &) { l.requestUav_MotorIdle(); }, ack(0x08, "03 00"), true, 0x08,
            "电机怠速值下载成功", [](const P &p, const B &) { return p.M_CCR0 == 3; });
        row("MotorIdle set", [](L &l, P &, B &) { l.sendUav_MotorIdle(); }, ack(0x08, "00"), true, 0x08, "电机怠速设置成功！");
        row("Wheelbase read", [](L &l, P &, B &) { l.requestUav_MotorWheelbase(); }, ack(0x09, "05 00"), true, 0x09,
            "下载飞机轴距参数成功", [](const P &p, const B &) { return p.Uav_wid == 5; });
        row("Wheelbase read failed", [](L &l, P &, B &) { l.requestUav_MotorWheelbase(); }, ack(0x09, "05 02"), false, -1, {},
            [](const P &p, const B &) { return p.Uav_wid == 0; });
        row("Wheelbase set", [](L &l, P &, B &) { l.sendUav_MotorWheelbase(); }, ack(0x09, "00"), true, 0x09, "飞机轴距设置成功！");
        row("Gains read", [](L &l, P &, B &) { l.requestUav_InductionDegrees(); }, ack(0x0A, "64 00 34 12 07 00"), true, 0x0A, "",
            [](const P &p, const B &) { return p.sensRateP == 100 && p.sensRateD == 0x1234 && p.altRateP == 7; });
        row("Gains set", [](L &l, P &, B &) { l.sendUav_InductionDegrees(); }, ack(0x0A, "00"), true, 0x0A, "");
        row("Voltage calibrated", [](L &l, P &, B &) { l.sendUav_VoltageColibration(); }, ack(0x0B, "00"), true, 0x0B, "电压校准成功！");
        row("Voltage calibration failed", [](L &l, P &, B &) { l.sendUav_VoltageColibration(); }, ack(0x0B, "02"), true, 0x0B, "电压校准失败！");
        row("LowVoltage read", [](L &l, P &, B &) { l.requestUav_LowVoltageProtection(); }, ack(0x0C, "38 04 24 04 01"), true, 0x0C,
            "低压保护参数下载成功！", [](const P &p, const B &) { return p.LV1 == 1080 && p.LV2 == 1060 && p.SP_S == 1; });
        row("LowVoltage set", [](L &l, P &, B &) { l.sendUav_LowVoltageProtection(); }, ack(0x0C, "00"), true, 0x0C, "低压保护设置成功！");
        row("LowVoltage ack while reading", [](L &l, P &, B &) { l.requestUav_LowVoltageProtection(); }, ack(0x0C, "00"), false, 0x0C, "低压保护设置成功！");
        row("Runaway set ok", [](L &l, P &, B &) { l.sendUav_RunawayProtection(); }, ack(0x0D, "00"), true, 0x0D, "失控保护参数设置成功！");
        row("Runaway set failed", [](L &l, P &, B &) { l.sendUav_RunawayProtection(); }, ack(0x0D, "01"), true, 0x0D, "失控保护参数设置失败！");
        row("Runaway read", [](L &l, P &, B &) { l.requestUav_RunawayProtection(); }, ack(0x0D, "02 00"), true, 0x0D,
            "失控保护参数下载成功", [](const P &p, const B &) { return p.failsafeAction == 2; });
        row("Runaway read failed", [](L &l, P &, B &) { l.requestUav_RunawayProtection(); }, ack(0x0D, "02 01"), true, 0x0D,
            "失控保护参数下载失败", [](const P &p, const B &) { return p.failsafeAction == 0; });
        row("Sensor received", [](L &l, P &, B &) { l.sendUav_SensorCalibration(1); }, ack(0x0E, "00"), true, 0x0E, "指令已接收");
        row("Sensor failed", [](L &l, P &, B &) { l.sendUav_SensorCalibration(1); }, ack(0x0E, "04"), true, 0x0E, "校准失败");
        row("Sensor error", [](L &l, P &, B &) { l.sendUav_SensorCalibration(1); }, ack(0x0E, "05"), true, 0x0E, "指令接收错误");
        row("Factory reset", [](L &l, P &, B &) { l.requestUav_RestoreFactorySettings(); }, ack(0x0F, "00"), true, 0x0F, "恢复出厂设置成功！");
        row("Factory reset failed", [](L &l, P &, B &) { l.requestUav_RestoreFactorySettings(); }, ack(0x0F, "01"), true, 0x0F, "恢复出厂设置失败！");
        row("Version of module 3", [](L &l, P &, B &) { l.requestUav_FirmwareVersion(3); }, ack(0x10, "03 02 05"), true, 0x10, "3",
            [](const P &p, const B &) { return p.moduleVersion[3].major == 2 && p.moduleVersion[3].minor == 5; });
        row("Version of module 12", [](L &l, P &, B &) { l.requestUav_FirmwareVersion(12); }, ack(0x10, "0C 02 05"), true, 0x10, "12",
            [](const P &p, const B &) { return p.moduleVersion[9].major == 0; });
        // A refusal carries only the fields its branch reads: it is still an answer.
        row("Version of module 12, index only", [](L &l, P &, B &) { l.requestUav_FirmwareVersion(12); }, ack(0x10, "0C"), true, 0x10, "12");
        row("Version of module 3 without its version", [](L &l, P &, B &) { l.requestUav_FirmwareVersion(3); }, ack(0x10, "03"), false, -1, {});
        row("Version answer for another module", [](L &l, P &, B &) { l.requestUav_FirmwareVersion(4); }, ack(0x10, "03 01 01"), false, 0x10, "3");
        row("HeightLimit read", [](L &l, P &, B &) { l.requestUav_FlyingHeightLimit(); }, ack(0x11, "00 05"), true, 0x11, "",
            [](const P &p, const B &) { return p.heightLimit == 1; });
        row("HeightLimit refused", [](L &l, P &, B &) { l.sendUav_FlyingHeightLimit(); }, ack(0x11, "03"), false, -1, {});
        row("ReturnHeight read", [](L &l, P &, B &) { l.requestUav_ReturnHeight(); }, ack(0x12, "1E"), true, 0x12, "",
            [](const P &p, const B &) { return p.returnHeight == 30; });
        row("ReturnHeight set is a status", [](L &l, P &, B &) { l.sendUav_ReturnHeight(); }, ack(0x12, "1E"), false, -1, {},
            [](const P &p, const B &) { return p.returnHeight == 0; });
        row("ReturnHeight set ok", [](L &l, P &, B &) { l.sendUav_ReturnHeight(); }, ack(0x12, "00"), true, 0x12, "");
        row("ReturnHeight odd length", [](L &l, P &, B &) { l.requestUav_ReturnHeight(); }, ack(0x12, "1E 00"), false, -1, {});
        row("Self-check flags", [](L &l, P &, B &) { l.requestUav_OnlineMonitoring(); }, ack(0x14, "05 02 01"), true, -1, {},
            [](const P &p, const B &) { return p.selfCheckFlags1 == 2 && p.selfCheckFlags2 == 1; });
        row("Monitoring other sub-type", [](L &l, P &, B &) { l.requestUav_OnlineMonitoring(); }, ack(0x14, "06 02 01"), true, -1, {},
            [](const P &p, const B &) { return p.selfCheckFlags1 == 0; });
        row("Spray width read", [](L &l, P &, B &) { l.requestUav_SetSprayWidth(); }, ack(0x17, "00 26 02"), true, 0x17, "",
            [](const P &p, const B &) { return p.sprayWidth == 550; });
        row("Spray width refused", [](L &l, P &, B &) { l.requestUav_SetSprayWidth(); }, ack(0x17, "01 26 02"), false, -1, {});
        row("Work speed read", [](L &l, P &, B &) { l.requestUav_SetWorkSpeed(); }, ack(0x18, "00 F4 01"), true, 0x18, "",
            [](const P &p, const B &) { return p.workSpeed == 500; });
        row("Work speed refused", [](L &l, P &, B &) { l.requestUav_SetWorkSpeed(); }, ack(0x18, "01 F4 01"), true, -1, {},
            [](const P &p, const B &) { return p.workSpeed == 0; });
        row("Work speed refused, status only", [](L &l, P &, B &) { l.requestUav_SetWorkSpeed(); }, ack(0x18, "01"), true, -1, {});
        row("Pump read", [](L &l, P &, B &) { l.requestUav_SpraySpeed(); }, reply(0x19, hex("00 01 28")), true, 0x19, "",
            [](const P &p, const B &) { return p.pumpSpeed == 40; });
        row("Small pump read", [](L &l, P &, B &) { l.requestUav_SmallSpraySpeed(); }, reply(0x19, hex("00 02 14")), true, 0x19, "",
            [](const P &p, const B &) { return p.smallPumpSpeed == 20; });
        row("Pump read failed", [](L &l, P &, B &) { l.requestUav_SpraySpeed(); }, reply(0x19, hex("01 01 28")), true, 0x19, "",
            [](const P &p, const B &) { return p.pumpSpeed == 0; });
        row("Pump set", [](L &l, P &, B &) { l.sendUav_SpraySpeed(); }, reply(0x19, hex("00 01")), true, 0x19, "");
        row("Pump set refused", [](L &l, P &, B &) { l.sendUav_SpraySpeed(); }, reply(0x19, hex("01 01")), false, -1, {});
        row("Switch 2 on", [](L &l, P &, B &) { l.requestUav_ExternelSwitch(2); }, ack(0x1B, "00 02 01"), true, 0x1B, "2",
            [](const P &p, const B &) { return p.extSwitch2 == 1 && p.extSwitch1 == 0; });
        row("Switch refused", [](L &l, P &, B &) { l.requestUav_ExternelSwitch(1); }, ack(0x1B, "01 01 01"), true, -1, {},
            [](const P &p, const B &) { return p.extSwitch1 == 0; });
        row("Switch refused, status only", [](L &l, P &, B &) { l.requestUav_ExternelSwitch(1); }, ack(0x1B, "02"), true, -1, {});
        row("Maintenance cycle read", [](L &l, P &, B &) { l.requestUav_MaintenanceTimer(4); }, ack(0x1C, "00 07 E8 03 00 00"), true, 0x1C, "7",
            [](const P &p, const B &) { return p.maintCycle == 1000; });
        row("Maintenance timer 1", [](L &l, P &, B &) { l.requestUav_MaintenanceTimer(1); }, ack(0x1C, "00 01 01 02 03 04"), true, 0x1C, "1",
            [](const P &p, const B &) { return p.maintTimer1 == 0x04030201u; });
        row("Maintenance identifier 10", [](L &l, P &, B &) { l.requestUav_MaintenanceTimer(1); }, ack(0x1C, "00 0A 01 00 00 00"), true, 0x1C, "a",
            [](const P &p, const B &) { return p.maintTimer1 == 0 && p.maintCycle == 0; });
        row("Maintenance refused", [](L &l, P &, B &) { l.requestUav_MaintenanceTimer(1); }, ack(0x1C, "01 01 01 00 00 00"), false, -1, {});
        // Firmware transfer
        row("System reset", [](L &l, P &, B &) { l.requestUav_SystemReset(); }, ack(0xD1, "00 00"), true, 0xD1, "系统准备复位!");
        row("System reset refused", [](L &l, P &, B &) { l.requestUav_SystemReset(); }, ack(0xD1, "00 01"), true, -1, {});
        row("Update accepted", [](L &l, P &, B &) { l.requestUav_FirmwareUpdate(); }, ack(0xD2, "00"), true, 0xD2, "程序更新请求成功!");
        row("Update refused", [](L &l, P &, B &) { l.requestUav_FirmwareUpdate(); }, ack(0xD2, "01"), false, -1, {});
        row("Module set", [](L &l, P &, B &) { l.requestUav_UpdateModuleAndVersion(0, 3, 0); }, ack(0xD3, "00"), true, 0xD3, "程序更新部件设置成功!");
        row("Module refused", [](L &l, P &, B &) { l.requestUav_UpdateModuleAndVersion(0, 3, 0); }, ack(0xD3, "01"), true, -1, {});
        row("Size accepted", [](L &l, P &, B &) { l.requestUav_FirmwareSize(1); }, ack(0xD4, "00"), true, 0xD4, "程序更新请求成功!");
        row("Chunk 258", [](L &l, P &p, B &) { p.fwPacketCount = 300; l.requestUav_SendFirmware(258, {}); }, ack(0xD5, "00 02 01"), true, 0xD5,
            "程序更新请求成功!", [](const P &p, const B &) { return p.fwPacketIndex == 258; });
        row("Chunk error", [](L &l, P &p, B &) { p.fwPacketIndex = 7; l.requestUav_SendFirmware(8, {}); }, ack(0xD5, "01 08 00"), false, -1, {},
            [](const P &p, const B &) { return p.fwPacketIndex == 7; });
        row("Done", [](L &l, P &, B &) { l.requestUav_SendFirmwareDone(); }, ack(0xD6, "00"), true, 0xD6, "程序更新请求成功!");
        // Black box
        row("HostOK", [](L &l, P &, B &) { l.request_HostOK(); }, ack(0xE1, "00"), true, 0xE1, "");
        row("HostOK refused", [](L &l, P &, B &) { l.request_HostOK(); }, ack(0xE1, "01"), false, -1, {});
        row("Record count", [](L &l, P &, B &) { l.request_HostIndex(); }, ack(0xE2, "00 00 00 00 19"), true, 0xE2, "25",
            [](const P &, const B &b) { return b.totalIndex == 25; });
        row("Record date", [](L &l, P &, B &) { l.request_HostIndexReady(3); },
            ack(0xE3, "00 01 02 03 04 05 06 07 08 09 0A 0B 0C EA 07 03 07 08 05 09 00 00 00"), true, 0xE3, "2026-03-07 08:05:09",
            [](const P &, const B &b) { return b.recordDate.year == 2026 && b.recordDate.second == 9; });
        row("Record length", [](L &l, P &, B &) { l.request_DataLen(3); }, ack(0xE4, "00 00 00 00 00 00 00 01 2C"), true, 0xE4, "300");
        row("Record length failed", [](L &l, P &, B &) { l.request_DataLen(3); }, ack(0xE4, "01 00 00 00 00 00 00 01 2C"), false, 0xE4, "0");
    }
    void replies()
    {
        QFETCH(Call, before);
        QFETCH(QByteArray, frame);
        QFETCH(bool, cleared);
        QFETCH(int, command);
        QFETCH(QString, info);
        QFETCH(Check, check);
        before(*m_link, *m_params, *m_blackBox);
        QVERIFY(m_link->isResendActive());
        QSignalSpy infos(m_link.get(), &SerialLink::SignalReturnInfo);
        m_link->dispatchFrame(frame);
        QCOMPARE(!m_link->isResendActive(), cleared);
        QCOMPARE(m_link->pendingFrame().isEmpty(), cleared);
        if (command < 0) {
            QCOMPARE(infos.size(), 0);
        } else {
            QCOMPARE(infos.size(), 1);
            QCOMPARE(infos.at(0).at(0).value<uint8_t>(), uint8_t(command));
            QCOMPARE(infos.at(0).at(1).toString(), info);
        }
        QVERIFY(check(*m_params, *m_blackBox));
    }

    void lastChunkLeavesBulkMode()
    {
        QSignalSpy instruct(m_link.get(), &SerialLink::SignalInstructReply);
        m_params->fwPacketCount = 3;
        m_link->requestUav_SendFirmware(2, QByteArray(242, 'a'));
        m_link->dispatchFrame(reply(0xD5, hex("00 02 00")));
        QVERIFY(m_link->isContinuous());
        m_link->requestUav_SendFirmware(3, QByteArray(16, 'a'));
        m_link->dispatchFrame(reply(0xD5, hex("00 03 00")));
        QVERIFY(!m_link->isContinuous());
        QCOMPARE(instruct.size(), 2);
        QCOMPARE(instruct.at(1), (QList<QVariant>{-43, 3}));
    }

    void blackBoxChunks()
    {
        QSignalSpy chunks(m_link.get(), &SerialLink::SignalReturnBlackBoxes);
        m_blackBox->currentSubIndex = 2;
        m_link->request_Data(5, 2);
        // A chunk other than the awaited one is ignored and the request stays pending.
        QByteArray data(128, '\0');
        for (int i = 0; i < 128; ++i)
            data[i] = char(i);
        m_link->dispatchFrame(reply(0xE5, hex("00 00 00 01") + data));
        QCOMPARE(chunks.size(), 0);
        QVERIFY(m_link->isResendActive());
        // A chunk one byte short of what its length byte says is damaged, whatever its CRC.
        m_link->dispatchFrame(reply(0xE5, hex("00 00 00 02") + data.left(127), 4 + 128));
        QCOMPARE(chunks.size(), 0);
        QVERIFY(m_link->isResendActive());
        m_link->dispatchFrame(reply(0xE5, hex("00 00 00 02") + data));
        QCOMPARE(chunks.size(), 1);
        QCOMPARE(chunks.at(0).at(1).toInt(), 2);
        QCOMPARE(chunks.at(0).at(2).toByteArray(), data); // the CRC is not part of the data
        QVERIFY(!m_link->isResendActive());
        // The 19-byte no-data answer advances like a chunk.
        m_blackBox->currentSubIndex = 3;
        m_link->request_Data(5, 3);
        const QByteArray none = reply(0xE5, hex("00 00 00 05 00 00 00 00 03"));
        QCOMPARE(none.size(), 19);
        m_link->dispatchFrame(none);
        QCOMPARE(chunks.size(), 2);
        QCOMPARE(chunks.at(1).at(1).toInt(), 3);
        QVERIFY(chunks.at(1).at(2).toByteArray().isEmpty());
        QVERIFY(!m_link->isResendActive());
    }

    // The worker acknowledges the old command while the GUI thread tracks a new one, lined up
    // round after round: whichever comes first, the new command must keep its resends.
    void lateAcknowledgementNeverCancelsANewerCommand()
    {
        const QByteArray answer = reply(0x02, hex("05 00")); // answers requestUav_UavType
        constexpr int kRounds = 40000;
        std::atomic<int> started{0};
        std::atomic<int> acknowledged{0};
        std::thread worker([&] {
            for (int round = 1; round <= kRounds; ++round) {
                while (started.load() < round) {
                }
                m_link->dispatchFrame(answer);
                acknowledged.store(round);
            }
        });
        int lost = 0;
        for (int round = 1; round <= kRounds; ++round) {
            m_link->requestUav_UavType();
            started.store(round);
            m_link->requestUav_ReceiveType();
            while (acknowledged.load() < round) {
            }
            if (!m_link->isResendActive() || m_link->pendingFrame().isEmpty())
                ++lost;
            if (round % 1000 == 0)
                QCoreApplication::processEvents(); // the worker's queued resend notices
        }
        worker.join();
        QCOMPARE(lost, 0);
    }

    void flightReplies()
    {
        QSignalSpy instruct(m_link.get(), &SerialLink::SignalInstructReply);
        m_link->sendStop();
        m_link->dispatchFrame(reply(0xC3, hex("02 00"))); // answers the landing, not the stop
        QVERIFY(m_link->isResendActive());
        m_link->dispatchFrame(reply(0xC3, hex("04"))); // checksum complaint: keeps resending
        QVERIFY(m_link->isResendActive());
        QCOMPARE(instruct.size(), 1);
        m_link->sendOneKeyLand();
        m_link->dispatchFrame(reply(0xC3, hex("02 01")));
        QVERIFY(!m_link->isResendActive());
        QCOMPARE(instruct.last(), (QList<QVariant>{2, 1}));
        // A one-byte answer acknowledges its instruction; there is no result to report.
        m_link->sendOneKeyReturn();
        m_link->dispatchFrame(reply(0xC3, hex("01")));
        QVERIFY(!m_link->isResendActive());
        QCOMPARE(instruct.size(), 2);

        QSignalSpy replies(m_link.get(), &SerialLink::SignalReply);
        QSignalSpy texts(m_link.get(), &SerialLink::SignalReplyUAV);
        m_link->sendClickFly(1, 1);
        m_link->dispatchFrame(reply(0xC4, hex("02")));
        m_link->dispatchFrame(reply(0xC4, hex("FF")));
        QCOMPARE(replies.size(), 2);
        QCOMPARE(replies.at(1).at(0).toInt(), -1);
        QCOMPARE(texts.size(), 1);
        QCOMPARE(texts.at(0).at(0).toString(), QStringLiteral("Please reupload the target point!"));

        QSignalSpy paths(m_link.get(), &SerialLink::SignalUploadWPPathReply);
        m_link->sendUav_WayPointBound();
        m_link->dispatchFrame(reply(0x81, hex("03 05"))); // error status: stays pending
        QVERIFY(m_link->isResendActive());
        m_link->dispatchFrame(reply(0x81, hex("03 00")));
        QVERIFY(!m_link->isResendActive());
        QCOMPARE(paths.last(), (QList<QVariant>{0x81, 3}));

        m_link->requestUav_WayPointBound(1);
        m_link->dispatchFrame(reply(0x81, hex("01 02 04 03 02 01 FE FF FF FF 06 05 FF 09 0B 0A 01 02 00 03 00 04 0C")));
        QVERIFY(!m_link->isResendActive());
        const auto &wp = m_params->wayPoint;
        QCOMPARE(wp.WP_Lon.load(), 0x01020304);
        QCOMPARE(wp.WP_Lat.load(), -2);
        QCOMPARE(wp.WP_V.load(), int8_t(-1));
        QCOMPARE(wp.WP_Delay.load(), uint16_t(0x0A0B));
        QCOMPARE(wp.reserved3.load(), uint16_t(3));
        QCOMPARE(wp.WP2.load(), uint8_t(0x0C));
    }
};

QTEST_GUILESS_MAIN(tst_SerialLinkCatalogue)
#include "tst_seriallink_catalogue.moc"
