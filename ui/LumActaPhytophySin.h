#pragma once

#include "ui/PageShell.h"
#include "ui/spraying/SprayingForm.h"

#include <functional>
#include <vector>

class QDoubleSpinBox;
class QShortcut;
class SprayRateDialog;

using schar = signed char; // the switch signal carries signed bytes

// Spraying page: spray width, work speed, pump runs (normal and minimum speed, at most one at a
// time) and the external sensor switches with the radar's height. The page writes the spraying
// fields of the store and talks to the link through its own signals; the controller calls the
// update slots when the aircraft answers.
//
// A pump run is a hazard on the field: it lasts only while the page shows it. Every way out ends
// it with the stop command (another tab, another page, the window closing, Esc); a lost link
// switches the rows off on the page (the aircraft stops on its own side, nothing can be sent).
class LumActaPhytophySin : public PageShell
{
    Q_OBJECT

public:
    // The two pump-speed reads of the pump tab are this far apart.
    static constexpr int kPumpReadPacingMs = 300;

    explicit LumActaPhytophySin(QWidget *parent = nullptr);
    ~LumActaPhytophySin() override;

    // Shows the stacked page of the checked tab and runs that sub-page's entry (reads, stopping
    // pump runs). Called by the main window each time it shows this page.
    void showCheckedTab();
    // The radar's measured height in metres; shown only while the radar switch is on.
    void showProbeHeight(double metres);
    // Re-sets every text and accessible name in the current language.
    void retranslate();

    // Shows a sub-page and its help without its entry actions (pictures, tests).
    void showSubPage(int index);
    bool isPumpRunning() const;
    QString shownProbeHeight() const;

Q_SIGNALS:
    void SignalSpraySpeed(int value);
    void SignalSmallSpraySpeed(int value);
    void SignalSpraySpeedEnd();
    void SignalSmallSpraySpeedEnd();
    void SignalSetSprayWidth(int value);
    void SignalSetWorkSpeed(int value);
    void SignalRequestSprayWidth();
    void SignalRequestWorkSpeed();
    void SignalRequestSpraySpeed();
    void SignalRequestSmallSpraySpeed();
    void SignalSensorSwitch();
    void SignalSetExternalSwitch(schar id, schar value);

public Q_SLOTS:
    void SlotSetSpraySpeed(double value);
    void SlotSetSmallSpraySpeed(double value);
    void SlotSpraySpeedEnable(bool f);
    void SlotSmallSpraySpeedEnable(bool f);
    void SlotSetSprayWidth();
    void SlotSetWorkSpeed();
    void SlotUpdateSprayWidth();
    void SlotUpdateWorkSpeed();
    void SlotUpdateSprayTest();
    void SlotSpraySpeedAllClose();
    void SlotExternalSwitch(int id);
    void SlotLiquidLevelSensorSwitch(bool f);
    void SlotInfraredSensorSwitch(bool f);
    // The link's state (relayed by the main window): a lost link switches the pump rows off.
    void SlotHandShaked(bool f);
    // Opens the spray-rate helper with the page's width, speed and pump percentage.
    void SlotShowSprayRateHelper();

    void on_stackedWidget_currentChanged(int arg1);
    void on_spinSetSprayWidth_valueChanged(double arg1);
    void on_spinSetWorkSpeed_valueChanged(double arg1);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildSprayWidthPage(QWidget *page);
    void buildWorkSpeedPage(QWidget *page);
    void buildPumpPage(QWidget *page);
    void buildSensorPage(QWidget *page);
    // Registers how a widget gets its texts; retranslate runs every one of them.
    void addTexts(std::function<void()> apply);

    void enterSubPage(int index);
    // Sends a set box's value ((value + 0.005) x 100) unless the link is down.
    void sendSetValue(QDoubleSpinBox *box, bool sprayWidth);
    bool setBoxFilter(QObject *watched, QEvent *event);
    bool pumpBarFilter(QObject *watched, QEvent *event);
    // Row switched off on the page: switch, bar and box.
    void switchRowOff(bool minimumRow);
    void updatePumpState();
    void updateProbeHeightName();
    void setProbeHeightText(const QString &text);

    SprayingForm ui;
    std::vector<std::function<void()>> m_texts;
    QShortcut *m_stopShortcut = nullptr;
    int m_entrySequence = 0;
    SprayRateDialog *m_sprayRateDialog = nullptr; // made on first use, a child
public:
    SprayRateDialog *sprayRateDialog() const { return m_sprayRateDialog; }
};
