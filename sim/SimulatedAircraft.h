#pragma once

#include "sim/AircraftEngine.h"

#include <QString>

class PseudoTerminal;
class SerialLine;

// The simulated aircraft on a pseudo-terminal: start() creates the pair and slavePath() names the
// device the program opens like the aircraft's USB serial port. All behaviour, settings and
// faults are those of AircraftEngine; this class adds the wire and the "unplug" fault.
// On systems without pseudo-terminals start() fails with an explanation.
class SimulatedAircraft : public AircraftEngine
{
    Q_OBJECT

public:
    explicit SimulatedAircraft(QObject *parent = nullptr);
    ~SimulatedAircraft() override;

    bool start();
    void stop();
    bool isRunning() const;
    QString slavePath() const;
    QString errorString() const { return m_error; }

    // Line rate of the wire (8N1); 0, the default, passes bytes without delay.
    void setBaud(int baud);
    int baud() const;
    // One line per frame each way with its times, for the transfer benchmarks.
    bool setTimingLog(const QString &path);

    // Pulls the cable: the master closes and the program's open port fails.
    void unplug();
    bool isPlugged() const { return isRunning(); }
    // Plugs it in again as a new device; returns false when no pair could be made.
    bool plugIn();

signals:
    void slavePathChanged(const QString &path);
    void unplugged();

private:
    void transmit(const QByteArray &bytes);

    SerialLine *m_line;
    PseudoTerminal *m_pty = nullptr;
    QString m_lastPath;
    QString m_error;
};
