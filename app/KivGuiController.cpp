#include "app/KivGuiController.h"

#include "app/AircraftParams.h"
#include "app/LinkConnected.h"
#include "app/ParamConversions.h"
#include "app/ParameterBackup.h"
#include "config/AppPaths.h"
#include "config/WaitWithEvents.h"
#include "ui/KivMainWindow.h"
#include "ui/KivSettingWgt.h"
#include "ui/KivToolsWgt.h"
#include "ui/LumActaPhytophySin.h"
#include "ui/SubPageRecord.h"
#include "ui/tools/UserPrompts.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QSaveFile>

namespace {
AircraftParams &store()
{
    return aircraftParams();
}

// A reply that confirms its command. Refusals of most commands send no notification at all; the
// frame type's reply says so in its text.
bool replyConfirms(uint8_t cmd, const QString &text)
{
    return !(cmd == 0x02
             && (text == QCoreApplication::translate("SerialLink", "Model setup failed！")
                 || text == QCoreApplication::translate("SerialLink", "Failed to download model!")));
}
QString withNote(const QString &text, const QString &note)
{
    return note.isEmpty() ? text : text + QLatin1String("\n\n") + note;
}
} // namespace

KivGuiController::KivGuiController(QObject *parent)
    : QObject(parent)
{
    settingsSubPage = 0;
    store().warning_code = 0xFF; // every unit faulty until the first status frame
}

void KivGuiController::blueLamp(bool on)
{
    if (mainWindow)
        mainWindow->setBlueLamp(on);
}

void KivGuiController::setFrameType(int row, int column)
{
    if (!linkConnected)
        return;
    store().Uav_Type = ParamConversions::frameTypeCode(row, column);
    Q_EMIT send_JX();
    blueLamp(false);
}

void KivGuiController::setReceiverType(int option)
{
    if (!linkConnected)
        return;
    store().Contrl_type = ParamConversions::receiverOptionToCode(option);
    Q_EMIT send_JSJ();
    blueLamp(false);
}

void KivGuiController::toggleChannelReverse(uint8_t bit)
{
    store().Contrl_Rec = uint8_t(store().Contrl_Rec ^ bit);
    Q_EMIT send_TDFX();
}

void KivGuiController::startRcCalibration()
{
    Q_EMIT send_YKQKS();
}

void KivGuiController::stopRcCalibration()
{
    Q_EMIT send_YKQJS();
}

void KivGuiController::setWheelbase(int millimetres)
{
    if (!linkConnected)
        return;
    store().Uav_wid = ParamConversions::wheelbaseToCode(millimetres);
    Q_EMIT send_ZJ();
    blueLamp(false);
}

void KivGuiController::setGain(float value, int index)
{
    if (linkConnected) {
        const auto gain = uint16_t(int(value));
        switch (index) {
        case 1: store().sensRateP = gain; break;
        case 2: store().sensRateD = gain; break;
        case 3: store().altRateP = gain; break;
        default: break;
        }
    }
    Q_EMIT send_GD();
}

void KivGuiController::setProtectAction(int action)
{
    if (!linkConnected)
        return;
    store().SP_S = uint8_t(action);
    Q_EMIT send_DYBH();
    blueLamp(false);
}

void KivGuiController::setCalibrationVoltage(double volts)
{
    if (!linkConnected)
        return;
    // Rounded to the nearest hundredth as the protection voltages are: 16.4 V is 1640.
    store().voltCalib = ParamConversions::voltsToWire(volts + 0.005);
    estimateBatteryCells();
    Q_EMIT send_DYJZ();
    blueLamp(true);
}

void KivGuiController::setProtectVoltages(double level1, double level2)
{
    if (!linkConnected)
        return;
    store().LV1 = ParamConversions::voltsToWire(level1);
    store().LV2 = ParamConversions::voltsToWire(level2);
    Q_EMIT send_DYBH();
    blueLamp(false);
}

void KivGuiController::sendReturnHeight(uint8_t metres)
{
    store().returnHeight = metres;
    Q_EMIT SignalSendReturnHeight();
}

void KivGuiController::sendGpsPosition(int8_t x, int8_t y)
{
    store().gpsPosX = x;
    store().gpsPosY = y;
    Q_EMIT SignalSendGPSPosition();
}

void KivGuiController::startMotorTest()
{
    Q_EMIT send_DJCS();
    blueLamp(false);
}

void KivGuiController::stopMotorTest()
{
    Q_EMIT SignalStopMotorTest();
}

bool KivGuiController::restoreFactorySettings(const QString &note)
{
    if (m_waiting)
        return false;
    Q_EMIT send_CCSZ();
    blueLamp(false);
    // The outcome is the aircraft's to tell: its reply says whether the reset was done.
    const QPointer<KivGuiController> self(this);
    const std::optional<QString> reply = waitForReply(0x0F, kFactoryResetReplyMs);
    if (!self)
        return false; // the program is closing
    if (!reply) {
        userPrompts().tell(QMessageBox::Critical, tr("错误"),
                           withNote(tr("飞控没有回应，出厂设置可能没有恢复！"), note),
                           QMessageBox::Yes);
        return true;
    }
    const bool done = *reply == QCoreApplication::translate("SerialLink", "恢复出厂设置成功！");
    userPrompts().tell(done ? QMessageBox::Information : QMessageBox::Critical,
                       done ? tr("提示") : tr("错误"), withNote(*reply, note), QMessageBox::Yes);
    return true;
}

void KivGuiController::completeMaintenance()
{
    Q_EMIT SignalUAVMaintenance();
}

void KivGuiController::setMaintenanceCycle(double minutes)
{
    Q_EMIT SignalMaintenanceCycleSet(uint(minutes));
}

std::optional<QString> KivGuiController::waitForReply(uint8_t command, int timeoutMs)
{
    m_waiting = true;
    m_awaitedCommand = command;
    m_awaitedReply.reset();
    QElapsedTimer clock;
    clock.start();
    while (!m_awaitedReply && linkConnected && clock.elapsed() < timeoutMs) {
        if (!waitWithEvents(20, this))
            return std::nullopt; // the program is closing: nothing left to report to
    }
    m_waiting = false;
    return m_awaitedReply;
}

QString KivGuiController::groupNames(const QList<int> &groups) const
{
    QStringList names;
    for (int group : groups)
        names << tr(ParameterFile::groups()[group].name);
    //: Separator between the names of parameter groups in a message.
    return names.join(tr("、"));
}

// --- Parameter file ----------------------------------------------------------------------------

void KivGuiController::exportParameters(const QString &fileName)
{
    QList<int> missing;
    for (int group = 0; group < ParameterFile::kGroupCount; ++group) {
        if (!m_freshness.isConfirmed(group))
            missing << group;
    }
    if (!missing.isEmpty()) {
        userPrompts().tell(QMessageBox::Warning, tr("警告"),
                           tr("这些参数还没有从飞机读到，不能导出：%1。请稍候再试。").arg(groupNames(missing)),
                           QMessageBox::Ok);
        return;
    }
    // Written beside the old file and renamed over it only when whole.
    const QByteArray bytes = ParameterFile::encode(store());
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        userPrompts().tell(QMessageBox::Critical, tr("错误"), tr("写入文件失败"), QMessageBox::Ok);
        return;
    }
    userPrompts().tell(QMessageBox::Information, tr("提示"), tr("导出成功!"), QMessageBox::Yes);
}

void KivGuiController::importParameters(const QString &fileName)
{
    if (m_waiting)
        return;
    const std::optional<QJsonObject> document = readParameterFile(fileName);
    if (!document)
        return;
    QList<int> all;
    for (int group = 0; group < ParameterFile::kGroupCount; ++group)
        all << group;
    if (const std::optional<QList<int>> unconfirmed = sendParameterGroups(*document, all))
        reportImport(*unconfirmed);
}

std::optional<QJsonObject> KivGuiController::readParameterFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        userPrompts().tell(QMessageBox::Critical, tr("错误"), tr("打开文件失败！"), QMessageBox::Ok);
        return std::nullopt;
    }
    // A file far larger than any parameter file is refused without reading it all.
    const QByteArray bytes = file.read(ParameterFile::kMaxFileBytes + 1);
    const std::optional<QJsonObject> document
        = bytes.size() > ParameterFile::kMaxFileBytes ? std::nullopt : ParameterFile::decode(bytes);
    if (!document)
        userPrompts().tell(QMessageBox::Critical, tr("错误"), tr("读取文件错误！"), QMessageBox::Ok);
    return document;
}

std::optional<QList<int>> KivGuiController::sendParameterGroups(const QJsonObject &document,
                                                                const QList<int> &groups)
{
    QList<int> unconfirmed;
    for (int group = 0; group < ParameterFile::kGroupCount; ++group) {
        if (!groups.contains(group))
            continue; // left out: neither stored nor sent
        if (!linkConnected || m_waiting) { // lost on the way: what is left was never sent
            unconfirmed << group;
            continue;
        }
        ParameterFile::storeGroup(store(), document, group);
        sendImportGroup(group);
        // The link tracks one command: the next group waits for this one's acknowledgement.
        const uint8_t command = ParameterFile::groups()[group].command;
        const QPointer<KivGuiController> self(this);
        const std::optional<QString> reply = waitForReply(command, kAcknowledgementMs);
        if (!self)
            return std::nullopt;
        if (!reply || !replyConfirms(command, *reply))
            unconfirmed << group;
    }
    return unconfirmed;
}

void KivGuiController::reportImport(const QList<int> &unconfirmed)
{
    if (unconfirmed.isEmpty())
        userPrompts().tell(QMessageBox::Information, tr("提示"), tr("导入成功!"), QMessageBox::Yes);
    else
        userPrompts().tell(QMessageBox::Warning, tr("警告"),
                           tr("导入未完成，飞机没有确认这些参数：%1").arg(groupNames(unconfirmed)),
                           QMessageBox::Ok);
}

QStringList KivGuiController::backupFailedQuestion(const QString &failure)
{
    return {tr("警告"), tr("参数备份失败。%1\n\n不备份参数，继续吗？").arg(failure), tr("不备份，继续"),
            tr("取消")};
}

std::optional<QString> KivGuiController::backupParameters()
{
    if (m_waiting)
        return std::nullopt; // another exchange still waits: no reset or update may start now
    // Groups not read from this aircraft since the handshake hold old or zero values: read them.
    QList<int> readFirst;
    for (int group = 0; group < ParameterFile::kGroupCount && linkConnected; ++group) {
        if (m_freshness.isConfirmed(group))
            continue;
        readFirst << group;
        Q_EMIT SignalReadParameterGroup(group);
        const QPointer<KivGuiController> self(this);
        const std::optional<QString> reply
            = waitForReply(ParameterFile::groups()[group].command, kAcknowledgementMs);
        if (!self)
            return std::nullopt;
        if (!reply)
            break; // the aircraft does not answer: the others would wait in vain
    }
    if (!linkConnected)
        return std::nullopt; // nothing can be reset or updated now
    QList<int> unread;
    for (int group = 0; group < ParameterFile::kGroupCount; ++group) {
        if (!m_freshness.isConfirmed(group))
            unread << group;
    }
    QString failure;
    ParameterBackup::Result written;
    if (!unread.isEmpty()) {
        failure = tr("这些参数没有从飞机读到：%1").arg(groupNames(unread));
    } else {
        written = ParameterBackup::write(store(), dataFolderPath(), QDateTime::currentDateTime());
        if (written.path.isEmpty())
            failure = tr("写入文件失败：%1").arg(written.error);
    }
    if (!failure.isEmpty()) {
        const QStringList question = backupFailedQuestion(failure);
        if (!userPrompts().confirmCaution(question[0], question[1], question[2], question[3]))
            return std::nullopt;
        return tr("参数没有备份。");
    }
    QString note = tr("原来的参数已备份到：%1").arg(QDir::toNativeSeparators(written.path));
    if (!readFirst.isEmpty())
        note += QLatin1Char('\n') + tr("（备份前先从飞机读取了：%1）").arg(groupNames(readFirst));
    return note;
}

void KivGuiController::sendImportGroup(int group)
{
    // Signals, not the link itself: the wiring takes each to its write command.
    switch (group) {
    case 0: Q_EMIT send_JX(); break;
    case 1: Q_EMIT send_JSJ(); break;
    case 2: Q_EMIT send_TDFX(); break;
    case 3: Q_EMIT send_ZJ(); break;
    case 4: Q_EMIT send_GD(); break;
    case 5: Q_EMIT send_DYBH(); break;
    case 6: Q_EMIT send_DJDS(); break;
    default: break;
    }
}

void KivGuiController::requestFirmwareUpdate(int type, const QString &runPath)
{
    Q_EMIT SignalFirmwareUpdataRequest(type, runPath);
}

void KivGuiController::estimateBatteryCells()
{
    store().batteryCells = ParamConversions::batteryCellsFromVoltage(store().bat_volt, store().batteryCells);
}

void KivGuiController::estimateBatteryCellsWhenConnected()
{
    if (linkConnected)
        estimateBatteryCells();
}

void KivGuiController::SlotConnectChanged(bool f)
{
    m_freshness.clear(); // values read from this aircraft only
    if (mainWindow) {
        mainWindow->setConnectState(f);
        mainWindow->setRedLamp(f);
        mainWindow->setBlueLamp(f);
    }
    if (f)
        return;
    store().warning_code = 0xFF;
    m_selfCheckFailed = true;
    if (KivToolsWgt *tools = mainWindow ? mainWindow->builtToolsPage() : nullptr)
        for (int row = 1; row <= 6; ++row)
            tools->showSelfCheckResult(row, false);
}

void KivGuiController::keyPress(int index)
{
    // Return on the gain sub-page sends the gains again.
    if (index == 0 && settingsSubPage == 2) {
        Q_EMIT send_GD();
        blueLamp(false);
    }
}

void KivGuiController::returnInfo(uint8_t cmd, QString s)
{
    blueLamp(true);
    if (replyConfirms(cmd, s))
        m_freshness.confirm(cmd);
    if (m_waiting && cmd == m_awaitedCommand && !m_awaitedReply)
        m_awaitedReply = s;
    const AircraftParams &p = store();
    KivSettingWgt *settings = mainWindow ? mainWindow->settingsPage() : nullptr;
    const auto number = [&s] { return s.toInt(nullptr, 10); }; // a failed conversion gives 0
    switch (cmd) {
    case 0x02:
        if (settings && p.Uav_Type <= 10)
            settings->showFrameType(p.Uav_Type / 3 + 1, p.Uav_Type % 3 + 1);
        break;
    case 0x03:
        if (settings)
            settings->setGPSPosition(char(p.gpsPosX.load()), char(p.gpsPosY.load()));
        break;
    case 0x04:
        if (settings)
            settings->showReceiverType(3 - int8_t(p.Contrl_type.load()));
        break;
    case 0x06:
        if (settings)
            settings->showChannelReverse(int8_t(p.Contrl_Rec.load()));
        break;
    case 0x08:
        rememberPageReply(cmd, s);
        if (KivToolsWgt *tools = mainWindow ? mainWindow->builtToolsPage() : nullptr)
            tools->showMotorIdle(p.M_CCR0 + 1);
        break;
    case 0x09:
        if (settings)
            settings->showWheelbase(ParamConversions::codeToWheelbase(p.Uav_wid));
        Q_EMIT signal_request_InductionDegrees();
        break;
    case 0x0A:
        if (settings) {
            settings->showGain(float(p.sensRateP), 1);
            settings->showGain(float(p.sensRateD), 2);
            settings->showGain(float(p.altRateP), 3);
        }
        break;
    case 0x0C:
        if (settings)
            settings->setProtectSwitch(p.SP_S != 0);
        estimateBatteryCellsWhenConnected();
        if (settings)
            settings->showProtectVoltages(p.LV1 / 100.0, p.LV2 / 100.0);
        break;
    case 0x10:
        Q_EMIT FirmwareIdChanged(number());
        break;
    case 0x12:
        if (settings)
            settings->setReturnHeight(p.returnHeight);
        break;
    case 0x17:
        rememberPageReply(cmd, s);
        Q_EMIT SignalUpdateSprayWidth();
        break;
    case 0x18:
        rememberPageReply(cmd, s);
        Q_EMIT SignalUpdateWorkSpeed();
        break;
    case 0x19:
        rememberPageReply(cmd, s);
        Q_EMIT SignalUpdateSprayTest();
        break;
    case 0x1B:
        rememberPageReply(cmd, s);
        Q_EMIT SignalExternalSwitch(number());
        break;
    case 0x1C:
        rememberPageReply(cmd, s);
        Q_EMIT SignalUpdateTimerPage(number());
        break;
    case 0x46:
        if (settings) {
            // The third and fourth bytes are throttle and yaw: channels 4 and 3.
            const int8_t values[8] = {p.rc_in_roll, p.rc_in_pitch, p.rc_in_thr, p.rc_in_yaw,
                                      p.rc_in_mode, p.rc_in_CH6, p.rc_in_CH7, p.rc_in_CH8};
            static constexpr int kChannel[8] = {1, 2, 4, 3, 5, 6, 7, 8};
            for (int i = 0; i < 8; ++i)
                settings->showChannelValue(float(values[i]), kChannel[i]);
            // An SBUS receiver that reports a fault shows its mode channel at -50.
            if (p.Contrl_type == 0 && (p.warning_code & 0x04))
                settings->showChannelValue(-50.0f, 5);
        }
        break;
    case 0x4B:
        rememberPageReply(cmd, s);
        if (LumActaPhytophySin *spraying = mainWindow ? mainWindow->builtSprayingPage() : nullptr)
            spraying->showProbeHeight(p.probeHeight / 100.0);
        break;
    case 0xD6:
        Q_EMIT SignalFirmwareUpdateSuccess();
        break;
    default:
        break;
    }
}

void KivGuiController::returnInfo_Para2(int iCmd, int index, QByteArray str)
{
    Q_EMIT SignalIMUData_2(iCmd, index, str);
}

void KivGuiController::returnInfo_Para3(int iCmd, int index, int subindex, QByteArray str)
{
    Q_EMIT SignalIMUData_3(iCmd, index, subindex, str);
}

void KivGuiController::rememberPageReply(uint8_t cmd, const QString &s)
{
    // The last of each: the sensor-switch and maintenance answers (0x1B, 0x1C) name the switch
    // or value they are about, one of each is kept.
    const bool named = cmd == 0x1B || cmd == 0x1C;
    m_pageReplies.removeIf([cmd, &s, named](const std::pair<uint8_t, QString> &reply) {
        return reply.first == cmd && (!named || reply.second == s);
    });
    m_pageReplies.append({cmd, s});
}

void KivGuiController::showOnToolsPage(KivToolsWgt *tools)
{
    tools->showMotorIdle(kDefaultMotorIdleLevel); // until the aircraft says
    if (m_selfCheckFailed)
        for (int row = 1; row <= 6; ++row)
            tools->showSelfCheckResult(row, false);
    for (const auto &[cmd, s] : std::as_const(m_pageReplies)) {
        if (cmd == 0x08)
            tools->showMotorIdle(store().M_CCR0 + 1);
        else if (cmd == 0x1C)
            tools->SlotUpdateTimerPage(s.toInt(nullptr, 10));
    }
}

void KivGuiController::showOnSprayingPage(LumActaPhytophySin *spraying)
{
    for (const auto &[cmd, s] : std::as_const(m_pageReplies)) {
        switch (cmd) {
        case 0x17: spraying->SlotUpdateSprayWidth(); break;
        case 0x18: spraying->SlotUpdateWorkSpeed(); break;
        case 0x19: spraying->SlotUpdateSprayTest(); break;
        case 0x1B: spraying->SlotExternalSwitch(s.toInt(nullptr, 10)); break;
        case 0x4B: spraying->showProbeHeight(store().probeHeight / 100.0); break;
        default: break;
        }
    }
}

void KivGuiController::get_BAT()
{
    if (mainWindow)
        mainWindow->settingsPage()->showPackVoltage();
}
