// IMU data sub-page (tab hidden): angles and accelerations of the built-in and external IMU.
#include "ui/KivToolsWgt.h"

#include "app/AircraftParams.h"
#include "ui/settings/SettingsLook.h"
#include "widgets/LumHoverWidget.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
const char *const kQuantities[5] = {QT_TRANSLATE_NOOP("KivToolsWgt", "滚转角"),
                                    QT_TRANSLATE_NOOP("KivToolsWgt", "俯仰角"),
                                    QT_TRANSLATE_NOOP("KivToolsWgt", "加速度X轴"),
                                    QT_TRANSLATE_NOOP("KivToolsWgt", "加速度Y轴"),
                                    QT_TRANSLATE_NOOP("KivToolsWgt", "加速度Z轴")};
const char *const kValueNames[5]
    = {"RollValue", "PicthValue", "AccelXAxisValue", "AccelYAxisValue", "AccelZAxisValue"};
} // namespace

void KivToolsWgt::buildImuPage(QWidget *page)
{
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(0, 8, 0, 0);
    auto *row = new QHBoxLayout;
    column->addLayout(row);
    column->addStretch();
    QLabel *titles[2];
    QLabel *captions[2][5];
    for (int unit = 0; unit < 2; ++unit) {
        const char *name = unit == 0 ? "widgetMasterIMU" : "widgetSlaveIMU";
        auto *tile = SettingsLook::makeTile(page, name);
        auto *grid = new QGridLayout(tile);
        grid->setContentsMargins(12, 8, 12, 12);
        grid->setVerticalSpacing(10);
        titles[unit] = SettingsLook::makeTitle(tile);
        grid->addWidget(titles[unit], 0, 0, 1, 2);
        for (int i = 0; i < 5; ++i) {
            captions[unit][i] = SettingsLook::makeCaption(tile);
            QLabel *value
                = SettingsLook::makeCaption(tile,
                                            QStringLiteral("lbl%1IMU%2")
                                                .arg(QLatin1String(unit == 0 ? "Master" : "Slave"),
                                                     QLatin1String(kValueNames[i]))
                                                .toLatin1()
                                                .constData());
            value->setMinimumWidth(60);
            value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            value->setText(QStringLiteral("0"));
            grid->addWidget(captions[unit][i], i + 1, 0);
            grid->addWidget(value, i + 1, 1);
            ui.imuValue[unit][i] = value;
        }
        row->addWidget(tile, 1);
    }
    addTexts([=] {
        titles[0]->setText(tr("内置"));
        titles[1]->setText(tr("外置"));
        for (int unit = 0; unit < 2; ++unit) {
            for (int i = 0; i < 5; ++i) {
                captions[unit][i]->setText(tr(kQuantities[i]));
                ui.imuValue[unit][i]->setAccessibleName(titles[unit]->text() + QLatin1Char(' ')
                                                        + tr(kQuantities[i]));
            }
        }
    });
}

void KivToolsWgt::SlotIMUUpdate()
{
    const AircraftParams &p = aircraftParams();
    const auto hundredths = [](int16_t raw) {
        return QString::number(raw / 100.0, 'f', 2);
    };
    ui.imuValue[0][0]->setText(QString::number(int(p.roll.load())));
    ui.imuValue[0][1]->setText(QString::number(int(p.Pitch.load())));
    ui.imuValue[0][2]->setText(hundredths(p.acc_x));
    ui.imuValue[0][3]->setText(hundredths(p.acc_y));
    ui.imuValue[0][4]->setText(hundredths(p.acc_z));
    ui.imuValue[1][0]->setText(hundredths(p.eIMU_roll));
    ui.imuValue[1][1]->setText(hundredths(p.eIMU_pitch));
    ui.imuValue[1][2]->setText(hundredths(p.eIMU_acc_x));
    ui.imuValue[1][3]->setText(hundredths(p.eIMU_acc_y));
    ui.imuValue[1][4]->setText(hundredths(p.eIMU_acc_z));
}
