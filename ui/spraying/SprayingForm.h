#pragma once

// The spraying page's widgets, named as their objects are (three slots are connected by those
// names). The sub-page builders of LumActaPhytophySin fill it; every widget is owned by its
// parent widget.

class KivSliderControl;
class KivSwitch;
class QDoubleSpinBox;
class QLabel;
class QPushButton;

struct SprayingForm
{
    // Spray width
    QDoubleSpinBox *spinSetSprayWidth = nullptr;
    QPushButton *btnSetSprayWidth = nullptr;

    // Work speed
    QDoubleSpinBox *spinSetWorkSpeed = nullptr;
    QPushButton *btnSetWorkSpeed = nullptr;

    // The spray-rate helper, opened from the width and the speed tab.
    QPushButton *btnSprayRateWidth = nullptr;
    QPushButton *btnSprayRateSpeed = nullptr;

    // Pump calibration: the normal and the minimum row
    KivSliderControl *sliSpraySpeed = nullptr;
    QDoubleSpinBox *spinSpraySpeed = nullptr;
    KivSwitch *switchSpraySpeed = nullptr;
    KivSliderControl *sliSmallSpraySpeed = nullptr;
    QDoubleSpinBox *spinSmallSpraySpeed = nullptr;
    KivSwitch *switchSmallSpraySpeed = nullptr;

    // Sensor switches
    KivSwitch *switchInfraredSensor = nullptr;   // external switch 2: altitude radar
    QLabel *lblInfraredProbeHeightValue = nullptr;
    KivSwitch *switchLiquidLevelSensor = nullptr; // external switch 1: liquid level
};
