#include "app/CommandLineOptions.h"
#include "app/KivApplication.h"
#include "app/ScreenshotTour.h"
#include "app/Simulation.h"
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
    QString simulatedPort;
    QString simulationError;
    KivApplication::StartupHook startSimulated;
    if (options.simulate)
        startSimulated = [&](KivApplication *app) { simulatedPort = startSimulation(app, &simulationError); };
    KivApplication *app = KivApplication::getInstance(argc, argv, startSimulated);
    if (options.simulate && simulatedPort.isEmpty()) {
        std::fprintf(stderr, "Cannot simulate: %s\n", qPrintable(simulationError));
        return 1;
    }
    QStringList ports = options.ports;
    if (!simulatedPort.isEmpty())
        ports << simulatedPort;
    for (const QString &port : std::as_const(ports))
        app->serialPort()->addExtraPortName(port);
    if (!options.screenshotsDir.isEmpty())
        new ScreenshotTour(app, options.screenshotsDir);
    return app->exec();
}
