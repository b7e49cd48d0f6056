#pragma once

#include "ui/PageShell.h"
#include "ui/tools/ToolsForm.h"

#include <functional>
#include <vector>

class FlightPlotWindow;
class KivBlackBoxesProgress;
class QShortcut;
class QTimer;

// Tools page: motor idle and test, hardware self-check, parameters and black box, IMU data and
// maintenance timer (the last two tabs hidden). Online monitoring runs only while the page is on
// show. Values from the aircraft are shown without being sent back.
class KivToolsWgt : public PageShell
{
    Q_OBJECT

public:
    static constexpr int kMonitoringMs = 250;
    static constexpr int kTipBlinkMs = 500;
    // Time to the next service, in minutes, below which the timer view blinks.
    static constexpr int kMaintenanceWarningMinutes = 120;
    // The aircraft does not report the end of a motor test: it spins the motors in turn, about
    // 1.5 s each, so eight motors are done well within this.
    static constexpr int kMotorTestMs = 15000;

    explicit KivToolsWgt(QWidget *parent = nullptr);

    // Display operations, called by the controller.
    void showMotorIdle(int level);
    void showSelfCheckResult(int row, bool ok);
    // Shows a sub-page and its help without its side effects (pictures, tests).
    void showSubPage(int index);
    void retranslate();

    int shownMotorIdle() const;
    bool shownSelfCheck(int row) const;
    bool isMonitoring() const;
    bool isTipBlinking() const;
    bool isMotorTestRunning() const;

Q_SIGNALS:
    void send_CCR();
    void SignalOnlineMonitoring();
    void SignalUpdateData();
    void SignalCloseDownloadBlackBoxes();
    void SignalRequestTimerPage();

public Q_SLOTS:
    void slot_tabClick(int index);
    void on_btn_impArg_clicked();
    void on_btn_expArg_clicked();
    void on_btn_dianjiTest_clicked();
    void on_btn_recover_clicked();
    void on_btn_yingjianzijian_clicked();
    void check_Motor();
    void SlotIMUUpdate();
    void SlotCurrentChanged(int page);
    void SlotIsToolsPageSeleced(int page);
    void SignalUpdate();
    void SlotHandShaked(bool f);
    void SlotMaintenanceCompleted();
    void SlotUpdateTimerPage(int index);
    void SlotMaintenanceTips();
    void SlotMaintenanceCycleSet(double value);
    // Esc while a motor test runs: the stop goes out and the page shows the test stopped.
    void SlotStopMotorTest();

    // Black-box download (KivToolsWgt_blackbox.cpp)
public:
    // The folder dialog (empty when cancelled) and the message box of the export; tests put
    // their own in place.
    using FolderChooser = QString (*)(QWidget *parent);
    using NoticeBox = void (*)(const QString &title, const QString &text);
    static FolderChooser chooseBlackBoxesFolder;
    static NoticeBox showBlackBoxesNotice;
    // Asked when the folder already holds complete exports: true to download them again.
    using RewriteQuestion = bool (*)(QWidget *parent);
    static RewriteQuestion askRewriteBlackBoxes;
    KivBlackBoxesProgress *blackBoxesProgress() const { return m_blackBoxesProgress; }
public Q_SLOTS:
    void SlotClickBlackBoxes();
    void SlotBlackBoxesDownloadSuccess();
    // Asks for an exported file and shows its flight plots.
    void SlotOpenFlightPlots();
public:
    // The plot window on the file (one window, reused); nullptr when the file cannot be read.
    FlightPlotWindow *showFlightPlots(const QString &path);
    FlightPlotWindow *flightPlotWindow() const { return m_flightPlots; }
private:
    void closeBlackBoxesProgress();
    KivBlackBoxesProgress *m_blackBoxesProgress = nullptr; // made on first use, a child
    FlightPlotWindow *m_flightPlots = nullptr;             // made on first use, a child

private:
    void buildMotorPage(QWidget *page);
    void buildSelfCheckPage(QWidget *page);
    void buildParameterPage(QWidget *page);
    void buildImuPage(QWidget *page);
    void buildTimerPage(QWidget *page);
    // Registers how a widget gets its texts; retranslate runs every one of them.
    void addTexts(std::function<void()> apply);

    // Motor test state: running (Esc enabled, timer bounding it) or not, and what the label says.
    enum class MotorTestState { Idle, Running, Stopped };
    void setMotorTestState(MotorTestState state);
    void showMotorTestState();

    void setTipAlert(bool alert);
    void showMaintenanceCycle(quint32 minutes);
    void updateCycleToolTip();
    void maintenanceCycleEdited();
    void maintenanceCycleFinished();

    ToolsForm ui;
    std::vector<std::function<void()>> m_texts;
    QTimer *m_monitoringTimer;
    QTimer *m_tipTimer;
    QTimer *m_motorTestTimer;
    QShortcut *m_motorStopShortcut;
    MotorTestState m_motorTestState = MotorTestState::Idle;
    QString m_timerTabStyle; // the tab's normal look; the alert differs in its text colour
    double m_cycleShown = 0; // the cycle last read or sent; any other value is the user's edit
};
