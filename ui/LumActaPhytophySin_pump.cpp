// Pump-calibration sub-page: the normal and the minimum spray speed, each a bar, a box and a
// switch. A row runs the pump while its switch is on; at most one row runs.
#include "ui/LumActaPhytophySin.h"

#include "app/AircraftParams.h"
#include "ui/settings/SettingsLook.h"
#include "ui/spraying/PumpBarAccessible.h"
#include "ui/spraying/SprayingLook.h"
#include "widgets/KivSliderControl.h"
#include "widgets/KivSwitch.h"
#include "widgets/LumHoverWidget.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QShortcut>
#include <QVBoxLayout>

namespace {
constexpr int kPumpMaximum = 110;

KivSliderControl *makePumpBar(QWidget *parent, const char *objectName)
{
    auto *bar = new KivSliderControl(parent);
    bar->setObjectName(QLatin1String(objectName));
    bar->setMinimumSize(180, 35);
    bar->setMinimum(0);
    bar->setMaximum(kPumpMaximum);
    bar->setEnabled(false);
    makePumpBarAccessible(bar);
    return bar;
}

QDoubleSpinBox *makePumpBox(QWidget *parent, const char *objectName)
{
    auto *box = new QDoubleSpinBox(parent);
    SettingsLook::prepareSpinBox(box, objectName);
    box->setDecimals(0);
    box->setRange(0, kPumpMaximum);
    box->setSingleStep(1);
    box->setSuffix(QStringLiteral("%"));
    box->setMinimumWidth(90);
    // A run follows finished edits (typed and confirmed, a step key, the bar), not every
    // keystroke on the way: typing 100 must not run the pump at 1 and 10 first.
    box->setKeyboardTracking(false);
    box->setStyleSheet(SprayingLook::pumpBoxStyle());
    box->setEnabled(false);
    return box;
}
} // namespace

void LumActaPhytophySin::buildPumpPage(QWidget *page)
{
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(0, 8, 0, 0);
    column->setSpacing(12);
    QLabel *picture = SettingsLook::makeCaption(page);
    picture->setFixedHeight(220);
    SprayingLook::showPicture(picture, "pump_calibration");
    column->addWidget(picture);

    LumHoverWidget *tile = SettingsLook::makeTile(page, "widget_Spraying_PumpCalibration");
    auto *inTile = new QVBoxLayout(tile);
    inTile->setContentsMargins(12, 8, 12, 12);
    QLabel *title = SettingsLook::makeTitle(tile);
    QLabel *hint = SettingsLook::makeCaption(tile);
    hint->setWordWrap(true);
    inTile->addWidget(title);
    inTile->addWidget(hint);
    auto *rows = new QGridLayout;
    rows->setHorizontalSpacing(10);
    rows->setVerticalSpacing(6);
    inTile->addLayout(rows);
    column->addWidget(tile);
    column->addStretch();

    QLabel *normalCaption = SettingsLook::makeCaption(tile, "lblSpraySpeed");
    ui.sliSpraySpeed = makePumpBar(tile, "sliSpraySpeed");
    ui.spinSpraySpeed = makePumpBox(tile, "spinSpraySpeed");
    ui.switchSpraySpeed = new KivSwitch(tile);
    ui.switchSpraySpeed->setObjectName(QStringLiteral("switchSpraySpeed"));
    QLabel *minimumCaption = SettingsLook::makeCaption(tile, "lblSmallSpraySpeed");
    ui.sliSmallSpraySpeed = makePumpBar(tile, "sliSmallSpraySpeed");
    ui.spinSmallSpraySpeed = makePumpBox(tile, "spinSmallSpraySpeed");
    ui.switchSmallSpraySpeed = new KivSwitch(tile);
    ui.switchSmallSpraySpeed->setObjectName(QStringLiteral("switchSmallSpraySpeed"));
    // Each row: its caption on a line of its own (long in English), then bar, box and switch.
    rows->addWidget(normalCaption, 0, 0, 1, 3);
    rows->addWidget(ui.sliSpraySpeed, 1, 0);
    rows->addWidget(ui.spinSpraySpeed, 1, 1);
    rows->addWidget(ui.switchSpraySpeed, 1, 2);
    rows->addWidget(minimumCaption, 2, 0, 1, 3);
    rows->addWidget(ui.sliSmallSpraySpeed, 3, 0);
    rows->addWidget(ui.spinSmallSpraySpeed, 3, 1);
    rows->addWidget(ui.switchSmallSpraySpeed, 3, 2);
    rows->setColumnStretch(0, 1);
    rows->setRowMinimumHeight(2, 30);
    // Tab order along each row: bar, box, switch.
    setTabOrder(ui.sliSpraySpeed, ui.spinSpraySpeed);
    setTabOrder(ui.spinSpraySpeed, ui.switchSpraySpeed);
    setTabOrder(ui.switchSpraySpeed, ui.sliSmallSpraySpeed);
    setTabOrder(ui.sliSmallSpraySpeed, ui.spinSmallSpraySpeed);
    setTabOrder(ui.spinSmallSpraySpeed, ui.switchSmallSpraySpeed);

    ui.sliSpraySpeed->installEventFilter(this);
    ui.sliSmallSpraySpeed->installEventFilter(this);
    connect(ui.sliSpraySpeed, &KivSliderControl::SignalValueChange, ui.spinSpraySpeed, &QDoubleSpinBox::setValue);
    connect(ui.sliSmallSpraySpeed, &KivSliderControl::SignalValueChange, ui.spinSmallSpraySpeed,
            &QDoubleSpinBox::setValue);
    connect(ui.spinSpraySpeed, &QDoubleSpinBox::valueChanged, this, &LumActaPhytophySin::SlotSetSpraySpeed);
    connect(ui.spinSmallSpraySpeed, &QDoubleSpinBox::valueChanged, this, &LumActaPhytophySin::SlotSetSmallSpraySpeed);
    connect(ui.switchSpraySpeed, &KivSwitch::clicked, this, &LumActaPhytophySin::SlotSpraySpeedEnable);
    connect(ui.switchSmallSpraySpeed, &KivSwitch::clicked, this, &LumActaPhytophySin::SlotSmallSpraySpeedEnable);
    // Esc stops only during a run, and the switches' tips say so.
    connect(ui.switchSpraySpeed, &KivSwitch::checkStateChanged, this, &LumActaPhytophySin::updatePumpState);
    connect(ui.switchSmallSpraySpeed, &KivSwitch::checkStateChanged, this, &LumActaPhytophySin::updatePumpState);

    addTexts([=] {
        picture->setAccessibleName(tr("药泵校准示意图"));
        title->setText(tr("药泵校准"));
        hint->setText(tr("打开开关后药泵按设定转速运转（会喷出药液）。同一时间只运行一路；按 Esc 立即停止。"));
        normalCaption->setText(tr("工作喷速"));
        minimumCaption->setText(tr("最小喷速"));
        ui.sliSpraySpeed->setAccessibleName(tr("工作喷速"));
        ui.spinSpraySpeed->setAccessibleName(tr("工作喷速"));
        ui.sliSmallSpraySpeed->setAccessibleName(tr("最小喷速"));
        ui.spinSmallSpraySpeed->setAccessibleName(tr("最小喷速"));
        updatePumpState();
    });
}

// --- Values --------------------------------------------------------------------------------------

void LumActaPhytophySin::SlotSetSpraySpeed(double value)
{
    ui.sliSpraySpeed->setValue(float(value), false);
    if (!ui.switchSpraySpeed->isChecked())
        return;
    aircraftParams().pumpSpeed = uint8_t(int(value));
    Q_EMIT SignalSpraySpeed(int(value));
}

void LumActaPhytophySin::SlotSetSmallSpraySpeed(double value)
{
    ui.sliSmallSpraySpeed->setValue(float(value), false);
    if (!ui.switchSmallSpraySpeed->isChecked())
        return;
    aircraftParams().smallPumpSpeed = uint8_t(int(value));
    Q_EMIT SignalSmallSpraySpeed(int(value));
}

void LumActaPhytophySin::SlotUpdateSprayTest()
{
    // Through the boxes' change handlers a row that runs sends the value again.
    ui.spinSmallSpraySpeed->setValue(aircraftParams().smallPumpSpeed);
    ui.spinSpraySpeed->setValue(aircraftParams().pumpSpeed);
}

// --- Runs ----------------------------------------------------------------------------------------

void LumActaPhytophySin::switchRowOff(bool minimumRow)
{
    KivSwitch *rowSwitch = minimumRow ? ui.switchSmallSpraySpeed : ui.switchSpraySpeed;
    if (rowSwitch->isChecked())
        rowSwitch->setChecked(false);
    (minimumRow ? ui.sliSmallSpraySpeed : ui.sliSpraySpeed)->setEnabled(false);
    (minimumRow ? ui.spinSmallSpraySpeed : ui.spinSpraySpeed)->setEnabled(false);
}

void LumActaPhytophySin::SlotSpraySpeedEnable(bool f)
{
    if (ui.switchSmallSpraySpeed->isChecked()) {
        switchRowOff(true);
        Q_EMIT SignalSmallSpraySpeedEnd();
    }
    ui.sliSpraySpeed->setEnabled(f);
    ui.spinSpraySpeed->setEnabled(f);
    if (!f)
        Q_EMIT SignalSpraySpeedEnd();
    updatePumpState();
}

void LumActaPhytophySin::SlotSmallSpraySpeedEnable(bool f)
{
    if (ui.switchSpraySpeed->isChecked()) {
        switchRowOff(false);
        Q_EMIT SignalSpraySpeedEnd();
    }
    ui.sliSmallSpraySpeed->setEnabled(f);
    ui.spinSmallSpraySpeed->setEnabled(f);
    if (!f)
        Q_EMIT SignalSmallSpraySpeedEnd();
    updatePumpState();
}

void LumActaPhytophySin::SlotSpraySpeedAllClose()
{
    if (ui.switchSpraySpeed->isChecked()) {
        ui.switchSpraySpeed->setChecked(false);
        SlotSpraySpeedEnable(false);
    }
    if (ui.switchSmallSpraySpeed->isChecked()) {
        ui.switchSmallSpraySpeed->setChecked(false);
        SlotSmallSpraySpeedEnable(false);
    }
}

bool LumActaPhytophySin::isPumpRunning() const
{
    return ui.switchSpraySpeed->isChecked() || ui.switchSmallSpraySpeed->isChecked();
}

void LumActaPhytophySin::updatePumpState()
{
    if (m_stopShortcut)
        m_stopShortcut->setEnabled(isPumpRunning());
    // The switches are check boxes to assistive technology: checked while the pump runs.
    ui.switchSpraySpeed->setAccessibleName(tr("工作喷速药泵开关"));
    ui.switchSmallSpraySpeed->setAccessibleName(tr("最小喷速药泵开关"));
    const QString running = tr("药泵运行中，按 Esc 停止");
    ui.switchSpraySpeed->setToolTip(ui.switchSpraySpeed->isChecked() ? running : QString());
    ui.switchSmallSpraySpeed->setToolTip(ui.switchSmallSpraySpeed->isChecked() ? running : QString());
}

// --- Keyboard on the bars ------------------------------------------------------------------------

bool LumActaPhytophySin::pumpBarFilter(QObject *watched, QEvent *event)
{
    QDoubleSpinBox *box = watched == ui.sliSpraySpeed        ? ui.spinSpraySpeed
                          : watched == ui.sliSmallSpraySpeed ? ui.spinSmallSpraySpeed
                                                             : nullptr;
    if (!box || event->type() != QEvent::KeyPress)
        return false;
    // The arrow keys move a bar as they step its box: one per press, ten with Page Up/Down.
    int steps = 0;
    switch (static_cast<QKeyEvent *>(event)->key()) {
    case Qt::Key_Right:
    case Qt::Key_Up: steps = 1; break;
    case Qt::Key_Left:
    case Qt::Key_Down: steps = -1; break;
    case Qt::Key_PageUp: steps = 10; break;
    case Qt::Key_PageDown: steps = -10; break;
    case Qt::Key_Home: box->setValue(box->minimum()); return true;
    case Qt::Key_End: box->setValue(box->maximum()); return true;
    default: return false;
    }
    box->stepBy(steps);
    return true;
}
