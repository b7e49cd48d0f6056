// The settings page's shell: sub-pages, tabs and their reads, help, language and link state.
// Each sub-page has its own file (KivSettingWgt_<topic>.cpp) with its builder and slots.
#include "ui/KivSettingWgt.h"

#include "app/LinkConnected.h"
#include "config/Language.h"
#include "config/WaitWithEvents.h"
#include "ui/AfterFirstPaint.h"
#include "ui/ConnectSlotsByName.h"
#include "ui/SubPageRecord.h"
#include "ui/settings/SettingsLook.h"
#include "widgets/KivSliderReturn.h"
#include "widgets/KivSwitch.h"
#include "widgets/LumSliderReturn.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDoubleSpinBox>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>

#include <algorithm>

const char KivSettingWgt::kOwnToolTipProperty[] = "ownToolTip";
const char KivSettingWgt::kAircraftValueProperty[] = "aircraftValue";

KivSettingWgt::KivSettingWgt(QWidget *parent)
    : PageShell(parent)
{
    addTabs({
    {"btn_jixing", "page_jixing", QT_TRANSLATE_NOOP("KivSettingWgt", "机型"), "Frame.html"},
    {"btn_yaokongqi", "page_ykq", QT_TRANSLATE_NOOP("KivSettingWgt", "遥控器"), "RC.html"},
    {"btn_gandu", "page_gandu", QT_TRANSLATE_NOOP("KivSettingWgt", "感度"), "Gain.html"},
    {"btn_dianchi", "page_dianchi", QT_TRANSLATE_NOOP("KivSettingWgt", "电池"), "Battery.html"},
    {"btnHeightSet", "pageHeightSet", QT_TRANSLATE_NOOP("KivSettingWgt", "返航高度"), "ReturnHeight.html"},
    {"btnGPSPosition", "pageGPSPosition", QT_TRANSLATE_NOOP("KivSettingWgt", "GPS位置"), "GPSPosition.html"},
    });
    QStackedWidget *stack = stackedWidget();
    for (int i = 0; i < stack->count(); ++i)
        stack->widget(i)->setStyleSheet(SettingsLook::subPageStyle());
    buildFramePage(stack->widget(0));

    retranslate();
    tabGroup()->button(5)->hide();
    connect(tabGroup(), &QButtonGroup::idClicked, this, &KivSettingWgt::slot_tabClick);
    // The slots named on_<object>_<signal> of the frame sub-page; the others when theirs exist.
    connectSlotsByNameOnce(this, &m_connectedSlots);

    stack->setCurrentIndex(0);
    loadHelpPage(QStringLiteral("Frame.html"));
    connect(stack, &QStackedWidget::currentChanged, this, [this](int index) {
        ensureSubPagesBuilt(); // however a sub-page comes on show, it exists first
        if (index == kReturnHeightTab)
            SlotReturnHeightLoadPicture();
        else if (index == kGpsPositionTab)
            SlotGPSPositionLoadPicture();
    });
    setMouseTracking(true); // the frame sub-page's help follows the pointer
    // Not before the first paint: the window shows without waiting for five sub-pages nobody
    // sees yet.
    callAfterFirstPaint(this, [this] { ensureSubPagesBuilt(); });
}

// --- Sub-pages built after the first paint ------------------------------------------------------

void KivSettingWgt::ensureSubPagesBuilt()
{
    if (m_subPagesBuilt)
        return;
    m_subPagesBuilt = true;
    QStackedWidget *stack = stackedWidget();
    buildRcPage(stack->widget(1));
    buildGainPage(stack->widget(2));
    buildBatteryPage(stack->widget(3));
    buildReturnHeightPage(stack->widget(4));
    buildGpsPositionPage(stack->widget(5));
    ui.wheelbase[0]->hide(); // 250 mm: no such aircraft
    // The stack switched straight to a sub-page: its widgets show now, not on the next pass of
    // the event loop (widgets made inside a visible one are not shown with it).
    if (QWidget *onShow = stack->currentWidget(); stack->currentIndex() > 0 && onShow->isVisible()) {
        for (QWidget *child : onShow->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (!child->testAttribute(Qt::WA_WState_ExplicitShowHide))
                child->show();
    }
    connectSlotsByNameOnce(this, &m_connectedSlots);
    warnUnconnectedSlots(this, m_connectedSlots);
    retranslate();
    // What was shown meanwhile, after the connections: the boxes react as if it came now.
    const auto waiting = std::move(m_waitingShows);
    m_waitingShows.clear();
    for (const auto &show : waiting)
        show.second();
    Q_EMIT subPagesAdded();
}

void KivSettingWgt::waitForSubPages(const QByteArray &kind, std::function<void()> show)
{
    const auto same = [&kind](const auto &waiting) { return waiting.first == kind; };
    m_waitingShows.erase(std::remove_if(m_waitingShows.begin(), m_waitingShows.end(), same),
                         m_waitingShows.end());
    m_waitingShows.emplace_back(kind, std::move(show));
}

// --- Tabs ----------------------------------------------------------------------------------------

void KivSettingWgt::slot_tabClick(int index)
{
    if (index < 0 || index >= stackedWidget()->count())
        return;
    ensureSubPagesBuilt();
    const bool changed = index != settingsSubPage;
    // Recorded before the reads: their pacing lets events run, and a click on another tab
    // meanwhile must find this one already recorded.
    settingsSubPage = uint8_t(index);
    stackedWidget()->setCurrentIndex(index);
    subPageRecord.settingsTab = uint8_t(index);
    subPageRecord.helpIndex = uint8_t(index);
    if (!changed)
        return;
    loadHelpPage(tabHelpFile(index));
    requestSubPage(index);
}

void KivSettingWgt::showSubPage(int index)
{
    ensureSubPagesBuilt();
    if (QAbstractButton *tab = tabGroup()->button(index))
        tab->setChecked(true);
    stackedWidget()->setCurrentIndex(index);
    loadHelpPage(tabHelpFile(index));
}

void KivSettingWgt::requestSubPage(int index)
{
    const int sequence = ++m_requestSequence;
    // The second read of a tab waits with the event loop running: the window may close, the
    // link drop or another tab be chosen meanwhile, and then the read is not sent.
    const auto paced = [this, sequence](void (KivSettingWgt::*request)()) {
        const bool wasConnected = linkConnected;
        if (waitWithEvents(kRequestPacingMs, this) && m_requestSequence == sequence
            && !(wasConnected && !linkConnected))
            Q_EMIT(this->*request)();
    };
    switch (index) {
    case 0:
        Q_EMIT signal_request_JX();
        break;
    case 1:
        Q_EMIT signal_request_ReceiveType();
        paced(&KivSettingWgt::signal_request_RemoteChannelReverse);
        break;
    case 2:
        Q_EMIT signal_request_MotorWheelbase();
        paced(&KivSettingWgt::signal_request_InductionDegrees);
        break;
    case 3:
        Q_EMIT signal_request_DC();
        break;
    case 4:
        Q_EMIT SignalRequestReturnHeight();
        break;
    case 5:
        Q_EMIT SignalRequestGPSPosition();
        break;
    }
}

void KivSettingWgt::mouseMoveEvent(QMouseEvent *event)
{
    if (stackedWidget()->currentIndex() == 0)
        loadHelpPage(QStringLiteral("Frame.html"));
    PageShell::mouseMoveEvent(event);
}

bool KivSettingWgt::eventFilter(QObject *watched, QEvent *event)
{
    return frameGapFilter(watched, event) || gainFilter(watched, event)
           || PageShell::eventFilter(watched, event);
}

// --- Link state ----------------------------------------------------------------------------------

void KivSettingWgt::SlotHandShaked(bool f)
{
    if (deferUntilBuilt("handshake", [this, f] { SlotHandShaked(f); }))
        return;
    ui.switch_dianchi->setEnabled(f);
}

// --- Language ------------------------------------------------------------------------------------

void KivSettingWgt::addTexts(std::function<void()> apply)
{
    m_texts.push_back(std::move(apply));
}

void KivSettingWgt::retranslate()
{
    // The protection combo box gets new item texts; its index stays, and nothing is sent.
    refreshingTexts = true;
    retranslateTabs();
    for (const auto &apply : m_texts)
        apply();
    if (m_subPagesBuilt) {
        retranslateZoneCaptions();
        SetProtectText(ui.switch_dianchi->isChecked());
    }
    for (QAbstractSpinBox *box : findChildren<QAbstractSpinBox *>())
        updateValueToolTip(box);
    refreshingTexts = false;
}

void KivSettingWgt::retranslateZoneCaptions()
{
    // Drawn in the bars themselves: chosen by the language, not by the translation file.
    if (languageCode == 0) {
        ui.sliderCH6->setZoneCaptions(QStringLiteral("Stand-by"), QStringLiteral("Spray"),
                                      QStringLiteral("Return/RecordPoint"));
        ui.sliderCH7->setZoneCaptions(QStringLiteral("B Point"), QStringLiteral("A Point"));
        ui.sliderCH8->setZoneCaptions(QStringLiteral("Stand-by"), QStringLiteral("ABPointMode"));
    } else {
        ui.sliderCH6->setZoneCaptions(QStringLiteral("待命"), QStringLiteral("喷洒"),
                                      QStringLiteral("返航/记录续喷点"));
        ui.sliderCH7->setZoneCaptions(QStringLiteral("B点"), QStringLiteral("A点"));
        ui.sliderCH8->setZoneCaptions(QStringLiteral("待命"), QStringLiteral("AB点模式"));
    }
}

// --- Values from the aircraft --------------------------------------------------------------------

bool KivSettingWgt::showAircraftValue(QAbstractSpinBox *box, double value)
{
    const QSignalBlocker blocker(box);
    bool fits = true;
    if (auto *spin = qobject_cast<QSpinBox *>(box)) {
        fits = value >= spin->minimum() && value <= spin->maximum();
        spin->setValue(int(value));
    } else if (auto *spin = qobject_cast<QDoubleSpinBox *>(box)) {
        fits = value >= spin->minimum() && value <= spin->maximum();
        spin->setValue(value);
    }
    box->setProperty(kAircraftValueProperty, fits ? QVariant() : QVariant(value));
    updateValueToolTip(box);
    return fits;
}

void KivSettingWgt::updateValueToolTip(QAbstractSpinBox *box)
{
    QStringList lines;
    const QByteArray own = box->property(kOwnToolTipProperty).toByteArray();
    if (!own.isEmpty())
        lines << tr(own.constData());
    const QVariant aircraft = box->property(kAircraftValueProperty);
    if (aircraft.isValid()) {
        double minimum = 0;
        double maximum = 0;
        if (auto *spin = qobject_cast<QSpinBox *>(box)) {
            minimum = spin->minimum();
            maximum = spin->maximum();
        } else if (auto *spin = qobject_cast<QDoubleSpinBox *>(box)) {
            minimum = spin->minimum();
            maximum = spin->maximum();
        }
        //: Tool tip of a box whose value from the aircraft lies outside what the box can show.
        lines << tr("飞机上的值是 %1，超出这里的范围 %2～%3：框中的值还不是飞机上的值。")
                     .arg(aircraft.toDouble())
                     .arg(minimum)
                     .arg(maximum);
    }
    box->setToolTip(lines.join(QLatin1Char('\n')));
}

void KivSettingWgt::clearAircraftValue(QAbstractSpinBox *box)
{
    // The user's own value replaces the aircraft's.
    if (box->property(kAircraftValueProperty).isValid()) {
        box->setProperty(kAircraftValueProperty, QVariant());
        updateValueToolTip(box);
    }
}
