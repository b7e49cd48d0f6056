#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// The program's options. Parsing happens before any window exists, so --help and --version work
// without a display.
struct CommandLineOptions
{
    QStringList ports;        // --port DEVICE (repeatable): devices that count as aircraft ports
    QUrl serviceUrl;          // --service-url URL: scheme://host[:port] of the maker's services
    bool simulate = false;    // --simulate: built-in simulated aircraft and services
    QString screenshotsDir;   // --screenshots DIR: save each page as PNG, then quit
    bool showPaths = false;   // --paths: print where the help pages and translation are found

    enum class Outcome { Run, Exit };
    Outcome outcome = Outcome::Run;
    int exitCode = 0;
    QString message; // to print before exiting (help, version or the error)

    static CommandLineOptions parse(const QStringList &arguments);
};
