#pragma once

#include "link/crc16.h"

#include <QByteArray>
#include <QList>
#include <cstdint>

// Test-side frame helpers.
namespace FrameBytes {

// "EB 90 FF" -> bytes; spaces ignored.
inline QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// An aircraft-to-host frame: header, payload, CRC, no trailer. The length byte defaults to the
// payload's size; replies with odd shapes pass their own.
inline QByteArray reply(uint8_t type, const QByteArray &payload, int lengthByte = -1)
{
    QByteArray f = hex("EB 90 FF FF FF FF");
    f.append(char(type)).append(char(lengthByte < 0 ? payload.size() : lengthByte)).append(payload);
    const quint16 crc = crc16(f);
    f.append(char(crc & 0xFF)).append(char(crc >> 8));
    return f;
}

inline QByteArray payloadOf(const QByteArray &hostFrame)
{
    return hostFrame.mid(8, hostFrame.size() - 12);
}

} // namespace FrameBytes
