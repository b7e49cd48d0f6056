#pragma once

// The program's real serial stack against the simulated aircraft: SerialPort and SerialLink wired
// as the application wires them (port to link, port errors to link, link to port), on the
// simulator's pseudo-terminal. Everything runs in this thread except the link's worker, whose
// signals reach the rig queued.

#include "app/AircraftParams.h"
#include "blackbox/BlackBoxDownloadState.h"
#include "link/seriallink.h"
#include "link/serialport.h"
#include "sim/SimulatedAircraft.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLoggingCategory>
#include <QTimer>

#include <functional>
#include <tuple>

namespace e2e {

// Runs the event loop until pred holds or the time is up; no sleeping, so the aircraft answers
// as fast as it can.
inline bool waitFor(const std::function<bool()> &pred, int timeoutMs)
{
    if (pred())
        return true;
    QEventLoop loop;
    QTimer check;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (pred() || clock.elapsed() > timeoutMs)
            loop.quit();
    });
    check.start(2);
    loop.exec();
    return pred();
}

inline void quietLinkDebugOutput()
{
    // The transfer driver writes a debug line per chunk; keep the test log readable.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
}

class Rig : public QObject
{
public:
    SimulatedAircraft aircraft;
    AircraftParams params;
    BlackBoxDownloadState blackBox;
    SerialPort port;
    SerialLink link{nullptr, &params, &blackBox};

    QList<std::pair<uint8_t, QString>> infos;
    QList<bool> handshakes;
    QList<std::tuple<uint8_t, int, QByteArray>> boxes;
    int portErrors = 0;
    int telemetry43 = 0;

    Rig()
    {
        // Wiring rows 1, 2 and 5 of the application, in their string form.
        QObject::connect(&port, SIGNAL(SignalReadAll(QByteArray)), &link, SLOT(SlotReceiveData(QByteArray)));
        QObject::connect(&port, SIGNAL(SignalSerialPortError()), &link, SLOT(SlotDisconnect()));
        QObject::connect(&link, SIGNAL(SignalSendData(QByteArray)), &port, SLOT(SlotWriteData(QByteArray)));

        connect(&link, &SerialLink::SignalReturnInfo, this,
                [this](uint8_t command, QString info) { infos.append({command, info}); });
        connect(&link, &SerialLink::SignalHandShaked, this, [this](bool up) { handshakes.append(up); });
        connect(&link, &SerialLink::SignalReturnBlackBoxes, this,
                [this](uint8_t command, int sub, QByteArray data) { boxes.append({command, sub, data}); });
        connect(&link, &SerialLink::SignalTlmtrData_Sta_43_Downloaded, this, [this] { ++telemetry43; });
        connect(&port, &SerialPort::SignalSerialPortError, this, [this] { ++portErrors; });
    }

    bool connected() const { return !handshakes.isEmpty() && handshakes.constLast(); }

    // Opens the aircraft's device as the port scan would and waits for the handshake.
    bool openAndHandshake(int timeoutMs = 5000)
    {
        const QString path = aircraft.slavePath();
        port.addExtraPortName(path);
        port.closePort();
        port.configurePort(path);
        if (!port.openPort())
            return false;
        link.connectLine();
        return waitFor([this] { return connected(); }, timeoutMs);
    }

    bool start()
    {
        return aircraft.start() && openAndHandshake();
    }

    // Index of the first info for command from index `from` on, or -1.
    int findInfo(uint8_t command, int from, const QString &text = QString()) const
    {
        for (int i = from; i < infos.size(); ++i) {
            if (infos[i].first == command && (text.isNull() || infos[i].second == text))
                return i;
        }
        return -1;
    }

    // Calls a builder and waits for the reply notification of its command (and text, if given).
    bool exchange(const std::function<void()> &send, uint8_t command, const QString &text = QString(),
                  int timeoutMs = 3000)
    {
        const int from = int(infos.size());
        send();
        return waitFor([&] { return findInfo(command, from, text) >= 0; }, timeoutMs);
    }
};

} // namespace e2e
