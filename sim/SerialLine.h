#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

#include <memory>

class QFile;

// The serial line between the aircraft and the host. Without a rate it passes bytes straight
// through. With one (115200 baud, 8N1: ten bits a byte) it behaves like the wire: what the
// aircraft says leaves one byte time after the other, in slices of about a millisecond as a USB
// serial bridge hands them over, and a host frame reaches the aircraft only when its last byte
// has crossed the line. The last byte of a burst and the end of a received frame are kept to the
// microsecond (a short spin), so the waits a benchmark measures belong to the host.
//
// A timing log, when set, gets one line per frame in either direction:
//   rx <type> <bytes> <first byte read, us> <handed to the aircraft, us>
//   tx <type> <bytes> <queued, us> <last byte written, us>
class SerialLine : public QObject
{
    Q_OBJECT

public:
    explicit SerialLine(QObject *parent = nullptr);
    ~SerialLine() override;

    void setBaud(int baud); // 0: no pacing
    int baud() const { return m_baud; }
    // Line time of one byte in nanoseconds (0 without pacing).
    qint64 byteTimeNs() const { return m_byteNs; }
    bool setTimingLog(const QString &path);

    // Bytes read from the host's side of the wire.
    void fromHost(const QByteArray &bytes);
    // Bytes the aircraft transmits.
    void toHost(const QByteArray &bytes);
    // The host went away: what is still on the wire is lost.
    void discard();

Q_SIGNALS:
    void deliverToAircraft(const QByteArray &bytes);
    void writeToHost(const QByteArray &bytes);

private:
    struct Frame
    {
        quint8 type;
        int bytes;
        qint64 startNs; // first byte read (rx) or queued (tx)
        qint64 endByte; // tx: stream offset just past the frame
    };

    qint64 now() const { return m_clock.nsecsElapsed(); }
    void pump();
    void writeTx(int count);
    void deliverRx();
    void logFrames(QList<Frame> &frames, const char *direction, qint64 doneNs, qint64 upToByte);
    // Cuts whole frames (sync, type at 6, length at 7, length + overhead bytes) off a copy of the
    // stream, for the log only.
    static void walk(QByteArray &carry,
                     const QByteArray &bytes,
                     int overhead,
                     qint64 startNs,
                     qint64 *carryStartNs,
                     qint64 streamEnd,
                     QList<Frame> &out);

    int m_baud = 0;
    qint64 m_byteNs = 0;
    QElapsedTimer m_clock;
    QTimer m_timer;

    // Aircraft to host: byte i of the queue completes at m_txBaseNs + (i + 1) * m_byteNs.
    QByteArray m_txQueue;
    qint64 m_txBaseNs = 0;
    qint64 m_txWritten = 0; // bytes written to the host so far
    qint64 m_txQueued = 0;

    // Host to aircraft: everything buffered has crossed the line at m_rxDoneNs.
    QByteArray m_rxBuffer;
    qint64 m_rxDoneNs = 0;

    std::unique_ptr<QFile> m_log;
    QByteArray m_rxCarry;
    QByteArray m_txCarry;
    qint64 m_rxCarryNs = 0;
    qint64 m_txCarryNs = 0;
    QList<Frame> m_rxFrames;
    QList<Frame> m_txFrames;
};
