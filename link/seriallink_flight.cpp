// Motor test, program instructions, click-to-fly and way-point bounds.
#include "link/seriallink.h"

#include "app/AircraftParams.h"
#include "link/FrameReader.h"
#include "link/WireWriter.h"

#include <QDebug>

#include <cmath>

namespace {
// Program instructions share 0xC3; the first payload byte selects the instruction, is echoed in
// the reply and doubles as the pending key, so only the last instruction's answer stops its resend.
QByteArray instruction(uint8_t id)
{
    return WireWriter().u8(id).u8(0x00);
}
} // namespace

void SerialLink::sendMotorTest()
{
    // Never resent: a lost test is not repeated.
    sendTracked(_OutputMotorInstr, WireWriter().u8(0x0F), 0, false);
}

void SerialLink::sendOneKeyFly() { sendTracked(_PragramInstructions, instruction(0), 0); }
void SerialLink::sendOneKeyReturn() { sendTracked(_PragramInstructions, instruction(1), 1); }
void SerialLink::sendOneKeyLand() { sendTracked(_PragramInstructions, instruction(2), 2); }
void SerialLink::sendWayPiontFly() { sendTracked(_PragramInstructions, instruction(3), 3); }
void SerialLink::sendStop() { sendTracked(_PragramInstructions, instruction(4), 4); }
void SerialLink::sendContinue() { sendTracked(_PragramInstructions, instruction(5), 5); }
void SerialLink::sendJump() { sendTracked(_PragramInstructions, instruction(6), 6); }
void SerialLink::sendCancel() { sendTracked(_PragramInstructions, instruction(7), 7); }

void SerialLink::sendClickFly(double Lon, double Lat)
{
    // Degrees x 10^7 with the fraction dropped, longitude first.
    const auto scaled = [](double degrees) { return uint32_t(int32_t(std::trunc(degrees * 1e7))); };
    sendTracked(_TimelyFly, WireWriter().u32(scaled(Lon)).u32(scaled(Lat)), 0);
}

void SerialLink::sendUav_GlobalWayPointBound()
{
    sendTracked(_WayPointBound,
                WireWriter()
                    .u8(m_params.globalWpBound[0])
                    .u8(m_params.globalWpBound[1])
                    .u8(m_params.globalWpBound[2]),
                2);
}

void SerialLink::sendUav_WayPointBound()
{
    const AircraftParams::WayPoint &wp = m_params.wayPoint;
    WireWriter payload;
    payload.u8(wp.WP_No)
        .u8(wp.WP_ID)
        .u32(uint32_t(wp.WP_Lon.load()))
        .u32(uint32_t(wp.WP_Lat.load()))
        .u16(wp.WP_Alt)
        .u8(uint8_t(wp.WP_V.load()))
        .u8(wp.WP_Head)
        .u16(wp.WP_Delay)
        .bytes(QByteArray(6, '\0')) // the unnamed fields always travel as zeros
        .u8(wp.WP2);
    sendTracked(_WayPointBound, payload, 2);
}

void SerialLink::requestUav_WayPointBound(uint8_t wpNum)
{
    // The answer is the 23-byte record and its length is the key it acknowledges: waiting for
    // key 2 would resend the read forever.
    sendTracked(_WayPointBound, WireWriter().u8(wpNum), 23);
}

void SerialLink::replyUav_OutputMotorInstr(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8))
        return;
    ackPending(_OutputMotorInstr, 0);
    Q_EMIT SignalReply(r.i8(8));
}

void SerialLink::replyUav_PragramInstructions(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8))
        return;
    if (r.lengthByte() == 1 && r.u8(8) == 4) {
        // The flight controller's checksum complaint: the instruction stays pending and is resent.
        qDebug() << "FCC CRC check error!";
        return;
    }
    ackPending(_PragramInstructions, r.u8(8));
    if (r.covers(9))
        Q_EMIT SignalInstructReply(r.i8(8), r.i8(9));
}

void SerialLink::replyUav_TimelyFly(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8))
        return;
    ackPending(_TimelyFly, 0);
    const int v = r.i8(8);
    Q_EMIT SignalReply(v);
    switch (v) {
    case 0:
        Q_EMIT SignalReplyUAV(tr("If the motor does not start, please start the motor and push the throttle to the middle point!"));
        break;
    case 1:
        Q_EMIT SignalReplyUAV(tr("Please make sure the UAV has taken off and under GPS mode."));
        break;
    case 2:
        Q_EMIT SignalReplyUAV(tr("Please reupload the target point!"));
        break;
    default:
        break;
    }
}

void SerialLink::replyUav_WayPointBound(QByteArray b)
{
    const FrameReader r(b);
    const uint8_t len = r.lengthByte();
    if (len == 2 && r.covers(9)) {
        if (r.u8(9) != 0) {
            qDebug() << "WayPointBound Error =" << r.u8(9); // the upload stays pending
            return;
        }
        ackPending(_WayPointBound, 2);
        Q_EMIT SignalUploadWPPathReply(_WayPointBound, r.u8(8));
    } else if (len == 23 && r.covers(8 + 22)) {
        ackPending(_WayPointBound, 23);
        AircraftParams::WayPoint &wp = m_params.wayPoint;
        wp.WP_No = r.u8(8);
        wp.WP_ID = r.u8(9);
        wp.WP_Lon = r.i32(10);
        wp.WP_Lat = r.i32(14);
        wp.WP_Alt = r.u16(18);
        wp.WP_V = r.i8(20);
        wp.WP_Head = r.u8(21);
        wp.WP_Delay = r.u16(22);
        wp.reserved1 = r.u8(24);
        wp.reserved2 = r.u16(25);
        wp.reserved3 = r.u16(27);
        wp.reserved4 = r.u8(29);
        wp.WP2 = r.u8(30);
        qDebug() << "WP_No    =" << wp.WP_No.load();
        qDebug() << "WP_ID    =" << wp.WP_ID.load();
        qDebug() << "WP_Lon   =" << wp.WP_Lon.load();
        qDebug() << "WP_Lat   =" << wp.WP_Lat.load();
        qDebug() << "WP_Alt   =" << wp.WP_Alt.load();
        qDebug() << "WP_V     =" << wp.WP_V.load();
        qDebug() << "WP_Head  =" << wp.WP_Head.load();
        qDebug() << "WP_Delay =" << wp.WP_Delay.load();
        qDebug() << "WP2      =" << wp.WP2.load();
    }
}
