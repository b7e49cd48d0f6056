#include "sim/FlightCommandResponder.h"

#include "sim/AircraftState.h"
#include "sim/WireWriter.h"

namespace {
constexpr int kWayPointSize = 23;
}

FlightCommandResponder::FlightCommandResponder(AircraftState &state)
    : m_state(state)
{}

bool FlightCommandResponder::handles(quint8 type)
{
    return type == 0x81 || type == 0xC2 || type == 0xC3 || type == 0xC4;
}

SimReplies FlightCommandResponder::respond(const HostFrame &frame, qint64 nowMs)
{
    const QByteArray &p = frame.payload;
    switch (frame.type) {
    case 0xC2: // motor test: 0x0F spins every motor in turn
        if (p.size() == 1 && quint8(p[0]) == 0x0F) {
            m_state.motorTestStartMs = nowMs;
            return {SimReply{0xC2, QByteArray(1, 0), 0}};
        }
        return {SimReply{0xC2, QByteArray(1, 1), 0}};
    case 0xC3: { // instruction echoed with status 0 (unknown instructions with status 1)
        const quint8 instruction = p.isEmpty() ? 0xFF : quint8(p[0]);
        if (instruction == 4) // stop: a motor test on the bench ends at once
            m_state.motorTestStartMs = -1;
        return {SimReply{0xC3, WireWriter().u8(instruction).u8(instruction <= 7 ? 0 : 1).data(), 0}};
    }
    case 0xC4: // "make sure the aircraft has taken off and is in GPS mode"
        return {SimReply{0xC4, QByteArray(1, 1), 0}};
    case 0x81:
        return wayPoint(p);
    default:
        return {};
    }
}

SimReplies FlightCommandResponder::wayPoint(const QByteArray &p)
{
    if (p.size() == 1) { // read one way-point back: the 23-byte record
        const quint8 number = quint8(p[0]);
        QByteArray record = m_state.wayPoints.value(number);
        if (record.size() != kWayPointSize) {
            record = QByteArray(kWayPointSize, 0);
            record[0] = char(number);
        }
        return {SimReply{0x81, record, 0}};
    }
    if (p.size() == kWayPointSize) { // upload: store, answer number and status
        const quint8 number = quint8(p[0]);
        m_state.wayPoints.insert(number, p);
        return {SimReply{0x81, WireWriter().u8(number).u8(0).data(), 0}};
    }
    if (p.size() == 3) // global bound
        return {SimReply{0x81, WireWriter().u8(quint8(p[0])).u8(0).data(), 0}};
    return {SimReply{0x81, WireWriter().u8(0).u8(1).data(), 0}};
}
