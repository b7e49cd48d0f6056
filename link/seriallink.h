#pragma once

#include "link/FrameCodec.h"

#include <QByteArray>
#include <QMetaMethod>
#include <QMutex>
#include <QString>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

struct AircraftParams;
struct BlackBoxDownloadState;

// The protocol engine: connect and heartbeat, one tracked command resent until answered, link loss
// after silence, and a worker thread that cuts received bytes into frames and hands each to the
// reply handler named "replyUav" + its cmdtype key. The object lives on the GUI thread; only run()
// and the handlers it calls execute on the worker thread.
class SerialLink : public QThread
{
    Q_OBJECT

public:
    enum cmdtype : uint8_t {
        _FbwInfomation = 0x01,
        _UavType = 0x02,
        _GpsSetup = 0x03,
        _ReceiveType = 0x04,
        _RemoteCalibrate = 0x05,
        _RemoteChannelReverse = 0x06,
        _EcsCalibration = 0x07,
        _MotorIdle = 0x08,
        _MotorWheelbase = 0x09,
        _InductionDegrees = 0x0A,
        _VoltageColibration = 0x0B,
        _LowVoltageProtection = 0x0C,
        _RunawayProtection = 0x0D,
        _SensorCalibration = 0x0E,
        _RestoreFactorySettings = 0x0F,
        _FirmwareVersion = 0x10,
        _FlyingHeightLimit = 0x11,
        _ReturnHeight = 0x12,
        _OnlineMonitoring = 0x14,
        _SprayWidth = 0x17,
        _WorkSpeed = 0x18,
        _PumpTest = 0x19,
        _ExternelSwitch = 0x1B,
        _MaintenanceTimer = 0x1C,
        _SensorRawData = 0x41,
        _PositionAttitudeData = 0x42,
        _ConditionMonitorData = 0x43,
        _GpsRawData = 0x44,
        _IMUData = 0x45,
        _RemoteControlInputVolume = 0x46,
        _MotorOutput = 0x47,
        _OtherData = 0x48,
        _OverheadInformation1 = 0x4B,
        _WayPointBound = 0x81,
        _ConnectHeartbeat = 0xC1,
        _OutputMotorInstr = 0xC2,
        _PragramInstructions = 0xC3,
        _TimelyFly = 0xC4,
        _SystemReset = 0xD1,
        _FirmwareUpdate = 0xD2,
        _UpdateModuleAndVersion = 0xD3,
        _FirmwareSize = 0xD4,
        _SendFirmware = 0xD5,
        _SendFirmwareDone = 0xD6,
        _E1 = 0xE1,
        _E2 = 0xE2,
        _E3 = 0xE3,
        _E4 = 0xE4,
        _E5 = 0xE5,
    };
    Q_ENUM(cmdtype)

    static constexpr int kTickMs = 1000;
    static constexpr int kResendMs = 200;
    static constexpr int kLinkTimeoutMs = 5000;
    static constexpr int kFirmwareChunkSize = 242;

    // params and blackBox default to the process-wide records.
    explicit SerialLink(QObject *parent = nullptr, AircraftParams *params = nullptr,
                        BlackBoxDownloadState *blackBox = nullptr);
    ~SerialLink() override;

    bool isHandShaked() const { return handShaked; }
    bool isContinuous() const { return continuous; }
    uint8_t currentHeartbeatFlag() const { return heartbeatFlag; }
    bool isResendActive() const;
    QByteArray pendingFrame() const;
    uint8_t currentPendingType() const;
    int16_t currentPendingKey() const;
    bool isResendTimerRunning() const { return resendTimer.isActive(); }
    bool isLinkTimeoutRunning() const { return linkTimeoutTimer.isActive(); }

Q_SIGNALS:
    void SignalHandShaked(bool success);
    void SignalSendData(QByteArray data);
    void SignalResendEnable(bool enable);
    void SignalReturnInfo(uint8_t command, QString info);
    void SignalReturnBlackBoxes(uint8_t, int, QByteArray);
    void SignalReturnInfo_Para3(int, int, int, QByteArray);
    void SignalInstructReply(int instructType, int replyType);
    void SignalUploadWPPathReply(int pathtype, int pathNum);
    void SignalReply(int answerType);
    void SignalFlightStatus(QString model, QString status);
    void SignalFlightStatus(int model, int status);
    void SignalFlightNextWayPoint(int number);
    void SignalReplyUAV(QString str);
    void SignalTlmtrData_Pri_41_Downloaded();
    void SignalTlmtrData_Pos_42_Downloaded();
    void SignalTlmtrData_Sta_43_Downloaded();
    void SignalTlmtrData_GPS_44_Downloaded();
    void SignalTlmtrData_Mcu_45_Downloaded();
    void SignalTlmtrData_Con_46_Downloaded();
    void SignalTlmtrData_Mot_47_Downloaded();
    void SignalTlmtrData_Oth_48_Downloaded();

public Q_SLOTS:
    // Connection
    void connectLine();
    void sendConnect();
    void sendHeartbeat(char flagBit);
    void sendDisconnect();
    void setContinuous(bool flag);

    // Parameters
    void requestUav_Mod_FCCID(char Id);
    void requestUav_FbwInfomation();
    void sendUav_UavType();
    void requestUav_UavType();
    void sendUav_GpsSetup();
    void requestUav_GpsSetup();
    void sendUav_ReceiveType();
    void requestUav_ReceiveType();
    void sendUav_RemoteCalibrate(char Command);
    void sendUav_RemoteChannelReverse();
    void requestUav_RemoteChannelReverse();
    void sendUav_EcsCalibration(int t);
    void sendUav_MotorIdle();
    void requestUav_MotorIdle();
    void sendUav_MotorWheelbase();
    void requestUav_MotorWheelbase();
    void sendUav_InductionDegrees();
    void requestUav_InductionDegrees();
    void sendUav_VoltageColibration();
    void sendUav_LowVoltageProtection();
    void requestUav_LowVoltageProtection();
    void sendUav_RunawayProtection();
    void requestUav_RunawayProtection();
    void sendUav_SensorCalibration(char f);
    void requestUav_RestoreFactorySettings();
    void requestUav_FirmwareVersion(char MoldID);
    void sendUav_FlyingHeightLimit();
    void requestUav_FlyingHeightLimit();
    void sendUav_ReturnHeight();
    void requestUav_ReturnHeight();
    void requestUav_OnlineMonitoring();
    void sendUav_SpraySpeed();
    void sendUav_SmallSpraySpeed();
    void sendUav_SpraySpeedEnd();
    void sendUav_SmallSpraySpeedEnd();
    void requestUav_SpraySpeed();
    void requestUav_SmallSpraySpeed();
    void sendUav_SetSprayWidth();
    void requestUav_SetSprayWidth();
    void sendUav_SetWorkSpeed();
    void requestUav_SetWorkSpeed();
    void sendUav_ExternelSwitch(uchar id, uchar Enable);
    void requestUav_ExternelSwitch(uchar id);
    void sendUav_MaintenanceTimer(uchar id, int v);
    void requestUav_MaintenanceTimer(uchar id);

    // Flight commands and way-points
    void sendMotorTest();
    void sendOneKeyFly();
    void sendOneKeyReturn();
    void sendOneKeyLand();
    void sendWayPiontFly();
    void sendStop();
    void sendContinue();
    void sendJump();
    void sendCancel();
    void sendClickFly(double Lon, double Lat);
    void sendUav_GlobalWayPointBound();
    void sendUav_WayPointBound();
    void requestUav_WayPointBound(uint8_t wpNum);

    // Telemetry flight-status word
    void FlightStatus(quint16 status);

    // Firmware transfer
    void requestUav_SystemReset();
    void requestUav_FirmwareUpdate();
    void requestUav_UpdateModuleAndVersion(char MID, char BigVersion, char SmallVersion);
    void requestUav_FirmwareSize(uint32_t size);
    void requestUav_SendFirmware(quint16 ModuleID, QByteArray fileData);
    void requestUav_SendFirmwareDone();

    // Black-box download
    void request_HostOK();
    void request_HostIndex();
    void request_HostIndexReady(int iIndex);
    void request_DataLen(int iIndex);
    void request_Data(int iIndex1, int iIndex2);

public:
    // Reply handlers, found by name from the cmdtype key; each takes the whole received frame.
    Q_INVOKABLE void replyUav_ConnectHeartbeat(QByteArray b);
    Q_INVOKABLE void replyUav_FbwInfomation(QByteArray b);
    Q_INVOKABLE void replyUav_UavType(QByteArray b);
    Q_INVOKABLE void replyUav_GpsSetup(QByteArray b);
    Q_INVOKABLE void replyUav_ReceiveType(QByteArray b);
    Q_INVOKABLE void replyUav_RemoteCalibrate(QByteArray b);
    Q_INVOKABLE void replyUav_RemoteChannelReverse(QByteArray b);
    Q_INVOKABLE void replyUav_EcsCalibration(QByteArray b);
    Q_INVOKABLE void replyUav_MotorIdle(QByteArray b);
    Q_INVOKABLE void replyUav_MotorWheelbase(QByteArray b);
    Q_INVOKABLE void replyUav_InductionDegrees(QByteArray b);
    Q_INVOKABLE void replyUav_VoltageColibration(QByteArray b);
    Q_INVOKABLE void replyUav_LowVoltageProtection(QByteArray b);
    Q_INVOKABLE void replyUav_RunawayProtection(QByteArray b);
    Q_INVOKABLE void replyUav_SensorCalibration(QByteArray b);
    Q_INVOKABLE void replyUav_RestoreFactorySettings(QByteArray b);
    Q_INVOKABLE void replyUav_FirmwareVersion(QByteArray b);
    Q_INVOKABLE void replyUav_FlyingHeightLimit(QByteArray b);
    Q_INVOKABLE void replyUav_ReturnHeight(QByteArray b);
    Q_INVOKABLE void replyUav_OnlineMonitoring(QByteArray b);
    Q_INVOKABLE void replyUav_SprayWidth(QByteArray b);
    Q_INVOKABLE void replyUav_WorkSpeed(QByteArray b);
    Q_INVOKABLE void replyUav_PumpTest(QByteArray b);
    Q_INVOKABLE void replyUav_ExternelSwitch(QByteArray b);
    Q_INVOKABLE void replyUav_MaintenanceTimer(QByteArray b);
    Q_INVOKABLE void replyUav_SensorRawData(QByteArray b);
    Q_INVOKABLE void replyUav_PositionAttitudeData(QByteArray b);
    Q_INVOKABLE void replyUav_ConditionMonitorData(QByteArray b);
    Q_INVOKABLE void replyUav_GpsRawData(QByteArray b);
    Q_INVOKABLE void replyUav_IMUData(QByteArray b);
    Q_INVOKABLE void replyUav_RemoteControlInputVolume(QByteArray b);
    Q_INVOKABLE void replyUav_MotorOutput(QByteArray b);
    Q_INVOKABLE void replyUav_OtherData(QByteArray b);
    Q_INVOKABLE void replyUav_OverheadInformation1(QByteArray b);
    Q_INVOKABLE void replyUav_WayPointBound(QByteArray b);
    Q_INVOKABLE void replyUav_OutputMotorInstr(QByteArray b);
    Q_INVOKABLE void replyUav_PragramInstructions(QByteArray b);
    Q_INVOKABLE void replyUav_TimelyFly(QByteArray b);
    Q_INVOKABLE void replyUav_SystemReset(QByteArray b);
    Q_INVOKABLE void replyUav_FirmwareUpdate(QByteArray b);
    Q_INVOKABLE void replyUav_UpdateModuleAndVersion(QByteArray b);
    Q_INVOKABLE void replyUav_FirmwareSize(QByteArray b);
    Q_INVOKABLE void replyUav_SendFirmware(QByteArray b);
    Q_INVOKABLE void replyUav_SendFirmwareDone(QByteArray b);
    Q_INVOKABLE void replyUav_E1(QByteArray b);
    Q_INVOKABLE void replyUav_E2(QByteArray b);
    Q_INVOKABLE void replyUav_E3(QByteArray b);
    Q_INVOKABLE void replyUav_E4(QByteArray b);
    Q_INVOKABLE void replyUav_E5(QByteArray b);

    // Hands one received frame to its handler, as the worker does. Frames of a type without a
    // handler are dropped.
    void dispatchFrame(const QByteArray &frame);

private Q_SLOTS:
    void SlotReceiveData(QByteArray data);
    void SlotDisconnect();
    void SlotReconnect();
    void SlotResendData();
    void SlotResendEnable(bool enable);

protected:
    void run() override;
    void timerEvent(QTimerEvent *event) override;

private:
    // Builds and sends a tracked command: the frame becomes lastFrame and the pending record waits
    // for (replyType, key). Ordinary commands are dropped while continuous is set; bulk-transfer
    // requests pass bulk = true. Frame and pending record change together under one lock, so a
    // reply to the previous command can never clear the new one's frame.
    void sendTracked(uint8_t type, const QByteArray &payload, int16_t key, bool resend = true,
                     bool bulk = false);
    void ackPending(uint8_t type, int16_t key);
    void clearPending(); // m_pendingMutex held; the caller emits SignalResendEnable(false)
    void dropConnection();

    AircraftParams &m_params;
    BlackBoxDownloadState &m_blackBox;

    // Pending command, shared with the worker thread's acknowledgements.
    mutable QMutex m_pendingMutex;
    uint8_t pendingType = 0;
    int16_t pendingKey = 0;
    bool resendActive = false;
    QByteArray lastFrame;

    std::atomic<bool> handShaked{false};
    std::atomic<bool> continuous{false};
    std::atomic<uint8_t> heartbeatFlag{0xFF};
    std::atomic<bool> returnHeightRead{false};

    QTimer resendTimer;
    QTimer linkTimeoutTimer;
    int heartbeatTimerId = 0;

    // Standard primitives here: the worker sleeps on the condition, and thread checkers follow
    // std::condition_variable's unlock and relock, which QWaitCondition's are hidden from.
    QByteArray receiveBuffer;
    std::mutex receiveMutex;
    std::condition_variable m_bytesArrived;
    bool m_stopRequested = false; // guarded by receiveMutex
    FrameExtractor m_extractor;   // worker thread only
    QMetaMethod m_replyHandlers[256];
};
