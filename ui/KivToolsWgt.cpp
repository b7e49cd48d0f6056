// The tools page's shell: sub-pages, tabs, monitoring, language and link state. Each sub-page has
// its own file (KivToolsWgt_<topic>.cpp) with its builder and slots.
#include "ui/KivToolsWgt.h"

#include "ui/SubPageRecord.h"
#include "ui/settings/SettingsLook.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QShortcut>
#include <QStackedWidget>
#include <QTimer>

KivToolsWgt::KivToolsWgt(QWidget *parent)
    : PageShell(parent)
    , m_monitoringTimer(new QTimer(this))
    , m_tipTimer(new QTimer(this))
    , m_motorTestTimer(new QTimer(this))
    , m_motorStopShortcut(new QShortcut(QKeySequence(Qt::Key_Escape), this))
{
    // Esc stops a motor test wherever the focus is in the window; enabled only during a test, so
    // that Esc keeps its other uses otherwise.
    m_motorStopShortcut->setContext(Qt::WindowShortcut);
    m_motorStopShortcut->setEnabled(false);
    connect(m_motorStopShortcut, &QShortcut::activated, this, &KivToolsWgt::SlotStopMotorTest);
    m_motorTestTimer->setSingleShot(true);
    connect(m_motorTestTimer, &QTimer::timeout, this, [this] { setMotorTestState(MotorTestState::Idle); });

    // clang-format off: one tab a line
    addTabs({
    {"btn_dianjiceshi", "page_dianjiceshi", QT_TRANSLATE_NOOP("KivToolsWgt", "电机"), "Motor.html"},
    {"btn_yingjianzijian", "page_yingjianzijian", QT_TRANSLATE_NOOP("KivToolsWgt", "硬件自检"), "Hardware.html"},
    {"btn_canshu", "page_canshu", QT_TRANSLATE_NOOP("KivToolsWgt", "参数"), "Parameter.html"},
    {"btn_attitude", "pageIMUAttitude", QT_TRANSLATE_NOOP("KivToolsWgt", "IMU数据"), "IMU_Data.html"},
    {"btn_Timer", "page", QT_TRANSLATE_NOOP("KivToolsWgt", "计时器"), "Timer.html"},
    });
    // clang-format on
    QStackedWidget *stack = stackedWidget();
    for (int i = 0; i < stack->count(); ++i)
        stack->widget(i)->setStyleSheet(SettingsLook::subPageStyle());
    buildMotorPage(stack->widget(0));
    buildSelfCheckPage(stack->widget(1));
    buildParameterPage(stack->widget(2));
    buildImuPage(stack->widget(3));
    buildTimerPage(stack->widget(4));
    m_timerTabStyle = tabGroup()->button(4)->styleSheet();

    retranslate();
    tabGroup()->button(3)->hide();
    tabGroup()->button(4)->hide();
    connect(tabGroup(), &QButtonGroup::idClicked, this, &KivToolsWgt::slot_tabClick);
    // Every child exists now: the slots named on_<object>_<signal> find their signals.
    QMetaObject::connectSlotsByName(this);
    stack->setCurrentIndex(0);

    connect(m_monitoringTimer, &QTimer::timeout, this, &KivToolsWgt::SignalUpdate);
    connect(m_monitoringTimer, &QTimer::timeout, this, &KivToolsWgt::SignalOnlineMonitoring);
    connect(stack, &QStackedWidget::currentChanged, this, &KivToolsWgt::SlotCurrentChanged);
    connect(m_tipTimer, &QTimer::timeout, this, &KivToolsWgt::SlotMaintenanceTips);
    loadHelpPage(QStringLiteral("Motor.html"));
}

// --- Tabs ----------------------------------------------------------------------------------------

void KivToolsWgt::slot_tabClick(int index)
{
    if (index < 0 || index >= stackedWidget()->count())
        return;
    // A click on the tab on show repeats all of this (the timer view reads its counters again).
    stackedWidget()->setCurrentIndex(index);
    loadHelpPage(tabHelpFile(index));
    if (index == 4)
        Q_EMIT SignalRequestTimerPage();
    subPageRecord.toolsTab = uint8_t(index + 1);
    subPageRecord.helpIndex = uint8_t(index + 6);
}

void KivToolsWgt::showSubPage(int index)
{
    if (QAbstractButton *tab = tabGroup()->button(index))
        tab->setChecked(true);
    stackedWidget()->setCurrentIndex(index);
    loadHelpPage(tabHelpFile(index));
}

// --- Monitoring ----------------------------------------------------------------------------------

bool KivToolsWgt::isMonitoring() const
{
    return m_monitoringTimer->isActive();
}

void KivToolsWgt::SlotIsToolsPageSeleced(int page)
{
    // Online monitoring runs only while the tools page is on show. A motor test does not outlive
    // the page either: another page has its own Esc (the pump runs), and the test is stopped.
    if (page == 1) {
        m_monitoringTimer->start(kMonitoringMs);
    } else {
        m_monitoringTimer->stop();
        SlotStopMotorTest();
    }
}

void KivToolsWgt::SignalUpdate()
{
    on_btn_yingjianzijian_clicked();
}

void KivToolsWgt::SlotCurrentChanged(int)
{
    on_btn_yingjianzijian_clicked();
}

// --- Link state ----------------------------------------------------------------------------------

void KivToolsWgt::SlotHandShaked(bool f)
{
    // The controller marks the self-check rows on a loss, and the self-check treats a down link
    // as a fault on each refresh. A motor test ends on the aircraft's side: nothing can be sent.
    if (!f)
        setMotorTestState(MotorTestState::Idle);
}

// --- Language ------------------------------------------------------------------------------------

void KivToolsWgt::addTexts(std::function<void()> apply)
{
    m_texts.push_back(std::move(apply));
}

void KivToolsWgt::retranslate()
{
    retranslateTabs();
    for (const auto &apply : m_texts)
        apply();
}
