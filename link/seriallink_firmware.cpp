// Firmware transfer commands 0xD1 to 0xD6. Every reply acknowledges a pending command of its own
// type with key 0; the chunk requests run in bulk-transfer mode.
#include "link/seriallink.h"

#include "app/AircraftParams.h"
#include "link/FrameReader.h"
#include "link/WireWriter.h"

#include <QDebug>

void SerialLink::requestUav_SystemReset()
{
    sendTracked(_SystemReset, WireWriter().u8(0x01), 0);
}

void SerialLink::requestUav_FirmwareUpdate()
{
    sendTracked(_FirmwareUpdate, {}, 0);
}

void SerialLink::requestUav_UpdateModuleAndVersion(char MID, char BigVersion, char SmallVersion)
{
    qDebug() << "BigVersion   =" << int(BigVersion);
    qDebug() << "SmallVersion =" << int(SmallVersion);
    sendTracked(_UpdateModuleAndVersion,
                WireWriter().u8(uint8_t(MID)).u8(uint8_t(BigVersion)).u8(uint8_t(SmallVersion)), 0);
}

void SerialLink::requestUav_FirmwareSize(uint32_t size)
{
    sendTracked(_FirmwareSize, WireWriter().u32(size), 0);
}

void SerialLink::requestUav_SendFirmware(quint16 ModuleID, QByteArray fileData)
{
    // Chunks are sent in bulk-transfer mode, which holds ordinary commands back.
    continuous = true;
    sendTracked(_SendFirmware, WireWriter().u16(ModuleID).bytes(fileData.left(kFirmwareChunkSize)),
                0, true, true);
}

void SerialLink::requestUav_SendFirmwareDone()
{
    sendTracked(_SendFirmwareDone, {}, 0);
}

void SerialLink::replyUav_SystemReset(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(9))
        return;
    ackPending(_SystemReset, 0);
    if (r.u8(9) == 0)
        Q_EMIT SignalReturnInfo(_SystemReset, tr("系统准备复位!"));
}

void SerialLink::replyUav_FirmwareUpdate(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8) || r.u8(8) != 0)
        return;
    ackPending(_FirmwareUpdate, 0);
    Q_EMIT SignalReturnInfo(_FirmwareUpdate, tr("程序更新请求成功!"));
}

void SerialLink::replyUav_UpdateModuleAndVersion(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8))
        return;
    ackPending(_UpdateModuleAndVersion, 0);
    if (r.u8(8) == 0)
        Q_EMIT SignalReturnInfo(_UpdateModuleAndVersion, tr("程序更新部件设置成功!"));
}

void SerialLink::replyUav_FirmwareSize(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8) || r.u8(8) != 0)
        return;
    ackPending(_FirmwareSize, 0);
    Q_EMIT SignalReturnInfo(_FirmwareSize, tr("程序更新请求成功!"));
}

void SerialLink::replyUav_SendFirmware(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(10))
        return;
    if (r.u8(8) != 0) {
        qDebug() << "pkg err"; // the chunk stays pending and is resent
        return;
    }
    ackPending(_SendFirmware, 0);
    // The aircraft sets the pace: the next chunk is the one its packet number names.
    const uint32_t packet = r.u16(9);
    m_params.fwPacketIndex = packet;
    if (packet >= m_params.fwPacketCount)
        continuous = false;
    Q_EMIT SignalReturnInfo(_SendFirmware, tr("程序更新请求成功!"));
    Q_EMIT SignalInstructReply(int8_t(_SendFirmware), int(packet));
}

void SerialLink::replyUav_SendFirmwareDone(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8) || r.u8(8) != 0)
        return;
    ackPending(_SendFirmwareDone, 0);
    Q_EMIT SignalReturnInfo(_SendFirmwareDone, tr("程序更新请求成功!"));
}
