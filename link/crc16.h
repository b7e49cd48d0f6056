#pragma once

#include <QByteArray>
#include <cstdint>

// CRC-16/MODBUS (reflected 0xA001, initial 0xFFFF, no final XOR), from the 16-entry nibble table.
// The aircraft appends it low byte first; a message followed by its own CRC has a residue of zero.
quint16 crc16(const uint8_t *bytes, quint16 length);
// Continues a CRC over more bytes, so a long message can be checked piece by piece.
quint16 crc16Continue(quint16 crc, const uint8_t *bytes, int length);
bool checkCrc(const uint8_t *bytes, quint16 length);

inline quint16 crc16(const QByteArray &data)
{
    return crc16(reinterpret_cast<const uint8_t *>(data.constData()), quint16(data.size()));
}
