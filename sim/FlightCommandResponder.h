#pragma once

#include "sim/HostFrameParser.h"
#include "sim/SimReply.h"

struct AircraftState;

// Answers the operational commands: the motor test (0xC2), the program instructions (0xC3), the
// fly-to-point command (0xC4) and the way-point bound commands (0x81). The aircraft stands on the
// bench: instructions are acknowledged, and a fly-to-point is refused because it is not airborne.
class FlightCommandResponder
{
public:
    explicit FlightCommandResponder(AircraftState &state);

    static bool handles(quint8 type);
    SimReplies respond(const HostFrame &frame, qint64 nowMs);

private:
    SimReplies wayPoint(const QByteArray &p);

    AircraftState &m_state;
};
