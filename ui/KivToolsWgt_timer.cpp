// Maintenance-timer sub-page (tab hidden): power-on and flight time, time to the next service
// (blinking below two hours), the service cycle and the reset after a service.
#include "ui/KivToolsWgt.h"

#include "app/AircraftParams.h"
#include "app/KivGuiController.h"
#include "app/LinkConnected.h"
#include "ui/settings/SettingsLook.h"
#include "widgets/LumHoverWidget.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kCycleMinimum = 100;
constexpr int kCycleMaximum = 6000;
// The aircraft's cycle while it lies outside the box's range.
const char kAircraftCycle[] = "aircraftValue";

QString fieldStyle(bool alert)
{
    return QStringLiteral("QLineEdit{font: 11pt \"微软雅黑\"; color: rgb(%1); border: 1px solid "
                          "rgb(181, 181, 181);"
                          "border-radius: 5px; background: white;}"
                          "QLineEdit:focus{border: 2px solid rgb(34, 192, 99);}")
        .arg(QLatin1String(alert ? "255, 0, 0" : "123, 123, 123"));
}

QString cycleStyle(bool red)
{
    return QStringLiteral("QDoubleSpinBox{font: 11pt \"微软雅黑\"; color: rgb(%1); border: 1px "
                          "solid rgb(181, 181, 181);"
                          "border-radius: 5px; background: white;}"
                          "QDoubleSpinBox:focus{border: 2px solid rgb(34, 192, 99);}")
        .arg(QLatin1String(red ? "255, 0, 0" : "123, 123, 123"));
}

QLineEdit *makeCounter(QWidget *parent, const char *name)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setReadOnly(true);
    field->setFixedSize(70, 30);
    field->setAlignment(Qt::AlignCenter);
    field->setStyleSheet(fieldStyle(false));
    return field;
}
} // namespace

void KivToolsWgt::buildTimerPage(QWidget *page)
{
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(0, 8, 0, 0);
    auto *tile = SettingsLook::makeTile(page, "widgetMaintenance");
    auto *grid = new QGridLayout(tile);
    grid->setContentsMargins(16, 12, 16, 14);
    grid->setVerticalSpacing(12);
    grid->setHorizontalSpacing(10);
    ui.letElectricTime = makeCounter(tile, "letElectricTime");
    ui.letFlightTime = makeCounter(tile, "letFlightTime");
    ui.letNextCycle = makeCounter(tile, "letNextCycle");
    ui.dsbMaintenanceCycle = new QDoubleSpinBox(tile);
    SettingsLook::prepareSpinBox(ui.dsbMaintenanceCycle, "dsbMaintenanceCycle");
    ui.dsbMaintenanceCycle->setDecimals(0);
    ui.dsbMaintenanceCycle->setRange(kCycleMinimum, kCycleMaximum);
    ui.dsbMaintenanceCycle->setValue(1500);
    m_cycleShown = 1500;
    ui.dsbMaintenanceCycle->setSingleStep(0); // typed, never stepped
    ui.dsbMaintenanceCycle->setFixedSize(70, 30);
    ui.dsbMaintenanceCycle->setStyleSheet(cycleStyle(false));
    QWidget *fields[4]
        = {ui.letElectricTime, ui.letFlightTime, ui.letNextCycle, ui.dsbMaintenanceCycle};
    QLabel *captions[4];
    QLabel *units[4];
    for (int i = 0; i < 4; ++i) {
        captions[i] = SettingsLook::makeCaption(tile);
        units[i] = SettingsLook::makeCaption(tile);
        grid->addWidget(captions[i], i, 0);
        grid->addWidget(fields[i], i, 1);
        grid->addWidget(units[i], i, 2);
    }
    ui.cbxMaintenanceTips = new QCheckBox(tile);
    ui.cbxMaintenanceTips->setObjectName(QStringLiteral("cbxMaintenanceTips"));
    ui.cbxMaintenanceTips->setEnabled(false);
    ui.btnReset = SettingsLook::makeActionButton(tile, "btnReset");
    grid->addWidget(ui.cbxMaintenanceTips, 4, 0);
    grid->addWidget(ui.btnReset, 4, 1, 1, 2, Qt::AlignLeft);
    grid->setColumnStretch(3, 1);
    column->addWidget(tile);
    column->addStretch();

    // Values from the aircraft arrive with the box's signals blocked; only the user's own edit,
    // once finished, is sent.
    connect(ui.dsbMaintenanceCycle,
            &QDoubleSpinBox::valueChanged,
            this,
            &KivToolsWgt::maintenanceCycleEdited);
    connect(ui.dsbMaintenanceCycle,
            &QDoubleSpinBox::editingFinished,
            this,
            &KivToolsWgt::maintenanceCycleFinished);
    connect(ui.btnReset, &QPushButton::clicked, this, &KivToolsWgt::SlotMaintenanceCompleted);

    addTexts([=] {
        const QString names[4]
            = {tr("累计通电时间"), tr("累计飞行时间"), tr("距离下次保养时间"), tr("保养周期")};
        for (int i = 0; i < 4; ++i) {
            captions[i]->setText(names[i]);
            units[i]->setText(tr("分钟"));
            //: Screen-reader name of a maintenance field: its caption and unit.
            fields[i]->setAccessibleName(tr("%1（分钟）").arg(names[i]));
        }
        ui.cbxMaintenanceTips->setAccessibleName(tr("保养提示"));
        ui.btnReset->setText(tr("重置"));
        ui.btnReset->setAccessibleName(tr("保养完成，重置计时"));
        updateCycleToolTip();
    });
}

void KivToolsWgt::SlotUpdateTimerPage(int index)
{
    const AircraftParams &p = aircraftParams();
    const int32_t toService = p.maintTimer1; // negative once the service is overdue
    switch (index) {
    case 1:
        ui.letNextCycle->setText(QString::number(toService < 1 ? 0 : toService));
        break;
    case 2:
        ui.letFlightTime->setText(QString::number(p.maintTimer2.load()));
        break;
    case 3:
        ui.letElectricTime->setText(QString::number(p.maintTimer3.load()));
        break;
    case 7:
        showMaintenanceCycle(p.maintCycle);
        break;
    default:
        break;
    }
    if (toService < kMaintenanceWarningMinutes) {
        if (!m_tipTimer->isActive())
            m_tipTimer->start(kTipBlinkMs);
    } else if (m_tipTimer->isActive()) {
        m_tipTimer->stop();
        ui.cbxMaintenanceTips->setChecked(false);
        setTipAlert(false);
    }
}

bool KivToolsWgt::isTipBlinking() const
{
    return m_tipTimer->isActive();
}

void KivToolsWgt::SlotMaintenanceTips()
{
    setTipAlert(!ui.cbxMaintenanceTips->isChecked());
    ui.cbxMaintenanceTips->setChecked(!ui.cbxMaintenanceTips->isChecked());
}

void KivToolsWgt::setTipAlert(bool alert)
{
    ui.letNextCycle->setStyleSheet(fieldStyle(alert));
    QString tabStyle = m_timerTabStyle;
    if (alert)
        tabStyle
            .replace(QLatin1String("color: rgb(123, 123, 123)"),
                     QLatin1String("color: rgb(255, 0, 0)"))
            .replace(QLatin1String("color: rgb(65, 65, 65)"),
                     QLatin1String("color: rgb(255, 0, 0)"));
    tabGroup()->button(4)->setStyleSheet(tabStyle);
}

void KivToolsWgt::showMaintenanceCycle(quint32 minutes)
{
    QDoubleSpinBox *box = ui.dsbMaintenanceCycle;
    const QSignalBlocker blocker(box);
    box->setValue(minutes); // a value outside the range shows at its limit, marked below
    m_cycleShown = box->value();
    const bool fits = minutes >= quint32(kCycleMinimum) && minutes <= quint32(kCycleMaximum);
    box->setProperty(kAircraftCycle, fits ? QVariant() : QVariant(minutes));
    box->setStyleSheet(cycleStyle(!fits));
    updateCycleToolTip();
}

void KivToolsWgt::updateCycleToolTip()
{
    const QVariant aircraft = ui.dsbMaintenanceCycle->property(kAircraftCycle);
    //: Tool tip of the service-cycle box when the aircraft's cycle lies outside 100..6000.
    ui.dsbMaintenanceCycle->setToolTip(
        aircraft.isValid()
            ? tr("飞机上的保养周期是 %1 分钟，超出这里的范围 %2～%3：框中的值还不是飞机上的值。")
                  .arg(aircraft.toUInt())
                  .arg(kCycleMinimum)
                  .arg(kCycleMaximum)
            : tr("请输入100~6000之间的值，并按回车键确认。"));
}

void KivToolsWgt::maintenanceCycleEdited()
{
    // Return re-emits the value even when unchanged: only a different value is the user's.
    if (ui.dsbMaintenanceCycle->value() == m_cycleShown)
        return;
    ui.dsbMaintenanceCycle->setProperty(kAircraftCycle, QVariant()); // the user's value now
    ui.dsbMaintenanceCycle->setStyleSheet(cycleStyle(true));
    updateCycleToolTip();
}

void KivToolsWgt::maintenanceCycleFinished()
{
    // Leaving the box without a change sends nothing; while the link is down the edit stays red.
    if (ui.dsbMaintenanceCycle->value() == m_cycleShown || !linkConnected)
        return;
    m_cycleShown = ui.dsbMaintenanceCycle->value();
    ui.dsbMaintenanceCycle->setStyleSheet(cycleStyle(false));
    SlotMaintenanceCycleSet(ui.dsbMaintenanceCycle->value());
}

void KivToolsWgt::SlotMaintenanceCycleSet(double value)
{
    if (guiController)
        guiController->setMaintenanceCycle(value);
}

void KivToolsWgt::SlotMaintenanceCompleted()
{
    if (guiController)
        guiController->completeMaintenance();
}
