#include "link/crc16.h"

namespace {
// The reflected polynomial's values for each nibble.
constexpr quint16 kNibbleTable[16] = {0x0000, 0xCC01, 0xD801, 0x1400, 0xF001, 0x3C00,
                                      0x2800, 0xE401, 0xA001, 0x6C00, 0x7800, 0xB401,
                                      0x5000, 0x9C01, 0x8801, 0x4400};
} // namespace

quint16 crc16Continue(quint16 crc, const uint8_t *bytes, int length)
{
    for (int i = 0; i < length; ++i) {
        const uint8_t b = bytes[i];
        crc = quint16(kNibbleTable[(b ^ crc) & 0x0F] ^ (crc >> 4));
        crc = quint16(kNibbleTable[((b >> 4) ^ crc) & 0x0F] ^ (crc >> 4));
    }
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
