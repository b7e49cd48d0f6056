// Sensor-switch sub-page: the altitude radar (external switch 2) with its measured height, and the
// liquid-level sensor (external switch 1).
#include "ui/LumActaPhytophySin.h"

#include "app/AircraftParams.h"
#include "ui/settings/SettingsLook.h"
#include "ui/spraying/SprayingLook.h"
#include "widgets/KivSwitch.h"
#include "widgets/LumHoverWidget.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
const QString kNotAvailable = QStringLiteral("N/A");

KivSwitch *makeSwitch(QWidget *parent, const char *objectName)
{
    auto *s = new KivSwitch(parent);
    s->setObjectName(QLatin1String(objectName));
    return s;
}
} // namespace

void LumActaPhytophySin::buildSensorPage(QWidget *page)
{
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(0, 8, 0, 0);
    column->setSpacing(12);
    QLabel *picture = SettingsLook::makeCaption(page);
    picture->setFixedHeight(220);
    SprayingLook::showPicture(picture, "external_switch");
    column->addWidget(picture);

    LumHoverWidget *radarTile = SettingsLook::makeTile(page, "widget_Spraying_Radar");
    auto *radar = new QGridLayout(radarTile);
    radar->setContentsMargins(12, 8, 12, 12);
    radar->setHorizontalSpacing(10);
    radar->setVerticalSpacing(12);
    QLabel *radarCaption = SettingsLook::makeTitle(radarTile);
    ui.switchInfraredSensor = makeSwitch(radarTile, "switchInfraredSensor");
    QLabel *heightCaption = SettingsLook::makeCaption(radarTile, "lblInfraredProbeHeight");
    ui.lblInfraredProbeHeightValue = SettingsLook::makeCaption(radarTile, "lblInfraredProbeHeightValue");
    ui.lblInfraredProbeHeightValue->setMinimumWidth(70);
    ui.lblInfraredProbeHeightValue->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ui.lblInfraredProbeHeightValue->setStyleSheet(SprayingLook::probeHeightStyle(false));
    ui.lblInfraredProbeHeightValue->setText(kNotAvailable);
    QLabel *heightUnit = SettingsLook::makeCaption(radarTile, "lblInfraredProbeHeightUnit");
    auto *heightRow = new QHBoxLayout;
    heightRow->setSpacing(6);
    heightRow->addWidget(heightCaption);
    heightRow->addStretch();
    heightRow->addWidget(ui.lblInfraredProbeHeightValue);
    heightRow->addWidget(heightUnit);
    radar->addWidget(radarCaption, 0, 0);
    radar->addWidget(ui.switchInfraredSensor, 0, 1, Qt::AlignRight);
    radar->addLayout(heightRow, 1, 0, 1, 2);
    column->addWidget(radarTile);

    LumHoverWidget *levelTile = SettingsLook::makeTile(page, "widget_Spraying_LiquidLevel");
    auto *level = new QHBoxLayout(levelTile);
    level->setContentsMargins(12, 8, 12, 8);
    QLabel *levelCaption = SettingsLook::makeTitle(levelTile);
    ui.switchLiquidLevelSensor = makeSwitch(levelTile, "switchLiquidLevelSensor");
    level->addWidget(levelCaption);
    level->addStretch();
    level->addWidget(ui.switchLiquidLevelSensor);
    column->addWidget(levelTile);
    column->addStretch();

    connect(ui.switchLiquidLevelSensor, &KivSwitch::clicked, this, &LumActaPhytophySin::SlotLiquidLevelSensorSwitch);
    connect(ui.switchInfraredSensor, &KivSwitch::clicked, this, &LumActaPhytophySin::SlotInfraredSensorSwitch);

    addTexts([=] {
        picture->setAccessibleName(tr("传感器示意图"));
        radarCaption->setText(tr("辅助定高雷达开关"));
        ui.switchInfraredSensor->setAccessibleName(tr("辅助定高雷达开关"));
        heightCaption->setText(tr("当前探测高度"));
        //: Unit of the radar's measured height (metres).
        heightUnit->setText(tr("米"));
        levelCaption->setText(tr("液位传感器开关"));
        ui.switchLiquidLevelSensor->setAccessibleName(tr("液位传感器开关"));
    });
}

void LumActaPhytophySin::SlotLiquidLevelSensorSwitch(bool f)
{
    aircraftParams().extSwitch1 = f ? 1 : 0;
    Q_EMIT SignalSetExternalSwitch(1, f ? 1 : 0);
}

void LumActaPhytophySin::SlotInfraredSensorSwitch(bool f)
{
    aircraftParams().extSwitch2 = f ? 1 : 0;
    Q_EMIT SignalSetExternalSwitch(2, f ? 1 : 0);
    if (!f)
        setProbeHeightText(kNotAvailable);
}

void LumActaPhytophySin::SlotExternalSwitch(int id)
{
    // Shown without a click: nothing is sent back.
    if (id == 1) {
        ui.switchLiquidLevelSensor->setChecked(aircraftParams().extSwitch1 == 1);
    } else if (id == 2) {
        ui.switchInfraredSensor->setChecked(aircraftParams().extSwitch2 == 1);
        if (aircraftParams().extSwitch2 != 1)
            setProbeHeightText(kNotAvailable);
    }
}

void LumActaPhytophySin::showProbeHeight(double metres)
{
    setProbeHeightText(aircraftParams().extSwitch2 == 1 ? QString::number(metres, 'f', 2) : kNotAvailable);
}

QString LumActaPhytophySin::shownProbeHeight() const
{
    return ui.lblInfraredProbeHeightValue->text();
}

void LumActaPhytophySin::setProbeHeightText(const QString &text)
{
    if (ui.lblInfraredProbeHeightValue->text() == text)
        return;
    const bool wasMeasuring = ui.lblInfraredProbeHeightValue->text() != kNotAvailable;
    ui.lblInfraredProbeHeightValue->setText(text);
    if (wasMeasuring != (text != kNotAvailable)) // a style sheet costs a re-polish: only on a change
        ui.lblInfraredProbeHeightValue->setStyleSheet(SprayingLook::probeHeightStyle(text != kNotAvailable));
    updateProbeHeightName();
}

void LumActaPhytophySin::updateProbeHeightName()
{
    // A screen reader hears caption, value and unit together ("not available" in words).
    const QString value = ui.lblInfraredProbeHeightValue->text();
    const QString name = value == kNotAvailable
                             ? tr("当前探测高度：无数据")
                             //: Accessible name of the radar height; %1 is the height in metres.
                             : tr("当前探测高度：%1 米").arg(value);
    if (ui.lblInfraredProbeHeightValue->accessibleName() != name)
        ui.lblInfraredProbeHeightValue->setAccessibleName(name); // tells assistive technology
}
