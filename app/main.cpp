#include "app/CommandLineOptions.h"
#include "app/KivApplication.h"
#include "app/ScreenshotTour.h"
#include "config/ServiceUrls.h"
#include "link/serialport.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include <cstdio>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLineOptions options = CommandLineOptions::parse(arguments);
    if (options.outcome == CommandLineOptions::Outcome::Exit) {
        std::fputs(qPrintable(options.message), options.exitCode == 0 ? stdout : stderr);
        return options.exitCode;
    }

    // One instance at a time: a second start leaves silently. The lock knows its owner's process,
    // so a crashed instance does not keep the program from starting again.
    QString lockDir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (lockDir.isEmpty())
        lockDir = QDir::tempPath();
    QLockFile instanceLock(QDir(lockDir).filePath(QStringLiteral("GCS.lock")));
    instanceLock.setStaleLockTime(0); // only a dead owner makes the lock stale, never its age
    if (!instanceLock.tryLock(0))
        return 1;

    if (options.serviceUrl.isValid())
        setServiceBaseUrl(options.serviceUrl);
    KivApplication *app = KivApplication::getInstance(argc, argv);
    for (const QString &port : options.ports)
        app->serialPort()->addExtraPortName(port);
    if (!options.screenshotsDir.isEmpty())
        new ScreenshotTour(app, options.screenshotsDir);
    return app->exec();
}
