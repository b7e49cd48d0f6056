#pragma once

#include <QByteArray>
#include <QList>

#include <utility>

// One frame the simulated aircraft is about to send: its command type and payload. A delay in
// milliseconds defers it (the ESC calibration reports its progress this way); syncInCrc asks for
// a frame whose CRC bytes are EB 90 (a fault the black box can be told to show).
struct SimReply
{
    SimReply() = default;
    SimReply(quint8 type_, QByteArray payload_, int delayMs_ = 0, bool syncInCrc_ = false)
        : type(type_)
        , payload(std::move(payload_))
        , delayMs(delayMs_)
        , syncInCrc(syncInCrc_)
    {}

    quint8 type = 0;
    QByteArray payload;
    int delayMs = 0;
    bool syncInCrc = false;
};

using SimReplies = QList<SimReply>;
