#pragma once

#include <QByteArray>

// Chooses two free bytes of a message so that its CRC-16/MODBUS takes a wanted value. The CRC is
// affine in the message bits, and any 16 consecutive bits map one-to-one onto the CRC, so a Gray
// code walk over the 65536 settings of the two bytes always meets the target.
class CrcForge
{
public:
    // Rewrites message[offset] and message[offset + 1]; returns false only for a bad offset.
    static bool forge(QByteArray &message, int offset, quint16 target);
};
