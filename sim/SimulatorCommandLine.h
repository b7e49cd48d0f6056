#pragma once

#include "sim/BlackBoxResponder.h"
#include "sim/SimulatedServices.h"

#include <QList>
#include <QPair>
#include <QStringList>

class AircraftEngine;
class SimulatedAircraft;

// Options of the r7-fcsim command: what to simulate and which faults to show from the start.
class SimulatorCommandLine
{
public:
    struct Config
    {
        bool log = false;
        double telemetryHz = 10.0;
        int baud = 0;        // 0: no line-rate pacing
        QString timingLog;   // file for the per-frame times, empty: none
        BlackBoxPlan plan;
        quint16 httpPort = 0;
        QString softwareVersion = QStringLiteral("1.55");
        bool softwareVersionAsNumber = false;
        // faults
        bool silent = false;
        int silentAfterMs = -1;
        QList<QPair<quint8, int>> ignore;
        int corruptEvery = 0;
        SyncPairFault syncPairs;
        int cutRecord = 0; // --bb-cut: record, chunk, seconds of silence
        int cutChunk = 0;
        int cutSilenceMs = 7000;
        bool splitFinalZero = false;
        int stormRate = 0;
        int unplugAfterMs = -1;
        int replugAfterMs = -1; // counted from the unplugging
        QList<QPair<SimulatedServices::Endpoint, SimulatedServices::Fault>> httpFaults;
        int slowMs = 2000;
        // HTTPS with this certificate instead of HTTP (a self-signed one plays an impostor).
        QSslCertificate tlsCertificate;
        QSslKey tlsKey;
    };

    // False with errorText() set when an option is malformed. --help and --version are
    // reported through helpRequested() / versionRequested().
    bool parse(const QStringList &arguments);
    const Config &config() const { return m_config; }
    QString errorText() const { return m_error; }
    QString helpText() const { return m_help; }
    bool helpRequested() const { return m_helpRequested; }

    void apply(AircraftEngine &aircraft, SimulatedServices &services) const;
    // The wire's own options (rate and timing log); false when the log cannot be written.
    bool applyToWire(SimulatedAircraft &aircraft) const;

private:
    bool parseIgnore(const QString &value);
    bool parseSyncPairs(const QString &value);
    bool parseCut(const QString &value);
    bool parseHttpFault(const QString &value);

    Config m_config;
    QString m_error;
    QString m_help;
    bool m_helpRequested = false;
};
