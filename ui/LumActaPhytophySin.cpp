// The spraying page's shell: sub-pages, tabs and their entry actions, help, language, link state
// and the Esc stop. Each sub-page has its own file (LumActaPhytophySin_<topic>.cpp).
#include "ui/LumActaPhytophySin.h"

#include "app/LinkConnected.h"
#include "config/WaitWithEvents.h"
#include "ui/settings/SettingsLook.h"
#include "widgets/KivSwitch.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QShortcut>
#include <QStackedWidget>

LumActaPhytophySin::LumActaPhytophySin(QWidget *parent)
    : PageShell(parent)
{
    addTabs({
        {"btnSprayWidth", "widSprayWidth", QT_TRANSLATE_NOOP("LumActaPhytophySin", "喷幅"), "SprayWidth.html"},
        {"btnWorkSpeed", "widWorkSpeed", QT_TRANSLATE_NOOP("LumActaPhytophySin", "工作速度"), "WorkSpeed.html"},
        {"btnPumpCalibration", "widPumpCalibration", QT_TRANSLATE_NOOP("LumActaPhytophySin", "药泵校准"), "PumpCalibration.html"},
        {"btnSensorSwitch", "page", QT_TRANSLATE_NOOP("LumActaPhytophySin", "传感开关"), "ExternalSwitch.html"},
    });
    QStackedWidget *stack = stackedWidget();
    for (int i = 0; i < stack->count(); ++i)
        stack->widget(i)->setStyleSheet(SettingsLook::subPageStyle());
    buildSprayWidthPage(stack->widget(0));
    buildWorkSpeedPage(stack->widget(1));
    buildPumpPage(stack->widget(2));
    buildSensorPage(stack->widget(3));

    // Tab 0 checked and sub-page 0 shown (PageShell); the group drives the stack.
    connect(tabGroup(), &QButtonGroup::idClicked, stack, &QStackedWidget::setCurrentIndex);

    // Esc stops a pump run at once, wherever the focus is in the window. Enabled only during a
    // run, so that Esc keeps its other uses otherwise.
    m_stopShortcut = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_stopShortcut->setContext(Qt::WindowShortcut);
    m_stopShortcut->setEnabled(false);
    connect(m_stopShortcut, &QShortcut::activated, this, &LumActaPhytophySin::SlotSpraySpeedAllClose);

    retranslate();
    // Every child exists now: the slots named on_<object>_<signal> find their signals.
    QMetaObject::connectSlotsByName(this);
    loadHelpPage(tabHelpFile(0));
}

LumActaPhytophySin::~LumActaPhytophySin()
{
    // However the page goes away, a run it shows is stopped first (the link outlives the window).
    SlotSpraySpeedAllClose();
}

// --- Tabs and their entry ------------------------------------------------------------------------

void LumActaPhytophySin::showCheckedTab()
{
    const int index = qMax(0, tabGroup()->checkedId());
    // A change of sub-page runs the entry through the stack's signal; the same one runs it here.
    if (stackedWidget()->currentIndex() != index)
        stackedWidget()->setCurrentIndex(index);
    else
        on_stackedWidget_currentChanged(index);
}

void LumActaPhytophySin::showSubPage(int index)
{
    if (QAbstractButton *tab = tabGroup()->button(index))
        tab->setChecked(true);
    const QSignalBlocker blocker(stackedWidget());
    stackedWidget()->setCurrentIndex(index);
    loadHelpPage(tabHelpFile(index));
}

void LumActaPhytophySin::on_stackedWidget_currentChanged(int arg1)
{
    if (arg1 < 0 || arg1 > 3)
        return;
    loadHelpPage(tabHelpFile(arg1));
    enterSubPage(arg1);
}

void LumActaPhytophySin::enterSubPage(int index)
{
    const int sequence = ++m_entrySequence;
    switch (index) {
    case 0:
        Q_EMIT SignalRequestSprayWidth();
        SlotSpraySpeedAllClose();
        break;
    case 1:
        Q_EMIT SignalRequestWorkSpeed();
        SlotSpraySpeedAllClose();
        break;
    case 2: {
        const bool wasConnected = linkConnected;
        Q_EMIT SignalRequestSpraySpeed();
        // The wait lets the window close, the link drop or another tab be chosen: the second
        // read is then not sent (it would replace that tab's own pending read).
        if (!waitWithEvents(kPumpReadPacingMs, this))
            return;
        if (m_entrySequence != sequence || (wasConnected && !linkConnected))
            return;
        Q_EMIT SignalRequestSmallSpraySpeed();
        break;
    }
    case 3:
        Q_EMIT SignalSensorSwitch();
        SlotSpraySpeedAllClose();
        break;
    }
}

// --- Link state ----------------------------------------------------------------------------------

void LumActaPhytophySin::SlotHandShaked(bool f)
{
    if (f)
        return;
    // The aircraft stops a run by itself when the link is gone; the page must not go on showing
    // one. Nothing is sent: there is no link to send it on.
    switchRowOff(false);
    switchRowOff(true);
    updatePumpState();
}

// --- Language ------------------------------------------------------------------------------------

void LumActaPhytophySin::addTexts(std::function<void()> apply)
{
    m_texts.push_back(std::move(apply));
}

void LumActaPhytophySin::retranslate()
{
    retranslateTabs();
    for (const auto &apply : m_texts)
        apply();
    if (ui.lblInfraredProbeHeightValue->text().isEmpty())
        setProbeHeightText(QStringLiteral("N/A"));
    updateProbeHeightName();
    // The help of the sub-page on show, now in the new language.
    clearHelpPage();
    if (isVisible())
        showCheckedTab();
    else
        loadHelpPage(tabHelpFile(stackedWidget()->currentIndex()));
}

bool LumActaPhytophySin::eventFilter(QObject *watched, QEvent *event)
{
    return setBoxFilter(watched, event) || pumpBarFilter(watched, event)
           || PageShell::eventFilter(watched, event);
}
