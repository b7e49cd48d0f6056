#pragma once

// A pseudo-terminal pair for tests: the test holds the master, the code under test opens the
// slave path like a serial device.
#include <QtGlobal>
#ifdef Q_OS_UNIX

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

class TestPty
{
public:
    TestPty()
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0)
            m_slavePath = QString::fromLocal8Bit(ptsname(m_master));
    }
    ~TestPty()
    {
        closeMaster();
        if (m_heldSlave >= 0)
            ::close(m_heldSlave);
    }

    // Keeps the slave side open, so the master never sees a hang-up when the code under test
    // closes and reopens the device (as a port scan does).
    void holdSlaveOpen()
    {
        if (m_heldSlave < 0)
            m_heldSlave = ::open(m_slavePath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    }
    TestPty(const TestPty &) = delete;
    TestPty &operator=(const TestPty &) = delete;

    bool isValid() const { return m_master >= 0 && !m_slavePath.isEmpty(); }
    int masterFd() const { return m_master; }
    QString slavePath() const { return m_slavePath; }

    bool write(const QByteArray &bytes)
    {
        return ::write(m_master, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

    // What arrives within timeoutMs (returns early once nothing more comes for 50 ms).
    QByteArray read(int timeoutMs)
    {
        QByteArray out;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            pollfd p{m_master, POLLIN, 0};
            if (::poll(&p, 1, out.isEmpty() ? 20 : 50) <= 0) {
                if (!out.isEmpty())
                    break;
                continue;
            }
            char buffer[4096];
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n <= 0)
                break;
            out.append(buffer, int(n));
        }
        return out;
    }

    void closeMaster()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    int m_heldSlave = -1;
    QString m_slavePath;
};

#endif
