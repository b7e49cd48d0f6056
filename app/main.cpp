#include "app/CommandLineOptions.h"
#include "app/KivApplication.h"
#include "app/ScreenshotTour.h"
#include "app/Simulation.h"
#include "app/StartupProbe.h"
#include "ui/KivMainWindow.h"
#include "config/Language.h"
#include "config/ServiceUrls.h"
#include "config/Translation.h"
#include "link/serialport.h"

#include <QCoreApplication>
#include <QDir>
#include <QLockFile>
#include <QRegularExpression>

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

    if (options.showPaths) {
        // No window: tells an installation apart from a build tree (help, translation).
        QCoreApplication core(argc, argv);
        const QString qm = findTranslationFile(QStringLiteral("R7Assistant.qm"));
        std::printf("help: %s\ntranslation: %s\n",
                    qPrintable(QDir::toNativeSeparators(helpRootFolder() + QStringLiteral("/Introduction"))),
                    qPrintable(qm.isEmpty() ? QStringLiteral("(none found)") : QDir::toNativeSeparators(qm)));
        return 0;
    }

    // One instance at a time: a second start leaves silently. The lock knows its owner's process,
    // so a crashed instance does not keep the program from starting again.
    // Per user: another user's instance is no reason not to start.
    QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    user.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")));
    QLockFile instanceLock(QDir::temp().filePath(QStringLiteral("GCS-%1.lock").arg(user)));
    instanceLock.setStaleLockTime(0); // only a dead owner makes the lock stale, never its age
    if (!instanceLock.tryLock(0)) {
        if (instanceLock.error() != QLockFile::LockFailedError) {
            // Not another instance: say what is wrong instead of leaving as if one ran.
            std::fprintf(stderr, "R7 Assistant cannot start: the lock file %s cannot be created "
                                 "(is the temporary folder writable?)\n",
                         qPrintable(QDir::toNativeSeparators(instanceLock.fileName())));
        }
        return 1;
    }

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
    StartupProbe::installOn(mainWindow);
    const int status = app->exec();
    // Destroying the application closes the port, which first writes out what is still queued
    // (the pumps' stop commands sent on closing the window).
    delete app;
    return status;
}
