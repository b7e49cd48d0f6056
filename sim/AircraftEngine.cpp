#include "sim/AircraftEngine.h"

#include "sim/AircraftFrame.h"
#include "sim/TelemetryGenerator.h"
#include "sim/WireWriter.h"

#include <QTimer>

AircraftEngine::AircraftEngine(QObject *parent)
    : QObject(parent)
    , m_parameters(m_state)
    , m_flight(m_state)
    , m_firmware(m_state)
    , m_telemetryTimer(new QTimer(this))
    , m_watchdog(new QTimer(this))
    , m_stormTimer(new QTimer(this))
    , m_silentTimer(new QTimer(this))
{
    m_clock.start();
    m_telemetryTimer->setTimerType(Qt::PreciseTimer);
    connect(m_telemetryTimer, &QTimer::timeout, this, &AircraftEngine::sendTelemetry);
    connect(m_stormTimer, &QTimer::timeout, this, &AircraftEngine::sendStorm);
    connect(m_watchdog, &QTimer::timeout, this, &AircraftEngine::checkHost);
    m_watchdog->start(250);
    m_silentTimer->setSingleShot(true);
    connect(m_silentTimer, &QTimer::timeout, this, [this] { setSilent(true); });
    setTelemetryRate(m_telemetryHz);
}

AircraftEngine::~AircraftEngine() = default;

const QList<quint8> &AircraftEngine::replyTypes()
{
    static const QList<quint8> kTypes = {
        0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E,
        0x0F, 0x10, 0x11, 0x12, 0x14, 0x17, 0x18, 0x19, 0x1B, 0x1C, 0x41, 0x42, 0x43, 0x44,
        0x45, 0x46, 0x47, 0x48, 0x4B, 0x81, 0xC1, 0xC2, 0xC3, 0xC4, 0xD1, 0xD2, 0xD3, 0xD4,
        0xD5, 0xD6, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5};
    return kTypes;
}

void AircraftEngine::receiveBytes(const QByteArray &bytes)
{
    const QList<HostFrame> frames = m_parser.feed(bytes);
    for (const HostFrame &f : frames)
        handleFrame(f);
}

void AircraftEngine::handleFrame(const HostFrame &frame)
{
    m_lastHostMs = m_clock.elapsed();
    emit frameReceived(frame.type, int(frame.payload.size()), frame.raw);
    if (m_silent)
        return;
    auto ignored = m_ignore.find(frame.type);
    if (ignored != m_ignore.end() && ignored.value() > 0) {
        --ignored.value();
        return;
    }
    const qint64 now = m_clock.elapsed();
    if (frame.type == 0xC1) {
        sendReplies(handshake(frame));
    } else if (ParameterResponder::handles(frame.type)) {
        sendReplies(m_parameters.respond(frame, now));
    } else if (FlightCommandResponder::handles(frame.type)) {
        sendReplies(m_flight.respond(frame, now));
    } else if (FirmwareReceiver::handles(frame.type)) {
        sendReplies(m_firmware.respond(frame));
        FirmwareResult result;
        if (m_firmware.takeFinished(&result))
            emit firmwareReceived(result.module, result.image.size(), result.sha256, result.complete);
    } else if (BlackBoxResponder::handles(frame.type)) {
        if (cutsBlackBox(frame))
            return;
        sendReplies(m_blackBox.respond(frame));
    }
    // Anything else (0x3F among them) has no answer.
}

SimReplies AircraftEngine::handshake(const HostFrame &frame)
{
    // Connect (flag and the host's date and time) and heartbeat (flag) are both answered with
    // 00; an empty payload is the host saying goodbye.
    if (frame.payload.isEmpty()) {
        setConnected(false);
        return {};
    }
    setConnected(true);
    return {SimReply(0xC1, QByteArray(1, 0))};
}

void AircraftEngine::sendReplies(const SimReplies &replies)
{
    for (const SimReply &r : replies) {
        if (r.delayMs > 0)
            QTimer::singleShot(r.delayMs, this, [this, r] { sendReply(r); });
        else
            sendReply(r);
    }
}

void AircraftEngine::sendReply(const SimReply &reply)
{
    if (m_silent)
        return;
    QByteArray frame = reply.forcedCrc >= 0 ? AircraftFrame::buildWithCrc(reply.type, reply.payload, quint16(reply.forcedCrc))
                                       : AircraftFrame::buildClean(reply.type, reply.payload);
    ++m_replyCount;
    if (m_corruptEvery > 0 && m_replyCount % quint64(m_corruptEvery) == 0)
        AircraftFrame::corruptCrc(frame);
    emit frameSent(reply.type, int(reply.payload.size()));
    transmit(frame);
}

void AircraftEngine::setConnected(bool connected)
{
    if (connected == m_connected)
        return;
    m_connected = connected;
    if (connected)
        armSilentAfter();
    emit connectionChanged(connected);
}

void AircraftEngine::setTelemetryRate(double hz)
{
    m_telemetryHz = hz;
    if (hz <= 0) {
        m_telemetryTimer->stop();
        return;
    }
    m_telemetryTimer->start(qMax(1, qRound(1000.0 / hz)));
}

void AircraftEngine::sendTelemetry()
{
    if (!m_connected || m_silent)
        return;
    const qint64 now = m_clock.elapsed();
    const TelemetrySample sample = TelemetryGenerator::sampleAt(now, m_state);
    QByteArray burst;
    for (quint8 type : TelemetryGenerator::types()) {
        const QByteArray payload = TelemetryGenerator::payload(type, sample, now, m_state);
        burst.append(AircraftFrame::buildClean(type, payload));
        emit frameSent(type, int(payload.size()));
    }
    transmit(burst);
}

void AircraftEngine::checkHost()
{
    if (m_connected && m_clock.elapsed() - m_lastHostMs > m_hostTimeoutMs) {
        setConnected(false);
        emit hostWentQuiet();
    }
}

void AircraftEngine::setSilent(bool silent)
{
    m_silent = silent;
    if (!silent)
        m_silentTimer->stop();
}

void AircraftEngine::setBlackBoxCut(int record, int chunk, int silenceMs)
{
    m_cut = {record, chunk, silenceMs};
}

bool AircraftEngine::cutsBlackBox(const HostFrame &frame)
{
    const WireReader r(frame.payload);
    if (m_cut.record <= 0 || frame.type != 0xE5 || r.u32be(0) != quint32(m_cut.record)
        || r.u32be(4) != quint32(m_cut.chunk))
        return false;
    m_cut.record = 0;
    setSilent(true);
    QTimer::singleShot(m_cut.silenceMs, this, [this] { setSilent(false); });
    return true;
}

void AircraftEngine::setSilentAfter(int msecs)
{
    m_silentAfterMs = msecs;
    m_silentTimer->stop();
    if (msecs >= 0 && m_connected)
        armSilentAfter();
}

void AircraftEngine::armSilentAfter()
{
    if (m_silentAfterMs >= 0 && !m_silentTimer->isActive() && !m_silent) {
        m_silentTimer->start(m_silentAfterMs);
        m_silentAfterMs = -1; // once
    }
}

void AircraftEngine::setIgnoreFirst(quint8 type, int count)
{
    if (count > 0)
        m_ignore.insert(type, count);
    else
        m_ignore.remove(type);
}

void AircraftEngine::setCorruptCrcEvery(int n)
{
    m_corruptEvery = qMax(0, n);
    m_replyCount = 0;
}

void AircraftEngine::setStormRate(int framesPerSecond)
{
    if (framesPerSecond <= 0) {
        m_stormTimer->stop();
        return;
    }
    m_stormPerTick = qMax(1, framesPerSecond / 1000);
    m_stormTimer->start(qMax(1, 1000 / framesPerSecond));
}

void AircraftEngine::sendStorm()
{
    if (m_silent)
        return;
    QByteArray burst;
    for (int i = 0; i < m_stormPerTick; ++i) {
        const QList<quint8> &types = replyTypes();
        const quint8 type = types[m_stormIndex++ % types.size()];
        QByteArray payload(int(m_random.bounded(256)), Qt::Uninitialized);
        for (char &c : payload)
            c = char(m_random.bounded(256));
        AircraftFrame::removeSyncPairs(payload);
        burst.append(AircraftFrame::buildClean(type, payload));
    }
    transmit(burst);
}

void AircraftEngine::transmit(const QByteArray &bytes)
{
    if (!m_held.isNull()) { // a split frame's last byte is still due: keep the order
        m_held.append(bytes);
        return;
    }
    if (!m_splitFinalZero || !bytes.endsWith('\0')) {
        emit outgoing(bytes);
        return;
    }
    ++m_splitsMade;
    emit outgoing(bytes.chopped(1));
    m_held = bytes.right(1);
    QTimer::singleShot(kSplitPauseMs, this, [this] {
        QByteArray rest;
        rest.swap(m_held);
        emit outgoing(rest);
    });
}

void AircraftEngine::clearFaults()
{
    setSilent(false);
    setSilentAfter(-1);
    m_ignore.clear();
    setCorruptCrcEvery(0);
    setSyncPairFault(SyncPairFault());
    setStormRate(0);
    setSplitBeforeFinalZero(false);
    setRefuseFirmwareChunks(0);
    m_cut = BlackBoxCut();
}
