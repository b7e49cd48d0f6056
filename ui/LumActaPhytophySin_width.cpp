// Spray-width and work-speed sub-pages: a value box and its "set" button each. Values travel as
// (value + 0.005) x 100, so 3.3 m is 330 and not 329.
#include "ui/LumActaPhytophySin.h"

#include "app/AircraftParams.h"
#include "app/LinkConnected.h"
#include "app/ParamConversions.h"
#include "ui/settings/SettingsLook.h"
#include "ui/spraying/SprayRateDialog.h"
#include "ui/spraying/SprayingLook.h"
#include "widgets/LumHoverWidget.h"

#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QDoubleSpinBox *makeSetBox(QWidget *parent, const char *objectName, double minimum, double maximum)
{
    auto *box = new QDoubleSpinBox(parent);
    SettingsLook::prepareSpinBox(box, objectName);
    box->setDecimals(2);
    box->setRange(minimum, maximum);
    box->setSingleStep(0.1);
    box->setValue(minimum);
    box->setMinimumWidth(260); // 80 px of it is the style's left margin
    box->setMinimumHeight(37);
    box->setStyleSheet(SprayingLook::setBoxStyle(false));
    return box;
}

struct SetPage
{
    QLabel *picture;
    QLabel *title;
    QLabel *hint;
    QLabel *caption;
};

// Picture, a tile with a title, a one-line hint and the box with its button.
SetPage buildSetPage(QWidget *page, const char *tileName, const char *pictureName, QDoubleSpinBox *box,
                     QPushButton *button, QPushButton *helper)
{
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(0, 8, 0, 0);
    column->setSpacing(12);
    SetPage parts{SettingsLook::makeCaption(page), nullptr, nullptr, nullptr};
    parts.picture->setFixedHeight(250);
    SprayingLook::showPicture(parts.picture, pictureName);
    column->addWidget(parts.picture);

    LumHoverWidget *tile = SettingsLook::makeTile(page, tileName);
    auto *inTile = new QVBoxLayout(tile);
    inTile->setContentsMargins(12, 8, 12, 12);
    parts.title = SettingsLook::makeTitle(tile);
    parts.hint = SettingsLook::makeCaption(tile);
    parts.hint->setWordWrap(true);
    inTile->addWidget(parts.title);
    inTile->addWidget(parts.hint);
    auto *row = new QHBoxLayout;
    parts.caption = SettingsLook::makeCaption(tile);
    box->setParent(tile);
    button->setParent(tile);
    row->addWidget(parts.caption);
    row->addWidget(box);
    row->addWidget(button);
    helper->setParent(tile);
    row->addSpacing(12);
    row->addWidget(helper);
    row->addStretch();
    inTile->addLayout(row);
    column->addWidget(tile);
    column->addStretch();
    return parts;
}
} // namespace

void LumActaPhytophySin::buildSprayWidthPage(QWidget *page)
{
    ui.spinSetSprayWidth = makeSetBox(page, "spinSetSprayWidth", 1, 15);
    ui.btnSetSprayWidth = SettingsLook::makeActionButton(page, "btnSetSprayWidth");
    ui.btnSprayRateWidth = SettingsLook::makeActionButton(page, "btnSprayRateWidth");
    connect(ui.btnSprayRateWidth, &QPushButton::clicked, this, &LumActaPhytophySin::SlotShowSprayRateHelper);
    const SetPage parts = buildSetPage(page, "widget_Spraying_SprayWidth", "spray_width", ui.spinSetSprayWidth,
                                       ui.btnSetSprayWidth, ui.btnSprayRateWidth);
    ui.spinSetSprayWidth->installEventFilter(this);
    connect(ui.btnSetSprayWidth, &QPushButton::clicked, this, &LumActaPhytophySin::SlotSetSprayWidth);
    addTexts([this, parts] {
        parts.picture->setAccessibleName(tr("喷幅示意图"));
        parts.title->setText(tr("喷幅"));
        parts.hint->setText(tr("相邻两条航线之间的距离，1～15 米。"));
        parts.caption->setText(tr("喷幅："));
        ui.spinSetSprayWidth->setAccessibleName(tr("喷幅"));
        //: Unit suffix of the spray width (metres), shown after the number.
        ui.spinSetSprayWidth->setSuffix(tr("米"));
        ui.btnSetSprayWidth->setText(tr("设置"));
        ui.btnSetSprayWidth->setAccessibleName(tr("设置喷幅"));
        ui.btnSprayRateWidth->setText(tr("流量计算…"));
        ui.btnSprayRateWidth->setAccessibleName(tr("喷洒流量计算"));
    });
}

void LumActaPhytophySin::buildWorkSpeedPage(QWidget *page)
{
    ui.spinSetWorkSpeed = makeSetBox(page, "spinSetWorkSpeed", 2, 20);
    ui.btnSetWorkSpeed = SettingsLook::makeActionButton(page, "btnSetWorkSpeed");
    ui.btnSprayRateSpeed = SettingsLook::makeActionButton(page, "btnSprayRateSpeed");
    connect(ui.btnSprayRateSpeed, &QPushButton::clicked, this, &LumActaPhytophySin::SlotShowSprayRateHelper);
    const SetPage parts = buildSetPage(page, "widget_Spraying_WorkSpeed", "work_speed", ui.spinSetWorkSpeed,
                                       ui.btnSetWorkSpeed, ui.btnSprayRateSpeed);
    ui.spinSetWorkSpeed->installEventFilter(this);
    connect(ui.btnSetWorkSpeed, &QPushButton::clicked, this, &LumActaPhytophySin::SlotSetWorkSpeed);
    addTexts([this, parts] {
        parts.picture->setAccessibleName(tr("工作速度示意图"));
        parts.title->setText(tr("工作速度"));
        parts.hint->setText(tr("自主作业时沿航线飞行的速度，2～20 米/秒。"));
        parts.caption->setText(tr("工作速度："));
        ui.spinSetWorkSpeed->setAccessibleName(tr("工作速度"));
        //: Unit suffix of the work speed (metres per second), shown after the number.
        ui.spinSetWorkSpeed->setSuffix(tr("米/秒"));
        ui.btnSetWorkSpeed->setText(tr("设置"));
        ui.btnSetWorkSpeed->setAccessibleName(tr("设置工作速度"));
        ui.btnSprayRateSpeed->setText(tr("流量计算…"));
        ui.btnSprayRateSpeed->setAccessibleName(tr("喷洒流量计算"));
    });
}

void LumActaPhytophySin::on_spinSetSprayWidth_valueChanged(double)
{
    ui.spinSetSprayWidth->setStyleSheet(SprayingLook::setBoxStyle(true));
}

void LumActaPhytophySin::on_spinSetWorkSpeed_valueChanged(double)
{
    ui.spinSetWorkSpeed->setStyleSheet(SprayingLook::setBoxStyle(true));
}

void LumActaPhytophySin::SlotSetSprayWidth()
{
    sendSetValue(ui.spinSetSprayWidth, true);
}

void LumActaPhytophySin::SlotSetWorkSpeed()
{
    sendSetValue(ui.spinSetWorkSpeed, false);
}

void LumActaPhytophySin::sendSetValue(QDoubleSpinBox *box, bool sprayWidth)
{
    // A value typed and not yet confirmed is the one the user sees: take it.
    box->interpretText();
    if (!linkConnected) {
        box->setStyleSheet(SprayingLook::setBoxStyle(true));
        return;
    }
    const uint16_t wire = ParamConversions::sprayValueToWire(box->value());
    if (sprayWidth) {
        aircraftParams().sprayWidth = wire;
        Q_EMIT SignalSetSprayWidth(wire);
    } else {
        aircraftParams().workSpeed = wire;
        Q_EMIT SignalSetWorkSpeed(wire);
    }
    box->setStyleSheet(SprayingLook::setBoxStyle(false));
}

void LumActaPhytophySin::SlotUpdateSprayWidth()
{
    // Shown with the box's signals blocked: the aircraft's value is not the user's edit.
    const QSignalBlocker blocker(ui.spinSetSprayWidth);
    ui.spinSetSprayWidth->setValue(aircraftParams().sprayWidth / 100.0);
    ui.spinSetSprayWidth->setStyleSheet(SprayingLook::setBoxStyle(false));
}

void LumActaPhytophySin::SlotUpdateWorkSpeed()
{
    const QSignalBlocker blocker(ui.spinSetWorkSpeed);
    ui.spinSetWorkSpeed->setValue(aircraftParams().workSpeed / 100.0);
    ui.spinSetWorkSpeed->setStyleSheet(SprayingLook::setBoxStyle(false));
}

bool LumActaPhytophySin::setBoxFilter(QObject *watched, QEvent *event)
{
    if (watched != ui.spinSetSprayWidth && watched != ui.spinSetWorkSpeed)
        return false;
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    // Return in the box does what its "set" button does, and goes no further.
    if (watched == ui.spinSetSprayWidth)
        SlotSetSprayWidth();
    else
        SlotSetWorkSpeed();
    return true;
}

void LumActaPhytophySin::SlotShowSprayRateHelper()
{
    // Prefilled with what the page shows; the dialog only computes, it sends nothing.
    if (!m_sprayRateDialog)
        m_sprayRateDialog = new SprayRateDialog(this);
    m_sprayRateDialog->prefill(ui.spinSetSprayWidth->value(), ui.spinSetWorkSpeed->value(),
                               ui.spinSpraySpeed->value());
    m_sprayRateDialog->open();
}
