#pragma once

// The settings page's widgets, named as their objects are (the page's slots are connected by
// those names). The sub-page builders of KivSettingWgt fill it; every widget is owned by its
// parent widget.

class KivChannelBar;
class KivSliderControl;
class KivSliderLarger;
class KivSliderMin;
class KivSliderReturn;
class KivSwitch;
class LumPushButton;
class LumSliderReturn;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;

struct SettingsForm
{
    // Frame type: btn_jixing_<row>_<column>, rows 1..4, columns 1..3 (row 4 has two).
    QScrollArea *scrollArea = nullptr;
    LumPushButton *frameButtons[4][3] = {};

    // Receiver and RC
    QRadioButton *checkBox_PWM = nullptr;
    QRadioButton *checkBox_PPM = nullptr;
    QRadioButton *checkBox_SBUS = nullptr;
    QPushButton *btn_startCorrect = nullptr;
    KivSliderMin *slider_gunZhuan = nullptr;  // roll
    KivSliderMin *slider_fuyang = nullptr;    // pitch
    KivSliderMin *slider_pianhang = nullptr;  // throttle (the name says yaw: kept as it is)
    KivSliderMin *slider_youmen = nullptr;    // yaw (the name says throttle: kept as it is)
    KivSliderLarger *slider_kongzhimoshi = nullptr;
    KivSliderReturn *sliderCH6 = nullptr;
    LumSliderReturn *sliderCH7 = nullptr;
    LumSliderReturn *sliderCH8 = nullptr;
    QPushButton *revButtons[9] = {};          // btn_rev_1 .. btn_rev_8 by their number
    KivChannelBar *barByDisplayIndex[9] = {}; // the bars above by the controller's index 1..8

    // Wheelbase and gains
    QRadioButton *wheelbase[5] = {};          // checkBox_FJZJ250 .. checkBox_FJZJ1500
    KivSliderControl *sliderAttitude = nullptr;
    KivSliderControl *sliderStable = nullptr;
    KivSliderControl *sliderThrottle = nullptr;
    QSpinBox *editAttitude = nullptr;
    QSpinBox *editStable = nullptr;
    QSpinBox *editThrottle = nullptr;

    // Battery
    KivSwitch *switch_dianchi = nullptr;
    QDoubleSpinBox *spinVoltageCalibration = nullptr;
    QPushButton *btn_correct = nullptr;
    QLabel *label_6 = nullptr;                // live pack voltage
    QLabel *label_erjiIcon = nullptr;         // level-1 icon
    QLabel *label_yijiIcon = nullptr;         // level-2 icon
    QLabel *lblProtectFirst = nullptr;
    QComboBox *comProtectFirst = nullptr;
    QLabel *lblProtectSecond = nullptr;
    QDoubleSpinBox *editVoltageFirst = nullptr;
    QDoubleSpinBox *editVoltageSecond = nullptr;

    // Return height and GPS position
    QLabel *lblPixmap = nullptr;
    QDoubleSpinBox *spinReturnHeight = nullptr;
    QPushButton *btnReturnHeight = nullptr;
    QLabel *lblGPSPositionPixmap = nullptr;
    QDoubleSpinBox *spinGPSPositionX = nullptr;
    QDoubleSpinBox *spinGPSPositionY = nullptr;
    QPushButton *btnSendGPSPosition = nullptr;
};
