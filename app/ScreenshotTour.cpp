#include "app/ScreenshotTour.h"

#include "app/KivApplication.h"
#include "app/LinkConnected.h"
#include "config/Language.h"
#include "ui/KivMainWindow.h"
#include "ui/KivSettingWgt.h"
#include "ui/LumActaPhytophySin.h"

#include <QAbstractButton>
#include <QDir>
#include <QPixmap>
#include <QTimer>

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
        const QString file = QDir(m_directory).filePath(QStringLiteral("%1-%2.png").arg(page + 1).arg(QLatin1String(kNames[page])));
        if (!mainWindow->grab().save(file)) {
            std::fprintf(stderr, "Could not write %s\n", qPrintable(file));
            ++failures;
        }
    }
    failures += captureSettingsSubPages();
    failures += captureSprayingSubPages();
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

int ScreenshotTour::captureSettingsSubPages()
{
    // Each settings sub-page (the hidden GPS one too) in both languages; the language the user
    // had is restored afterwards.
    static const char *const kSubPages[] = {"frame", "rc", "gains", "battery", "return-height", "gps-position"};
    const int language = languageCode;
    KivSettingWgt *settings = mainWindow->settingsPage();
    mainWindow->showPage(0);
    int failures = 0;
    for (const int code : {1, 0}) {
        clickLanguageButton(code);
        QCoreApplication::processEvents(); // the language change reaches the window posted
        for (int index = 0; index < 6; ++index) {
            settings->showSubPage(index);
            const QString file = QDir(m_directory).filePath(
                QStringLiteral("settings-%1-%2-%3.png").arg(index + 1).arg(QLatin1String(kSubPages[index]),
                                                                          QLatin1String(code == 0 ? "en" : "zh")));
            if (!mainWindow->grab().save(file)) {
                std::fprintf(stderr, "Could not write %s\n", qPrintable(file));
                ++failures;
            }
        }
    }
    clickLanguageButton(language);
    settings->showSubPage(0);
    return failures;
}

int ScreenshotTour::captureSprayingSubPages()
{
    // Each spraying sub-page in both languages, shown without its reads (nothing is sent, no
    // pump runs); the language the user had is restored afterwards.
    static const char *const kSubPages[] = {"spray-width", "work-speed", "pump-calibration", "sensor-switches"};
    const int language = languageCode;
    LumActaPhytophySin *spraying = mainWindow->sprayingPage();
    const QSignalBlocker blocker(spraying); // no request leaves while the pictures are taken
    mainWindow->showPage(3);
    int failures = 0;
    for (const int code : {1, 0}) {
        clickLanguageButton(code);
        QCoreApplication::processEvents(); // the language change reaches the window posted
        for (int index = 0; index < 4; ++index) {
            spraying->showSubPage(index);
            const QString file = QDir(m_directory).filePath(
                QStringLiteral("spraying-%1-%2-%3.png").arg(index + 1).arg(QLatin1String(kSubPages[index]),
                                                                          QLatin1String(code == 0 ? "en" : "zh")));
            if (!mainWindow->grab().save(file)) {
                std::fprintf(stderr, "Could not write %s\n", qPrintable(file));
                ++failures;
            }
        }
    }
    clickLanguageButton(language);
    QCoreApplication::processEvents();
    spraying->showSubPage(0);
    return failures;
}
