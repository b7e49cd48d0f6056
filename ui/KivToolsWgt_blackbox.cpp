// The tools page's black-box export: the folder, the progress dialog and what the user is told at
// the end. The download itself is the application's (BlackBoxDownload).
#include "ui/KivToolsWgt.h"

#include "app/KivApplication.h"
#include "app/KivGuiController.h"
#include "app/LinkConnected.h"
#include "blackbox/BlackBoxDownload.h"
#include "blackbox/KivBlackBoxesProgress.h"
#include "ui/plots/FlightPlotWindow.h"
#include "ui/tools/UserPrompts.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>

namespace {
QString askForFolder(QWidget *parent)
{
    return QFileDialog::getExistingDirectory(parent,
                                             KivToolsWgt::tr("打开目录"),
                                             QDir::homePath(),
                                             QFileDialog::ShowDirsOnly
                                                 | QFileDialog::DontResolveSymlinks);
}

void showWarning(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok);
    box.exec();
}
} // namespace

KivToolsWgt::FolderChooser KivToolsWgt::chooseBlackBoxesFolder = askForFolder;
KivToolsWgt::NoticeBox KivToolsWgt::showBlackBoxesNotice = showWarning;

void KivToolsWgt::SlotClickBlackBoxes()
{
    KivApplication *app = KivApplication::instance();
    if (!linkConnected || !app)
        return;
    const QString folder = chooseBlackBoxesFolder(this);
    // The folder dialog waits for the user: the link may have dropped meanwhile.
    if (folder.isEmpty() || !linkConnected)
        return;

    if (!m_blackBoxesProgress) {
        auto *progress = new KivBlackBoxesProgress(this);
        m_blackBoxesProgress = progress;
        connect(progress,
                &KivBlackBoxesProgress::SignalCloseDownloadBlackBoxes,
                this,
                &KivToolsWgt::SignalCloseDownloadBlackBoxes);
        connect(app,
                &KivApplication::SignalProgressBlackBoxes,
                progress,
                &KivBlackBoxesProgress::SlotProgressBlackBoxes);
        connect(app,
                &KivApplication::SignalCurrentReadFile,
                progress,
                &KivBlackBoxesProgress::SlotCurrentReadFile);
        connect(app,
                &KivApplication::SignalBlackBoxesDownloadSuccess,
                this,
                &KivToolsWgt::SlotBlackBoxesDownloadSuccess);
        connect(app,
                &KivApplication::SignalBlackBoxesDownloadFailed,
                this,
                [this](const QString &reason) {
                    closeBlackBoxesProgress();
                    showBlackBoxesNotice(tr("错误"), reason);
                });
        // A lost link ends the download with the dialog.
        connect(guiController, &KivGuiController::ConnectChanged, this, [this](bool connected) {
            if (!connected)
                closeBlackBoxesProgress();
        });
    }
    m_blackBoxesProgress->show();
    app->blackBoxDownload()->start(folder);
}

void KivToolsWgt::SlotBlackBoxesDownloadSuccess()
{
    closeBlackBoxesProgress();
    const KivApplication *app = KivApplication::instance();
    const QMap<QString, int> incomplete
        = app ? app->blackBoxDownload()->incompleteFiles() : QMap<QString, int>();
    if (!incomplete.isEmpty()) {
        QStringList lines;
        for (auto it = incomplete.cbegin(); it != incomplete.cend(); ++it)
            lines << tr("%1（缺少 %2 个数据块）").arg(it.key()).arg(it.value());
        showBlackBoxesNotice(tr("警告"),
                             tr("以下文件的数据不完整：\n%1").arg(lines.join(QLatin1Char('\n'))));
    }
    // The end of the export offers its newest record in the plot window.
    const QStringList written = app ? app->blackBoxDownload()->writtenFiles() : QStringList();
    if (written.isEmpty())
        return;
    const QPointer<KivToolsWgt> self(this);
    const bool look = userPrompts().confirm(
        QMessageBox::Information, tr("提示"),
        tr("已导出 %n 个文件到 %1。", nullptr, int(written.size()))
            .arg(QDir::toNativeSeparators(QFileInfo(written.first()).absolutePath())),
        tr("查看飞行曲线"), tr("关闭"));
    if (look && self)
        showFlightPlots(written.first());
}

void KivToolsWgt::SlotOpenFlightPlots()
{
    const QString start = m_flightPlots && !m_flightPlots->fileName().isEmpty()
                              ? QFileInfo(m_flightPlots->fileName()).absolutePath()
                              : QDir::homePath();
    const QString path = userPrompts().openFileName(this, tr("打开导出的黑匣子文件"), start,
                                                    tr("黑匣子数据 (*.xls);;所有文件 (*)"));
    if (!path.isEmpty())
        showFlightPlots(path);
}

FlightPlotWindow *KivToolsWgt::showFlightPlots(const QString &path)
{
    if (!m_flightPlots)
        m_flightPlots = new FlightPlotWindow(this);
    if (!m_flightPlots->openFile(path))
        return nullptr;
    m_flightPlots->show();
    m_flightPlots->raise();
    m_flightPlots->activateWindow();
    return m_flightPlots;
}

void KivToolsWgt::closeBlackBoxesProgress()
{
    // The dialog's own close: it tells the application to end the download.
    if (m_blackBoxesProgress)
        m_blackBoxesProgress->on_btn_close_clicked();
}
