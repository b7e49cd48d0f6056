#include "app/CommandLineOptions.h"

#include "config/ServiceUrls.h"
#include "config/SoftwareUpdateCheck.h"

#include <QCommandLineParser>
#include <QCoreApplication>

CommandLineOptions CommandLineOptions::parse(const QStringList &arguments)
{
    CommandLineOptions options;
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("R7 Assistant: configure the R7 flight controller"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Show the version."));
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Treat DEVICE as an aircraft port (repeatable)."),
                                  QStringLiteral("DEVICE"));
    const QCommandLineOption serviceUrl(QStringLiteral("service-url"),
                                        QStringLiteral("Base address of the firmware and software services."),
                                        QStringLiteral("URL"));
    const QCommandLineOption simulate(QStringLiteral("simulate"),
                                      QStringLiteral("Use the built-in simulated aircraft and services."));
    const QCommandLineOption screenshots(QStringLiteral("screenshots"),
                                         QStringLiteral("Save a picture of each page into DIR, then quit."),
                                         QStringLiteral("DIR"));
    const QCommandLineOption paths(QStringLiteral("paths"),
                                   QStringLiteral("Print where the help pages and the English translation are found, then quit."));
    parser.addOptions({help, version, port, serviceUrl, simulate, screenshots, paths});

    const auto exitWith = [&options](int code, const QString &message) {
        options.outcome = Outcome::Exit;
        options.exitCode = code;
        options.message = message;
        return options;
    };
    if (!parser.parse(arguments))
        return exitWith(2, parser.errorText() + QStringLiteral("\nTry --help.\n"));
    if (!parser.positionalArguments().isEmpty())
        return exitWith(2, QStringLiteral("Unexpected argument: %1\nTry --help.\n").arg(parser.positionalArguments().first()));
    if (parser.isSet(help))
        return exitWith(0, parser.helpText());
    if (parser.isSet(version))
        return exitWith(0, QStringLiteral("R7 Assistant %1\n").arg(QLatin1String(CurrentVersion)));

    options.ports = parser.values(port);
    options.simulate = parser.isSet(simulate);
    options.screenshotsDir = parser.value(screenshots);
    options.showPaths = parser.isSet(paths);
    if (parser.isSet(serviceUrl)) {
        const QUrl url(parser.value(serviceUrl), QUrl::StrictMode);
        if (!isValidServiceBaseUrl(url))
            return exitWith(2, QStringLiteral("--service-url wants http(s)://host[:port][/path], without user, "
                                              "query or fragment; got: %1\n").arg(parser.value(serviceUrl)));
        options.serviceUrl = url;
    }
    return options;
}
