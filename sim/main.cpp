// r7-fcsim: the simulated aircraft and the local web services, for trying the program without an
// aircraft and for end-to-end tests.
#include "sim/SimulatedAircraft.h"
#include "sim/SimulatedServices.h"
#include "sim/SimulatorCommandLine.h"

#ifdef Q_OS_UNIX
#include "sim/TerminationSignals.h"
#endif

#include <QCoreApplication>
#include <QDateTime>
#include <QTimer>

#include <cstdio>

namespace {
void printLine(FILE *stream, const QString &line)
{
    std::fprintf(stream, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stream);
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("r7-fcsim"));
#ifdef Q_OS_UNIX
    // First of all, so that an interrupt during start-up is not lost.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &app,
                     [](int) { QCoreApplication::quit(); });
#endif

    SimulatorCommandLine commandLine;
    if (!commandLine.parse(QCoreApplication::arguments())) {
        printLine(stderr, commandLine.errorText());
        return 2;
    }
    if (commandLine.helpRequested()) {
        printLine(stdout, commandLine.helpText());
        return 0;
    }
    const SimulatorCommandLine::Config &config = commandLine.config();

    SimulatedAircraft aircraft;
    SimulatedServices services;
    commandLine.apply(aircraft, services);
    if (!commandLine.applyToWire(aircraft)) {
        printLine(stderr, QStringLiteral("r7-fcsim: cannot write %1").arg(config.timingLog));
        return 1;
    }

    if (!services.start(config.httpPort)) {
        printLine(stderr, QStringLiteral("r7-fcsim: cannot listen on 127.0.0.1:%1").arg(config.httpPort));
        return 1;
    }
    QObject::connect(&aircraft, &SimulatedAircraft::slavePathChanged, &app,
                     [](const QString &path) { printLine(stdout, path); });
    if (!aircraft.start()) {
        printLine(stderr, QStringLiteral("r7-fcsim: %1").arg(aircraft.errorString()));
        return 1;
    }
    printLine(stdout, services.baseUrl().toString());

    if (config.log) {
        QObject::connect(&aircraft, &AircraftEngine::frameReceived, &app,
                         [](quint8 type, int length, const QByteArray &frame) {
                             // The payload too (bytes 8 on), so that a command's sub-command and
                             // value can be told apart (a pump run from its stop).
                             printLine(stderr, QStringLiteral("%1 rx type 0x%2 length %3 payload %4")
                                                   .arg(QDateTime::currentDateTime().toString(Qt::ISODateWithMs))
                                                   .arg(type, 2, 16, QLatin1Char('0'))
                                                   .arg(length)
                                                   .arg(QString::fromLatin1(frame.mid(8, length).toHex(' '))));
                         });
        QObject::connect(&aircraft, &AircraftEngine::connectionChanged, &app, [](bool connected) {
            printLine(stderr, connected ? QStringLiteral("host connected") : QStringLiteral("host gone"));
        });
        QObject::connect(&services, &SimulatedServices::requestServed, &app,
                         [](const QString &path, int status) {
                             printLine(stderr, QStringLiteral("http %1 %2").arg(status).arg(path));
                         });
    }
    QObject::connect(&aircraft, &AircraftEngine::firmwareReceived, &app,
                     [](int module, qint64 size, const QByteArray &sha, bool complete) {
                         printLine(stderr, QStringLiteral("firmware for module %1: %2 bytes, sha256 %3, %4")
                                               .arg(module)
                                               .arg(size)
                                               .arg(QString::fromLatin1(sha.toHex()),
                                                    complete ? QStringLiteral("complete")
                                                             : QStringLiteral("incomplete")));
                     });

    if (config.unplugAfterMs >= 0) {
        QTimer::singleShot(config.unplugAfterMs, &aircraft, [&aircraft, &config] {
            aircraft.unplug();
            printLine(stderr, QStringLiteral("unplugged"));
            if (config.replugAfterMs >= 0)
                QTimer::singleShot(config.replugAfterMs, &aircraft, [&aircraft] { aircraft.plugIn(); });
        });
    }

    return app.exec();
}
