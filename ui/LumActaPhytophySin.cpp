#include "ui/LumActaPhytophySin.h"

#include "app/AircraftParams.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QStackedWidget>

LumActaPhytophySin::LumActaPhytophySin(QWidget *parent)
    : PageShell(parent)
    , m_probeHeight(QStringLiteral("N/A"))
{
    addTabs({
        {"btnSpraySpeed", "pageSpraySpeed", QT_TRANSLATE_NOOP("LumActaPhytophySin", "喷洒速度"), ""},
        {"btnSprayWidth", "pageSprayWidth", QT_TRANSLATE_NOOP("LumActaPhytophySin", "喷幅"), ""},
        {"btnWorkSpeed", "pageWorkSpeed", QT_TRANSLATE_NOOP("LumActaPhytophySin", "作业速度"), ""},
        {"btnSensor", "pageSensor", QT_TRANSLATE_NOOP("LumActaPhytophySin", "传感器"), ""},
    });
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
    retranslateTabs();
}
