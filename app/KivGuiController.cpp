#include "app/KivGuiController.h"

#include "app/AircraftParams.h"
#include "app/LinkConnected.h"
#include "app/ParamConversions.h"
#include "ui/KivMainWindow.h"
#include "ui/KivSettingWgt.h"
#include "ui/KivToolsWgt.h"
#include "ui/LumActaPhytophySin.h"
#include "ui/SubPageRecord.h"

#include <QMessageBox>

namespace {
AircraftParams &store()
{
    return aircraftParams();
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

void KivGuiController::restoreFactorySettings()
{
    Q_EMIT send_CCSZ();
    blueLamp(false);
    QMessageBox box(QMessageBox::Information, tr("提示"), tr("已恢复出厂设置！"), QMessageBox::Yes);
    box.setDefaultButton(QMessageBox::Yes);
    box.exec();
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
    if (mainWindow) {
        mainWindow->setConnectState(f);
        mainWindow->setRedLamp(f);
        mainWindow->setBlueLamp(f);
    }
    if (f)
        return;
    store().warning_code = 0xFF;
    if (mainWindow)
        for (int row = 1; row <= 6; ++row)
            mainWindow->toolsPage()->showSelfCheckResult(row, false);
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
        if (mainWindow)
            mainWindow->toolsPage()->showMotorIdle(p.M_CCR0 + 1);
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
        Q_EMIT SignalUpdateSprayWidth();
        break;
    case 0x18:
        Q_EMIT SignalUpdateWorkSpeed();
        break;
    case 0x19:
        Q_EMIT SignalUpdateSprayTest();
        break;
    case 0x1B:
        Q_EMIT SignalExternalSwitch(number());
        break;
    case 0x1C:
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
        if (mainWindow)
            mainWindow->sprayingPage()->showProbeHeight(p.probeHeight / 100.0);
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

void KivGuiController::get_BAT()
{
    if (mainWindow)
        mainWindow->settingsPage()->showPackVoltage();
}
