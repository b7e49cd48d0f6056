#pragma once

#include "ui/PageShell.h"

using schar = signed char; // the switch signal carries signed bytes

// Spraying page: pump runs, spray width, work speed and the external sensor switches.
class LumActaPhytophySin : public PageShell
{
    Q_OBJECT

public:
    explicit LumActaPhytophySin(QWidget *parent = nullptr);

    void showCheckedTab();
    void showProbeHeight(double metres);
    void retranslate();

    QString shownProbeHeight() const { return m_probeHeight; }
    int externalSwitchShown() const { return m_externalSwitch; }

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
    void SlotUpdateSprayWidth();
    void SlotUpdateWorkSpeed();
    void SlotUpdateSprayTest();
    void SlotSpraySpeedAllClose();
    void SlotExternalSwitch(int id);

private:
    QString m_probeHeight;
    int m_externalSwitch = 0;
};
