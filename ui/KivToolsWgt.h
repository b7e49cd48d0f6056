#pragma once

#include "ui/PageShell.h"

class QTimer;

// Tools page: motor idle and test, hardware self-check, parameters and black box, IMU data and
// maintenance timer (the last two tabs hidden).
class KivToolsWgt : public PageShell
{
    Q_OBJECT

public:
    static constexpr int kMonitoringMs = 250;

    explicit KivToolsWgt(QWidget *parent = nullptr);

    void showMotorIdle(int level);
    void showSelfCheckResult(int row, bool ok);
    void retranslate();

    int shownMotorIdle() const { return m_motorIdle; }
    bool shownSelfCheck(int row) const { return row >= 1 && row <= 6 && m_selfCheck[row]; }
    bool isMonitoring() const;

Q_SIGNALS:
    void send_CCR();
    void SignalOnlineMonitoring();
    void SignalUpdateData();
    void SignalCloseDownloadBlackBoxes();
    void SignalRequestTimerPage();

public Q_SLOTS:
    void slot_tabClick(int index);
    void SlotIMUUpdate();
    void SlotIsToolsPageSeleced(int page);
    void SlotHandShaked(bool f);
    void SlotBlackBoxesDownloadSuccess();
    void SlotUpdateTimerPage(int index);

private:
    QTimer *m_monitoringTimer;
    int m_motorIdle = 0;
    bool m_selfCheck[7] = {true, true, true, true, true, true, true};
};
