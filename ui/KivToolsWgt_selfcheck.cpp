// Hardware self-check sub-page: five units, normal or abnormal, refreshed from the telemetry.
#include "ui/KivToolsWgt.h"

#include "app/AircraftParams.h"
#include "app/LinkConnected.h"
#include "ui/settings/SettingsLook.h"
#include "widgets/LumHoverWidget.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
struct Unit
{
    const char *caption;
    uint8_t faultBit; // in warning_code; 0 for the GPS, judged by its satellites
};
const Unit kUnits[5] = {
    {QT_TRANSLATE_NOOP("KivToolsWgt", "气压计"), 0x40},
    {QT_TRANSLATE_NOOP("KivToolsWgt", "IMU"), 0x20},
    {QT_TRANSLATE_NOOP("KivToolsWgt", "GPS"), 0},
    {QT_TRANSLATE_NOOP("KivToolsWgt", "磁罗盘"), 0x80},
    {QT_TRANSLATE_NOOP("KivToolsWgt", "接收机"), 0x04},
};
constexpr int kMinSatellites = 5;

// A hidden row: external IMU or backup GPS, always shown normal.
QWidget *makeHiddenRow(
    QWidget *parent, const char *name, const char *normal, const char *abnormal, QLabel **caption)
{
    auto *row = new QWidget(parent);
    row->setObjectName(QLatin1String(name));
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    *caption = SettingsLook::makeCaption(row);
    auto *ok = new QCheckBox(row);
    ok->setObjectName(QLatin1String(normal));
    auto *bad = new QCheckBox(row);
    bad->setObjectName(QLatin1String(abnormal));
    for (QCheckBox *box : {ok, bad}) {
        box->setEnabled(false);
        box->setAutoExclusive(true);
    }
    ok->setChecked(true);
    layout->addWidget(*caption, 1);
    layout->addWidget(ok);
    layout->addWidget(bad);
    row->hide();
    return row;
}
} // namespace

void KivToolsWgt::buildSelfCheckPage(QWidget *page)
{
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(0, 8, 0, 0);
    auto *tile = SettingsLook::makeTile(page, "widget_Tool_HardTest");
    auto *grid = new QGridLayout(tile);
    grid->setContentsMargins(16, 10, 16, 12);
    grid->setHorizontalSpacing(30);
    grid->setVerticalSpacing(12);
    QLabel *normalHead = SettingsLook::makeTitle(tile);
    QLabel *abnormalHead = SettingsLook::makeTitle(tile);
    grid->addWidget(normalHead, 0, 1, Qt::AlignHCenter);
    grid->addWidget(abnormalHead, 0, 2, Qt::AlignHCenter);
    for (int row = 1; row <= 5; ++row) {
        ui.selfCheckCaption[row] = SettingsLook::makeCaption(tile);
        grid->addWidget(ui.selfCheckCaption[row], row, 0);
        // Displays, not inputs: disabled, one of the two checked.
        auto *pair = new QButtonGroup(tile);
        for (int state = 1; state <= 2; ++state) {
            auto *box = new QCheckBox(tile);
            box->setObjectName(QStringLiteral("checkBox_%1_%2").arg(row).arg(state));
            box->setEnabled(false);
            pair->addButton(box);
            grid->addWidget(box, row, state, Qt::AlignHCenter);
            ui.selfCheck[row][state] = box;
        }
        ui.selfCheck[row][1]->setChecked(true);
    }
    QLabel *externalImu = nullptr;
    QLabel *backupGps = nullptr;
    grid->addWidget(
        makeHiddenRow(
            tile, "widget_ExternalIMU", "chkSlaveIMU_normal", "chkSlaveIMU_abnormal", &externalImu),
        6,
        0,
        1,
        3);
    grid->addWidget(
        makeHiddenRow(
            tile, "widget_BakGPS", "chkSlaveGPS_normal", "chkSlaveGPS_abnormal", &backupGps),
        7,
        0,
        1,
        3);
    grid->setColumnStretch(0, 1);
    column->addWidget(tile);
    column->addStretch();

    addTexts([=] {
        normalHead->setText(tr("正常"));
        abnormalHead->setText(tr("异常"));
        externalImu->setText(tr("外置IMU"));
        backupGps->setText(tr("备份GPS"));
        for (int row = 1; row <= 5; ++row) {
            const QString unit = tr(kUnits[row - 1].caption);
            ui.selfCheckCaption[row]->setText(unit);
            //: Screen-reader names of a self-check row's two boxes: the unit, then the state.
            ui.selfCheck[row][1]->setAccessibleName(tr("%1：正常").arg(unit));
            ui.selfCheck[row][2]->setAccessibleName(tr("%1：异常").arg(unit));
        }
    });
}

void KivToolsWgt::showSelfCheckResult(int row, bool ok)
{
    if (row >= 1 && row <= 5)
        ui.selfCheck[row][ok ? 1 : 2]->setChecked(true);
}

bool KivToolsWgt::shownSelfCheck(int row) const
{
    return row >= 1 && row <= 5 && ui.selfCheck[row][1]->isChecked();
}

void KivToolsWgt::on_btn_yingjianzijian_clicked()
{
    // Read once: a status frame arriving meanwhile must not mix two reports.
    const uint8_t warning = aircraftParams().warning_code;
    for (int row = 1; row <= 5; ++row) {
        const Unit &unit = kUnits[row - 1];
        bool ok = !(warning & unit.faultBit);
        // The satellite count is the last one received: after a link loss it says nothing.
        if (!unit.faultBit)
            ok = linkConnected && aircraftParams().gps_num >= kMinSatellites;
        showSelfCheckResult(row, ok);
    }
}
