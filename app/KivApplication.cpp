#include "app/KivApplication.h"

#include "app/ParameterFile.h"

#include "app/AircraftParams.h"
#include "app/KivGuiController.h"
#include "app/LinkConnected.h"
#include "blackbox/BlackBoxDownload.h"
#include "blackbox/LumBlackBoxesData.h"
#include "config/Configuration.h"
#include "config/WaitWithEvents.h"
#include "link/seriallink.h"
#include "link/serialport.h"
#include "ui/KivMainWindow.h"
#include "ui/KivSettingWgt.h"
#include "ui/KivToolsWgt.h"
#include "ui/LumActaPhytophySin.h"
#include "update/FirmwareTransfer.h"

#include <QDir>
#include <QIcon>
#include <QMessageBox>
#include <QSerialPort>
#include <QTimerEvent>

namespace {
KivApplication *g_instance = nullptr;
} // namespace

KivApplication *KivApplication::getInstance(int &argc, char **argv, StartupHook hook)
{
    if (!g_instance)
        g_instance = new KivApplication(argc, argv, hook);
    return g_instance;
}

KivApplication *KivApplication::instance()
{
    return g_instance;
}

KivApplication::KivApplication(int &argc, char **argv, const StartupHook &hook)
    : QApplication(argc, argv)
{
    g_instance = this;
    if (hook)
        hook(this);
    ensureConfigFile(configFilePath());
    m_configuration = std::make_unique<Configuration>();
    m_serialPort = new SerialPort(this);
    m_serialLink = new SerialLink(this);
    guiController = new KivGuiController(this);
    mainWindow = new KivMainWindow;
    blackBoxStore = std::make_unique<LumBlackBoxesData>();
    m_blackBoxDownload = new BlackBoxDownload(m_serialLink, blackBoxStore.get(), nullptr, this);
    connect(m_blackBoxDownload, &BlackBoxDownload::progress, this, &KivApplication::SignalProgressBlackBoxes);
    connect(m_blackBoxDownload, &BlackBoxDownload::currentReadFile, this, &KivApplication::SignalCurrentReadFile);
    connect(m_blackBoxDownload, &BlackBoxDownload::finished, this, &KivApplication::SignalBlackBoxesDownloadSuccess);
    connect(m_blackBoxDownload, &BlackBoxDownload::failed, this, &KivApplication::SignalBlackBoxesDownloadFailed);
    qRegisterMetaType<uint8_t>("uint8_t");
    setWindowIcon(QIcon(QStringLiteral(":/images/icon.png")));
    m_firmware = new FirmwareTransfer(m_serialLink, [](const QString &module) {
        return versionJsonValue(module, QLatin1String(FirmwareJsonKey::Version));
    }, nullptr, this);
    connect(m_firmware, &FirmwareTransfer::progress, this, &KivApplication::SignalProgressValue);
    connect(m_firmware, &FirmwareTransfer::refused, guiController, &KivGuiController::SignalFirmwareUpdateRefused);

    connect(mainWindow, &KivMainWindow::SignalClosing, this, &KivApplication::endSequencesForExit);
    mainWindow->initLanguage(languageCode);
    mainWindow->show();
    showNotConnectedDefaults();
    wire();
}

KivApplication::~KivApplication()
{
    // The window has no parent; the link's thread stops with the link, a child of this object.
    delete mainWindow;
    if (g_instance == this)
        g_instance = nullptr;
}

void KivApplication::showNotConnectedDefaults()
{
    KivSettingWgt *settings = mainWindow->settingsPage();
    mainWindow->setRedLamp(true);
    mainWindow->setBlueLamp(false);
    for (int channel = 1; channel <= 8; ++channel)
        settings->showChannelValue(100.0f, channel);
    settings->showReceiverType(3);
    for (int index = 1; index <= 3; ++index)
        settings->showGain(100.0f, index);
    guiController->estimateBatteryCellsWhenConnected();
    settings->showCalibrationVoltage(12.5);
    settings->showBatteryIcons();
    settings->showProtectVoltages(10.8, 10.6);
    mainWindow->setRedLamp(false);
}

void KivApplication::wire()
{
    SerialPort *port = m_serialPort;
    SerialLink *link = m_serialLink;
    KivGuiController *gui = guiController;
    KivMainWindow *window = mainWindow;

    connect(port, SIGNAL(SignalReadAll(QByteArray)), link, SLOT(SlotReceiveData(QByteArray)));               // 1
    connect(port, SIGNAL(SignalSerialPortError()), link, SLOT(SlotDisconnect()));                            // 2
    connect(port, SIGNAL(SignalUpdatePortList(uint8_t)), this, SLOT(SlotUpdatePortList(uint8_t)));           // 3
    connect(port, SIGNAL(SignalSerialPortError()), this, SLOT(SlotSeralPortError()));                        // 4
    connect(link, SIGNAL(SignalSendData(QByteArray)), port, SLOT(SlotWriteData(QByteArray)));                // 5
    connect(link, SIGNAL(SignalTlmtrData_Pri_41_Downloaded()), window, SIGNAL(SignalIMUUpdate()));           // 6
    connect(link, SIGNAL(SignalTlmtrData_Mcu_45_Downloaded()), window, SIGNAL(SignalIMUUpdate()));           // 7
    connect(link, SIGNAL(SignalHandShaked(bool)), this, SLOT(SlotConnecttionChange(bool)));                  // 8
    connect(window, SIGNAL(SignalOnlineMonitoring()), this, SLOT(SlotOnlineMonitoring()));                   // 9
    connect(window, SIGNAL(signal_request_JX()), link, SLOT(requestUav_UavType()));                          // 10
    connect(window, SIGNAL(signal_request_ReceiveType()), link, SLOT(requestUav_ReceiveType()));             // 11
    connect(window, SIGNAL(signal_request_RemoteChannelReverse()), link, SLOT(requestUav_RemoteChannelReverse())); // 12
    connect(window, SIGNAL(signal_request_MotorWheelbase()), link, SLOT(requestUav_MotorWheelbase()));       // 13
    connect(window, SIGNAL(signal_request_InductionDegrees()), link, SLOT(requestUav_InductionDegrees()));   // 14
    connect(window, SIGNAL(signal_request_DC()), link, SLOT(requestUav_LowVoltageProtection()));             // 15
    connect(window, SIGNAL(signal_request_CCR()), link, SLOT(requestUav_MotorIdle()));                       // 16
    connect(window, SIGNAL(signal_send_CCR()), link, SLOT(sendUav_MotorIdle()));                             // 17
    connect(window, SIGNAL(SignalRequestReturnHeight()), link, SLOT(requestUav_ReturnHeight()));             // 18
    connect(window, SIGNAL(SignalRequestGPSPosition()), link, SLOT(requestUav_GpsSetup()));                  // 19
    connect(window, SIGNAL(SignalRequestFirmwareVersion()), this, SLOT(SlotRequestFirmwareVersion()));       // 20
    connect(link, SIGNAL(SignalReturnInfo(uint8_t, QString)), gui, SLOT(returnInfo(uint8_t, QString)));     // 21
    connect(link, SIGNAL(SignalReturnInfo(uint8_t, QString)), this, SLOT(SlotBlackBoxesHandle(uint8_t, QString))); // 22
    connect(link, SIGNAL(SignalReturnBlackBoxes(uint8_t, int, QByteArray)), this,
            SLOT(SlotReturnBlackBoxes(uint8_t, int, QByteArray)));                                           // 23
    connect(link, SIGNAL(SignalTlmtrData_Sta_43_Downloaded()), gui, SLOT(get_BAT()));                        // 24
    connect(link, SIGNAL(SignalReturnInfo(uint8_t, QString)), this, SLOT(SlotFirmwareUpdata(uint8_t, QString))); // 25
    connect(gui, SIGNAL(send_JX()), link, SLOT(sendUav_UavType()));                                          // 26
    connect(gui, SIGNAL(send_JSJ()), link, SLOT(sendUav_ReceiveType()));                                     // 27
    connect(gui, SIGNAL(send_TDFX()), link, SLOT(sendUav_RemoteChannelReverse()));                           // 28
    connect(gui, SIGNAL(send_ZJ()), link, SLOT(sendUav_MotorWheelbase()));                                   // 29
    connect(gui, SIGNAL(send_GD()), link, SLOT(sendUav_InductionDegrees()));                                 // 30
    connect(gui, SIGNAL(send_DYBH()), link, SLOT(sendUav_LowVoltageProtection()));                           // 31
    connect(gui, SIGNAL(send_DYJZ()), link, SLOT(sendUav_VoltageColibration()));                             // 32
    connect(gui, SIGNAL(send_DJDS()), link, SLOT(sendUav_MotorIdle()));                                      // 33
    connect(gui, SIGNAL(send_DJCS()), link, SLOT(sendMotorTest()));                                          // 34
    connect(gui, SIGNAL(send_CCSZ()), link, SLOT(requestUav_RestoreFactorySettings()));                      // 35
    connect(gui, SIGNAL(send_YKQKS()), this, SLOT(SloatStartRemoteCalibrate()));                             // 36
    connect(gui, SIGNAL(send_YKQJS()), this, SLOT(SloatStopRemoteCalibrate()));                              // 37
    connect(gui, SIGNAL(SignalSendReturnHeight()), link, SLOT(sendUav_ReturnHeight()));                      // 38
    connect(gui, SIGNAL(SignalSendGPSPosition()), link, SLOT(sendUav_GpsSetup()));                           // 39
    connect(gui, SIGNAL(signal_request_MotorWheelbase()), link, SLOT(requestUav_MotorWheelbase()));          // 40
    connect(gui, SIGNAL(signal_request_InductionDegrees()), link, SLOT(requestUav_InductionDegrees()));      // 41
    connect(gui, SIGNAL(SignalFirmwareUpdataRequest(int, QString)), this, SLOT(SlotFirmwareUpdataRequest(int, QString))); // 42
    connect(gui, SIGNAL(SignalUAVMaintenance()), this, SLOT(SlotUAVMaintenance()));                          // 43
    connect(gui, SIGNAL(SignalMaintenanceCycleSet(quint32)), this, SLOT(SlotMaintenanceCycleSet(quint32)));  // 44
    connect(this, SIGNAL(SignalProgressValue(QString, uint8_t)), gui, SIGNAL(progress_uint(QString, uint8_t))); // 45
    connect(window, &KivMainWindow::SignalRequestSpraySpeed, link, &SerialLink::requestUav_SpraySpeed);      // 57
    connect(window, &KivMainWindow::SignalRequestSmallSpraySpeed, link, &SerialLink::requestUav_SmallSpraySpeed); // 58
    connect(window, &KivMainWindow::SignalRequestSetSprayWidth, link, &SerialLink::requestUav_SetSprayWidth); // 59
    connect(window, &KivMainWindow::SignalRequestSetWorkSpeed, link, &SerialLink::requestUav_SetWorkSpeed);  // 60
    connect(link, SIGNAL(SignalHandShaked(bool)), gui, SLOT(SlotConnectChanged(bool)));                      // 61
    connect(link, SIGNAL(SignalHandShaked(bool)), gui, SIGNAL(ConnectChanged(bool)));                        // 62
    connect(link, SIGNAL(SignalHandShaked(bool)), window, SLOT(slot_connectResult(bool)));                   // 63
    connect(link, SIGNAL(SignalHandShaked(bool)), this, SLOT(SlotHandShaked(bool)));                         // 64
    connect(window, SIGNAL(keyPress(int)), gui, SLOT(keyPress(int)));                                        // 65
    connect(gui, SIGNAL(progress_uint(QString, uint8_t)), window, SLOT(slot_changeProgress(QString, uint8_t))); // 66
    // The backup before a reset or an update reads the groups it has no values for.
    connect(gui, &KivGuiController::SignalReadParameterGroup, link, [link](int group) {
        // A switch, not a table of member pointers: GCC's undefined-behaviour checker misreads those.
        switch (group) {
        case 0: link->requestUav_UavType(); break;
        case 1: link->requestUav_ReceiveType(); break;
        case 2: link->requestUav_RemoteChannelReverse(); break;
        case 3: link->requestUav_MotorWheelbase(); break;
        case 4: link->requestUav_InductionDegrees(); break;
        case 5: link->requestUav_LowVoltageProtection(); break;
        case 6: link->requestUav_MotorIdle(); break;
        default: break;
        }
    });
    // Esc during a motor test sends the stop instruction.
    connect(gui, &KivGuiController::SignalStopMotorTest, link, &SerialLink::sendStop);
    connect(window, &KivMainWindow::sprayingPageBuilt, this, &KivApplication::wireSprayingPage);
    connect(window, &KivMainWindow::toolsPageBuilt, this, &KivApplication::wireToolsPage);
    if (LumActaPhytophySin *spraying = window->builtSprayingPage())
        wireSprayingPage(spraying);
    if (KivToolsWgt *tools = window->builtToolsPage())
        wireToolsPage(tools);
}

// The tools and spraying pages are built when first needed, and wired to the link then.
void KivApplication::wireSprayingPage(LumActaPhytophySin *spraying)
{
    SerialLink *link = m_serialLink;
    connect(spraying, &LumActaPhytophySin::SignalSpraySpeed, link, &SerialLink::sendUav_SpraySpeed);         // 46
    connect(spraying, &LumActaPhytophySin::SignalSmallSpraySpeed, link, &SerialLink::sendUav_SmallSpraySpeed); // 47
    connect(spraying, &LumActaPhytophySin::SignalSpraySpeedEnd, link, &SerialLink::sendUav_SpraySpeedEnd);   // 48
    connect(spraying, &LumActaPhytophySin::SignalSmallSpraySpeedEnd, link, &SerialLink::sendUav_SmallSpraySpeedEnd); // 49
    connect(spraying, &LumActaPhytophySin::SignalSetSprayWidth, link, &SerialLink::sendUav_SetSprayWidth);   // 50
    connect(spraying, &LumActaPhytophySin::SignalSetWorkSpeed, link, &SerialLink::sendUav_SetWorkSpeed);     // 51
    connect(spraying, &LumActaPhytophySin::SignalSetExternalSwitch, link,
            [link](schar id, schar value) { link->sendUav_ExternelSwitch(uchar(id), uchar(value)); });      // 52
    connect(spraying, &LumActaPhytophySin::SignalSensorSwitch, this, &KivApplication::SlotRequestSensorSwitch); // 53
}

void KivApplication::wireToolsPage(KivToolsWgt *tools)
{
    connect(tools, &KivToolsWgt::SignalUpdateData, this, &KivApplication::SlotUpdateData);                   // 54
    connect(tools, &KivToolsWgt::SignalCloseDownloadBlackBoxes, this, &KivApplication::SlotCloseDownloadBlackBoxes); // 55
    connect(tools, &KivToolsWgt::SignalRequestTimerPage, this, &KivApplication::SlotRequestMaintenance);      // 56
}

// --- Port scan ---------------------------------------------------------------------------------

void KivApplication::SlotUpdatePortList(uint8_t)
{
    // Enumeration announces the ports again after every round of the scan: one timer, restarted.
    if (portScanTimerId)
        killTimer(portScanTimerId);
    portScanTimerId = startTimer(kPortScanMs, Qt::CoarseTimer);
}

void KivApplication::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != portScanTimerId) {
        QApplication::timerEvent(event);
        return;
    }
    if (m_serialLink->isHandShaked()) {
        killTimer(portScanTimerId);
        portScanTimerId = 0;
        return;
    }
    m_serialPort->closePort();
    if (portScanIndex >= m_serialPort->portNames().size()) {
        // Every name had its turn: back to enumeration, which announces ports again.
        m_serialPort->restartRefreshTimer();
        portScanIndex = 0;
        if (m_serialPort->portNames().isEmpty())
            return;
    }
    const QString name = m_serialPort->portNames().at(portScanIndex);
    m_serialPort->configurePort(name);
    if (m_serialPort->openPort())
        m_serialLink->connectLine();
    else
        reportPortOpenFailure(name, m_serialPort->error());
    ++portScanIndex;
}

void KivApplication::reportPortOpenFailure(const QString &port, int serialPortError)
{
    if (serialPortError != QSerialPort::PermissionError || m_portsToldDenied.contains(port))
        return;
    m_portsToldDenied.insert(port);
    // Not modal: the scan goes on, and opens the port as soon as the permission is there.
    auto *box = new QMessageBox(QMessageBox::Warning, tr("错误"),
                                tr("找到了飞机的串口 %1，但没有打开它的权限。\n\n"
                                   "请安装本软件的 udev 规则（安装软件包时已装好），然后重新插拔飞机的 USB 线；"
                                   "或者把当前用户加入 dialout 组（sudo usermod -aG dialout $USER），"
                                   "注销后重新登录。")
                                    .arg(QDir::toNativeSeparators(port)),
                                QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->setObjectName(QStringLiteral("portPermissionBox"));
    box->show();
}

void KivApplication::SlotSeralPortError()
{
    // Nothing to do here: the link drops its connection on the same signal, and the port
    // restarts its enumeration itself.
}

// --- Connection and read-back ------------------------------------------------------------------

void KivApplication::SlotConnecttionChange(bool connect)
{
    linkConnected = connect ? 1 : 0;
}

void KivApplication::SlotHandShaked(bool connect)
{
    if (connect)
        SlotUpdateData();
}

void KivApplication::SlotUpdateData()
{
    SerialLink *link = m_serialLink;
    const std::function<void()> steps[] = {
        [link] { link->requestUav_UavType(); },
        [link] { link->requestUav_ReceiveType(); },
        [link] { link->requestUav_RemoteChannelReverse(); },
        [link] { link->requestUav_MotorWheelbase(); },
        [link] { link->requestUav_InductionDegrees(); },
        [link] { link->requestUav_LowVoltageProtection(); },
        [link] { link->requestUav_MotorIdle(); },
        [this] { SlotRequestFirmwareVersion(); },
        [link] { link->requestUav_ReturnHeight(); },
        [link] { link->requestUav_GpsSetup(); },
        [link] { link->requestUav_SpraySpeed(); },
        [link] { link->requestUav_SmallSpraySpeed(); },
        [link] { link->requestUav_SetSprayWidth(); },
        [link] { link->requestUav_SetWorkSpeed(); },
        [this] { SlotRequestSensorSwitch(); },
        [this] { SlotRequestMaintenance(); },
    };
    const int count = int(std::size(steps));
    const int run = ++m_readBackRun;
    for (int i = 0; i < count; ++i) {
        steps[i]();
        if (i + 1 == count)
            break;
        waitWithEvents(kReadBackStepMs);
        // A link lost during the wait, a newer read-back after a new handshake, or the window
        // closed ends this one.
        if (run != m_readBackRun || !pacedSequenceGoesOn())
            return;
    }
    Q_EMIT readBackFinished();
}

void KivApplication::SlotRequestFirmwareVersion()
{
    for (int id = 0; id <= 11; ++id) {
        m_serialLink->requestUav_FirmwareVersion(char(id));
        waitWithEvents(20);
        if (m_windowClosed)
            return;
    }
}

void KivApplication::SlotOnlineMonitoring()
{
    // The link tracks one command: a monitoring request would take the place of a write still
    // awaiting its reply, which would then never be resent. This tick is skipped instead.
    if (m_serialLink->isResendActive()
        && m_serialLink->currentPendingType() != SerialLink::_OnlineMonitoring)
        return;
    m_serialLink->requestUav_OnlineMonitoring();
}

void KivApplication::SloatStartRemoteCalibrate()
{
    m_serialLink->sendUav_RemoteCalibrate(3);
}

void KivApplication::SloatStopRemoteCalibrate()
{
    m_serialLink->sendUav_RemoteCalibrate(12);
}

void KivApplication::SlotRequestSensorSwitch()
{
    m_serialLink->requestUav_ExternelSwitch(1);
    waitWithEvents(300);
    if (!m_windowClosed)
        m_serialLink->requestUav_ExternelSwitch(2);
}

void KivApplication::SlotRequestMaintenance()
{
    for (uchar id = 1; id <= 4; ++id) {
        m_serialLink->requestUav_MaintenanceTimer(id);
        // A link lost during the pause ends the reads.
        if (id < 4 && !(waitWithEvents(kMaintenancePacingMs, this) && pacedSequenceGoesOn()))
            return;
    }
}

void KivApplication::SlotUAVMaintenance()
{
    m_serialLink->sendUav_MaintenanceTimer(2, 0);
    if (waitWithEvents(kMaintenancePacingMs, this) && pacedSequenceGoesOn())
        SlotRequestMaintenance();
}

void KivApplication::SlotMaintenanceCycleSet(uint v)
{
    m_serialLink->sendUav_MaintenanceTimer(4, int(v));
    if (waitWithEvents(kMaintenancePacingMs, this) && pacedSequenceGoesOn())
        SlotRequestMaintenance();
}

// --- Firmware ----------------------------------------------------------------------------------

void KivApplication::SlotFirmwareUpdataRequest(int moldelId, QString file)
{
    fwModuleId = uint8_t(moldelId);
    fwFilePath = file;
    m_firmware->start(moldelId, file);
}

void KivApplication::SlotFirmwareUpdata(uint8_t command, QString)
{
    m_firmware->onReply(command);
}

// --- Black box ---------------------------------------------------------------------------------

void KivApplication::SlotBlackBoxesHandle(uint8_t iCmd, QString str)
{
    m_blackBoxDownload->onReturnInfo(iCmd, str);
}

void KivApplication::SlotReturnBlackBoxes(uint8_t iCmd, int subindex, QByteArray data)
{
    m_blackBoxDownload->onChunk(iCmd, subindex, data);
}

void KivApplication::SlotCloseDownloadBlackBoxes()
{
    m_blackBoxDownload->close();
}

bool KivApplication::pacedSequenceGoesOn() const
{
    return !m_windowClosed && m_serialLink->isHandShaked();
}

void KivApplication::endSequencesForExit()
{
    m_windowClosed = true;
    m_blackBoxDownload->close();
    m_firmware->cancel();
}
