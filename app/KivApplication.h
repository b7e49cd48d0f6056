#pragma once

#include <QApplication>
#include <QByteArray>
#include <QSet>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class SerialLink;
class SerialPort;
class Configuration;
class FirmwareTransfer;
class BlackBoxDownload;
class LumBlackBoxesData;
class KivToolsWgt;
class LumActaPhytophySin;

// The application object: owns the transport and the link, creates the controller and the main
// window, wires every object to the link, scans ports and reads the aircraft back after each
// handshake.
class KivApplication : public QApplication
{
    Q_OBJECT

public:
    static constexpr int kPortScanMs = 3000;
    static constexpr int kReadBackStepMs = 250;
    static constexpr int kMaintenancePacingMs = 300;

    // Runs right after the Qt application exists and before anything else is built: the place to
    // start the simulated aircraft and services that the window should already talk to.
    using StartupHook = std::function<void(KivApplication *)>;

    // Constructs the one application object on the first call.
    static KivApplication *getInstance(int &argc, char **argv, StartupHook hook = {});
    static KivApplication *instance();

    KivApplication(int &argc, char **argv, const StartupHook &hook = {});

    // A port that cannot be opened for lack of permission is told to the user once per device,
    // with the fix; other failures stay silent (the scan simply tries again).
    void reportPortOpenFailure(const QString &port, int serialPortError);
    ~KivApplication() override;

    SerialPort *serialPort() const { return m_serialPort; }
    SerialLink *serialLink() const { return m_serialLink; }
    int portScanTimer() const { return portScanTimerId; }
    BlackBoxDownload *blackBoxDownload() const { return m_blackBoxDownload; }

Q_SIGNALS:
    void SignalProgressValue(QString strModule, uint8_t progress);
    void SignalProgressBlackBoxes(int index, int subMaxIndex, int currentSubIndex);
    void SignalCurrentReadFile(QString fname);
    void SignalBlackBoxesDownloadSuccess();
    // A black-box file could not be written; the download has stopped.
    void SignalBlackBoxesDownloadFailed(QString reason);
    // The last step of the read-back after a handshake has been sent.
    void readBackFinished();

public Q_SLOTS:
    void SlotHandShaked(bool connect);
    void SlotSeralPortError();
    void SlotUpdatePortList(uint8_t num);
    void SlotOnlineMonitoring();
    void SloatStartRemoteCalibrate();
    void SloatStopRemoteCalibrate();
    void SlotRequestFirmwareVersion();
    void SlotConnecttionChange(bool connect);
    void SlotFirmwareUpdata(uint8_t command, QString info);
    void SlotFirmwareUpdataRequest(int moldelId, QString file);
    void SlotUpdateData();
    void SlotBlackBoxesHandle(uint8_t iCmd, QString str);
    void SlotReturnBlackBoxes(uint8_t iCmd, int subindex, QByteArray data);
    void SlotCloseDownloadBlackBoxes();
    void SlotRequestSensorSwitch();
    void SlotUAVMaintenance();
    void SlotRequestMaintenance();
    void SlotMaintenanceCycleSet(uint v);

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    void showNotConnectedDefaults();
    void wire();
    void wireSprayingPage(LumActaPhytophySin *spraying);
    void wireToolsPage(KivToolsWgt *tools);
    // The window closed: the program is ending, so paced sequences stop at their next pause
    // (instead of holding the exit up and talking on), and downloads and transfers send nothing.
    void endSequencesForExit();
    bool pacedSequenceGoesOn() const;

    SerialPort *m_serialPort = nullptr;
    SerialLink *m_serialLink = nullptr;
    std::unique_ptr<Configuration> m_configuration;
    FirmwareTransfer *m_firmware = nullptr;
    std::unique_ptr<LumBlackBoxesData> blackBoxStore;
    BlackBoxDownload *m_blackBoxDownload = nullptr;
    int portScanTimerId = 0;
    QSet<QString> m_portsToldDenied;
    int m_readBackRun = 0; // numbers the read-backs, so that a newer one ends an older one
    bool m_windowClosed = false;
    uint8_t fwModuleId = 0;
    QString fwFilePath;
};

inline int portScanIndex = 0;
