#include "sim/SimulatorCommandLine.h"

#include "sim/AircraftEngine.h"
#include "sim/SimulatedAircraft.h"

#include <QCommandLineParser>
#include <QFile>

namespace {
bool toInt(const QString &text, int *value, int minimum = 0)
{
    bool ok = false;
    const int v = text.toInt(&ok, 0); // 0x prefix allowed
    if (!ok || v < minimum)
        return false;
    *value = v;
    return true;
}

bool toSeconds(const QString &text, int *msecs)
{
    bool ok = false;
    const double s = text.toDouble(&ok);
    if (!ok || s < 0)
        return false;
    *msecs = qRound(s * 1000.0);
    return true;
}

QSet<int> chunkSet(const QString &text, bool *ok)
{
    QSet<int> set;
    *ok = true;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        int v = 0;
        if (!toInt(part, &v, 1)) {
            *ok = false;
            return {};
        }
        set.insert(v);
    }
    return set;
}
} // namespace

bool SimulatorCommandLine::parseIgnore(const QString &value)
{
    const QStringList parts = value.split(QLatin1Char(':'));
    int type = 0;
    int count = 0;
    if (parts.size() != 2 || !toInt(parts[0], &type) || type > 0xFF || !toInt(parts[1], &count, 1))
        return false;
    m_config.ignore.append({quint8(type), count});
    return true;
}

bool SimulatorCommandLine::parseCut(const QString &value)
{
    // record:chunk[:seconds of silence]
    const QStringList parts = value.split(QLatin1Char(':'));
    Config &c = m_config;
    return parts.size() >= 2 && parts.size() <= 3 && toInt(parts[0], &c.cutRecord, 1)
           && toInt(parts[1], &c.cutChunk, 1)
           && (parts.size() < 3 || toSeconds(parts[2], &c.cutSilenceMs));
}

bool SimulatorCommandLine::parseSyncPairs(const QString &value)
{
    // record[:data chunks[:CRC chunks[:CRC-high-zero chunks]]], chunks as comma lists; by
    // default chunk 1 carries the pair in its data and chunk 2 in its CRC.
    const QStringList parts = value.split(QLatin1Char(':'));
    SyncPairFault f;
    bool ok = parts.size() <= 4 && toInt(parts[0], &f.record, 1);
    f.dataChunks = parts.size() > 1 ? chunkSet(parts[1], &ok) : QSet<int>{1};
    if (!ok)
        return false;
    f.crcChunks = parts.size() > 2 ? chunkSet(parts[2], &ok) : QSet<int>{2};
    if (!ok)
        return false;
    if (parts.size() > 3)
        f.zeroCrcHighChunks = chunkSet(parts[3], &ok);
    if (!ok)
        return false;
    m_config.syncPairs = f;
    return true;
}

bool SimulatorCommandLine::parseHttpFault(const QString &value)
{
    using S = SimulatedServices;
    const QStringList parts = value.split(QLatin1Char('='));
    if (parts.size() != 2)
        return false;
    const QHash<QString, S::Endpoint> endpoints = {{QStringLiteral("catalogue"), S::Endpoint::Catalogue},
                                                   {QStringLiteral("images"), S::Endpoint::Images},
                                                   {QStringLiteral("software"), S::Endpoint::SoftwareVersion}};
    const QHash<QString, S::Fault> faults = {{QStringLiteral("none"), S::Fault::None},
                                             {QStringLiteral("error"), S::Fault::ServerError},
                                             {QStringLiteral("notjson"), S::Fault::NotJson},
                                             {QStringLiteral("truncated"), S::Fault::Truncated},
                                             {QStringLiteral("short"), S::Fault::ShortBody},
                                             {QStringLiteral("slow"), S::Fault::Slow}};
    if (!endpoints.contains(parts[0]) || !faults.contains(parts[1]))
        return false;
    m_config.httpFaults.append({endpoints.value(parts[0]), faults.value(parts[1])});
    return true;
}

bool SimulatorCommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Simulated R7 aircraft on a pseudo-terminal, with the firmware and software-version services "
        "on 127.0.0.1. Prints the serial device path and the service URL, one a line."));
    const QCommandLineOption help = p.addHelpOption();
    const QCommandLineOption log(QStringLiteral("log"), QStringLiteral("Log every frame received (time, type, length, payload in hex)."));
    const QCommandLineOption rate(QStringLiteral("rate"), QStringLiteral("Telemetry frames per second for each type (0: none)."), QStringLiteral("hz"), QStringLiteral("10"));
    const QCommandLineOption baud(QStringLiteral("baud"), QStringLiteral("Line rate of the wire, e.g. 115200: bytes leave one byte time (ten bits) apart and host frames take their line time to arrive (0: no pacing)."), QStringLiteral("rate"), QStringLiteral("0"));
    const QCommandLineOption timingLog(QStringLiteral("timing-log"), QStringLiteral("Write one line per frame with its times on the wire to this file (for the benchmarks)."), QStringLiteral("file"));
    const QCommandLineOption records(QStringLiteral("records"), QStringLiteral("Number of black-box records."), QStringLiteral("n"), QStringLiteral("12"));
    const QCommandLineOption blocks(QStringLiteral("blocks"), QStringLiteral("Blocks of 256 bytes a record, as min:max."), QStringLiteral("min:max"), QStringLiteral("20:60"));
    const QCommandLineOption httpPort(QStringLiteral("http-port"), QStringLiteral("Port of the web services (0: any free port)."), QStringLiteral("port"), QStringLiteral("0"));
    const QCommandLineOption software(QStringLiteral("software-version"), QStringLiteral("Latest program version the service names."), QStringLiteral("text"), QStringLiteral("1.55"));
    const QCommandLineOption softwareNumber(QStringLiteral("software-version-number"), QStringLiteral("Send the version as a JSON number."));
    const QCommandLineOption silent(QStringLiteral("silent"), QStringLiteral("Fault: the aircraft sends nothing at all."));
    const QCommandLineOption silentAfter(QStringLiteral("silent-after"), QStringLiteral("Fault: fall silent this long after the handshake."), QStringLiteral("seconds"));
    const QCommandLineOption ignore(QStringLiteral("ignore"), QStringLiteral("Fault: leave the first requests of a type unanswered, e.g. 0x02:3 (repeatable)."), QStringLiteral("type:count"));
    const QCommandLineOption corrupt(QStringLiteral("corrupt-every"), QStringLiteral("Fault: every n-th reply has a bad CRC."), QStringLiteral("n"));
    const QCommandLineOption syncPairs(QStringLiteral("bb-sync"), QStringLiteral("Fault: black-box chunks of a record carry EB 90 in their data or CRC, or a CRC whose high byte is 0, e.g. 10:1,3:2:5."), QStringLiteral("record[:data[:crc[:zero]]]"));
    const QCommandLineOption cut(QStringLiteral("bb-cut"), QStringLiteral("Fault: the aircraft falls silent (7 s unless given) when a black-box chunk is asked for, once, e.g. 12:20 or 12:20:10."), QStringLiteral("record:chunk[:seconds]"));
    const QCommandLineOption splitZero(QStringLiteral("split-final-zero"), QStringLiteral("Fault: bytes that end in 0x00 leave in two writes, the last byte a moment later."));
    const QCommandLineOption storm(QStringLiteral("storm"), QStringLiteral("Fault: random valid frames of every reply type, per second."), QStringLiteral("frames"));
    const QCommandLineOption unplugAfter(QStringLiteral("unplug-after"), QStringLiteral("Fault: unplug the aircraft after this long."), QStringLiteral("seconds"));
    const QCommandLineOption replugAfter(QStringLiteral("replug-after"), QStringLiteral("Plug it in again (new device path) this long after unplugging."), QStringLiteral("seconds"));
    const QCommandLineOption httpFault(QStringLiteral("http-fault"), QStringLiteral("Fault of an endpoint (catalogue, images, software): error, notjson, truncated, short, slow (repeatable)."), QStringLiteral("endpoint=fault"));
    const QCommandLineOption slowMs(QStringLiteral("slow-ms"), QStringLiteral("Delay of the slow fault."), QStringLiteral("ms"), QStringLiteral("2000"));
    const QCommandLineOption tlsCert(QStringLiteral("tls-cert"), QStringLiteral("Serve HTTPS with this PEM certificate (needs --tls-key)."), QStringLiteral("file"));
    const QCommandLineOption tlsKey(QStringLiteral("tls-key"), QStringLiteral("PEM RSA private key of --tls-cert."), QStringLiteral("file"));
    p.addOptions({log, rate, baud, timingLog, records, blocks, httpPort, software, softwareNumber, silent, silentAfter,
                  ignore, corrupt, syncPairs, cut, splitZero, storm, unplugAfter, replugAfter, httpFault, slowMs,
                  tlsCert, tlsKey});
    m_help = p.helpText();
    if (!p.parse(arguments)) {
        m_error = p.errorText();
        return false;
    }
    m_helpRequested = p.isSet(help);
    Config &c = m_config;
    c = Config();
    c.log = p.isSet(log);
    c.silent = p.isSet(silent);
    c.softwareVersion = p.value(software);
    c.softwareVersionAsNumber = p.isSet(softwareNumber);

    bool ok = true;
    c.telemetryHz = p.value(rate).toDouble(&ok);
    auto bad = [this](const QCommandLineOption &o, const QString &v) {
        m_error = QStringLiteral("invalid value for --%1: %2").arg(o.names().constFirst(), v);
        return false;
    };
    if (!ok || c.telemetryHz < 0)
        return bad(rate, p.value(rate));
    if (!toInt(p.value(baud), &c.baud))
        return bad(baud, p.value(baud));
    c.timingLog = p.value(timingLog);
    if (!toInt(p.value(records), &c.plan.recordCount))
        return bad(records, p.value(records));
    const QStringList bounds = p.value(blocks).split(QLatin1Char(':'));
    if (bounds.size() != 2 || !toInt(bounds[0], &c.plan.minBlocks, 1) || !toInt(bounds[1], &c.plan.maxBlocks, c.plan.minBlocks))
        return bad(blocks, p.value(blocks));
    int port = 0;
    if (!toInt(p.value(httpPort), &port) || port > 65535)
        return bad(httpPort, p.value(httpPort));
    c.httpPort = quint16(port);
    if (p.isSet(silentAfter) && !toSeconds(p.value(silentAfter), &c.silentAfterMs))
        return bad(silentAfter, p.value(silentAfter));
    for (const QString &v : p.values(ignore)) {
        if (!parseIgnore(v))
            return bad(ignore, v);
    }
    if (p.isSet(corrupt) && !toInt(p.value(corrupt), &c.corruptEvery, 1))
        return bad(corrupt, p.value(corrupt));
    if (p.isSet(syncPairs) && !parseSyncPairs(p.value(syncPairs)))
        return bad(syncPairs, p.value(syncPairs));
    if (p.isSet(cut) && !parseCut(p.value(cut)))
        return bad(cut, p.value(cut));
    c.splitFinalZero = p.isSet(splitZero);
    if (p.isSet(storm) && !toInt(p.value(storm), &c.stormRate, 1))
        return bad(storm, p.value(storm));
    if (p.isSet(unplugAfter) && !toSeconds(p.value(unplugAfter), &c.unplugAfterMs))
        return bad(unplugAfter, p.value(unplugAfter));
    if (p.isSet(replugAfter) && !toSeconds(p.value(replugAfter), &c.replugAfterMs))
        return bad(replugAfter, p.value(replugAfter));
    for (const QString &v : p.values(httpFault)) {
        if (!parseHttpFault(v))
            return bad(httpFault, v);
    }
    if (!toInt(p.value(slowMs), &c.slowMs))
        return bad(slowMs, p.value(slowMs));
    if (p.isSet(tlsCert) || p.isSet(tlsKey)) {
        QFile cert(p.value(tlsCert));
        QFile key(p.value(tlsKey));
        if (cert.open(QIODevice::ReadOnly))
            c.tlsCertificate = QSslCertificate(cert.readAll());
        if (key.open(QIODevice::ReadOnly))
            c.tlsKey = QSslKey(key.readAll(), QSsl::Rsa);
        if (c.tlsCertificate.isNull())
            return bad(tlsCert, p.value(tlsCert));
        if (c.tlsKey.isNull())
            return bad(tlsKey, p.value(tlsKey));
    }
    return true;
}

void SimulatorCommandLine::apply(AircraftEngine &aircraft, SimulatedServices &services) const
{
    const Config &c = m_config;
    aircraft.setTelemetryRate(c.telemetryHz);
    aircraft.setBlackBoxPlan(c.plan);
    aircraft.setSilent(c.silent);
    aircraft.setSilentAfter(c.silentAfterMs);
    for (const auto &i : c.ignore)
        aircraft.setIgnoreFirst(i.first, i.second);
    aircraft.setCorruptCrcEvery(c.corruptEvery);
    aircraft.setSyncPairFault(c.syncPairs);
    aircraft.setBlackBoxCut(c.cutRecord, c.cutChunk, c.cutSilenceMs);
    aircraft.setStormRate(c.stormRate);
    aircraft.setSplitBeforeFinalZero(c.splitFinalZero);
    services.setSoftwareVersion(c.softwareVersion);
    services.setSoftwareVersionAsNumber(c.softwareVersionAsNumber);
    services.setSlowDelay(c.slowMs);
    for (const auto &f : c.httpFaults)
        services.setFault(f.first, f.second);
    services.setTls(c.tlsCertificate, c.tlsKey);
}

bool SimulatorCommandLine::applyToWire(SimulatedAircraft &aircraft) const
{
    aircraft.setBaud(m_config.baud);
    return m_config.timingLog.isEmpty() || aircraft.setTimingLog(m_config.timingLog);
}
