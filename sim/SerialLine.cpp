#include "sim/SerialLine.h"

#include <QFile>

#include <cstdio>
#include <limits>

namespace {
constexpr qint64 kSliceNs = 1000000; // a USB serial bridge hands bytes over every millisecond
constexpr qint64 kExactNs = 3000000; // a burst ending sooner than this is written at its last byte
constexpr qint64 kSpinNs = 1500000;  // an exact deadline closer than this is waited out by spinning
constexpr int kHostOverhead = 12;    // header 8, CRC 2, trailer 2
constexpr int kAircraftOverhead = 10; // header 8, CRC 2
} // namespace

SerialLine::SerialLine(QObject *parent)
    : QObject(parent)
{
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &SerialLine::pump);
}

SerialLine::~SerialLine() = default;

void SerialLine::setBaud(int baud)
{
    m_baud = qMax(0, baud);
    m_byteNs = m_baud > 0 ? 10 * qint64(1000000000) / m_baud : 0; // 8N1: ten bits a byte
}

bool SerialLine::setTimingLog(const QString &path)
{
    m_log = std::make_unique<QFile>(path);
    if (!m_log->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_log.reset();
        return false;
    }
    return true;
}

void SerialLine::fromHost(const QByteArray &bytes)
{
    const qint64 t = now();
    if (m_log)
        walk(m_rxCarry, bytes, kHostOverhead, t, &m_rxCarryNs, 0, m_rxFrames);
    m_rxBuffer.append(bytes);
    if (m_byteNs == 0) {
        deliverRx();
        return;
    }
    // The bytes start across the line when they are written, or when the line is free again.
    m_rxDoneNs = qMax(t, m_rxDoneNs) + bytes.size() * m_byteNs;
    pump();
}

void SerialLine::toHost(const QByteArray &bytes)
{
    const qint64 t = now();
    if (m_log)
        walk(m_txCarry,
             bytes,
             kAircraftOverhead,
             t,
             &m_txCarryNs,
             m_txQueued + bytes.size(),
             m_txFrames);
    m_txQueued += bytes.size();
    if (m_byteNs == 0) {
        m_txQueue.append(bytes);
        writeTx(int(m_txQueue.size()));
        return;
    }
    if (m_txQueue.isEmpty())
        m_txBaseNs = qMax(t, m_txBaseNs); // an idle line starts now
    m_txQueue.append(bytes);
    pump();
}

void SerialLine::discard()
{
    m_timer.stop();
    m_txQueue.clear();
    m_rxBuffer.clear();
    m_txQueued = m_txWritten;
    m_txCarry.clear();
    m_rxCarry.clear();
    m_txFrames.clear();
    m_rxFrames.clear();
}

void SerialLine::pump()
{
    for (;;) {
        const qint64 t = now();
        if (!m_txQueue.isEmpty()) {
            const qint64 due = (t - m_txBaseNs) / m_byteNs;
            if (due > 0)
                writeTx(int(qMin<qint64>(due, m_txQueue.size())));
        }
        if (!m_rxBuffer.isEmpty() && t >= m_rxDoneNs)
            deliverRx();

        qint64 next = -1;
        bool exact = false;
        if (!m_txQueue.isEmpty()) {
            const qint64 end = m_txBaseNs + m_txQueue.size() * m_byteNs;
            exact = end - t <= kExactNs;
            next = exact ? end : t + kSliceNs;
        }
        if (!m_rxBuffer.isEmpty() && (next < 0 || m_rxDoneNs <= next)) {
            next = m_rxDoneNs;
            exact = true;
        }
        if (next < 0)
            return;
        const qint64 wait = next - now();
        if (wait <= 0)
            continue;
        if (exact && wait <= kSpinNs) {
            while (now() < next) {
                // spin: a timer could not hit this microsecond
            }
            continue;
        }
        // Wake early enough for an exact deadline to be reached by spinning.
        const qint64 sleep = exact ? wait - kSpinNs : wait;
        m_timer.start(int(sleep / 1000000));
        return;
    }
}

void SerialLine::writeTx(int count)
{
    const QByteArray slice = m_txQueue.left(count);
    m_txQueue.remove(0, count);
    m_txBaseNs += count * m_byteNs;
    Q_EMIT writeToHost(slice);
    m_txWritten += count;
    if (m_log)
        logFrames(m_txFrames, "tx", now(), m_txWritten);
}

void SerialLine::deliverRx()
{
    QByteArray bytes;
    bytes.swap(m_rxBuffer);
    const qint64 t = now();
    if (m_log)
        logFrames(m_rxFrames, "rx", t, std::numeric_limits<qint64>::max());
    Q_EMIT deliverToAircraft(bytes);
}

void SerialLine::logFrames(QList<Frame> &frames,
                           const char *direction,
                           qint64 doneNs,
                           qint64 upToByte)
{
    while (!frames.isEmpty() && frames.constFirst().endByte <= upToByte) {
        const Frame f = frames.takeFirst();
        char line[96];
        const int n = std::snprintf(line,
                                    sizeof line,
                                    "%s %02x %d %.1f %.1f\n",
                                    direction,
                                    f.type,
                                    f.bytes,
                                    double(f.startNs) / 1000.0,
                                    double(doneNs) / 1000.0);
        m_log->write(line, n);
    }
}

void SerialLine::walk(QByteArray &carry,
                      const QByteArray &bytes,
                      int overhead,
                      qint64 startNs,
                      qint64 *carryStartNs,
                      qint64 streamEnd,
                      QList<Frame> &out)
{
    if (carry.isEmpty())
        *carryStartNs = startNs;
    carry.append(bytes);
    for (;;) {
        const int sync = int(carry.indexOf("\xEB\x90"));
        if (sync < 0) {
            carry = carry.endsWith('\xEB') ? QByteArray(1, '\xEB') : QByteArray();
            return;
        }
        carry.remove(0, sync);
        if (carry.size() < 8)
            return;
        const int size = quint8(carry[7]) + overhead;
        if (carry.size() < size)
            return;
        out.append({quint8(carry[6]), size, *carryStartNs, streamEnd - (carry.size() - size)});
        carry.remove(0, size);
        *carryStartNs = startNs; // what is left came with this read
    }
}
