// The tools page's black-box export: the folder, the progress dialog and what the user is told at
// the end. The download itself is the application's (BlackBoxDownload).
#include "ui/KivToolsWgt.h"

#include "app/KivApplication.h"
#include "app/KivGuiController.h"
#include "app/LinkConnected.h"
#include "blackbox/BlackBoxDownload.h"
#include "blackbox/BlackBoxPartialRecord.h"
#include "blackbox/KivBlackBoxesProgress.h"
#include "ui/plots/FlightPlotWindow.h"
#include "ui/tools/UserPrompts.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QPointer>
#include <QStringList>

#include <algorithm>

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

bool askRewrite(QWidget *)
{
    QMessageBox box(QMessageBox::Question,
                    KivToolsWgt::tr("提示"),
                    KivToolsWgt::tr("所选目录中已有导出的黑匣子文件。\n"
                                    "完整的文件将被跳过，中断的记录从断点继续下载。\n\n"
                                    "是否重新下载已完整的文件？"));
    QPushButton *again = box.addButton(KivToolsWgt::tr("重新下载"), QMessageBox::AcceptRole);
    QPushButton *keep = box.addButton(KivToolsWgt::tr("跳过已有文件"), QMessageBox::RejectRole);
    // Keeping the files is the safe answer: Enter and Escape both give it.
    box.setDefaultButton(keep);
    box.setEscapeButton(keep);
    box.setAccessibleName(box.windowTitle());
    box.exec();
    return box.clickedButton() == again;
}

// A complete export of a record is there: its file without the chunk map of a broken-off download.
bool holdsCompleteExports(const QString &folder)
{
    const QStringList names
        = QDir(folder).entryList({QStringLiteral("index*date*.xls")}, QDir::Files);
    return std::any_of(names.cbegin(), names.cend(), [&folder](const QString &name) {
        return !BlackBoxPartialRecord::isUnfinished(folder + QLatin1Char('/') + name);
    });
}
} // namespace

KivToolsWgt::FolderChooser KivToolsWgt::chooseBlackBoxesFolder = askForFolder;
KivToolsWgt::NoticeBox KivToolsWgt::showBlackBoxesNotice = showWarning;
KivToolsWgt::RewriteQuestion KivToolsWgt::askRewriteBlackBoxes = askRewrite;

void KivToolsWgt::SlotClickBlackBoxes()
{
    KivApplication *app = KivApplication::instance();
    if (!linkConnected || !app)
        return;
    const QString folder = chooseBlackBoxesFolder(this);
    // The folder dialog waits for the user: the link may have dropped meanwhile.
    if (folder.isEmpty() || !linkConnected)
        return;
    const bool rewriteComplete = holdsCompleteExports(folder) && askRewriteBlackBoxes(this);
    if (!linkConnected) // the question, too, waits for the user
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
        connect(app->blackBoxDownload(),
                &BlackBoxDownload::recordSkipped,
                progress,
                &KivBlackBoxesProgress::SlotRecordSkipped);
        connect(app->blackBoxDownload(),
                &BlackBoxDownload::recordResumed,
                progress,
                &KivBlackBoxesProgress::SlotRecordResumed);
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
    app->blackBoxDownload()->start(folder, rewriteComplete);
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
