#include "sim/PseudoTerminal.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {
bool slaveName(int master, char *name, size_t size)
{
#if defined(__linux__)
    return ::ptsname_r(master, name, size) == 0;
#else
    const char *shared = ::ptsname(master); // static buffer; we are single-threaded here
    if (!shared)
        return false;
    std::strncpy(name, shared, size - 1);
    return true;
#endif
}
} // namespace

PseudoTerminal::PseudoTerminal(QObject *parent)
    : QObject(parent)
{}

PseudoTerminal::~PseudoTerminal()
{
    close();
}

void PseudoTerminal::fail(const QString &what)
{
    m_error = QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(errno)));
}

bool PseudoTerminal::openPair()
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0) {
        fail(QStringLiteral("posix_openpt"));
        return false;
    }
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        fail(QStringLiteral("grantpt/unlockpt"));
        close();
        return false;
    }
    char name[128] = {};
    if (!slaveName(m_master, name, sizeof name)) {
        fail(QStringLiteral("ptsname"));
        close();
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_slave < 0) {
        fail(QStringLiteral("open %1").arg(m_slavePath));
        close();
        return false;
    }
    // Raw both ways: no echo, no line editing, no CR/LF translation, 8 bits.
    termios tio{};
    if (::tcgetattr(m_slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B115200);
        ::cfsetospeed(&tio, B115200);
        ::tcsetattr(m_slave, TCSANOW, &tio);
    }
    const int flags = ::fcntl(m_master, F_GETFL);
    ::fcntl(m_master, F_SETFL, flags | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    return true;
}

bool PseudoTerminal::open(const QString &avoidPath)
{
    close();
    m_error.clear();
    // The kernel hands out the lowest free number, which may be the one just released. Hold a
    // pair with the unwanted path while asking for the next one.
    int heldMaster = -1;
    int heldSlave = -1;
    bool ok = openPair();
    if (ok && !avoidPath.isEmpty() && m_slavePath == avoidPath) {
        heldMaster = m_master;
        heldSlave = m_slave;
        m_master = m_slave = -1;
        ok = openPair();
    }
    if (heldSlave >= 0)
        ::close(heldSlave);
    if (heldMaster >= 0)
        ::close(heldMaster);
    if (!ok)
        return false;

    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &PseudoTerminal::readMaster);
    m_writeNotifier = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &PseudoTerminal::flushPending);
    return true;
}

void PseudoTerminal::close()
{
    delete m_readNotifier;
    m_readNotifier = nullptr;
    delete m_writeNotifier;
    m_writeNotifier = nullptr;
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = m_master = -1;
    m_pending.clear();
}

void PseudoTerminal::readMaster()
{
    char buffer[4096];
    QByteArray received;
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            received.append(buffer, qsizetype(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // EAGAIN: drained. EIO cannot happen while our own slave is open.
    }
    if (!received.isEmpty())
        emit dataReceived(received);
}

void PseudoTerminal::write(const QByteArray &bytes)
{
    if (m_master < 0)
        return;
    if (m_pending.size() + bytes.size() > kMaxPending) {
        // Nobody is reading: drop the backlog rather than grow without bound.
        m_dropped += m_pending.size();
        m_pending.clear();
    }
    m_pending.append(bytes);
    flushPending();
}

void PseudoTerminal::flushPending()
{
    while (m_master >= 0 && !m_pending.isEmpty()) {
        const ssize_t n = ::write(m_master, m_pending.constData(), size_t(m_pending.size()));
        if (n > 0) {
            m_pending.remove(0, qsizetype(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // EAGAIN: the pty is full; wait for the write notifier
    }
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(!m_pending.isEmpty());
}

void PseudoTerminal::discardUnread()
{
    m_dropped += m_pending.size();
    m_pending.clear();
    if (m_slave >= 0)
        ::tcflush(m_slave, TCIFLUSH);
}
