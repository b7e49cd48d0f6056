#pragma once

#include "app/ParameterFreshness.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>
#include <utility>

class KivToolsWgt;
class LumActaPhytophySin;

// The one mediator between the pages and the link. Setters turn a page value into the store's
// encoding, write it and emit the send signal wired to the matching builder; returnInfo turns
// every reply notification into page updates.
class KivGuiController : public QObject
{
    Q_OBJECT

public:
    explicit KivGuiController(QObject *parent = nullptr);

    // Setters and actions called by the pages. Guarded ones do nothing while the link is down.
    void setFrameType(int row, int column);      // guarded
    void setReceiverType(int option);            // guarded
    void toggleChannelReverse(uint8_t bit);
    void startRcCalibration();
    void stopRcCalibration();
    void setWheelbase(int millimetres);          // guarded
    void setGain(float value, int index);        // store guarded, send always
    void setProtectAction(int action);           // guarded
    void setCalibrationVoltage(double volts);    // guarded
    void setProtectVoltages(double level1, double level2); // guarded
    void sendReturnHeight(uint8_t metres);
    void sendGpsPosition(int8_t x, int8_t y);
    void startMotorTest();
    // Stops a running motor test at once (Esc on the tools page): the link's stop instruction,
    // resent until the aircraft acknowledges it.
    void stopMotorTest();
    // Sends the reset and tells the user what the aircraft answered (or that it did not). False
    // when nothing was sent: another exchange with the aircraft is still waiting for its reply.
    // note (where the parameters were backed up) is added to the message.
    bool restoreFactorySettings(const QString &note = QString());
    void completeMaintenance();
    void setMaintenanceCycle(double minutes);
    void requestFirmwareUpdate(int type, const QString &runPath);

    // Cell count from the live pack voltage; the second form acts only while the link is up.
    void estimateBatteryCells();
    void estimateBatteryCellsWhenConnected();

    // The parameter file. Export writes only groups this aircraft confirmed since the handshake;
    // import sends the groups one by one, each after the previous one's acknowledgement, and
    // names those the aircraft did not confirm. Both report in message boxes.
    void exportParameters(const QString &fileName);
    void importParameters(const QString &fileName);
    // The steps of an import, for the preview that comes between them: the file's document (or
    // nothing, the user told why); then the chosen groups sent, giving those the aircraft did not
    // confirm (nothing when this object went away meanwhile); then the message of a whole import.
    std::optional<QJsonObject> readParameterFile(const QString &fileName);
    std::optional<QList<int>> sendParameterGroups(const QJsonObject &document,
                                                  const QList<int> &groups);
    void reportImport(const QList<int> &unconfirmed);
    const ParameterFreshness &freshness() const { return m_freshness; }
    // An exchange waits for its reply: nothing else may be sent meanwhile.
    bool isWaiting() const { return m_waiting; }

    // Before a change that overwrites the aircraft's settings: writes them, as read from this
    // aircraft, to a dated file in the data folder, reading the groups not yet read first. The
    // sentence for the user's message (where the file is, what was read first), or nothing when
    // it failed and the user chose not to go on without it.
    std::optional<QString> backupParameters();
    // The question asked when the backup failed (failure says why): title, text, the button that
    // goes on, the one that stops.
    static QStringList backupFailedQuestion(const QString &failure);

    static constexpr int kAcknowledgementMs = 1500; // seven resends of a lost frame
    static constexpr int kFactoryResetReplyMs = 3000;

Q_SIGNALS:
    void SignalStopMotorTest();
    void send_JX();
    void send_JSJ();
    void send_TDFX();
    void send_ZJ();
    void send_GD();
    void send_DYBH();
    void send_DYJZ();
    void send_DJDS();
    void send_DJCS();
    void send_CCSZ();
    void send_YKQKS();
    void send_YKQJS();
    void signal_request_MotorWheelbase();
    void signal_request_InductionDegrees();
    void SignalRequestReturnHeight();
    void SignalSendReturnHeight();
    void SignalSendGPSPosition();
    void progress_uint(QString strModule, uint8_t progress);
    void ConnectChanged(bool result);
    void FirmwareIdChanged(int iType);
    void SignalFirmwareUpdataRequest(int type, QString runPath);
    void SignalIMUData_2(int iCmd, int index, QByteArray str);
    void SignalIMUData_3(int iCmd, int index, int subindex, QByteArray str);
    void SignalFirmwareUpdateSuccess();
    // The firmware transfer could not start; the text says why.
    void SignalFirmwareUpdateRefused(QString reason);
    void SignalUpdateSprayWidth();
    void SignalUpdateWorkSpeed();
    void SignalUpdateSprayTest();
    void SignalExternalSwitch(int value);
    void SignalUpdateTimerPage(int value);
    void SignalUAVMaintenance();
    void SignalMaintenanceCycleSet(uint cycle);
    // Read one parameter-file group from the aircraft (in the file's group order).
    void SignalReadParameterGroup(int group);

public Q_SLOTS:
    void SlotConnectChanged(bool f);
    void keyPress(int index);
    void returnInfo(uint8_t cmd, QString s);
    void returnInfo_Para2(int iCmd, int index, QByteArray str);
    void returnInfo_Para3(int iCmd, int index, int subindex, QByteArray str);
    void get_BAT();
    // A page built after replies came shows what it would have shown had it been there.
    void showOnToolsPage(KivToolsWgt *tools);
    void showOnSprayingPage(LumActaPhytophySin *spraying);

private:
    void blueLamp(bool on);
    void rememberPageReply(uint8_t cmd, const QString &s);
    // Waits with events running for the next reply to command, at most timeoutMs; its text, or
    // nothing when none came, the link dropped or this object went away meanwhile.
    std::optional<QString> waitForReply(uint8_t command, int timeoutMs);
    QString groupNames(const QList<int> &groups) const;
    // Emits the send signal of one parameter-file group (in the file's group order).
    void sendImportGroup(int group);

    // The motor idle level the tools page shows before the aircraft says.
    static constexpr int kDefaultMotorIdleLevel = 3;
    ParameterFreshness m_freshness;
    // What the tools and spraying pages were last told, for a page built later.
    bool m_selfCheckFailed = false; // the link was lost: every row shows a fault
    QList<std::pair<uint8_t, QString>> m_pageReplies; // in the order they came
    bool m_waiting = false;
    uint8_t m_awaitedCommand = 0;
    std::optional<QString> m_awaitedReply;
};

inline KivGuiController *guiController = nullptr;
