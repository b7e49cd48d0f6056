#pragma once

#include "ui/PageShell.h"

class KivBlackBoxesProgress;
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
    void SlotUpdateTimerPage(int index);

    // Black-box download (KivToolsWgt_blackbox.cpp)
public:
    // The folder dialog (empty when cancelled) and the message box of the export; tests put
    // their own in place.
    using FolderChooser = QString (*)(QWidget *parent);
    using NoticeBox = void (*)(const QString &title, const QString &text);
    static FolderChooser chooseBlackBoxesFolder;
    static NoticeBox showBlackBoxesNotice;
    KivBlackBoxesProgress *blackBoxesProgress() const { return m_blackBoxesProgress; }
public Q_SLOTS:
    void SlotClickBlackBoxes();
    void SlotBlackBoxesDownloadSuccess();
private:
    void closeBlackBoxesProgress();
    KivBlackBoxesProgress *m_blackBoxesProgress = nullptr; // made on first use, a child

private:
    QTimer *m_monitoringTimer;
    int m_motorIdle = 0;
    bool m_selfCheck[7] = {true, true, true, true, true, true, true};
};
