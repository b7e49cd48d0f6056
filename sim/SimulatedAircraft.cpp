#include "sim/SimulatedAircraft.h"

#include "sim/SerialLine.h"

#ifdef Q_OS_UNIX
#include "sim/PseudoTerminal.h"
#endif

SimulatedAircraft::SimulatedAircraft(QObject *parent)
    : AircraftEngine(parent)
    , m_line(new SerialLine(this))
{
    connect(this, &AircraftEngine::outgoing, m_line, &SerialLine::toHost);
    connect(m_line, &SerialLine::writeToHost, this, &SimulatedAircraft::transmit);
    connect(m_line, &SerialLine::deliverToAircraft, this, &AircraftEngine::receiveBytes);
    // The program went away: what it left unread would greet it, stale, when it comes back.
    connect(this, &AircraftEngine::hostWentQuiet, m_line, &SerialLine::discard);
#ifdef Q_OS_UNIX
    m_pty = new PseudoTerminal(this);
    connect(m_pty, &PseudoTerminal::dataReceived, m_line, &SerialLine::fromHost);
    connect(this, &AircraftEngine::hostWentQuiet, m_pty, &PseudoTerminal::discardUnread);
#endif
}

void SimulatedAircraft::setBaud(int baud)
{
    m_line->setBaud(baud);
}

int SimulatedAircraft::baud() const
{
    return m_line->baud();
}

bool SimulatedAircraft::setTimingLog(const QString &path)
{
    return m_line->setTimingLog(path);
}

SimulatedAircraft::~SimulatedAircraft() = default;

bool SimulatedAircraft::start()
{
    return plugIn();
}

void SimulatedAircraft::stop()
{
#ifdef Q_OS_UNIX
    m_pty->close();
#endif
}

bool SimulatedAircraft::isRunning() const
{
#ifdef Q_OS_UNIX
    return m_pty->isOpen();
#else
    return false;
#endif
}

QString SimulatedAircraft::slavePath() const
{
#ifdef Q_OS_UNIX
    return m_pty->isOpen() ? m_pty->slavePath() : QString();
#else
    return QString();
#endif
}

void SimulatedAircraft::unplug()
{
#ifdef Q_OS_UNIX
    if (!m_pty->isOpen())
        return;
    m_pty->close();
    m_line->discard();
    emit unplugged();
#endif
}

bool SimulatedAircraft::plugIn()
{
#ifdef Q_OS_UNIX
    if (m_pty->isOpen())
        return true;
    if (!m_pty->open(m_lastPath)) {
        m_error = m_pty->errorString();
        return false;
    }
    m_lastPath = m_pty->slavePath();
    m_error.clear();
    emit slavePathChanged(m_lastPath);
    return true;
#else
    m_error = tr("The simulated aircraft needs pseudo-terminals, which this system does not have.");
    return false;
#endif
}

void SimulatedAircraft::transmit(const QByteArray &bytes)
{
#ifdef Q_OS_UNIX
    m_pty->write(bytes);
#else
    Q_UNUSED(bytes)
#endif
}
