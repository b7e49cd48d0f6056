#pragma once

// A minimal aircraft for tests: holds a pseudo-terminal, records every host frame it receives and,
// when told to, answers connect and heartbeat frames so that the link hand-shakes and stays up.
#include <QtGlobal>
#ifdef Q_OS_UNIX

#include "support/FrameBytes.h"
#include "support/TestPty.h"

#include <QElapsedTimer>
#include <QSocketNotifier>

#include <memory>
#include <unistd.h>

class ScriptedAircraft : public QObject
{
public:
    struct Received
    {
        qint64 ms;
        uint8_t type;
        QByteArray frame;
    };

    explicit ScriptedAircraft(QElapsedTimer *clock)
        : m_clock(clock)
    {
        m_pty.holdSlaveOpen();
        m_notifier = std::make_unique<QSocketNotifier>(m_pty.masterFd(), QSocketNotifier::Read);
        connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] { readHost(); });
    }

    QString path() const { return m_pty.slavePath(); }
    void setAnswering(bool on) { m_answering = on; }
    void unplug()
    {
        m_notifier.reset();
        m_pty.closeMaster();
    }
    const QList<Received> &received() const { return m_received; }
    int countOfType(uint8_t type) const
    {
        return int(std::count_if(m_received.cbegin(), m_received.cend(), [type](const Received &r) { return r.type == type; }));
    }

private:
    void readHost()
    {
        char buffer[4096];
        const ssize_t n = ::read(m_pty.masterFd(), buffer, sizeof buffer);
        if (n <= 0)
            return;
        m_pending.append(buffer, int(n));
        // Host frames carry their length and a trailer: EB 90, 4 bytes, type, length, payload, CRC, 51 5A.
        for (;;) {
            const int start = int(m_pending.indexOf(FrameBytes::hex("EB 90")));
            if (start < 0 || m_pending.size() - start < 12)
                break;
            const int size = 12 + uint8_t(m_pending[start + 7]);
            if (m_pending.size() - start < size)
                break;
            const QByteArray frame = m_pending.mid(start, size);
            m_pending.remove(0, start + size);
            m_received.append({m_clock->elapsed(), uint8_t(frame[6]), frame});
            if (m_answering && uint8_t(frame[6]) == 0xC1)
                m_pty.write(FrameBytes::reply(0xC1, FrameBytes::hex("00")));
        }
    }

    QElapsedTimer *m_clock;
    TestPty m_pty;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QByteArray m_pending;
    QList<Received> m_received;
    bool m_answering = false;
};

#endif
