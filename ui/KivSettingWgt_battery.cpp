// Battery sub-page: protection switch and action, voltage calibration, two protection voltages.
#include "ui/KivSettingWgt.h"

#include "app/AircraftParams.h"
#include "app/KivGuiController.h"
#include "app/LinkConnected.h"
#include "ui/settings/SettingsLook.h"
#include "widgets/KivSwitch.h"
#include "widgets/LumHoverWidget.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

using SettingsLook::Voltage;

namespace {
//: Tool tip of the three voltage boxes of the battery sub-page.
const char kVoltageTip[] = QT_TRANSLATE_NOOP("KivSettingWgt", "请输入0~60之间的值，并按回车键确认。");

QDoubleSpinBox *makeVoltageBox(QWidget *parent, const char *objectName)
{
    auto *box = new QDoubleSpinBox(parent);
    SettingsLook::prepareSpinBox(box, objectName);
    box->setRange(0, 60);
    box->setDecimals(2);
    box->setSingleStep(0.1);
    box->setMinimumWidth(88);
    box->setStyleSheet(SettingsLook::voltageStyle(Voltage::Shown));
    return box;
}

// One protection level: icon and caption, action, voltage.
struct LevelColumn
{
    QLabel *icon;
    QLabel *caption;
    QLabel *actionCaption;
    QLabel *voltageCaption;
    QLabel *unit;
    QGridLayout *grid;
};

LevelColumn makeLevelColumn(QWidget *tile, const char *icon, const char *caption, const char *actionCaption,
                            const char *voltageCaption, const char *unit)
{
    LevelColumn column{SettingsLook::makeCaption(tile, icon), SettingsLook::makeCaption(tile, caption),
                       SettingsLook::makeCaption(tile, actionCaption), SettingsLook::makeCaption(tile, voltageCaption),
                       SettingsLook::makeCaption(tile, unit), new QGridLayout};
    column.icon->setFixedSize(46, 24);
    column.caption->setProperty("tileTitle", true);
    column.unit->setText(QStringLiteral("  V"));
    column.grid->setHorizontalSpacing(6);
    column.grid->setVerticalSpacing(10);
    column.grid->addWidget(column.icon, 0, 0);
    column.grid->addWidget(column.caption, 0, 1, 1, 2);
    column.grid->addWidget(column.actionCaption, 1, 0);
    column.grid->addWidget(column.voltageCaption, 2, 0);
    column.grid->addWidget(column.unit, 2, 2);
    column.grid->setColumnStretch(2, 1);
    return column;
}
} // namespace

void KivSettingWgt::buildBatteryPage(QWidget *page)
{
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(0, 8, 0, 0);
    column->setSpacing(8);

    auto *protectionTile = SettingsLook::makeTile(page, "widget_Settings_Battery_Protection");
    auto *protectionRow = new QHBoxLayout(protectionTile);
    protectionRow->setContentsMargins(12, 6, 12, 6);
    QLabel *label_18 = SettingsLook::makeTitle(protectionTile);
    label_18->setObjectName(QStringLiteral("label_18"));
    ui.switch_dianchi = new KivSwitch(protectionTile);
    ui.switch_dianchi->setObjectName(QStringLiteral("switch_dianchi"));
    ui.switch_dianchi->setEnabled(false); // until the aircraft is connected
    protectionRow->addWidget(label_18);
    protectionRow->addStretch();
    protectionRow->addWidget(ui.switch_dianchi);
    column->addWidget(protectionTile);
    connect(ui.switch_dianchi, &KivSwitch::clicked, this, &KivSettingWgt::slot_switchChange);
    connect(ui.switch_dianchi, &KivSwitch::checkStateChanged, this, &KivSettingWgt::SetProtectText);

    auto *calibrateTile = SettingsLook::makeTile(page, "widget_Settings_Battery_Calibrate");
    auto *calibrate = new QVBoxLayout(calibrateTile);
    calibrate->setContentsMargins(12, 8, 12, 10);
    QLabel *label_20 = SettingsLook::makeTitle(calibrateTile);
    label_20->setObjectName(QStringLiteral("label_20"));
    calibrate->addWidget(label_20);
    auto *calibrateRow = new QHBoxLayout;
    ui.spinVoltageCalibration = makeVoltageBox(calibrateTile, "spinVoltageCalibration");
    ui.spinVoltageCalibration->setSuffix(QStringLiteral(" V"));
    ui.btn_correct = SettingsLook::makeActionButton(calibrateTile, "btn_correct");
    QLabel *liveCaption = SettingsLook::makeCaption(calibrateTile);
    ui.label_6 = SettingsLook::makeCaption(calibrateTile, "label_6");
    ui.label_6->setMinimumWidth(60);
    calibrateRow->addWidget(ui.spinVoltageCalibration);
    calibrateRow->addWidget(ui.btn_correct);
    calibrateRow->addStretch();
    calibrateRow->addWidget(liveCaption);
    calibrateRow->addWidget(ui.label_6);
    calibrate->addLayout(calibrateRow);
    column->addWidget(calibrateTile);

    auto *voltageTile = SettingsLook::makeTile(page, "widget_Settings_Battery_Voltage");
    auto *voltage = new QVBoxLayout(voltageTile);
    voltage->setContentsMargins(12, 8, 12, 10);
    QLabel *label_21 = SettingsLook::makeTitle(voltageTile);
    label_21->setObjectName(QStringLiteral("label_21"));
    voltage->addWidget(label_21);
    auto *levels = new QHBoxLayout;
    levels->setSpacing(16);
    voltage->addLayout(levels);
    column->addWidget(voltageTile);
    column->addStretch();

    const LevelColumn first = makeLevelColumn(voltageTile, "label_erjiIcon", "label_24", "lblProtectStaticFirst",
                                              "label_27", "label_32");
    ui.label_erjiIcon = first.icon;
    ui.lblProtectFirst = SettingsLook::makeCaption(voltageTile, "lblProtectFirst");
    ui.comProtectFirst = new QComboBox(voltageTile);
    ui.comProtectFirst->setObjectName(QStringLiteral("comProtectFirst"));
    ui.comProtectFirst->addItems({QString(), QString()}); // texts set in the current language
    ui.comProtectFirst->setMinimumHeight(30);
    ui.editVoltageFirst = makeVoltageBox(voltageTile, "editVoltageFirst");
    // The combo box takes the label's place while the protection is on.
    first.grid->addWidget(ui.lblProtectFirst, 1, 1, 1, 2);
    first.grid->addWidget(ui.comProtectFirst, 1, 1, 1, 2);
    first.grid->addWidget(ui.editVoltageFirst, 2, 1);
    levels->addLayout(first.grid, 1);
    connect(ui.comProtectFirst, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &KivSettingWgt::SlotIndexChanged, Qt::UniqueConnection);

    const LevelColumn second = makeLevelColumn(voltageTile, "label_yijiIcon", "label_23", "lblProtectStaticSecond",
                                               "label_29", "label_33");
    ui.label_yijiIcon = second.icon;
    ui.lblProtectSecond = SettingsLook::makeCaption(voltageTile, "lblProtectSecond");
    ui.editVoltageSecond = makeVoltageBox(voltageTile, "editVoltageSecond");
    second.grid->addWidget(ui.lblProtectSecond, 1, 1, 1, 2);
    second.grid->addWidget(ui.editVoltageSecond, 2, 1);
    levels->addLayout(second.grid, 1);
    for (QDoubleSpinBox *box : {ui.spinVoltageCalibration, ui.editVoltageFirst, ui.editVoltageSecond})
        box->setProperty(kOwnToolTipProperty, QByteArray(kVoltageTip));

    addTexts([=] {
        label_18->setText(tr("保护开关"));
        ui.switch_dianchi->setAccessibleName(tr("保护开关"));
        label_20->setText(tr("电压校准"));
        ui.spinVoltageCalibration->setAccessibleName(tr("电压校准"));
        ui.btn_correct->setText(tr("校准"));
        liveCaption->setText(tr("当前电压："));
        ui.label_6->setAccessibleName(tr("当前电压"));
        label_21->setText(tr("电压保护"));
        first.caption->setText(tr("一级保护"));
        second.caption->setText(tr("二级保护"));
        for (const LevelColumn *level : {&first, &second}) {
            level->actionCaption->setText(tr("保护措施："));
            level->voltageCaption->setText(tr("保护电压："));
        }
        ui.comProtectFirst->setItemText(0, tr("返航"));
        ui.comProtectFirst->setItemText(1, tr("着陆"));
        ui.comProtectFirst->setAccessibleName(tr("一级保护措施"));
        ui.editVoltageFirst->setAccessibleName(tr("一级保护电压"));
        ui.editVoltageSecond->setAccessibleName(tr("二级保护电压"));
    });
}

// --- Protection switch and action ----------------------------------------------------------------

void KivSettingWgt::slot_switchChange(bool on)
{
    ui.comProtectFirst->setVisible(on);
    ui.lblProtectFirst->setVisible(!on);
    if (on) {
        // Shown as "return home", which the action below sends: one frame, not two.
        const QSignalBlocker blocker(ui.comProtectFirst);
        ui.comProtectFirst->setCurrentIndex(0);
    }
    if (guiController)
        guiController->setProtectAction(on ? 1 : 0);
}

void KivSettingWgt::SetProtectText(bool bFlag)
{
    if (deferUntilBuilt("protectText", [this, bFlag] { SetProtectText(bFlag); }))
        return;
    ui.comProtectFirst->setVisible(bFlag);
    ui.lblProtectFirst->setVisible(!bFlag);
    QString first;
    QString second;
    int comboIndex = -1;
    //: Level-1 and level-2 protection actions: 报警 alarm, 返航 return home, 着陆 land.
    switch (aircraftParams().SP_S) {
    case 0:
        first = second = tr("报警");
        break;
    case 1:
        first = tr("返航");
        second = tr("着陆");
        comboIndex = 0;
        break;
    case 2:
        first = second = tr("着陆");
        comboIndex = 1;
        break;
    default:
        return;
    }
    ui.lblProtectFirst->setText(first);
    ui.lblProtectSecond->setText(second);
    if (comboIndex >= 0) {
        // Showing the aircraft's action must not send it back.
        const QSignalBlocker blocker(ui.comProtectFirst);
        ui.comProtectFirst->setCurrentIndex(comboIndex);
    }
}

void KivSettingWgt::SlotIndexChanged(int index)
{
    if (refreshingTexts || !guiController)
        return;
    if (index == 0)
        guiController->setProtectAction(1);
    else if (index == 1)
        guiController->setProtectAction(2);
}

void KivSettingWgt::setProtectSwitch(bool on)
{
    if (deferUntilBuilt("protectSwitch", [this, on] { setProtectSwitch(on); }))
        return;
    ui.switch_dianchi->setChecked(on);
    SetProtectText(on);
}

// --- Calibration ---------------------------------------------------------------------------------

void KivSettingWgt::on_spinVoltageCalibration_valueChanged(double)
{
    ui.spinVoltageCalibration->setStyleSheet(SettingsLook::voltageStyle(Voltage::Pending));
}

void KivSettingWgt::on_btn_correct_clicked()
{
    if (!linkConnected || !guiController)
        return;
    ui.spinVoltageCalibration->setStyleSheet(SettingsLook::voltageStyle(Voltage::Sent));
    guiController->setCalibrationVoltage(ui.spinVoltageCalibration->value());
}

void KivSettingWgt::showCalibrationVoltage(double volts)
{
    if (deferUntilBuilt("calibration", [this, volts] { showCalibrationVoltage(volts); }))
        return;
    ui.spinVoltageCalibration->setValue(volts);
}

void KivSettingWgt::showPackVoltage()
{
    if (deferUntilBuilt("packVoltage", [this] { showPackVoltage(); }))
        return;
    ui.label_6->setText(QString::number(aircraftParams().bat_volt / 100.0, 'f', 2) + QLatin1Char('V'));
}

void KivSettingWgt::showBatteryIcons()
{
    if (deferUntilBuilt("batteryIcons", [this] { showBatteryIcons(); }))
        return;
    ui.label_erjiIcon->setPixmap(QPixmap(QStringLiteral(":/images/battery_mid.png")));
    ui.label_yijiIcon->setPixmap(QPixmap(QStringLiteral(":/images/battery_low.png")));
    ui.lblProtectFirst->setStyleSheet(QStringLiteral("font: bold 12pt \"微软雅黑\"; color: rgb(247, 148, 29);"));
    ui.lblProtectSecond->setStyleSheet(QStringLiteral("font: bold 12pt \"微软雅黑\"; color: rgb(241, 15, 1);"));
}

// --- Protection voltages -------------------------------------------------------------------------

void KivSettingWgt::on_editVoltageFirst_valueChanged(double)
{
    m_voltagePending[0] = true;
    clearAircraftValue(ui.editVoltageFirst);
    ui.editVoltageFirst->setStyleSheet(SettingsLook::voltageStyle(Voltage::Pending));
}

void KivSettingWgt::on_editVoltageSecond_valueChanged(double)
{
    m_voltagePending[1] = true;
    clearAircraftValue(ui.editVoltageSecond);
    ui.editVoltageSecond->setStyleSheet(SettingsLook::voltageStyle(Voltage::Pending));
}

void KivSettingWgt::on_editVoltageFirst_editingFinished()
{
    protectVoltagesEdited(ui.editVoltageFirst);
}

void KivSettingWgt::on_editVoltageSecond_editingFinished()
{
    protectVoltagesEdited(ui.editVoltageSecond);
}

void KivSettingWgt::protectVoltagesEdited(QDoubleSpinBox *finished)
{
    // Leaving a box without changing it sends nothing; while the link is down the edit stays
    // pending (red).
    if (!m_voltagePending[finished == ui.editVoltageFirst ? 0 : 1] || !linkConnected || !guiController)
        return;
    // The 0.005 makes the stored hundredths the nearest ones: 10.6 V is 1060, not 1059.
    const double level1 = ui.editVoltageFirst->value() + 0.005;
    const double level2 = ui.editVoltageSecond->value() + 0.005;
    const QPointer<KivSettingWgt> self(this);
    const bool valid = validateProtectVoltages(level1, level2);
    if (!self || !valid)
        return;
    // Both values travel together, so both boxes now show sent values.
    m_voltagePending[0] = m_voltagePending[1] = false;
    ui.editVoltageFirst->setStyleSheet(SettingsLook::voltageStyle(Voltage::Confirmed));
    ui.editVoltageSecond->setStyleSheet(SettingsLook::voltageStyle(Voltage::Confirmed));
    guiController->setProtectVoltages(level1, level2);
}

bool KivSettingWgt::validateProtectVoltages(double level1, double level2)
{
    if (level2 < level1)
        return true;
    // The open box takes the focus, which ends the editing again: that check fails silently.
    if (m_voltageWarningOpen)
        return false;
    m_voltageWarningOpen = true;
    const QPointer<KivSettingWgt> self(this);
    QMessageBox box(QMessageBox::Warning, tr("警告"), tr("电压设置有误，一级要高于二级!"), QMessageBox::Ok);
    box.exec();
    if (self)
        m_voltageWarningOpen = false;
    return false;
}

void KivSettingWgt::showProtectVoltages(double level1, double level2)
{
    if (deferUntilBuilt("protectVoltages", [=] { showProtectVoltages(level1, level2); }))
        return;
    m_voltagePending[0] = m_voltagePending[1] = false;
    const bool firstFits = showAircraftValue(ui.editVoltageFirst, level1);
    const bool secondFits = showAircraftValue(ui.editVoltageSecond, level2);
    ui.editVoltageFirst->setStyleSheet(SettingsLook::voltageStyle(firstFits ? Voltage::Shown : Voltage::Pending));
    ui.editVoltageSecond->setStyleSheet(SettingsLook::voltageStyle(secondFits ? Voltage::Shown : Voltage::Pending));
}
