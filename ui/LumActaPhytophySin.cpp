#include "ui/LumActaPhytophySin.h"

#include "app/AircraftParams.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QStackedWidget>

namespace {
struct Tab
{
    const char *button;
    const char *text;
};
constexpr Tab kTabs[] = {
    {"btnSpraySpeed", QT_TRANSLATE_NOOP("LumActaPhytophySin", "喷洒速度")},
    {"btnSprayWidth", QT_TRANSLATE_NOOP("LumActaPhytophySin", "喷幅")},
    {"btnWorkSpeed", QT_TRANSLATE_NOOP("LumActaPhytophySin", "作业速度")},
    {"btnSensor", QT_TRANSLATE_NOOP("LumActaPhytophySin", "传感器")},
};
} // namespace

LumActaPhytophySin::LumActaPhytophySin(QWidget *parent)
    : PageShell(parent)
    , m_probeHeight(QStringLiteral("N/A"))
{
    for (const Tab &tab : kTabs)
        addTab(QLatin1String(tab.button), tr(tab.text), new QWidget(this));
    connect(tabGroup(), &QButtonGroup::idClicked, stackedWidget(), &QStackedWidget::setCurrentIndex);
}

void LumActaPhytophySin::showCheckedTab()
{
    stackedWidget()->setCurrentIndex(qMax(0, tabGroup()->checkedId()));
}

void LumActaPhytophySin::showProbeHeight(double metres)
{
    // The probe reads only when its switch is on.
    m_probeHeight = aircraftParams().extSwitch2 == 1 ? QString::number(metres, 'f', 2)
                                                      : QStringLiteral("N/A");
}

void LumActaPhytophySin::SlotUpdateSprayWidth() {}
void LumActaPhytophySin::SlotUpdateWorkSpeed() {}
void LumActaPhytophySin::SlotUpdateSprayTest() {}
void LumActaPhytophySin::SlotSpraySpeedAllClose() {}

void LumActaPhytophySin::SlotExternalSwitch(int id)
{
    m_externalSwitch = id;
}

void LumActaPhytophySin::retranslate()
{
    for (int i = 0; i < int(std::size(kTabs)); ++i)
        tabGroup()->button(i)->setText(tr(kTabs[i].text));
}
