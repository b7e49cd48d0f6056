#include "app/ScreenshotTour.h"

#include "app/KivApplication.h"
#include "app/AircraftParams.h"
#include "app/ImportPreview.h"
#include "app/KivGuiController.h"
#include "app/LinkConnected.h"
#include "app/ParameterBackup.h"
#include "app/ParameterFile.h"
#include "config/AppPaths.h"
#include "config/AppConstants.h"
#include "config/Language.h"
#include "ui/KivMainWindow.h"
#include "ui/KivSettingWgt.h"
#include "ui/KivToolsWgt.h"
#include "update/KivUpdateWgt.h"
#include "ui/LumActaPhytophySin.h"
#include "ui/tools/StagedImportDialog.h"
#include "ui/tools/UserPrompts.h"
#include "ui/spraying/SprayRateDialog.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QDir>
#include <QDoubleSpinBox>
#include <QPixmap>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>

ScreenshotTour::ScreenshotTour(KivApplication *app, const QString &directory)
    : QObject(app)
    , m_directory(directory)
{
    connect(app, &KivApplication::readBackFinished, this, &ScreenshotTour::capture);
    QTimer::singleShot(kNoConnectionMs, this, &ScreenshotTour::capture);
}

void ScreenshotTour::capture()
{
    if (m_done || !mainWindow)
        return;
    m_done = true;
    QDir().mkpath(m_directory);
    static const char *const kNames[] = {"settings", "tools", "update", "spraying"};
    int failures = 0;
    for (int page = 0; page < 4; ++page) {
        mainWindow->showPage(page);
        failures += save(QStringLiteral("%1-%2.png").arg(page + 1).arg(QLatin1String(kNames[page]))) ? 0 : 1;
    }
    failures += captureSettingsSubPages();
    failures += captureToolsSubPages();
    failures += captureUpdatePage();
    failures += captureImportPreview();
    failures += captureSprayingSubPages();
    failures += captureSprayRateHelper();
    mainWindow->showPage(0);
    std::printf("Screenshots in %s (%s)\n", qPrintable(QDir(m_directory).absolutePath()),
                linkConnected ? "aircraft connected" : "no aircraft connected");
    std::fflush(stdout);
    QCoreApplication::exit(failures ? 1 : 0);
}

namespace {
void clickLanguageButton(int code)
{
    const char *name = code == 0 ? "btn_en_lan" : "btn_zh_s_lan";
    if (auto *button = mainWindow->findChild<QAbstractButton *>(QLatin1String(name)))
        button->click();
}
} // namespace

int ScreenshotTour::captureSubPages(int page, const char *prefix, const QStringList &names,
                                    const std::function<void(int)> &show)
{
    // Each sub-page (hidden ones too) in both languages; the language the user had is restored.
    const int language = languageCode;
    mainWindow->showPage(page);
    int failures = 0;
    for (const int code : {1, 0}) {
        clickLanguageButton(code);
        QCoreApplication::processEvents(); // the language change reaches the window posted
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest); // and the new widths
        for (int index = 0; index < names.size(); ++index) {
            show(index);
            failures += save(QStringLiteral("%1-%2-%3-%4.png")
                                 .arg(QLatin1String(prefix))
                                 .arg(index + 1)
                                 .arg(names[index], QLatin1String(code == 0 ? "en" : "zh")))
                            ? 0
                            : 1;
        }
    }
    clickLanguageButton(language);
    show(0);
    return failures;
}

int ScreenshotTour::captureSettingsSubPages()
{
    KivSettingWgt *settings = mainWindow->settingsPage();
    return captureSubPages(0, "settings",
                           {QStringLiteral("frame"), QStringLiteral("rc"), QStringLiteral("gains"),
                            QStringLiteral("battery"), QStringLiteral("return-height"), QStringLiteral("gps-position")},
                           [settings](int index) { settings->showSubPage(index); });
}

int ScreenshotTour::captureToolsSubPages()
{
    KivToolsWgt *tools = mainWindow->toolsPage();
    return captureSubPages(1, "tools",
                           {QStringLiteral("motor"), QStringLiteral("self-check"), QStringLiteral("parameters"),
                            QStringLiteral("imu"), QStringLiteral("timer")},
                           [tools](int index) { tools->showSubPage(index); });
}

bool ScreenshotTour::save(const QString &name)
{
    return saveWidget(mainWindow, name);
}

bool ScreenshotTour::saveWidget(QWidget *widget, const QString &name)
{
    const QString file = QDir(m_directory).filePath(name);
    if (widget->grab().save(file))
        return true;
    std::fprintf(stderr, "Could not write %s\n", qPrintable(file));
    return false;
}

int ScreenshotTour::captureUpdatePage()
{
    // The update page with the first module on offer showing its release notes, as when the
    // pointer rests on its row.
    const int language = languageCode;
    KivUpdateWgt *update = mainWindow->updatePage();
    mainWindow->showPage(2);
    int failures = 0;
    for (const int code : {1, 0}) {
        clickLanguageButton(code);
        // The language change, then the layouts its longer or shorter texts ask for.
        for (int pass = 0; pass < 3; ++pass)
            QCoreApplication::processEvents();
        for (int module = 0; module < 10; ++module) {
            if (update->rowPage(module) == KivUpdateWgt::UpdateButtonPage) {
                update->SlotEnterIn(QStringLiteral("widget_") + moduleNames().at(module));
                break;
            }
        }
        failures += save(QStringLiteral("update-%1.png").arg(QLatin1String(code == 0 ? "en" : "zh"))) ? 0 : 1;
    }
    clickLanguageButton(language);
    mainWindow->showPage(0);
    return failures;
}

int ScreenshotTour::captureImportPreview()
{
    // A file like this aircraft's export with another frame type and protection voltage, one
    // member missing. Pictured, never sent: the tour leaves the aircraft as it is.
    const AircraftParams &params = aircraftParams();
    QJsonObject document
        = ParameterFile::decode(ParameterFile::encode(params)).value_or(QJsonObject());
    document.insert(QStringLiteral("Uav_Type"), (params.Uav_Type + 1) % 11);
    document.insert(QStringLiteral("LV1"), params.LV1 + 50);
    document.remove(QStringLiteral("M_CCR0"));
    const ParameterFreshness none;
    const int language = languageCode;
    int failures = 0;
    for (const int code : {1, 0}) {
        clickLanguageButton(code);
        QCoreApplication::processEvents();
        const QLatin1String suffix(code == 0 ? "en" : "zh");
        const auto picture = [&](QWidget *widget, const char *name) {
            QCoreApplication::processEvents();
            failures += saveWidget(widget, QStringLiteral("%1-%2.png").arg(QLatin1String(name), suffix))
                            ? 0
                            : 1;
        };
        // The first group sent is shown unconfirmed, the protection group unchecked.
        StagedImportDialog dialog(
            ImportPreview(document, params, guiController ? guiController->freshness() : none),
            [](const QList<int> &groups, bool) { return std::optional(groups.mid(0, 1)); });
        dialog.show();
        picture(&dialog, "import-preview");
        if (auto *tree = dialog.findChild<QTreeWidget *>())
            tree->topLevelItem(5)->setCheckState(0, Qt::Unchecked);
        dialog.sendChecked();
        picture(&dialog, "import-result");
        // The question when the backup before a reset or an update cannot be written.
        const QString file = dataFolderPath() + ParameterBackup::fileName(QDateTime::currentDateTime());
        const QStringList question = KivGuiController::backupFailedQuestion(
            KivGuiController::tr("写入文件失败：%1")
                .arg(QDir::toNativeSeparators(file) + QStringLiteral(": Permission denied")));
        const auto box = UserPrompts::cautionBox(question[0], question[1], question[2], question[3]);
        box->show();
        picture(box.get(), "backup-failed");
    }
    clickLanguageButton(language);
    return failures;
}

int ScreenshotTour::captureSprayingSubPages()
{
    // Shown without their reads: nothing is sent and no pump runs while the pictures are taken.
    LumActaPhytophySin *spraying = mainWindow->sprayingPage();
    const QSignalBlocker blocker(spraying);
    return captureSubPages(3, "spraying",
                           {QStringLiteral("spray-width"), QStringLiteral("work-speed"),
                            QStringLiteral("pump-calibration"), QStringLiteral("sensor-switches")},
                           [spraying](int index) { spraying->showSubPage(index); });
}

int ScreenshotTour::captureSprayRateHelper()
{
    // 10 L/ha at 5 m/s over 4 m, and a minute's run at 50 % that gave a litre.
    const int language = languageCode;
    LumActaPhytophySin *spraying = mainWindow->sprayingPage();
    const QSignalBlocker blocker(spraying);
    mainWindow->showPage(3);
    spraying->showSubPage(1);
    int failures = 0;
    for (const int code : {1, 0}) {
        clickLanguageButton(code);
        QCoreApplication::processEvents();
        spraying->SlotShowSprayRateHelper();
        SprayRateDialog *dialog = spraying->sprayRateDialog();
        const std::pair<const char *, double> values[] = {{"spinApplicationRate", 10}, {"spinRateWidth", 4},
                                                          {"spinRateSpeed", 5},        {"spinRunPercent", 50},
                                                          {"spinRunSeconds", 60},      {"spinRunLitres", 1}};
        for (const auto &[name, value] : values) {
            if (auto *box = dialog->findChild<QDoubleSpinBox *>(QLatin1String(name)))
                box->setValue(value);
        }
        for (int pass = 0; pass < 3; ++pass)
            QCoreApplication::processEvents();
        const QString file = QDir(m_directory).filePath(
            QStringLiteral("spraying-rate-helper-%1.png").arg(QLatin1String(code == 0 ? "en" : "zh")));
        if (!dialog->grab().save(file)) {
            std::fprintf(stderr, "Could not write %s\n", qPrintable(file));
            ++failures;
        }
        dialog->close();
    }
    clickLanguageButton(language);
    spraying->showSubPage(0);
    return failures;
}
