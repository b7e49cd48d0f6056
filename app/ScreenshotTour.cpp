#include "app/ScreenshotTour.h"

#include "app/KivApplication.h"
#include "app/LinkConnected.h"
#include "ui/KivMainWindow.h"

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
    mainWindow->showPage(0);
    std::printf("Screenshots in %s (%s)\n", qPrintable(QDir(m_directory).absolutePath()),
                linkConnected ? "aircraft connected" : "no aircraft connected");
    std::fflush(stdout);
    QCoreApplication::exit(failures ? 1 : 0);
}
