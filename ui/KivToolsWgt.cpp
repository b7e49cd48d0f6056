#include "ui/KivToolsWgt.h"

#include "ui/SubPageRecord.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QStackedWidget>
#include <QTimer>

KivToolsWgt::KivToolsWgt(QWidget *parent)
    : PageShell(parent)
    , m_monitoringTimer(new QTimer(this))
{
    addTabs({
    {"btn_dianjiceshi", "page_dianjiceshi", QT_TRANSLATE_NOOP("KivToolsWgt", "电机"), "Motor.html"},
    {"btn_yingjianzijian", "page_yingjianzijian", QT_TRANSLATE_NOOP("KivToolsWgt", "硬件自检"), "Hardware.html"},
    {"btn_canshu", "page_canshu", QT_TRANSLATE_NOOP("KivToolsWgt", "参数"), "Parameter.html"},
    {"btn_attitude", "pageIMUAttitude", QT_TRANSLATE_NOOP("KivToolsWgt", "IMU数据"), "IMU_Data.html"},
    {"btn_Timer", "page", QT_TRANSLATE_NOOP("KivToolsWgt", "计时器"), "Timer.html"},
    });
    tabGroup()->button(3)->hide();
    tabGroup()->button(4)->hide();
    connect(tabGroup(), &QButtonGroup::idClicked, this, &KivToolsWgt::slot_tabClick);
    stackedWidget()->setCurrentIndex(0);
    connect(m_monitoringTimer, &QTimer::timeout, this, &KivToolsWgt::SignalOnlineMonitoring);
    loadHelpPage(QStringLiteral("Motor.html"));
}

void KivToolsWgt::slot_tabClick(int index)
{
    if (index < 0 || index >= stackedWidget()->count())
        return;
    stackedWidget()->setCurrentIndex(index);
    loadHelpPage(tabHelpFile(index));
    if (index == 4)
        Q_EMIT SignalRequestTimerPage();
    subPageRecord.toolsTab = uint8_t(index + 1);
    subPageRecord.helpIndex = uint8_t(index + 6);
}

void KivToolsWgt::showMotorIdle(int level)
{
    if (level >= 1 && level <= 5)
        m_motorIdle = level;
}

void KivToolsWgt::showSelfCheckResult(int row, bool ok)
{
    if (row >= 1 && row <= 6)
        m_selfCheck[row] = ok;
}

bool KivToolsWgt::isMonitoring() const
{
    return m_monitoringTimer->isActive();
}

void KivToolsWgt::SlotIsToolsPageSeleced(int page)
{
    // Online monitoring runs only while the tools page is on show.
    if (page == 1)
        m_monitoringTimer->start(kMonitoringMs);
    else
        m_monitoringTimer->stop();
}

void KivToolsWgt::SlotIMUUpdate() {}
void KivToolsWgt::SlotHandShaked(bool) {}
void KivToolsWgt::SlotUpdateTimerPage(int) {}

void KivToolsWgt::retranslate()
{
    retranslateTabs();
}
