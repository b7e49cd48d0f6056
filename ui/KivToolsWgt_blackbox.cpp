// The tools page's black-box export: the folder, the progress dialog and what the user is told at
// the end. The download itself is the application's (BlackBoxDownload).
#include "ui/KivToolsWgt.h"

#include "app/KivApplication.h"
#include "app/KivGuiController.h"
#include "app/LinkConnected.h"
#include "blackbox/BlackBoxDownload.h"
#include "blackbox/KivBlackBoxesProgress.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
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
        // A lost link ends the download with the dialog, and the user hears that it broke: the
        // dialog also closes silently when a download succeeds.
        connect(
            guiController, &KivGuiController::ConnectChanged, this, [this, app](bool connected) {
                if (connected || !app->blackBoxDownload()->isOpen())
                    return;
                closeBlackBoxesProgress();
                showBlackBoxesNotice(
                    tr("错误"),
                    tr("与飞机的连接已断开，黑匣子数据没有全部导出：正在导出的记录没有保存，"
                       "之前导出的文件完整。"));
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
    if (incomplete.isEmpty())
        return;
    QStringList lines;
    for (auto it = incomplete.cbegin(); it != incomplete.cend(); ++it)
        lines << tr("%1（缺少 %2 个数据块）").arg(it.key()).arg(it.value());
    showBlackBoxesNotice(tr("警告"),
                         tr("以下文件的数据不完整：\n%1").arg(lines.join(QLatin1Char('\n'))));
}

void KivToolsWgt::closeBlackBoxesProgress()
{
    // The dialog's own close: it tells the application to end the download.
    if (m_blackBoxesProgress)
        m_blackBoxesProgress->on_btn_close_clicked();
}
