#pragma once

#include <QMainWindow>
#include <QNetworkAccessManager>
#include <QPoint>

#include <cstdint>

namespace Ui {
class KivMainWindow;
}
class KivSettingWgt;
class KivToolsWgt;
class KivUpdateWgt;
class QLabel;
class LumActaPhytophySin;
class QNetworkReply;
class UpdateHint;

// The program's only top-level window: title bar, navigation with the connection indicator, the
// four pages, and a status bar with two lamps, the language buttons and the version.
class KivMainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit KivMainWindow(QWidget *parent = nullptr);
    ~KivMainWindow() override;

    void setConnectState(bool on);
    void setRedLamp(bool on);
    void setBlueLamp(bool on);
    void applyLanguage(int code);
    void initLanguage(int code);
    void reloadHelpPage();
    void parseSoftwareUpdateReply(const QByteArray &bytes);
    // Asks the software service for the latest version (once at start-up).
    void startSoftwareUpdateCheck();
    // The software-update check and the firmware catalogue, once: after the first paint, so
    // that loading the network and TLS libraries does not hold the window up.
    void startNetworkChecks();
    // The status bar says while the last answer of the maker's services came from a server whose
    // certificate was refused.
    void setServiceCertificateRefused(bool refused);
    bool isServiceCertificateNoticeShown() const;
    // Shows a page without the side effects of its navigation button (pictures, tests).
    void showPage(int index);

    KivSettingWgt *settingsPage() const { return m_settings; }
    KivUpdateWgt *updatePage() const { return m_update; }
    // The tools and spraying pages are built when first needed (opened, or asked for here), so
    // that start-up builds and styles only the page on show.
    KivToolsWgt *toolsPage();
    LumActaPhytophySin *sprayingPage();
    // Null until built. A page built later is shown what it missed by the controller, and wired
    // to the link by whoever listens to its Built signal.
    KivToolsWgt *builtToolsPage() const { return m_tools; }
    LumActaPhytophySin *builtSprayingPage() const { return m_spraying; }
    UpdateHint *updateHint() const { return hint; }
    bool isRedLampOn() const { return m_redLamp; }
    bool isBlueLampOn() const { return m_blueLamp; }

Q_SIGNALS:
    // The window is closing, and the program with it.
    void SignalClosing();
    void signal_request_JX();
    void signal_request_ReceiveType();
    void signal_request_RemoteChannelReverse();
    void signal_request_MotorWheelbase();
    void signal_request_InductionDegrees();
    void signal_request_DC();
    void signal_request_CCR();
    void signal_send_CCR();
    void SignalRequestFirmwareVersion();
    void SignalIMUUpdate();
    void SignalOnlineMonitoring();
    void SignalRequestSpraySpeed();
    void SignalRequestSmallSpraySpeed();
    void SignalRequestSetSprayWidth();
    void SignalRequestSetWorkSpeed();
    void SignalRequestReturnHeight();
    void SignalRequestGPSPosition();
    void SignalHandShaked(bool f);
    void keyPress(int index);
    void toolsPageBuilt(KivToolsWgt *page);
    void sprayingPageBuilt(LumActaPhytophySin *page);

public Q_SLOTS:
    void slot_connectResult(bool f);
    void slot_changeProgress(QString strModule, uint8_t progress);
    void on_btn_minWin_clicked();
    void on_btn_close_clicked();
    void on_btn_settings_clicked(bool checked);
    void on_btn_tools_clicked(bool checked);
    void on_btn_update_clicked(bool checked);
    void SlotClikedActaPhytophySin(bool);
    void on_btn_zh_s_lan_clicked(bool);
    void on_btn_en_lan_clicked(bool);
    void replyFinished(QNetworkReply *reply);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void makeConnections();
    void connectToolsPage();
    void connectSprayingPage();
    void connectHelpTiles(QWidget *root);
    void keepLanguageButtonsLastInTabOrder();
    // Puts a page built later, made as a child of its place in the stack, into that place.
    void placeBuiltPage(QWidget *page, const char *objectName);
    // Builds the page that belongs at a place of the stack, if it is a lazy one not built yet.
    void buildPageAt(int index);
    void onHelpTileEntered(const QString &tileName);
    void switchLanguage(int code);
    void retranslateTexts();
    void retranslateServiceNotice();
    void describeControls();

    Ui::KivMainWindow *ui;
    UpdateHint *hint;
    QPoint dragOffset;
    bool connected = false;
    bool dragging = false;
    KivSettingWgt *m_settings = nullptr;
    KivToolsWgt *m_tools = nullptr;
    KivUpdateWgt *m_update = nullptr;
    LumActaPhytophySin *m_spraying = nullptr;
    QNetworkAccessManager m_network;
    QLabel *m_serviceNotice = nullptr;
    bool m_redLamp = false;
    bool m_blueLamp = false;
    bool m_networkChecksStarted = false;
};

inline KivMainWindow *mainWindow = nullptr;
