#pragma once

#include <QByteArray>
#include <QList>

#include <utility>

// One frame the simulated aircraft is about to send: its command type and payload. A delay in
// milliseconds defers it (the ESC calibration reports its progress this way); forcedCrc, when not
// -1, is the CRC the frame must carry (EB 90 as CRC bytes, or a high byte of 0: faults the black
// box can be told to show).
struct SimReply
{
    SimReply() = default;
    SimReply(quint8 type_, QByteArray payload_, int delayMs_ = 0, int forcedCrc_ = -1)
        : type(type_)
        , payload(std::move(payload_))
        , delayMs(delayMs_)
        , forcedCrc(forcedCrc_)
    {}

    quint8 type = 0;
    QByteArray payload;
    int delayMs = 0;
    int forcedCrc = -1;
};

using SimReplies = QList<SimReply>;
