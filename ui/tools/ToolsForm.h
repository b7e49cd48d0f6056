#pragma once

// The tools page's widgets, named as their objects are (the page's slots are connected by those
// names). The sub-page builders of KivToolsWgt fill it; every widget is owned by its parent.

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

struct ToolsForm
{
    // Motor: checkBox_speed_1 .. checkBox_speed_5 stand for idle levels 0 .. 4.
    QRadioButton *speed[5] = {};
    QPushButton *btn_dianjiTest = nullptr;
    QLabel *lblMotorTestState = nullptr; // running (Esc stops it), stopped, or empty

    // Self-check: checkBox_<row>_1 normal, checkBox_<row>_2 abnormal, rows 1..5.
    QCheckBox *selfCheck[6][3] = {};
    QLabel *selfCheckCaption[6] = {};

    // Parameters
    QPushButton *btn_recover = nullptr;
    QPushButton *btnBlackBoxes = nullptr;
    QPushButton *btnFlightPlots = nullptr; // opens an exported file in the plot window
    QPushButton *btn_impArg = nullptr;
    QPushButton *btn_expArg = nullptr;

    // IMU data: [0] built-in, [1] external; roll, pitch, acceleration X, Y, Z.
    QLabel *imuValue[2][5] = {};

    // Maintenance timer
    QLineEdit *letElectricTime = nullptr;
    QLineEdit *letFlightTime = nullptr;
    QLineEdit *letNextCycle = nullptr;
    QDoubleSpinBox *dsbMaintenanceCycle = nullptr;
    QCheckBox *cbxMaintenanceTips = nullptr;
    QPushButton *btnReset = nullptr;
};
