#include "update/KivUpdateWgt.h"

#include "app/AircraftParams.h"
#include "app/KivGuiController.h"
#include "app/LinkConnected.h"
#include "config/Configuration.h"
#include "update/FirmwareVersion.h"
#include "update/ReleaseNotesHtml.h"
#include "update/TemporaryIniFiles.h"
#include "widgets/LumHoverWidget.h"
#include "widgets/progressButton.h"

#include <QDebug>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QJsonDocument>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// Rows that exist but are not shown: modules this aircraft does not carry.
const char *const kHiddenRows[] = {"IMU", "OSD", "DLU", "IMUEX", "DGPS"};
// Column widths shared by the headings and the rows, so that they line up.
constexpr int kColumnWidths[] = {95, 130, 95, 140};

const char kPageStyle[]
    = "QWidget#widget_bg{background: transparent; border: none;}"
      "LumHoverWidget{background: rgb(255, 255, 255); border: 1px solid rgb(222, 222, 222); "
      "border-radius: 6px;}"
      "LumHoverWidget:disabled{background: rgb(240, 240, 240);}"
      "QLabel{font: 11pt \"微软雅黑\"; color: rgb(90, 90, 90); background: transparent; border: "
      "none;}"
      "QLabel[heading=\"true\"]{font: bold 11pt \"微软雅黑\"; color: rgb(65, 65, 65);}"
      "QToolButton[upgrade=\"true\"]{font: 10pt \"微软雅黑\"; color: white; background: rgb(34, "
      "192, 99);"
      "border: none; border-radius: 4px; padding: 4px 16px;}"
      "QToolButton[upgrade=\"true\"]:pressed{background: rgb(31, 175, 88);}"
      "QToolButton[upgrade=\"true\"]:focus{border: 2px solid rgb(60, 60, 60);}"
      "QToolButton[upgrade=\"true\"]:disabled{background: rgb(160, 160, 160);}"
      "QTextBrowser{background: white; border: 1px solid rgb(222, 222, 222); border-radius: 6px;}"
      "QTextBrowser:focus{border: 2px solid rgb(34, 192, 99);}";

void fixColumn(QWidget *widget, int column)
{
    widget->setFixedWidth(kColumnWidths[column]);
}
} // namespace

KivUpdateWgt::KivUpdateWgt(QWidget *parent)
    : QWidget(parent)
    , m_bg(new QWidget(this))
    , m_download(new DownloadMgr(this))
{
    setStyleSheet(QLatin1String(kPageStyle));
    m_bg->setObjectName(QStringLiteral("widget_bg"));
    buildRows();
    // Made after the rows: the focus chain follows the order of creation, the notes last.
    m_info = new QTextBrowser(this);
    m_info->setObjectName(QStringLiteral("teUpdateInfo"));
    m_info->setMinimumWidth(290);
    m_info->setOpenLinks(false); // release notes are text from the network: no navigation
    m_info->setFocusPolicy(Qt::StrongFocus);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(10, 10, 10, 10);
    row->setSpacing(10);
    row->addWidget(m_bg, 3);
    row->addWidget(m_info, 2);

    for (const char *hidden : kHiddenRows)
        m_rows[indexOf(QLatin1String(hidden))].tile->hide();
    resetRows();

    connect(m_download, &DownloadMgr::saveFinished, this, &KivUpdateWgt::UpdateFileReady);
    if (guiController) {
        connect(guiController,
                &KivGuiController::ConnectChanged,
                this,
                &KivUpdateWgt::onConnectChanged);
        connect(guiController,
                &KivGuiController::FirmwareIdChanged,
                this,
                &KivUpdateWgt::onFirmwareIdChanged);
        connect(guiController,
                &KivGuiController::SignalFirmwareUpdateSuccess,
                this,
                &KivUpdateWgt::SlotFirmwareUpdateSuccess);
        connect(guiController,
                &KivGuiController::SignalFirmwareUpdateRefused,
                this,
                &KivUpdateWgt::SlotFirmwareUpdateRefused);
    }
    for (int i = 0; i < m_rows.size(); ++i)
        m_rows[i].id->setText(QString::number(i + 1));
    // Left-overs of earlier runs, in the program's own data folder wherever it was started from.
    removeTemporaryIniFiles(dataFolderPath());
    reloadHelpText();
    retranslate();
}

void KivUpdateWgt::startCatalogueIfOnline()
{
    if (isNetworkOnline())
        startCatalogueDownload();
}

KivUpdateWgt::~KivUpdateWgt()
{
    delete m_confirmation; // a box without parent would outlive the page
}

void KivUpdateWgt::buildRows()
{
    auto *rows = new QVBoxLayout(m_bg);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(8);

    auto *header = new QHBoxLayout;
    header->setContentsMargins(11, 4, 11, 4);
    for (int column = 0; column < 4; ++column) {
        auto *heading = new QLabel(m_bg);
        heading->setProperty("heading", true);
        heading->setAlignment(Qt::AlignCenter);
        fixColumn(heading, column);
        header->addWidget(heading);
        m_headings << heading;
    }
    header->addStretch();
    rows->addLayout(header);

    for (const QString &module : moduleNames()) {
        Row row;
        row.module = module;
        row.tile = new LumHoverWidget(m_bg);
        row.tile->setObjectName(QStringLiteral("widget_") + module);
        row.tile->setFixedHeight(58);
        auto *line = new QHBoxLayout(row.tile);
        line->setContentsMargins(10, 4, 10, 4);
        row.name = new QLabel(module, row.tile);
        row.name->setObjectName(QStringLiteral("lblName") + module);
        row.id = new QLabel(row.tile);
        row.id->setObjectName(QStringLiteral("lblFWId") + module);
        row.version = new QLabel(row.tile);
        row.version->setObjectName(QStringLiteral("lblVersion") + module);
        row.stack = new QStackedWidget(row.tile);
        row.stack->setObjectName(QStringLiteral("stackedWidget_") + module);
        row.noUpdate = new QLabel(row.stack);
        row.noUpdate->setAlignment(Qt::AlignCenter);
        // Each control is made inside its own page, so the focus chain follows the rows.
        auto *updatePage = new QWidget(row.stack);
        auto *updateLine = new QHBoxLayout(updatePage);
        updateLine->setContentsMargins(0, 0, 0, 0);
        row.update = new QToolButton(updatePage);
        row.update->setObjectName(QStringLiteral("btnUpdate") + module);
        row.update->setProperty("upgrade", true);
        row.update->setFocusPolicy(Qt::StrongFocus);
        row.update->setMinimumHeight(30);
        row.update->installEventFilter(this); // keyboard focus shows the notes, as the pointer does
        updateLine->addWidget(row.update, 0, Qt::AlignCenter);
        auto *progressPage = new QWidget(row.stack);
        auto *progressLine = new QHBoxLayout(progressPage);
        progressLine->setContentsMargins(0, 0, 0, 0);
        row.progress = new progressButton(progressPage);
        row.progress->setObjectName(module + QStringLiteral("proBtn"));
        row.progress->setFocusPolicy(Qt::NoFocus); // shows progress, does nothing when pressed
        progressLine->addWidget(row.progress, 0, Qt::AlignCenter);
        row.stack->addWidget(row.noUpdate);
        row.stack->addWidget(updatePage);
        row.stack->addWidget(progressPage);

        QLabel *labels[] = {row.name, row.id, row.version};
        for (int column = 0; column < 3; ++column) {
            labels[column]->setAlignment(Qt::AlignCenter);
            fixColumn(labels[column], column);
            line->addWidget(labels[column]);
        }
        fixColumn(row.stack, 3);
        line->addWidget(row.stack);
        line->addStretch();
        rows->addWidget(row.tile);

        connect(row.update, &QToolButton::clicked, this, &KivUpdateWgt::btnClickUpdate);
        connect(row.tile, &LumHoverWidget::SigEnterIn, this, &KivUpdateWgt::SlotEnterIn);
        m_rows << row;
    }
    rows->addStretch();
}

int KivUpdateWgt::indexOf(const QString &module) const
{
    return moduleNames().indexOf(module);
}

int KivUpdateWgt::rowPage(int module) const
{
    return module >= 0 && module < m_rows.size() ? m_rows[module].stack->currentIndex() : -1;
}

void KivUpdateWgt::resetRows()
{
    for (const Row &row : std::as_const(m_rows)) {
        row.version->setText(QStringLiteral("N/A"));
        row.stack->setCurrentIndex(NoUpdatePage);
        setFileMapValue(row.module, QString());
    }
}

// --- Versions and the catalogue
// --------------------------------------------------------------------

QString KivUpdateWgt::DealVersion(int ModuleID)
{
    if (!linkConnected || ModuleID < 0 || ModuleID >= AircraftParams::kModuleCount)
        return {};
    const AircraftParams::ModuleVersion &v = aircraftParams().moduleVersion[ModuleID];
    if (v.major != 0)
        return QStringLiteral("%1.%2").arg(int(v.major)).arg(int(v.minor));
    return ModuleID == 3 ? QStringLiteral("N/A") : QString(); // LIU: shown as not fitted
}

void KivUpdateWgt::onConnectChanged(bool connected)
{
    if (!connected)
        resetRows();
}

void KivUpdateWgt::showAircraftVersion(int module)
{
    const QString version = DealVersion(module);
    if (!version.isEmpty() && module >= 0 && module < m_rows.size())
        m_rows[module].version->setText(version);
}

bool KivUpdateWgt::catalogueOffersUpdate(int module)
{
    // Compared as numbers: the aircraft's 3.0 is the catalogue's "3.00". A catalogue entry
    // without a usable version offers nothing.
    const QString offered
        = versionJsonValue(m_rows[module].module, QLatin1String(FirmwareJsonKey::Version));
    return parseFirmwareVersion(offered) && !sameFirmwareVersion(DealVersion(module), offered);
}

void KivUpdateWgt::onFirmwareIdChanged(int module)
{
    showAircraftVersion(module);
    startCatalogueDownload();
}

void KivUpdateWgt::startCatalogueDownload()
{
    StructReplyInfo info;
    info.strUrl = firmwareCatalogueUrl().toString();
    info.type = 2;
    // Every version reply asks for the catalogue; one request under way answers them all.
    if (!m_download->isDownloading(info))
        m_download->download(info);
}

void KivUpdateWgt::UpdateFileReady(StructReplyInfo stInfo)
{
    if (stInfo.type == 2) {
        // A broken answer (an error page, a cut text) leaves the catalogue we have.
        const QJsonDocument document = QJsonDocument::fromJson(stInfo.strUrl.toUtf8());
        if (!document.isObject()) {
            qDebug() << "firmware catalogue is not a JSON object; kept the previous one";
            return;
        }
        setVersionText(stInfo.strUrl);
        for (const QString &module : moduleNames())
            DealUpdate(module);
        return;
    }
    const int index = indexOf(stInfo.strName);
    // The image of a module being flashed stays as the transfer read it.
    if (!linkConnected || index < 0 || stInfo.strName == m_updatingModule)
        return;
    showAircraftVersion(index);
    // The catalogue may have moved on while the image was on its way.
    if (!catalogueOffersUpdate(index))
        return;
    setFileMapValue(stInfo.strName, stInfo.strUrl);
    buildReleaseNotes(stInfo.strName);
    m_rows[index].stack->setCurrentIndex(UpdateButtonPage);
}

void KivUpdateWgt::DealUpdate(QString str)
{
    const int index = indexOf(str);
    if (!linkConnected || index < 0 || str == m_updatingModule)
        return;
    showAircraftVersion(index);
    if (!catalogueOffersUpdate(index)) {
        m_rows[index].stack->setCurrentIndex(NoUpdatePage);
        setFileMapValue(str, QString());
        return;
    }
    StructReplyInfo info;
    info.strName = str;
    info.strUrl = versionJsonValue(str, QLatin1String(FirmwareJsonKey::Url));
    info.type = 1;
    if (!m_download->isDownloading(info))
        m_download->download(info);
}

void KivUpdateWgt::buildReleaseNotes(const QString &module)
{
    const auto value = [&module](const char *key) {
        return versionJsonValue(module, QLatin1String(key));
    };
    const QString version = value(FirmwareJsonKey::Version);
    const QString date = value(FirmwareJsonKey::ReleaseDate);
    m_notesEnglish.insert(
        module,
        releaseNotesHtml(module, version, date, value(FirmwareJsonKey::EngReleaseNote), true));
    m_notesChinese.insert(
        module,
        releaseNotesHtml(module, version, date, value(FirmwareJsonKey::ReleaseNote), false));
}

// --- Help and notes
// -----------------------------------------------------------------------------------

void KivUpdateWgt::reloadHelpText()
{
    const QString name = QStringLiteral("FirmwareUpdate.html");
    const QString path = helpPageUrl(name).toLocalFile();
    QByteArray bytes = QFileInfo(path).isFile() ? readWholeFile(path) : QByteArray();
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    m_helpHtml = bytes.isEmpty() ? missingHelpPageHtml(name) : QString::fromUtf8(bytes);
    showHelp();
}

void KivUpdateWgt::showHelp()
{
    m_info->setHtml(m_helpHtml);
}

void KivUpdateWgt::SlotEnterIn(QString WidgetName)
{
    showHelp();
    const QString module = QString(WidgetName).remove(QStringLiteral("widget_"));
    const QString language = readIniValue(configFilePath(), QStringLiteral("Language"));
    if (language == QLatin1String("EN") && m_notesEnglish.contains(module))
        m_info->setHtml(m_notesEnglish.value(module));
    else if (language == QLatin1String("CH") && m_notesChinese.contains(module))
        m_info->setHtml(m_notesChinese.value(module));
}

bool KivUpdateWgt::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        for (const Row &row : std::as_const(m_rows)) {
            if (watched == row.update)
                SlotEnterIn(row.tile->objectName());
        }
    }
    return QWidget::eventFilter(watched, event);
}

// --- Update
// ---------------------------------------------------------------------------------------------

QMessageBox *
KivUpdateWgt::showBox(int icon, const char *objectName, const QString &title, const QString &text)
{
    // Modal without a parent window, as every box of the program; opened rather than run, so no
    // event loop of its own runs inside the page's slots.
    auto *box = new QMessageBox(QMessageBox::Icon(icon), title, text);
    box->setObjectName(QLatin1String(objectName));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    return box;
}

void KivUpdateWgt::btnClickUpdate()
{
    const QObject *button = sender();
    if (!button)
        return;
    confirmUpdate(button->objectName().remove(QStringLiteral("btnUpdate")));
}

void KivUpdateWgt::confirmUpdate(const QString &module)
{
    if (indexOf(module) < 0 || m_confirmation)
        return;
    const QString version = versionJsonValue(module, QLatin1String(FirmwareJsonKey::Version));
    QMessageBox *box = showBox(QMessageBox::Warning,
                               "confirmUpdateBox",
                               tr("警告"),
                               tr("确认将固件升级到%1").arg(version));
    QPushButton *ok = box->addButton(tr("确定"), QMessageBox::YesRole);
    box->addButton(tr("取消"), QMessageBox::NoRole);
    box->setDefaultButton(ok);
    m_confirmation = box;
    // Closing the box with its window control counts as cancel.
    connect(box, &QMessageBox::buttonClicked, this, [this, ok, module](QAbstractButton *clicked) {
        if (clicked == ok)
            startConfirmedUpdate(module);
    });
    box->show();
}

void KivUpdateWgt::startConfirmedUpdate(const QString &module)
{
    // The box may have stayed open while the link went down or the row lost its image.
    if (!linkConnected || fileMapValue(module).isEmpty() || !m_updatingModule.isEmpty()
        || m_backingUp || !guiController)
        return;
    // The parameters go to a file first: an update can leave the aircraft with other settings.
    m_bg->setEnabled(false);
    m_backingUp = true;
    const QPointer<KivUpdateWgt> self(this);
    const std::optional<QString> backup = guiController->backupParameters();
    if (!self)
        return;
    m_backingUp = false;
    const QString image = fileMapValue(module); // the wait may have lost the link or the image
    if (!backup || !linkConnected || image.isEmpty() || !guiController) {
        m_bg->setEnabled(true);
        return;
    }
    m_backupNote = *backup;
    m_updatingModule = module;
    m_download->abortImageDownloads(module);
    m_bg->setEnabled(false);
    if (guiController)
        guiController->requestFirmwareUpdate(indexOf(module), image);
}

QString KivUpdateWgt::withBackupNote(const QString &text) const
{
    return m_backupNote.isEmpty() ? text : text + QLatin1String("\n\n") + m_backupNote;
}

void KivUpdateWgt::setProgress(QString strModule, uint8_t progress)
{
    const int index = indexOf(strModule);
    if (index < 0)
        return;
    const Row &row = m_rows[index];
    if (progress == 0)
        row.stack->setCurrentIndex(ProgressPage);
    row.progress->progressPaint(progress);
    describeProgress(row, progress);
    if (progress >= 100)
        row.stack->setCurrentIndex(NoUpdatePage);
    if (progress >= 100 && strModule == m_updatingModule)
        m_imageSent = true;
}

void KivUpdateWgt::describeProgress(const Row &row, int percent)
{
    row.progress->setAccessibleName(tr("%1升级进度%2%").arg(row.module).arg(percent));
}

void KivUpdateWgt::endTransfer()
{
    m_updatingModule.clear();
    m_imageSent = false;
    m_bg->setEnabled(true);
}

void KivUpdateWgt::SlotFirmwareUpdateSuccess()
{
    // A stray or repeated "done" answer is no success: only one that follows the last chunk of
    // a transfer of ours (an aircraft's random or late answer must not finish a transfer early).
    if (m_updatingModule.isEmpty() || !m_imageSent)
        return;
    const QString module = m_updatingModule;
    endTransfer();
    const int index = indexOf(module);
    m_rows[index].version->setText(
        versionJsonValue(module, QLatin1String(FirmwareJsonKey::Version)));
    m_rows[index].stack->setCurrentIndex(NoUpdatePage);
    setFileMapValue(module, QString());
    m_notesChinese.remove(module);
    m_notesEnglish.remove(module);
    showHelp();
    QMessageBox *box = showBox(QMessageBox::Information, "updateSuccessBox", tr("信息"),
                               withBackupNote(tr("固件更新完成!")));
    box->setStandardButtons(QMessageBox::Ok);
    box->show();
}

void KivUpdateWgt::SlotFirmwareUpdateRefused(QString reason)
{
    if (m_updatingModule.isEmpty())
        return;
    const int index = indexOf(m_updatingModule);
    m_rows[index].stack->setCurrentIndex(
        fileMapValue(m_updatingModule).isEmpty() ? NoUpdatePage : UpdateButtonPage);
    endTransfer();
    QMessageBox *box
        = showBox(QMessageBox::Warning, "updateRefusedBox", tr("警告"), withBackupNote(reason));
    box->setStandardButtons(QMessageBox::Ok);
    box->show();
}

void KivUpdateWgt::resetForLink(bool connected)
{
    if (connected)
        return;
    if (m_confirmation)
        m_confirmation->reject(); // no update can start without the link
    const QString stopped = m_updatingModule;
    endTransfer();
    if (!stopped.isEmpty()) {
        // The rows go back to their unconnected look: say that the transfer stopped, so that
        // it is not taken for a finished one.
        QMessageBox *box = showBox(QMessageBox::Warning,
                                   "updateStoppedBox",
                                   tr("警告"),
                                   tr("%1固件更新未完成：与飞机的连接已断开。").arg(stopped));
        box->setStandardButtons(QMessageBox::Ok);
        box->show();
    }
    showHelp();
    m_notesChinese.clear();
    m_notesEnglish.clear();
}

// --- Language
// -------------------------------------------------------------------------------------------

void KivUpdateWgt::retranslate()
{
    const QString headings[] = {tr("模块名称"), tr("硬件ID"), tr("固件版本"), tr("升级")};
    for (int i = 0; i < m_headings.size(); ++i)
        m_headings[i]->setText(headings[i]);
    for (const Row &row : std::as_const(m_rows)) {
        row.noUpdate->setText(tr("无可用更新"));
        row.update->setText(tr("升级"));
        row.update->setAccessibleName(tr("升级%1").arg(row.module));
        row.tile->setAccessibleName(row.module);
        describeProgress(row, row.progress->sweep() * 100 / 5760);
    }
    m_info->setAccessibleName(tr("固件更新说明"));
}
