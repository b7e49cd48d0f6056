#pragma once

#include "ui/PageShell.h"

// Settings page: frame type, receiver and RC, gains, battery, return height, GPS position.
// The controller calls the display operations when replies arrive; until the sub-pages are built
// they keep the values shown, so the state is visible to the rest of the program.
class KivSettingWgt : public PageShell
{
    Q_OBJECT

public:
    explicit KivSettingWgt(QWidget *parent = nullptr);

    void showFrameType(int row, int column);
    void showReceiverType(int option);
    void showChannelReverse(int mask);
    void showChannelValue(float value, int index);
    void showWheelbase(int millimetres);
    void showGain(float value, int index);
    void showCalibrationVoltage(double volts);
    void showBatteryIcons();
    void showProtectVoltages(double level1, double level2);
    void setProtectSwitch(bool on);
    void showPackVoltage();
    void retranslate();

    struct Shown
    {
        int frameRow = 0, frameColumn = 0;
        int receiverOption = 0;
        int channelReverse = 0;
        float channel[9] = {}; // display index 1..8
        int wheelbase = 0;
        int gain[4] = {};      // index 1..3
        double calibrationVoltage = 0;
        double protect1 = 0, protect2 = 0;
        bool protectSwitch = false;
        QString packVoltage;
        int returnHeight = 0;
        int gpsX = 0, gpsY = 0;
        bool calibrating = false;
    };
    const Shown &shown() const { return m_shown; }

Q_SIGNALS:
    void signal_request_JX();
    void signal_request_ReceiveType();
    void signal_request_RemoteChannelReverse();
    void signal_request_MotorWheelbase();
    void signal_request_InductionDegrees();
    void signal_request_DC();
    void SignalRequestReturnHeight();
    void SignalRequestGPSPosition();

public Q_SLOTS:
    void slot_tabClick(int index);
    void setStartCorrect();
    void endStartCorrect();
    void SlotHandShaked(bool f);
    void setReturnHeight(int height);
    void setGPSPosition(char GPS_X, char GPS_Y);
    void SlotReturnHeightLoadPicture();
    void SlotGPSPositionLoadPicture();

private:
    Shown m_shown;
};
