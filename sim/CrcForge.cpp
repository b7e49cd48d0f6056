#include "sim/CrcForge.h"

#include "link/crc16.h"

#include <QtAlgorithms>

namespace {
quint16 crcOf(const QByteArray &m)
{
    return crc16Continue(0xFFFF, reinterpret_cast<const uint8_t *>(m.constData()), int(m.size()));
}

void setWord(QByteArray &m, int offset, quint32 v)
{
    m[offset] = char(v & 0xFF);
    m[offset + 1] = char((v >> 8) & 0xFF);
}
} // namespace

bool CrcForge::forge(QByteArray &message, int offset, quint16 target)
{
    if (offset < 0 || offset + 1 >= message.size())
        return false;
    setWord(message, offset, 0);
    const quint16 base = crcOf(message);
    quint16 delta[16];
    for (int bit = 0; bit < 16; ++bit) {
        setWord(message, offset, 1u << bit);
        delta[bit] = quint16(crcOf(message) ^ base);
    }
    quint16 crc = base;
    quint32 gray = 0;
    for (quint32 k = 1; crc != target && k < 0x10000; ++k) {
        const int bit = int(qCountTrailingZeroBits(k));
        gray ^= 1u << bit;
        crc ^= delta[bit];
    }
    setWord(message, offset, gray);
    return crcOf(message) == target;
}
