#pragma once

#include "sim/AircraftState.h"
#include "sim/BlackBoxResponder.h"
#include "sim/FirmwareReceiver.h"
#include "sim/FlightCommandResponder.h"
#include "sim/HostFrameParser.h"
#include "sim/ParameterResponder.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QRandomGenerator>

class QTimer;

// The simulated flight controller without its wire: bytes from the host go in through
// receiveBytes(), everything it says comes out of outgoing(). It answers every command, streams
// telemetry while the host is connected, and can be told to misbehave in the ways a real link
// does (see the fault setters). Lives in one thread; every timer is a child.
class AircraftEngine : public QObject
{
    Q_OBJECT

public:
    static constexpr int kDefaultHostTimeoutMs = 3000;

    explicit AircraftEngine(QObject *parent = nullptr);
    ~AircraftEngine() override;

    void receiveBytes(const QByteArray &bytes);

    AircraftState &state() { return m_state; }
    const AircraftState &state() const { return m_state; }
    bool isConnected() const { return m_connected; }
    qint64 uptimeMs() const { return m_clock.elapsed(); }
    const HostFrameParser &parser() const { return m_parser; }
    const FirmwareResult &lastFirmware() const { return m_firmware.lastResult(); }
    const QList<FlightRecord> &flightRecords() const { return m_blackBox.records(); }

    // Telemetry frames 0x41..0x48 and 0x4B, each at this rate while connected; 0 stops them.
    void setTelemetryRate(double hz);
    double telemetryRate() const { return m_telemetryHz; }
    void setBlackBoxPlan(const BlackBoxPlan &plan) { m_blackBox.setPlan(plan); }
    const BlackBoxPlan &blackBoxPlan() const { return m_blackBox.plan(); }
    // Without frames from the host for this long the aircraft stops streaming telemetry.
    void setHostTimeout(int msecs) { m_hostTimeoutMs = msecs; }

    // Faults, each switchable at any time.
    void setSilent(bool silent);  // no bytes at all, and requests are not acted on
    bool isSilent() const { return m_silent; }
    // Fall silent this long after the next handshake (or from now when connected); -1 cancels.
    void setSilentAfter(int msecs);
    void setIgnoreFirst(quint8 type, int count); // the next count requests of a type go unanswered
    int ignoreRemaining(quint8 type) const { return m_ignore.value(type); }
    void setCorruptCrcEvery(int n); // every n-th reply leaves with a bad CRC; 0 is off
    // The next count firmware chunks are answered with a non-zero status (and not kept).
    void setRefuseFirmwareChunks(int count) { m_firmware.refuseChunks(count); }
    void setSyncPairFault(const SyncPairFault &fault) { m_blackBox.setSyncPairFault(fault); }
    // Random frames with good CRCs and random lengths, cycling through every reply type.
    void setStormRate(int framesPerSecond);
    void setStormSeed(quint32 seed) { m_random.seed(seed); }
    // Bytes that end in 0x00 leave in two writes, the last byte kSplitPauseMs later. A reply whose
    // CRC high byte is 0 already passes the CRC without that byte: the host must wait for it.
    void setSplitBeforeFinalZero(bool on) { m_splitFinalZero = on; }
    int splitsMade() const { return m_splitsMade; }
    static constexpr int kSplitPauseMs = 15;
    // When chunk `chunk` of record `record` is asked for, the aircraft falls silent for silenceMs
    // (the cable pulled in the middle of a record), then answers again; once. Record 0 is off.
    void setBlackBoxCut(int record, int chunk, int silenceMs = kDefaultCutSilenceMs);
    static constexpr int kDefaultCutSilenceMs = 7000; // longer than the host waits for bytes
    void clearFaults();

    // Every command type the host has a handler for.
    static const QList<quint8> &replyTypes();

signals:
    void outgoing(const QByteArray &bytes);
    void frameReceived(quint8 type, int payloadLength, const QByteArray &frame);
    void frameSent(quint8 type, int payloadLength);
    void connectionChanged(bool connected);
    void hostWentQuiet();
    void firmwareReceived(int module, qint64 size, const QByteArray &sha256, bool complete);

private:
    void handleFrame(const HostFrame &frame);
    bool cutsBlackBox(const HostFrame &frame);
    SimReplies handshake(const HostFrame &frame);
    void sendReplies(const SimReplies &replies);
    void sendReply(const SimReply &reply);
    void setConnected(bool connected);
    void transmit(const QByteArray &bytes);
    void sendTelemetry();
    void sendStorm();
    void checkHost();
    void armSilentAfter();

    AircraftState m_state;
    HostFrameParser m_parser;
    ParameterResponder m_parameters;
    FlightCommandResponder m_flight;
    FirmwareReceiver m_firmware;
    BlackBoxResponder m_blackBox;

    QElapsedTimer m_clock;
    QTimer *m_telemetryTimer;
    QTimer *m_watchdog;
    QTimer *m_stormTimer;
    QTimer *m_silentTimer;
    double m_telemetryHz = 10.0;
    int m_hostTimeoutMs = kDefaultHostTimeoutMs;
    qint64 m_lastHostMs = -1;
    bool m_connected = false;

    bool m_silent = false;
    int m_silentAfterMs = -1;
    QHash<quint8, int> m_ignore;
    struct BlackBoxCut
    {
        int record = 0;
        int chunk = 0;
        int silenceMs = 0;
    } m_cut;
    int m_corruptEvery = 0;
    bool m_splitFinalZero = false;
    int m_splitsMade = 0;
    QByteArray m_held; // written after a split frame's last byte, in order
    quint64 m_replyCount = 0;
    int m_stormPerTick = 1;
    int m_stormIndex = 0;
    QRandomGenerator m_random{20240506};
};
