// Radio-control sub-page: receiver type, RC calibration, eight channel bars with REV buttons.
#include "ui/KivSettingWgt.h"

#include "app/KivGuiController.h"
#include "app/LinkConnected.h"
#include "ui/settings/SettingsLook.h"
#include "widgets/ClickableButtonAccessible.h"
#include "widgets/KivSliderLarger.h"
#include "widgets/KivSliderMin.h"
#include "widgets/KivSliderReturn.h"
#include "widgets/LumHoverWidget.h"
#include "widgets/LumSliderReturn.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
// One channel row. The reverse bits follow the telemetry byte order; the controller addresses
// the bars by display index, where throttle and yaw are swapped (the yaw bar is 3).
struct ChannelRow
{
    int displayIndex;
    int revNumber; // btn_rev_<n>
    uint8_t bit;
    const char *caption;
};

const ChannelRow kChannelRows[] = {
    {1, 1, 0x01, QT_TRANSLATE_NOOP("KivSettingWgt", "滚转")},
    {2, 3, 0x02, QT_TRANSLATE_NOOP("KivSettingWgt", "俯仰")},
    {4, 4, 0x04, QT_TRANSLATE_NOOP("KivSettingWgt", "油门")},
    {3, 2, 0x08, QT_TRANSLATE_NOOP("KivSettingWgt", "偏航")},
    {5, 5, 0x10, "CH5"},
    {6, 6, 0x20, "CH6"},
    {7, 7, 0x40, "CH7"},
    {8, 8, 0x80, "CH8"},
};

const ChannelRow &rowOfRevButton(int revNumber)
{
    for (const ChannelRow &row : kChannelRows) {
        if (row.revNumber == revNumber)
            return row;
    }
    return kChannelRows[0];
}

QRadioButton *makeRadio(QWidget *parent, const char *objectName, const char *text)
{
    auto *radio = new QRadioButton(QLatin1String(text), parent);
    radio->setObjectName(QLatin1String(objectName));
    makeActivationClick(radio, QAccessible::RadioButton); // the choice is sent by the click
    return radio;
}
} // namespace

void KivSettingWgt::buildRcPage(QWidget *page)
{
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(0, 8, 0, 0);
    column->setSpacing(8);

    // Receiver type: title and radios on one line.
    auto *typeTile = SettingsLook::makeTile(page, "widget_Settings_RC_Type");
    auto *typeRow = new QHBoxLayout(typeTile);
    typeRow->setContentsMargins(12, 8, 12, 8);
    QLabel *typeTitle = SettingsLook::makeTitle(typeTile);
    typeRow->addWidget(typeTitle);
    typeRow->addSpacing(12);
    ui.checkBox_PWM = makeRadio(typeTile, "checkBox_PWM", "PWM");
    ui.checkBox_PPM = makeRadio(typeTile, "checkBox_PPM", "PPM");
    ui.checkBox_SBUS = makeRadio(typeTile, "checkBox_SBUS", "SBUS");
    ui.checkBox_PWM->setChecked(true);
    for (QRadioButton *radio : {ui.checkBox_PWM, ui.checkBox_PPM, ui.checkBox_SBUS})
        typeRow->addWidget(radio);
    typeRow->addStretch();
    column->addWidget(typeTile);

    // Calibration: the four stick rows on two lines, roll beside throttle, pitch beside yaw.
    auto *calibrateTile = SettingsLook::makeTile(page, "widget_Settings_RC_Calibrate");
    auto *calibrate = new QVBoxLayout(calibrateTile);
    calibrate->setContentsMargins(12, 8, 12, 8);
    auto *calibrateHead = new QHBoxLayout;
    QLabel *calibrateTitle = SettingsLook::makeTitle(calibrateTile);
    calibrateHead->addWidget(calibrateTitle);
    calibrateHead->addStretch();
    ui.btn_startCorrect = SettingsLook::makeActionButton(calibrateTile, "btn_startCorrect");
    ui.btn_startCorrect->setCheckable(true);
    ui.btn_startCorrect->setMinimumWidth(96);
    makeActivationClick(ui.btn_startCorrect, QAccessible::CheckBox);
    calibrateHead->addWidget(ui.btn_startCorrect);
    calibrate->addLayout(calibrateHead);
    auto *sticks = new QGridLayout;
    sticks->setHorizontalSpacing(6);
    sticks->setVerticalSpacing(8);
    calibrate->addLayout(sticks);
    column->addWidget(calibrateTile);

    ui.slider_gunZhuan = new KivSliderMin(calibrateTile);
    ui.slider_fuyang = new KivSliderMin(calibrateTile);
    ui.slider_pianhang = new KivSliderMin(calibrateTile);
    ui.slider_youmen = new KivSliderMin(calibrateTile);

    // Mode switches CH5 to CH8.
    auto *modeTile = SettingsLook::makeTile(page, "widget_Settings_RC_Mode");
    auto *mode = new QGridLayout(modeTile);
    mode->setContentsMargins(12, 16, 12, 8);
    mode->setHorizontalSpacing(6);
    mode->setVerticalSpacing(14);
    column->addWidget(modeTile);
    column->addStretch();
    ui.slider_kongzhimoshi = new KivSliderLarger(modeTile);
    ui.sliderCH6 = new KivSliderReturn(modeTile);
    ui.sliderCH7 = new LumSliderReturn(modeTile);
    ui.sliderCH8 = new LumSliderReturn(modeTile);

    KivChannelBar *bars[] = {ui.slider_gunZhuan, ui.slider_fuyang, ui.slider_pianhang, ui.slider_youmen,
                             ui.slider_kongzhimoshi, ui.sliderCH6, ui.sliderCH7, ui.sliderCH8};
    const char *barNames[] = {"slider_gunZhuan", "slider_fuyang", "slider_pianhang", "slider_youmen",
                              "slider_kongzhimoshi", "sliderCH6", "sliderCH7", "sliderCH8"};
    for (int i = 0; i < 8; ++i) {
        const ChannelRow &row = kChannelRows[i];
        KivChannelBar *bar = bars[i];
        QWidget *tile = bar->parentWidget();
        bar->setObjectName(QLatin1String(barNames[i]));
        ui.barByDisplayIndex[row.displayIndex] = bar;

        QLabel *caption = SettingsLook::makeCaption(tile);
        auto *rev = new QPushButton(QStringLiteral("REV"), tile);
        rev->setObjectName(QStringLiteral("btn_rev_%1").arg(row.revNumber));
        rev->setCheckable(true);
        rev->setFixedSize(28, 17);
        rev->setStyleSheet(SettingsLook::revButtonStyle(false));
        makeActivationClick(rev, QAccessible::CheckBox); // the bit flips on the click
        ui.revButtons[row.revNumber] = rev;
        const bool stick = i < 4;
        if (stick) {
            // Two rows a line: caption, bar, REV; then again.
            caption->setMinimumWidth(45);
            bar->setMinimumSize(120, 24);
            const int line = i % 2 == 0 ? 0 : 1;
            const int at = i < 2 ? 0 : 4;
            sticks->addWidget(caption, line, at);
            sticks->addWidget(bar, line, at + 1);
            sticks->addWidget(rev, line, at + 2);
        } else {
            caption->setMinimumWidth(36);
            bar->setMinimumSize(330, 45);
            mode->addWidget(caption, i - 4, 0);
            mode->addWidget(bar, i - 4, 1);
            mode->addWidget(rev, i - 4, 2, Qt::AlignTop);
        }
        const char *text = row.caption;
        addTexts([caption, bar, rev, text] {
            caption->setText(tr(text));
            bar->setAccessibleName(tr(text));
            //: Accessible name of a channel's REV button; %1 is the channel (roll, CH5, ...).
            rev->setAccessibleName(tr("%1 反向").arg(tr(text)));
        });
    }
    sticks->setColumnMinimumWidth(3, 12);
    sticks->setColumnStretch(1, 1);
    sticks->setColumnStretch(5, 1);
    mode->setColumnStretch(1, 1);

    addTexts([=] {
        typeTitle->setText(tr("接收机类型"));
        calibrateTitle->setText(tr("遥控器校准"));
        for (QRadioButton *radio : {ui.checkBox_PWM, ui.checkBox_PPM, ui.checkBox_SBUS})
            //: Accessible name of a receiver radio button; %1 is PWM, PPM or SBUS.
            radio->setAccessibleName(tr("接收机类型 %1").arg(radio->text()));
        ui.btn_startCorrect->setText(ui.btn_startCorrect->isChecked() ? tr("停止校准") : tr("开始校准"));
    });
}

// --- Receiver type -------------------------------------------------------------------------------

void KivSettingWgt::on_checkBox_PWM_clicked(bool checked)
{
    if (checked && guiController)
        guiController->setReceiverType(1);
}

void KivSettingWgt::on_checkBox_PPM_clicked(bool checked)
{
    if (checked && guiController)
        guiController->setReceiverType(2);
}

void KivSettingWgt::on_checkBox_SBUS_clicked(bool checked)
{
    if (checked && guiController)
        guiController->setReceiverType(3);
}

void KivSettingWgt::showReceiverType(int option)
{
    if (deferUntilBuilt("receiver", [this, option] { showReceiverType(option); }))
        return;
    QRadioButton *radios[] = {ui.checkBox_PWM, ui.checkBox_PPM, ui.checkBox_SBUS};
    if (option >= 1 && option <= 3)
        radios[option - 1]->setChecked(true);
}

// --- RC calibration ------------------------------------------------------------------------------

void KivSettingWgt::on_btn_startCorrect_toggled(bool checked)
{
    if (!linkConnected) {
        const QSignalBlocker blocker(ui.btn_startCorrect);
        ui.btn_startCorrect->setChecked(false);
        return;
    }
    if (checked) {
        if (guiController)
            guiController->startRcCalibration();
        setStartCorrect();
    } else {
        if (guiController)
            guiController->stopRcCalibration();
        endStartCorrect();
    }
}

void KivSettingWgt::setStartCorrect()
{
    ui.btn_startCorrect->setText(tr("停止校准"));
}

void KivSettingWgt::endStartCorrect()
{
    if (deferUntilBuilt("endCalibration", [this] { endStartCorrect(); }))
        return;
    // Also run on link loss: the button must be ready to start again, not to stop.
    const QSignalBlocker blocker(ui.btn_startCorrect);
    ui.btn_startCorrect->setChecked(false);
    ui.btn_startCorrect->setText(tr("开始校准"));
}

// --- Channels ------------------------------------------------------------------------------------

void KivSettingWgt::reverseChannel(int revNumber, bool reversed)
{
    ui.revButtons[revNumber]->setStyleSheet(SettingsLook::revButtonStyle(reversed));
    if (guiController)
        guiController->toggleChannelReverse(rowOfRevButton(revNumber).bit);
}

void KivSettingWgt::on_btn_rev_1_toggled(bool checked) { reverseChannel(1, checked); }
void KivSettingWgt::on_btn_rev_2_clicked(bool checked) { reverseChannel(2, checked); }
void KivSettingWgt::on_btn_rev_3_clicked(bool checked) { reverseChannel(3, checked); }
void KivSettingWgt::on_btn_rev_4_clicked(bool checked) { reverseChannel(4, checked); }
void KivSettingWgt::on_btn_rev_5_clicked(bool checked) { reverseChannel(5, checked); }
void KivSettingWgt::on_btn_rev_6_clicked(bool checked) { reverseChannel(6, checked); }
void KivSettingWgt::on_btn_rev_7_clicked(bool checked) { reverseChannel(7, checked); }
void KivSettingWgt::on_btn_rev_8_clicked(bool checked) { reverseChannel(8, checked); }

void KivSettingWgt::showChannelReverse(int mask)
{
    if (deferUntilBuilt("reverse", [this, mask] { showChannelReverse(mask); }))
        return;
    // The checked state follows the aircraft too, so that the next click flips the colour and
    // the bit together.
    for (const ChannelRow &row : kChannelRows) {
        QPushButton *rev = ui.revButtons[row.revNumber];
        const bool reversed = (mask & row.bit) != 0;
        const QSignalBlocker blocker(rev);
        rev->setChecked(reversed);
        rev->setStyleSheet(SettingsLook::revButtonStyle(reversed));
    }
}

void KivSettingWgt::showChannelValue(float value, int index)
{
    if (deferUntilBuilt("channel", [=] { showChannelValue(value, index); }, index))
        return;
    if (index >= 1 && index <= 8)
        ui.barByDisplayIndex[index]->setValue(value);
}
