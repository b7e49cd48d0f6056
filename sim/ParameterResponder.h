#pragma once

#include "sim/HostFrameParser.h"
#include "sim/SimReply.h"

struct AircraftState;

// Answers the configuration commands 0x01 to 0x1C in the shapes the host reads: a write gets an
// acknowledgement (status 0), a read gets the value last written, and the odd commands (return
// height, pump test, remote calibration, firmware version, spraying, switches, maintenance) get
// their own layouts. Reads and writes that share a command byte are told apart by the payload
// length, which the host always sets.
class ParameterResponder
{
public:
    explicit ParameterResponder(AircraftState &state);

    static bool handles(quint8 type);
    SimReplies respond(const HostFrame &frame, qint64 nowMs);

private:
    SimReplies settingByte(quint8 type, const QByteArray &p, quint8 &field, int maxValue);
    SimReplies gpsSetup(const QByteArray &p);
    SimReplies remoteCalibrate(const QByteArray &p);
    SimReplies escCalibration(const QByteArray &p);
    SimReplies gains(const QByteArray &p);
    SimReplies voltageCalibration(const QByteArray &p, qint64 nowMs);
    SimReplies lowVoltage(const QByteArray &p);
    SimReplies heightLimit(const QByteArray &p);
    SimReplies returnHeight(const QByteArray &p);
    SimReplies word(quint8 type, const QByteArray &p, quint16 &field);
    SimReplies pumpTest(const QByteArray &p);
    SimReplies externalSwitch(const QByteArray &p);
    SimReplies maintenance(const QByteArray &p, qint64 nowMs);
    SimReplies fbwInformation() const;

    AircraftState &m_state;
};
