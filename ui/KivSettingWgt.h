#pragma once

#include "ui/PageShell.h"
#include "ui/settings/SettingsForm.h"

#include <QByteArray>
#include <QSet>

#include <functional>
#include <utility>
#include <vector>

class QAbstractSpinBox;
class QDoubleSpinBox;

// Settings page: frame type, receiver and RC, gains, battery, return height, GPS position (that
// tab hidden). User input goes to the controller's setters; the controller shows read replies
// through the display operations. Values from the aircraft never echo back to it: they are
// shown with the boxes' signals blocked, and only the user's own edits are sent.
// Only the frame sub-page is built with the page: the others follow right after the page's first
// paint, or as soon as something needs their widgets. Values shown before then wait for them.
class KivSettingWgt : public PageShell
{
    Q_OBJECT

public:
    // The aircraft answers one command at a time: a tab's second read waits this long.
    static constexpr int kRequestPacingMs = 200;
    static constexpr int kReturnHeightTab = 4;
    static constexpr int kGpsPositionTab = 5;

    explicit KivSettingWgt(QWidget *parent = nullptr);

    // Builds the sub-pages behind the first now, if they are not built yet.
    void ensureSubPagesBuilt();
    bool subPagesBuilt() const { return m_subPagesBuilt; }

    // Display operations, called by the controller with values from the store.
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

    // Shows a sub-page and its help without reading its values (pictures, tests).
    void showSubPage(int index);

    // Re-sets every text, accessible name and language-dependent caption in the current language.
    void retranslate();
    // Level 2 must be below level 1. A failing check warns in one box at a time.
    bool validateProtectVoltages(double level1, double level2);

    // Help of the frame under the pointer; connected to the buttons' SingnalHover().
    void on_btn_jixing_1_1_hover();
    void on_btn_jixing_1_2_hover();
    void on_btn_jixing_1_3_hover();
    void on_btn_jixing_2_1_hover();
    void on_btn_jixing_2_2_hover();
    void on_btn_jixing_2_3_hover();
    void on_btn_jixing_3_1_hover();
    void on_btn_jixing_3_2_hover();
    void on_btn_jixing_3_3_hover();
    void on_btn_jixing_4_1_hover();
    void on_btn_jixing_4_2_hover();

Q_SIGNALS:
    void signal_request_JX();
    void signal_request_ReceiveType();
    void signal_request_RemoteChannelReverse();
    void signal_request_MotorWheelbase();
    void signal_request_InductionDegrees();
    void signal_request_DC();
    void SignalRequestReturnHeight();
    void SignalRequestGPSPosition();
    // The sub-pages behind the first now exist (their widgets are new to the window's Tab order).
    void subPagesAdded();

public Q_SLOTS:
    void slot_tabClick(int index);
    void SlotHandShaked(bool f);

    // Frame type
    void on_btn_jixing_1_1_clicked(bool checked);
    void on_btn_jixing_1_2_clicked(bool checked);
    void on_btn_jixing_1_3_clicked(bool checked);
    void on_btn_jixing_2_1_clicked(bool checked);
    void on_btn_jixing_2_2_clicked(bool checked);
    void on_btn_jixing_2_3_clicked(bool checked);
    void on_btn_jixing_3_1_clicked(bool checked);
    void on_btn_jixing_3_2_clicked(bool checked);
    void on_btn_jixing_3_3_clicked(bool checked);
    void on_btn_jixing_4_1_clicked(bool checked);
    void on_btn_jixing_4_2_clicked(bool checked);

    // Receiver and RC
    void on_checkBox_PWM_clicked(bool checked);
    void on_checkBox_PPM_clicked(bool checked);
    void on_checkBox_SBUS_clicked(bool checked);
    void on_btn_startCorrect_toggled(bool checked);
    void setStartCorrect();
    void endStartCorrect();
    void on_btn_rev_1_toggled(bool checked);
    void on_btn_rev_2_clicked(bool checked);
    void on_btn_rev_3_clicked(bool checked);
    void on_btn_rev_4_clicked(bool checked);
    void on_btn_rev_5_clicked(bool checked);
    void on_btn_rev_6_clicked(bool checked);
    void on_btn_rev_7_clicked(bool checked);
    void on_btn_rev_8_clicked(bool checked);

    // Wheelbase and gains
    void on_checkBox_FJZJ250_clicked(bool checked);
    void on_checkBox_FJZJ500_clicked(bool checked);
    void on_checkBox_FJZJ750_clicked(bool checked);
    void on_checkBox_FJZJ1000_clicked(bool checked);
    void on_checkBox_FJZJ1500_clicked(bool checked);
    void on_editStable_valueChanged(int value);
    void on_editAttitude_valueChanged(int value);
    void on_editThrottle_valueChanged(int value);

    // Battery
    void slot_switchChange(bool on);
    void SetProtectText(bool bFlag);
    void SlotIndexChanged(int index);
    void on_spinVoltageCalibration_valueChanged(double value);
    void on_btn_correct_clicked();
    void on_editVoltageFirst_valueChanged(double value);
    void on_editVoltageSecond_valueChanged(double value);
    void on_editVoltageFirst_editingFinished();
    void on_editVoltageSecond_editingFinished();

    // Return height and GPS position
    void setReturnHeight(int height);
    void setGPSPosition(char GPS_X, char GPS_Y);
    // The pictures of the current language, on the sub-pages that show them.
    void SlotReturnHeightLoadPicture();
    void SlotGPSPositionLoadPicture();
    void on_spinReturnHeight_valueChanged(double value);
    void on_btnReturnHeight_clicked();
    void on_spinGPSPositionX_valueChanged(double value);
    void on_spinGPSPositionY_valueChanged(double value);
    void on_btnSendGPSPosition_clicked();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildFramePage(QWidget *page);
    void buildRcPage(QWidget *page);
    void buildGainPage(QWidget *page);
    void buildBatteryPage(QWidget *page);
    void buildReturnHeightPage(QWidget *page);
    void buildGpsPositionPage(QWidget *page);
    // Registers how a widget gets its texts; retranslate runs every one of them.
    void addTexts(std::function<void()> apply);
    // A display operation for a sub-page not built yet waits: true when it did. Only the latest
    // call of each kind (and index) waits; they run in the order of those calls once the
    // sub-pages exist. Once built nothing is made here: channel bars come ten times a second.
    template<typename Show>
    bool deferUntilBuilt(const char *kind, Show &&show, int index = 0)
    {
        if (m_subPagesBuilt)
            return false;
        waitForSubPages(QByteArray(kind) + QByteArray::number(index), std::forward<Show>(show));
        return true;
    }
    void waitForSubPages(const QByteArray &kind, std::function<void()> show);
    void retranslateZoneCaptions();

    void requestSubPage(int index);
    void frameHover(int row, int column);
    void frameClicked(int row, int column, bool checked);
    bool frameGapFilter(QObject *watched, QEvent *event);
    void reverseChannel(int revNumber, bool reversed);
    void wheelbaseClicked(int millimetres, bool checked);
    void gainEdited(int index, int value);
    bool gainFilter(QObject *watched, QEvent *event);
    void protectVoltagesEdited(QDoubleSpinBox *finished);

    // Shows a value read from the aircraft with the box's signals blocked. A value the box cannot
    // hold is shown at the box's limit and false is returned; the tool tip then names the true
    // value, and the caller gives the box its pending style.
    bool showAircraftValue(QAbstractSpinBox *box, double value);
    void updateValueToolTip(QAbstractSpinBox *box);
    void clearAircraftValue(QAbstractSpinBox *box);
    // Spin-box properties: the untranslated own tool tip (QByteArray), and the aircraft's value
    // while it lies outside the box's range.
    static const char kOwnToolTipProperty[];
    static const char kAircraftValueProperty[];

    SettingsForm ui;
    bool refreshingTexts = false;
    bool m_subPagesBuilt = false;
    std::vector<std::pair<QByteArray, std::function<void()>>> m_waitingShows;
    QSet<int> m_connectedSlots;
    std::vector<std::function<void()>> m_texts;
    int m_requestSequence = 0;
    bool m_voltageWarningOpen = false;
    bool m_voltagePending[2] = {};
};
