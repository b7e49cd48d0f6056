// Parameter sub-page: factory reset, black-box export, parameter import and export.
#include "ui/KivToolsWgt.h"

#include "app/AircraftParams.h"
#include "app/ImportPreview.h"
#include "app/KivGuiController.h"
#include "app/LinkConnected.h"
#include "app/ParameterFile.h"
#include "config/AppPaths.h"
#include "ui/settings/SettingsLook.h"
#include "ui/tools/StagedImportDialog.h"
#include "ui/tools/UserPrompts.h"
#include "widgets/LumHoverWidget.h"

#include <QDir>
#include <QGridLayout>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

void KivToolsWgt::buildParameterPage(QWidget *page)
{
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(0, 8, 0, 0);
    auto *tile = SettingsLook::makeTile(page, "widget_Tool_Parameters");
    auto *grid = new QGridLayout(tile);
    grid->setContentsMargins(16, 16, 16, 16);
    grid->setSpacing(14);
    ui.btn_recover = SettingsLook::makeActionButton(tile, "btn_recover");
    ui.btnBlackBoxes = SettingsLook::makeActionButton(tile, "btnBlackBoxes");
    ui.btn_impArg = SettingsLook::makeActionButton(tile, "btn_impArg");
    ui.btn_expArg = SettingsLook::makeActionButton(tile, "btn_expArg");
    ui.btnFlightPlots = SettingsLook::makeActionButton(tile, "btnFlightPlots");
    grid->addWidget(ui.btn_recover, 0, 0);
    grid->addWidget(ui.btnBlackBoxes, 0, 1);
    grid->addWidget(ui.btn_impArg, 1, 0);
    grid->addWidget(ui.btn_expArg, 1, 1);
    grid->addWidget(ui.btnFlightPlots, 2, 0);
    column->addWidget(tile);
    column->addStretch();
    // The black-box download lives in its own file.
    connect(ui.btnBlackBoxes, SIGNAL(clicked()), this, SLOT(SlotClickBlackBoxes()));
    connect(ui.btnFlightPlots, &QPushButton::clicked, this, &KivToolsWgt::SlotOpenFlightPlots);

    addTexts([this] {
        ui.btn_recover->setText(tr("恢复出厂设置"));
        ui.btnBlackBoxes->setText(tr("导出黑匣子数据"));
        ui.btn_impArg->setText(tr("导入参数"));
        ui.btn_expArg->setText(tr("导出参数"));
        ui.btnFlightPlots->setText(tr("查看飞行曲线"));
        ui.btnFlightPlots->setAccessibleName(tr("打开导出的黑匣子文件，查看飞行曲线"));
    });
}

void KivToolsWgt::on_btn_recover_clicked()
{
    if (!linkConnected || !guiController)
        return;
    if (!userPrompts().confirm(QMessageBox::Warning,
                               tr("警告"),
                               tr("确定将飞控恢复出厂设置？"),
                               tr("确定"),
                               tr("取消")))
        return;
    const QPointer<KivToolsWgt> self(this);
    if (!guiController || !linkConnected)
        return;
    // The settings the reset wipes go to a file first, unless the user goes on without.
    const std::optional<QString> backup = guiController->backupParameters();
    if (!backup || !self || !guiController || !linkConnected)
        return; // no backup and no going on without, or the window closed meanwhile
    // Read everything again once the aircraft has answered (not while an import still waits).
    if (guiController->restoreFactorySettings(*backup) && self)
        Q_EMIT SignalUpdateData();
}

void KivToolsWgt::on_btn_expArg_clicked()
{
    if (!linkConnected || !guiController)
        return;
    QString name
        = userPrompts().saveFileName(this,
                                     QStringLiteral("open"),
                                     dataFolderPath() + QLatin1String(ParameterFile::kDefaultName),
                                     QStringLiteral("*.lum"),
                                     QLatin1String(ParameterFile::kSuffix));
    if (name.isEmpty() || !guiController)
        return;
    if (!name.endsWith(QLatin1String(".lum")))
        name += QLatin1String(".lum");
    guiController->exportParameters(name);
}

void KivToolsWgt::on_btn_impArg_clicked()
{
    if (!linkConnected || !guiController)
        return;
    const QStringList found = QDir(dataFolderPath() + QStringLiteral("Para"))
                                  .entryList({QStringLiteral("*.lum")},
                                             QDir::AllEntries | QDir::NoDotAndDotDot,
                                             QDir::Name | QDir::IgnoreCase);
    const QString start
        = dataFolderPath()
          + (found.isEmpty() ? QLatin1String(ParameterFile::kDefaultName) : found.first());
    const QString name = userPrompts().openFileName(
        this, QStringLiteral("open"), start, QStringLiteral("LUM (*.lum)"));
    if (name.isEmpty() || !guiController || guiController->isWaiting())
        return;
    const std::optional<QJsonObject> document = guiController->readParameterFile(name);
    if (!document || !guiController)
        return;
    // Nothing is sent before the user has seen what the file would change.
    StagedImportDialog dialog(
        ImportPreview(*document, aircraftParams(), guiController->freshness()),
        [document](const QList<int> &groups, bool all) -> std::optional<QList<int>> {
            if (!guiController)
                return std::nullopt;
            const std::optional<QList<int>> unconfirmed
                = guiController->sendParameterGroups(*document, groups);
            if (unconfirmed && all && guiController)
                guiController->reportImport(*unconfirmed); // the whole import, told as always
            return unconfirmed;
        });
    userPrompts().reviewImport(dialog);
}
