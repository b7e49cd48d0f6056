#include "sim/ParameterResponder.h"

#include "sim/AircraftState.h"
#include "sim/TelemetryGenerator.h"
#include "sim/WireWriter.h"

namespace {
SimReplies one(quint8 type, const QByteArray &payload)
{
    return {SimReply{type, payload, 0}};
}

SimReplies status(quint8 type, quint8 value)
{
    return one(type, QByteArray(1, char(value)));
}

// Read reply of a one-byte setting: the value, then status 0.
SimReplies valueAndStatus(quint8 type, quint8 value)
{
    return one(type, WireWriter().u8(value).u8(0).data());
}
} // namespace

ParameterResponder::ParameterResponder(AircraftState &state)
    : m_state(state)
{}

bool ParameterResponder::handles(quint8 type)
{
    return (type >= 0x01 && type <= 0x12) || type == 0x14 || type == 0x17 || type == 0x18
           || type == 0x19 || type == 0x1B || type == 0x1C;
}

SimReplies ParameterResponder::respond(const HostFrame &frame, qint64 nowMs)
{
    const QByteArray &p = frame.payload;
    AircraftSettings &s = m_state.settings;
    switch (frame.type) {
    case 0x01:
        return fbwInformation();
    case 0x02:
        return settingByte(0x02, p, s.uavType, 10);
    case 0x03:
        return gpsSetup(p);
    case 0x04:
        return settingByte(0x04, p, s.receiverType, 2);
    case 0x05:
        return remoteCalibrate(p);
    case 0x06:
        return settingByte(0x06, p, s.channelReverse, 0xFF);
    case 0x07:
        return escCalibration(p);
    case 0x08:
        return settingByte(0x08, p, s.motorIdle, 4);
    case 0x09:
        return settingByte(0x09, p, s.wheelbase, 5);
    case 0x0A:
        return gains(p);
    case 0x0B:
        return voltageCalibration(p, nowMs);
    case 0x0C:
        return lowVoltage(p);
    case 0x0D:
        return settingByte(0x0D, p, s.failsafeAction, 0xFF);
    case 0x0E:
        return status(0x0E, 0); // sensor calibration: command received
    case 0x0F:
        if (p.size() == 1 && quint8(p[0]) == 0x01) {
            m_state.restoreFactorySettings();
            return status(0x0F, 0);
        }
        return status(0x0F, 1);
    case 0x10: {
        if (p.isEmpty())
            return {};
        const quint8 id = quint8(p[0]);
        const AircraftState::Version v = id < m_state.versions.size() ? m_state.versions[id]
                                                                      : AircraftState::Version{};
        return one(0x10, WireWriter().u8(id).u8(v.major).u8(v.minor).data());
    }
    case 0x11:
        return heightLimit(p);
    case 0x12:
        return returnHeight(p);
    case 0x14: // online monitoring, sub-type 5: both self-check bytes healthy
        return one(0x14, WireWriter().u8(5).u8(0x02).u8(0x01).data());
    case 0x17:
        return word(0x17, p, s.sprayWidth);
    case 0x18:
        return word(0x18, p, s.workSpeed);
    case 0x19:
        return pumpTest(p);
    case 0x1B:
        return externalSwitch(p);
    case 0x1C:
        return maintenance(p, nowMs);
    default:
        return {};
    }
}

SimReplies ParameterResponder::settingByte(quint8 type, const QByteArray &p, quint8 &field,
                                           int maxValue)
{
    if (p.isEmpty())
        return valueAndStatus(type, field);
    const quint8 v = quint8(p[0]);
    if (v > maxValue || (type == 0x09 && v == 0))
        return status(type, 1);
    field = v;
    return status(type, 0);
}

SimReplies ParameterResponder::gpsSetup(const QByteArray &p)
{
    AircraftSettings &s = m_state.settings;
    if (p.isEmpty()) // read: the two offsets, no status byte
        return one(0x03, WireWriter().i8(s.gpsPosX).i8(s.gpsPosY).data());
    if (p.size() < 2)
        return status(0x03, 1);
    s.gpsPosX = qint8(p[0]);
    s.gpsPosY = qint8(p[1]);
    return status(0x03, 0);
}

SimReplies ParameterResponder::remoteCalibrate(const QByteArray &p)
{
    // Byte 8 echoes the sub-command (the host's key), byte 9 is the status.
    const quint8 command = p.isEmpty() ? 0 : quint8(p[0]);
    if (command == 0x03)
        m_state.rcCalibrating = true;
    else if (command == 0x0C)
        m_state.rcCalibrating = false;
    else
        return one(0x05, WireWriter().u8(command).u8(1).data());
    return one(0x05, WireWriter().u8(command).u8(0).data());
}

SimReplies ParameterResponder::escCalibration(const QByteArray &p)
{
    // 0 starts; each calibrated ESC then reports its number and the end is 0x10. An argument of 0
    // calibrates every motor, 1..8 a single one.
    const int t = p.isEmpty() ? -1 : quint8(p[0]);
    const int motors = m_state.settings.motorCount();
    if (t < 0 || t > motors)
        return status(0x07, 0xFF);
    SimReplies replies = status(0x07, 0);
    const int first = t == 0 ? 1 : t;
    const int last = t == 0 ? motors : t;
    int delay = 0;
    for (int m = first; m <= last; ++m) {
        delay += 400;
        replies.append(SimReply{0x07, QByteArray(1, char(m)), delay});
    }
    if (t == 0)
        replies.append(SimReply{0x07, QByteArray(1, char(0x10)), delay + 400});
    return replies;
}

SimReplies ParameterResponder::gains(const QByteArray &p)
{
    AircraftSettings &s = m_state.settings;
    if (p.isEmpty()) // read: three words, no status byte
        return one(0x0A, WireWriter().u16(s.gainAttitude).u16(s.gainStability).u16(s.gainThrottle).data());
    if (p.size() < 6)
        return status(0x0A, 1);
    const WireReader r(p);
    s.gainAttitude = quint16(r.u16(0));
    s.gainStability = quint16(r.u16(2));
    s.gainThrottle = quint16(r.u16(4));
    return status(0x0A, 0);
}

SimReplies ParameterResponder::voltageCalibration(const QByteArray &p, qint64 nowMs)
{
    // The user measured the pack: from now on the reading is corrected to match.
    const WireReader r(p);
    const quint32 measured = r.u16(1);
    if (p.size() < 3 || measured == 0 || measured > 6000)
        return status(0x0B, 1);
    AircraftSettings &s = m_state.settings;
    s.voltageOffset = 0;
    const int raw = TelemetryGenerator::packVoltage(nowMs, m_state);
    s.batteryCells = quint8(p[0]);
    s.voltageOffset = qint16(int(measured) - raw);
    return status(0x0B, 0);
}

SimReplies ParameterResponder::lowVoltage(const QByteArray &p)
{
    AircraftSettings &s = m_state.settings;
    if (p.isEmpty()) // read: LV1, LV2, action, no status byte
        return one(0x0C, WireWriter().u16(s.lowVoltage1).u16(s.lowVoltage2).u8(s.protectionAction).data());
    if (p.size() < 5)
        return status(0x0C, 1);
    const WireReader r(p);
    s.lowVoltage1 = quint16(r.u16(0));
    s.lowVoltage2 = quint16(r.u16(2));
    s.protectionAction = quint8(r.u8(4));
    return status(0x0C, 0);
}

SimReplies ParameterResponder::heightLimit(const QByteArray &p)
{
    AircraftSettings &s = m_state.settings;
    if (p.isEmpty())
        return one(0x11, WireWriter().u16(s.heightLimit).data());
    if (p.size() < 2)
        return status(0x11, 1);
    s.heightLimit = quint16(WireReader(p).u16(0));
    return status(0x11, 0);
}

SimReplies ParameterResponder::returnHeight(const QByteArray &p)
{
    // Both shapes are one byte long: the height for a read, the status for a write.
    AircraftSettings &s = m_state.settings;
    if (p.isEmpty())
        return status(0x12, s.returnHeight);
    s.returnHeight = quint8(p[0]);
    return status(0x12, 0);
}

SimReplies ParameterResponder::word(quint8 type, const QByteArray &p, quint16 &field)
{
    // Spray width and work speed: a one-byte payload (0x01) reads, a two-byte payload writes;
    // both are answered with status 0 and the value now set.
    if (p.size() >= 2)
        field = quint16(WireReader(p).u16(0));
    else if (p.size() != 1 || quint8(p[0]) != 0x01)
        return one(type, WireWriter().u8(1).u16(field).data());
    return one(type, WireWriter().u8(0).u16(field).data());
}

SimReplies ParameterResponder::pumpTest(const QByteArray &p)
{
    AircraftSettings &s = m_state.settings;
    if (p.size() == 1) { // read: status, pump, speed
        const quint8 pump = quint8(p[0]);
        if (pump != 1 && pump != 2)
            return one(0x19, WireWriter().u8(1).u8(pump).u8(0).data());
        return one(0x19, WireWriter().u8(0).u8(pump).u8(pump == 1 ? s.pumpSpeed : s.smallPumpSpeed).data());
    }
    if (p.size() < 2)
        return one(0x19, WireWriter().u8(1).u8(0).data());
    const quint8 sub = quint8(p[0]);
    const quint8 speed = quint8(p[1]);
    switch (sub) {
    case 0x01: // run the spray pump at this speed
        s.pumpSpeed = speed;
        m_state.pumpRunning = 1;
        break;
    case 0x02:
        s.smallPumpSpeed = speed;
        m_state.pumpRunning = 2;
        break;
    case 0x11: // stop it
        s.pumpSpeed = speed;
        m_state.pumpRunning = m_state.pumpRunning == 1 ? 0 : m_state.pumpRunning;
        break;
    case 0x12:
        s.smallPumpSpeed = speed;
        m_state.pumpRunning = m_state.pumpRunning == 2 ? 0 : m_state.pumpRunning;
        break;
    default:
        return one(0x19, WireWriter().u8(1).u8(sub).data());
    }
    return one(0x19, WireWriter().u8(0).u8(sub).data());
}

SimReplies ParameterResponder::externalSwitch(const QByteArray &p)
{
    // Read: 01 id. Write: state id FF. Both answer status, id, state.
    AircraftSettings &s = m_state.settings;
    const bool write = p.size() >= 3;
    const quint8 id = p.size() >= 2 ? quint8(p[1]) : 0;
    quint8 *field = id == 1 ? &s.extSwitch1 : id == 2 ? &s.extSwitch2 : nullptr;
    if (!field || (!write && quint8(p[0]) != 0x01))
        return one(0x1B, WireWriter().u8(1).u8(id).u8(0).data());
    if (write)
        *field = quint8(p[0]);
    return one(0x1B, WireWriter().u8(0).u8(id).u8(*field).data());
}

SimReplies ParameterResponder::maintenance(const QByteArray &p, qint64 nowMs)
{
    // Answers status, identifier, 32-bit value: 1 time to the next service, 2 flight time,
    // 3 power-on time, 7 the service cycle.
    auto answer = [](quint8 id, quint32 value) {
        return one(0x1C, WireWriter().u8(0).u8(id).u32(value).data());
    };
    if (p.size() != 5)
        return answer(0, 0); // the host's payload without a sub-command: nothing to do
    const quint32 v = WireReader(p).u32(1);
    switch (quint8(p[0])) {
    case 0x01:
        return answer(1, quint32(m_state.minutesToService()));
    case 0x02:
        return answer(2, m_state.flightMinutes);
    case 0x03:
        return answer(3, m_state.powerOnMinutes(nowMs));
    case 0x07:
        return answer(7, m_state.settings.maintenanceCycle);
    case 0x04: // service done: the countdown starts again from the full cycle
        m_state.flightMinutesAtService = m_state.flightMinutes;
        return answer(1, quint32(m_state.minutesToService()));
    case 0x05: // accepted; the power-on counter cannot be reset on this aircraft
        return answer(3, m_state.powerOnMinutes(nowMs));
    case 0x06:
        m_state.settings.maintenanceCycle = v;
        return answer(7, v);
    default:
        return one(0x1C, WireWriter().u8(1).u8(quint8(p[0])).u32(0).data());
    }
}

SimReplies ParameterResponder::fbwInformation() const
{
    // Frame type, then hardware revision, firmware major and minor, serial number (word), board
    // variant and a reserved byte.
    const AircraftState::Version fcu = m_state.versions[0];
    return one(0x01, WireWriter()
                         .u8(m_state.settings.uavType)
                         .u8(2)
                         .u8(fcu.major)
                         .u8(fcu.minor)
                         .u16(0x1234)
                         .u8(1)
                         .u8(0)
                         .data());
}
