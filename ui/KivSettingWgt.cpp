#include "ui/KivSettingWgt.h"

#include "app/AircraftParams.h"
#include "config/Configuration.h"
#include "ui/SubPageRecord.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QStackedWidget>

KivSettingWgt::KivSettingWgt(QWidget *parent)
    : PageShell(parent)
{
    addTabs({
    {"btn_jixing", "page_jixing", QT_TRANSLATE_NOOP("KivSettingWgt", "机型"), "Frame.html"},
    {"btn_yaokongqi", "page_ykq", QT_TRANSLATE_NOOP("KivSettingWgt", "遥控器"), "RC.html"},
    {"btn_gandu", "page_gandu", QT_TRANSLATE_NOOP("KivSettingWgt", "感度"), "Gain.html"},
    {"btn_dianchi", "page_dianchi", QT_TRANSLATE_NOOP("KivSettingWgt", "电池"), "Battery.html"},
    {"btnHeightSet", "pageHeightSet", QT_TRANSLATE_NOOP("KivSettingWgt", "返航高度"), "ReturnHeight.html"},
    {"btnGPSPosition", "pageGPSPosition", QT_TRANSLATE_NOOP("KivSettingWgt", "GPS位置"), "GPSPosition.html"},
    });
    tabGroup()->button(5)->hide();
    connect(tabGroup(), &QButtonGroup::idClicked, this, &KivSettingWgt::slot_tabClick);
    stackedWidget()->setCurrentIndex(0);
    loadHelpPage(QStringLiteral("Frame.html"));
}

void KivSettingWgt::slot_tabClick(int index)
{
    if (index != settingsSubPage && index >= 0 && index <= 5) {
        loadHelpPage(tabHelpFile(index));
        switch (index) {
        case 0:
            Q_EMIT signal_request_JX();
            break;
        case 1:
            Q_EMIT signal_request_ReceiveType();
            waitWithEvents(200);
            Q_EMIT signal_request_RemoteChannelReverse();
            break;
        case 2:
            Q_EMIT signal_request_MotorWheelbase();
            waitWithEvents(200);
            Q_EMIT signal_request_InductionDegrees();
            break;
        case 3:
            Q_EMIT signal_request_DC();
            break;
        case 4:
            Q_EMIT SignalRequestReturnHeight();
            break;
        case 5:
            Q_EMIT SignalRequestGPSPosition();
            break;
        }
        settingsSubPage = uint8_t(index);
    }
    stackedWidget()->setCurrentIndex(index);
    subPageRecord.settingsTab = uint8_t(index);
    subPageRecord.helpIndex = uint8_t(index);
}

void KivSettingWgt::showFrameType(int row, int column)
{
    m_shown.frameRow = row;
    m_shown.frameColumn = column;
}

void KivSettingWgt::showReceiverType(int option)
{
    if (option >= 1 && option <= 3)
        m_shown.receiverOption = option;
}

void KivSettingWgt::showChannelReverse(int mask)
{
    m_shown.channelReverse = mask;
}

void KivSettingWgt::showChannelValue(float value, int index)
{
    if (index >= 1 && index <= 8)
        m_shown.channel[index] = value;
}

void KivSettingWgt::showWheelbase(int millimetres)
{
    if (millimetres > 0 && millimetres <= 1250 && millimetres % 250 == 0)
        m_shown.wheelbase = millimetres;
}

void KivSettingWgt::showGain(float value, int index)
{
    if (index >= 1 && index <= 3)
        m_shown.gain[index] = int(value);
}

void KivSettingWgt::showCalibrationVoltage(double volts)
{
    m_shown.calibrationVoltage = volts;
}

void KivSettingWgt::showBatteryIcons() {}

void KivSettingWgt::showProtectVoltages(double level1, double level2)
{
    m_shown.protect1 = level1;
    m_shown.protect2 = level2;
}

void KivSettingWgt::setProtectSwitch(bool on)
{
    m_shown.protectSwitch = on;
}

void KivSettingWgt::showPackVoltage()
{
    m_shown.packVoltage = QString::number(aircraftParams().bat_volt / 100.0, 'f', 2) + QLatin1Char('V');
}

void KivSettingWgt::setReturnHeight(int height)
{
    m_shown.returnHeight = height;
}

void KivSettingWgt::setGPSPosition(char GPS_X, char GPS_Y)
{
    m_shown.gpsX = int8_t(GPS_X);
    m_shown.gpsY = int8_t(GPS_Y);
}

void KivSettingWgt::setStartCorrect()
{
    m_shown.calibrating = true;
}

void KivSettingWgt::endStartCorrect()
{
    m_shown.calibrating = false;
}

void KivSettingWgt::SlotHandShaked(bool) {}

void KivSettingWgt::SlotReturnHeightLoadPicture() {}

void KivSettingWgt::SlotGPSPositionLoadPicture() {}

void KivSettingWgt::retranslate()
{
    retranslateTabs();
}
