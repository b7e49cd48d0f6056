#include "ui/KivMainWindow.h"
#include "ui_KivMainWindow.h"

#include "app/KivGuiController.h"
#include "config/Configuration.h"
#include "config/SoftwareUpdateCheck.h"
#include "config/Translation.h"
#include "config/WaitWithEvents.h"
#include "ui/AfterFirstPaint.h"
#include "ui/KivSettingWgt.h"
#include "ui/KivToolsWgt.h"
#include "ui/LumActaPhytophySin.h"
#include "ui/SubPageRecord.h"
#include "ui/UpdateHint.h"
#include "update/KivUpdateWgt.h"
#include "widgets/ClickableButtonAccessible.h"
#include "widgets/LumHoverWidget.h"

#include <QCoreApplication>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QLabel>
#include <QNetworkReply>
#include <QPixmap>
#include <QPointer>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {
// Help file of each help index: settings tabs 0..5, tools tabs 1..5 at 6..10.
const char *const kHelpFiles[] = {"Frame.html",    "RC.html",           "Gain.html",
                                  "Battery.html",  "ReturnHeight.html", "GPSPosition.html",
                                  "Motor.html",    "Hardware.html",     "Parameter.html",
                                  "IMU_Data.html", "Timer.html"};

constexpr int kToolsPageIndex = 1;
constexpr int kSprayingPageIndex = 3;
constexpr int kNetworkChecksLatestMs = 2000;

// The place of a page built later: the stack keeps its four places from the start.
QWidget *newPageSlot(QWidget *parent)
{
    auto *slot = new QWidget(parent);
    auto *layout = new QVBoxLayout(slot);
    layout->setContentsMargins(0, 0, 0, 0);
    return slot;
}

QString connectStyle(const char *image)
{
    return QStringLiteral("QPushButton{font: 10pt;color: rgb(255, 255, 255);border-image: url(:/images/%1.png);}"
                          "QPushButton:hover{border-image: url(:/images/%1_hover.png);}"
                          "QPushButton:pressed{border-image: url(:/images/%1_press.png);}")
        .arg(QLatin1String(image));
}
} // namespace

KivMainWindow::KivMainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::KivMainWindow)
{
    ui->setupUi(this);
    hint = new UpdateHint(this);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_DeleteOnClose);

    ui->lblVersion->setText(QLatin1String(CurrentVersion));
    connected = false;
    setConnectState(false);
    ui->btn_connect->setEnabled(false);

    // Each page is made with the stack as parent, so that it is styled once, in place.
    m_settings = new KivSettingWgt(ui->stackedWidget);
    m_settings->setObjectName(QStringLiteral("wgt_setting"));
    ui->stackedWidget->addWidget(m_settings);
    ui->stackedWidget->addWidget(newPageSlot(ui->stackedWidget)); // tools, built when needed
    m_update = new KivUpdateWgt(ui->stackedWidget);
    m_update->setObjectName(QStringLiteral("wgt_update"));
    ui->stackedWidget->addWidget(m_update);
    ui->stackedWidget->addWidget(newPageSlot(ui->stackedWidget)); // spraying, built when needed
    ui->stackedWidget->setCurrentIndex(0);
    // However a lazy page comes on show (its button, a screen reader, a test), it is built first.
    connect(ui->stackedWidget, &QStackedWidget::currentChanged, this, &KivMainWindow::buildPageAt);
    subPageRecord = SubPageRecord{};

    for (QAbstractButton *page : {static_cast<QAbstractButton *>(ui->btn_settings),
                                  static_cast<QAbstractButton *>(ui->btn_tools),
                                  static_cast<QAbstractButton *>(ui->btn_ActaPhytophySin),
                                  static_cast<QAbstractButton *>(ui->btn_update)})
        makeActivationClick(page);
    // Shown only while a service's certificate is refused.
    m_serviceNotice = new QLabel(ui->widget_statusBar);
    m_serviceNotice->setObjectName(QStringLiteral("lblServiceNotice"));
    m_serviceNotice->setStyleSheet(
        QStringLiteral("font: bold 10pt \"微软雅黑\"; color: rgb(255, 90, 90);"));
    m_serviceNotice->hide();
    ui->horizontalLayout_status->insertWidget(
        ui->horizontalLayout_status->indexOf(ui->horizontalSpacer_status), m_serviceNotice);
    describeControls();
    makeConnections();
    connect(&m_network, &QNetworkAccessManager::finished, this, &KivMainWindow::replyFinished);
#if QT_CONFIG(ssl)
    // Never ignored: the reply then ends with an error and no hint is shown.
    connect(&m_network, &QNetworkAccessManager::sslErrors, this, [this] {
        setServiceCertificateRefused(true);
    });
#endif
    retranslateServiceNotice();
    callAfterFirstPaint(this, [this] { startNetworkChecks(); });
    // A window that is never painted still checks.
    QTimer::singleShot(kNetworkChecksLatestMs, this, &KivMainWindow::startNetworkChecks);
}

KivMainWindow::~KivMainWindow()
{
    if (mainWindow == this)
        mainWindow = nullptr;
    delete ui;
}

void KivMainWindow::makeConnections()
{
    // The frame tab reads the frame type like every other tab reads its settings.
    connect(m_settings, SIGNAL(signal_request_JX()), this, SIGNAL(signal_request_JX()));
    connect(m_settings, SIGNAL(signal_request_ReceiveType()), this, SIGNAL(signal_request_ReceiveType()));
    connect(m_settings, SIGNAL(signal_request_RemoteChannelReverse()), this, SIGNAL(signal_request_RemoteChannelReverse()));
    connect(m_settings, SIGNAL(signal_request_MotorWheelbase()), this, SIGNAL(signal_request_MotorWheelbase()));
    connect(m_settings, SIGNAL(signal_request_InductionDegrees()), this, SIGNAL(signal_request_InductionDegrees()));
    connect(m_settings, SIGNAL(signal_request_DC()), this, SIGNAL(signal_request_DC()));
    connect(this, SIGNAL(SignalHandShaked(bool)), m_settings, SLOT(SlotHandShaked(bool)));
    connect(ui->btn_ActaPhytophySin, SIGNAL(clicked(bool)), this, SLOT(SlotClikedActaPhytophySin(bool)));
    const DownloadMgr *downloads = m_update->downloadManager();
    connect(downloads, &DownloadMgr::certificateRefused, this, [this] {
        setServiceCertificateRefused(true);
    });
    connect(downloads, &DownloadMgr::saveFinished, this, [this](const StructReplyInfo &info) {
        if (info.type == 2) // the catalogue came over a connection we trust
            setServiceCertificateRefused(false);
    });
    connectHelpTiles(this);
    keepLanguageButtonsLastInTabOrder();
    connect(m_settings, &KivSettingWgt::SignalRequestReturnHeight, this, &KivMainWindow::SignalRequestReturnHeight);
    connect(m_settings, &KivSettingWgt::SignalRequestGPSPosition, this, &KivMainWindow::SignalRequestGPSPosition);
    connect(m_settings, &KivSettingWgt::subPagesAdded, this, [this] {
        // The frame sub-page's tiles were connected with the window.
        const QStackedWidget *subPages = m_settings->stackedWidget();
        for (int i = 1; i < subPages->count(); ++i)
            connectHelpTiles(subPages->widget(i));
        keepLanguageButtonsLastInTabOrder();
    });
}

void KivMainWindow::connectToolsPage()
{
    connect(m_tools, SIGNAL(send_CCR()), this, SIGNAL(signal_send_CCR()));
    connect(m_tools, SIGNAL(SignalOnlineMonitoring()), this, SIGNAL(SignalOnlineMonitoring()));
    connect(this, SIGNAL(SignalIMUUpdate()), m_tools, SLOT(SlotIMUUpdate()));
    connect(this, SIGNAL(SignalHandShaked(bool)), m_tools, SLOT(SlotHandShaked(bool)));
    connect(ui->stackedWidget, SIGNAL(currentChanged(int)), m_tools, SLOT(SlotIsToolsPageSeleced(int)));
    if (guiController) {
        connect(guiController, SIGNAL(SignalUpdateTimerPage(int)), m_tools, SLOT(SlotUpdateTimerPage(int)));
        guiController->showOnToolsPage(m_tools); // what the aircraft said before the page was there
    }
    connectHelpTiles(m_tools);
    m_tools->SlotIMUUpdate();
    // Built while coming on show: the change that brought it here did not reach it.
    if (ui->stackedWidget->currentIndex() == kToolsPageIndex)
        m_tools->SlotIsToolsPageSeleced(kToolsPageIndex);
}

void KivMainWindow::connectSprayingPage()
{
    connect(this, &KivMainWindow::SignalHandShaked, m_spraying, &LumActaPhytophySin::SlotHandShaked);
    connect(ui->stackedWidget, SIGNAL(currentChanged(int)), m_spraying, SLOT(SlotSpraySpeedAllClose()));
    if (guiController) {
        connect(guiController, SIGNAL(SignalUpdateSprayWidth()), m_spraying, SLOT(SlotUpdateSprayWidth()));
        connect(guiController, SIGNAL(SignalUpdateWorkSpeed()), m_spraying, SLOT(SlotUpdateWorkSpeed()));
        connect(guiController, SIGNAL(SignalUpdateSprayTest()), m_spraying, SLOT(SlotUpdateSprayTest()));
        connect(guiController, SIGNAL(SignalExternalSwitch(int)), m_spraying, SLOT(SlotExternalSwitch(int)));
        guiController->showOnSprayingPage(m_spraying);
    }
    connect(m_spraying, &LumActaPhytophySin::SignalRequestSprayWidth, this, &KivMainWindow::SignalRequestSetSprayWidth);
    connect(m_spraying, &LumActaPhytophySin::SignalRequestWorkSpeed, this, &KivMainWindow::SignalRequestSetWorkSpeed);
    connect(m_spraying, &LumActaPhytophySin::SignalRequestSpraySpeed, this, &KivMainWindow::SignalRequestSpraySpeed);
    connect(m_spraying, &LumActaPhytophySin::SignalRequestSmallSpraySpeed, this, &KivMainWindow::SignalRequestSmallSpraySpeed);
}

void KivMainWindow::connectHelpTiles(QWidget *root)
{
    for (LumHoverWidget *tile : root->findChildren<LumHoverWidget *>()) {
        connect(tile, &LumHoverWidget::SigEnterIn, tile,
                [this](const QString &name) { onHelpTileEntered(name); }, Qt::DirectConnection);
    }
}

KivToolsWgt *KivMainWindow::toolsPage()
{
    if (!m_tools) {
        m_tools = new KivToolsWgt(ui->stackedWidget->widget(kToolsPageIndex));
        placeBuiltPage(m_tools, "wgt_tools");
        connectToolsPage();
        Q_EMIT toolsPageBuilt(m_tools);
    }
    return m_tools;
}

LumActaPhytophySin *KivMainWindow::sprayingPage()
{
    if (!m_spraying) {
        m_spraying = new LumActaPhytophySin(ui->stackedWidget->widget(kSprayingPageIndex));
        placeBuiltPage(m_spraying, "wgt_ActaPhytophySin");
        connectSprayingPage();
        Q_EMIT sprayingPageBuilt(m_spraying);
    }
    return m_spraying;
}

void KivMainWindow::placeBuiltPage(QWidget *page, const char *objectName)
{
    page->setObjectName(QLatin1String(objectName));
    page->parentWidget()->layout()->addWidget(page);
    page->show(); // now, not when the event loop next runs: its place may be on show
    keepLanguageButtonsLastInTabOrder();
}

void KivMainWindow::keepLanguageButtonsLastInTabOrder()
{
    // The pages are made after the status bar, some only when first needed: Tab must still go
    // from the page on show to the language buttons, as the eye does.
    QWidget *last = nullptr;
    for (QWidget *next = nextInFocusChain(); next != this; next = next->nextInFocusChain())
        if (next->focusPolicy() != Qt::NoFocus && !ui->widget_statusBar->isAncestorOf(next))
            last = next;
    if (!last)
        return;
    QWidget::setTabOrder(last, ui->btn_zh_s_lan);
    QWidget::setTabOrder(ui->btn_zh_s_lan, ui->btn_en_lan);
}

void KivMainWindow::buildPageAt(int index)
{
    if (index == kToolsPageIndex)
        toolsPage();
    else if (index == kSprayingPageIndex)
        sprayingPage();
}

// --- Connection display ------------------------------------------------------------------------

void KivMainWindow::setConnectState(bool on)
{
    connected = on;
    ui->btn_connect->setText(QStringLiteral("   ") + (on ? tr("已连接") : tr("未连接")));
    ui->btn_connect->setStyleSheet(connectStyle(on ? "connect" : "no_connect"));
    // A screen reader hears the state the button shows.
    ui->btn_connect->setAccessibleName(on ? tr("已连接") : tr("未连接"));
    ui->btn_connect->setToolTip(tr("飞机连接状态"));
}

namespace {
// The lamps change with every reply (telemetry ten times a second per type): loaded once, since
// loading a picture by name asks the file system for its time stamp every time, and set only
// when the lamp changes.
const QPixmap &lampPixmap(const char *colour)
{
    static QHash<QByteArray, QPixmap> loaded;
    auto it = loaded.find(colour);
    if (it == loaded.end())
        it = loaded.insert(colour, QPixmap(QStringLiteral(":/images/%1.png").arg(QLatin1String(colour))));
    return *it;
}

void showLamp(QLabel *lamp, bool &state, bool on, const char *colour)
{
    if (state == on && !lamp->pixmap().isNull())
        return;
    state = on;
    lamp->setPixmap(lampPixmap(on ? colour : "no_light"));
}
} // namespace

void KivMainWindow::setRedLamp(bool on)
{
    showLamp(ui->lb_redLight, m_redLamp, on, "red_light");
}

void KivMainWindow::setBlueLamp(bool on)
{
    showLamp(ui->lb_blueLight, m_blueLamp, on, "blue_light");
}

void KivMainWindow::slot_connectResult(bool f)
{
    Q_EMIT SignalHandShaked(f);
    if (!f) {
        m_settings->endStartCorrect();
        m_update->resetForLink(false);
    }
}

void KivMainWindow::slot_changeProgress(QString strModule, uint8_t progress)
{
    m_update->setProgress(strModule, progress);
}

// --- Title bar ---------------------------------------------------------------------------------

void KivMainWindow::on_btn_minWin_clicked()
{
    showMinimized();
}

void KivMainWindow::on_btn_close_clicked()
{
    // Pumps must not keep running once nobody can stop them. The stop frames are queued on the
    // port now; the port writes out what is queued before it closes at exit.
    if (m_spraying) // a page never built runs no pump
        m_spraying->SlotSpraySpeedAllClose();
    close();
}

void KivMainWindow::closeEvent(QCloseEvent *event)
{
    // Every way of closing the window (the title bar's button, the window manager, Alt+F4)
    // stops a pump run first.
    if (m_spraying)
        m_spraying->SlotSpraySpeedAllClose();
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        Q_EMIT SignalClosing();
}

// --- Pages and help ----------------------------------------------------------------------------

void KivMainWindow::on_btn_settings_clicked(bool checked)
{
    if (!checked)
        return;
    ui->stackedWidget->setCurrentIndex(0);
    subPageRecord.helpIndex = subPageRecord.settingsTab;
    m_settings->clearHelpPage();
    m_settings->loadHelpPage(QLatin1String(kHelpFiles[qMin<int>(subPageRecord.helpIndex, 5)]));
}

void KivMainWindow::on_btn_tools_clicked(bool checked)
{
    if (!checked)
        return;
    ui->stackedWidget->setCurrentIndex(1);
    subPageRecord.helpIndex = uint8_t(subPageRecord.toolsTab + 5);
    if (subPageRecord.toolsTab >= 1 && subPageRecord.toolsTab <= 5) {
        toolsPage()->clearHelpPage();
        toolsPage()->loadHelpPage(QLatin1String(kHelpFiles[subPageRecord.helpIndex]));
    }
}

void KivMainWindow::on_btn_update_clicked(bool checked)
{
    if (!checked)
        return;
    const QPointer<KivMainWindow> self(this);
    Q_EMIT SignalRequestFirmwareVersion(); // paced: the window may be closed meanwhile
    if (self)
        ui->stackedWidget->setCurrentIndex(2);
}

void KivMainWindow::showPage(int index)
{
    ui->stackedWidget->setCurrentIndex(index);
    const QList<QAbstractButton *> buttons = {ui->btn_settings, ui->btn_tools, ui->btn_update,
                                             ui->btn_ActaPhytophySin};
    if (index >= 0 && index < buttons.size())
        buttons[index]->setChecked(true);
}

void KivMainWindow::SlotClikedActaPhytophySin(bool)
{
    const QPointer<KivMainWindow> self(this);
    ui->stackedWidget->setCurrentIndex(3);
    // The pump sub-page's entry waits between its reads: the window may be closed meanwhile.
    sprayingPage()->showCheckedTab();
    if (!self)
        return;
    // The aircraft answers one command at a time: space the four reads. Closing the window
    // during a wait ends the sequence.
    Q_EMIT SignalRequestSpraySpeed();
    if (!waitWithEvents(500, this))
        return;
    Q_EMIT SignalRequestSmallSpraySpeed();
    if (!waitWithEvents(500, this))
        return;
    Q_EMIT SignalRequestSetSprayWidth();
    if (!waitWithEvents(500, this))
        return;
    Q_EMIT SignalRequestSetWorkSpeed();
}

void KivMainWindow::onHelpTileEntered(const QString &tileName)
{
    QStringList parts = tileName.split(QLatin1Char('_'));
    if (parts.size() < 2)
        return;
    parts.removeFirst();
    const QString file = parts.join(QLatin1Char('_')) + QStringLiteral(".html");
    if (parts.first() == QLatin1String("Settings"))
        m_settings->loadHelpPage(file);
    else if (parts.first() == QLatin1String("Tool"))
        toolsPage()->loadHelpPage(file);
}

void KivMainWindow::reloadHelpPage()
{
    const int index = subPageRecord.helpIndex;
    if (index > 10)
        return;
    PageShell *page = index <= 5 ? static_cast<PageShell *>(m_settings) : toolsPage();
    page->clearHelpPage();
    page->loadHelpPage(QLatin1String(kHelpFiles[index]));
}

// --- Language ----------------------------------------------------------------------------------

void KivMainWindow::applyLanguage(int code)
{
    languageCode = code;
    applyTranslation(code); // a translation that cannot be found leaves the texts in Chinese
}

void KivMainWindow::initLanguage(int code)
{
    if (code == 0)
        ui->btn_en_lan->setChecked(true);
    else if (code == 1)
        ui->btn_zh_s_lan->setChecked(true);
    applyLanguage(code);
    m_settings->SlotReturnHeightLoadPicture();
    m_settings->SlotGPSPositionLoadPicture();
    reloadHelpPage();
    hint->retranslate();
}

void KivMainWindow::switchLanguage(int code)
{
    applyLanguage(code);
    storeLanguage(code);
    m_settings->SlotReturnHeightLoadPicture();
    m_settings->SlotGPSPositionLoadPicture();
    m_update->reloadHelpText();
    reloadHelpPage();
}

void KivMainWindow::on_btn_zh_s_lan_clicked(bool)
{
    switchLanguage(1);
}

void KivMainWindow::on_btn_en_lan_clicked(bool)
{
    switchLanguage(0);
}

void KivMainWindow::changeEvent(QEvent *event)
{
    if (event->type() != QEvent::LanguageChange) {
        QMainWindow::changeEvent(event);
        return;
    }
    setConnectState(connected);
    retranslateTexts();
    if (m_tools) // a page built later is made in the language of its time
        m_tools->retranslate();
    m_settings->retranslate();
    m_update->retranslate();
    if (m_spraying)
        m_spraying->retranslate();
    hint->retranslate();
}

void KivMainWindow::retranslateTexts()
{
    setWindowTitle(tr("R7 Assitant"));
    ui->btn_settings->setText(tr("设置"));
    ui->btn_tools->setText(tr("工具"));
    ui->btn_ActaPhytophySin->setText(tr("植保"));
    ui->btn_update->setText(tr("更新"));
    for (QWidget *silent : {static_cast<QWidget *>(ui->btn_minWin), static_cast<QWidget *>(ui->btn_close)})
        static_cast<QAbstractButton *>(silent)->setText(QString());
    ui->lb_redLight->setText(QString());
    ui->lb_blueLight->setText(QString());
    ui->btn_zh_s_lan->setText(QString());
    ui->btn_en_lan->setText(QString());
    ui->lblStaticVersion->setText(tr("版本："));
    retranslateServiceNotice();
    describeControls();
}

void KivMainWindow::retranslateServiceNotice()
{
    m_serviceNotice->setText(tr("服务器证书不可信，已拒绝连接"));
    m_serviceNotice->setToolTip(
        tr("固件服务器或软件更新服务器的证书没有通过检查：没有下载任何内容。"));
    m_serviceNotice->setAccessibleName(m_serviceNotice->text());
}

// Controls that show no text get a name and a tip, for screen readers and for the mouse.
void KivMainWindow::describeControls()
{
    const auto describe = [](QWidget *w, const QString &name) {
        w->setAccessibleName(name);
        w->setToolTip(name);
    };
    describe(ui->btn_minWin, tr("最小化"));
    describe(ui->btn_close, tr("关闭"));
    describe(ui->btn_zh_s_lan, tr("中文"));
    describe(ui->btn_en_lan, tr("English"));
    describe(ui->lb_redLight, tr("连接指示灯"));
    describe(ui->lb_blueLight, tr("通信指示灯"));
}

// --- Window dragging and keys ------------------------------------------------------------------

void KivMainWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QMainWindow::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    if (QRect(QPoint(0, 0), ui->widget_titleBar->size()).contains(at))
        dragging = true;
    dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void KivMainWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (dragging)
        move(event->globalPosition().toPoint() - dragOffset);
    QMainWindow::mouseMoveEvent(event);
}

void KivMainWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        dragging = false;
    QMainWindow::mouseReleaseEvent(event);
}

void KivMainWindow::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat())
        Q_EMIT keyPress(ui->stackedWidget->currentIndex());
}

// --- Software update check ---------------------------------------------------------------------

void KivMainWindow::startNetworkChecks()
{
    if (m_networkChecksStarted)
        return;
    m_networkChecksStarted = true;
    startSoftwareUpdateCheck();
    m_update->startCatalogueIfOnline();
}

void KivMainWindow::startSoftwareUpdateCheck()
{
    m_network.get(softwareUpdateRequest());
}

void KivMainWindow::replyFinished(QNetworkReply *reply)
{
    if (reply->error() == QNetworkReply::NoError) {
        setServiceCertificateRefused(false);
        parseSoftwareUpdateReply(reply->readAll());
    }
    reply->deleteLater();
}

void KivMainWindow::setServiceCertificateRefused(bool refused)
{
    m_serviceNotice->setVisible(refused);
}

bool KivMainWindow::isServiceCertificateNoticeShown() const
{
    return m_serviceNotice->isVisibleTo(this);
}

void KivMainWindow::parseSoftwareUpdateReply(const QByteArray &bytes)
{
    const QString link = ::parseSoftwareUpdateReply(bytes);
    if (!link.isEmpty())
        hint->showUpdateLink(link);
}
