#include "link/crc16.h"

#include <array>

namespace {
// The reflected polynomial's values for each nibble.
constexpr quint16 kNibbleTable[16] = {0x0000, 0xCC01, 0xD801, 0x1400, 0xF001, 0x3C00,
                                      0x2800, 0xE401, 0xA001, 0x6C00, 0x7800, 0xB401,
                                      0x5000, 0x9C01, 0x8801, 0x4400};

constexpr quint16 nibbleStep(quint16 crc, uint8_t nibble)
{
    return quint16(kNibbleTable[(nibble ^ crc) & 0x0F] ^ (crc >> 4));
}

// The same CRC a byte at a time: two nibble steps folded into one table look-up, derived from
// the nibble table at compile time (every received byte goes through here).
constexpr std::array<quint16, 256> byteTable()
{
    std::array<quint16, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[size_t(i)] = nibbleStep(nibbleStep(quint16(i), 0), 0);
    return table;
}
constexpr std::array<quint16, 256> kByteTable = byteTable();
} // namespace

quint16 crc16Continue(quint16 crc, const uint8_t *bytes, int length)
{
    for (int i = 0; i < length; ++i)
        crc = quint16(kByteTable[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8));
    return crc;
}

quint16 crc16(const uint8_t *bytes, quint16 length)
{
    return crc16Continue(0xFFFF, bytes, length);
}

bool checkCrc(const uint8_t *bytes, quint16 length)
{
    return crc16(bytes, length) == 0;
}
