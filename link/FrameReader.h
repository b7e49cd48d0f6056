#pragma once

#include <QByteArray>
#include <cstdint>

// Reads the fields of a received frame by absolute offset (command byte at 6, length byte at 7,
// payload from 8). Handlers ask covers() for the last byte they need first: a field that would
// reach into the CRC or past the frame is never read.
class FrameReader
{
public:
    explicit FrameReader(const QByteArray &frame)
        : m_frame(frame)
    {}

    int size() const { return int(m_frame.size()); }
    // The CRC takes the frame's last two bytes.
    int payloadEnd() const { return size() - 2; }
    bool covers(int lastOffset) const { return lastOffset >= 0 && lastOffset < payloadEnd(); }

    uint8_t type() const { return u8(6); }
    uint8_t lengthByte() const { return u8(7); }

    uint8_t u8(int offset) const
    {
        return offset >= 0 && offset < size() ? uint8_t(m_frame[offset]) : 0;
    }
    int8_t i8(int offset) const { return int8_t(u8(offset)); }
    uint16_t u16(int offset) const { return uint16_t(u8(offset) | (u8(offset + 1) << 8)); }
    int16_t i16(int offset) const { return int16_t(u16(offset)); }
    uint32_t u32(int offset) const { return uint32_t(u16(offset)) | (uint32_t(u16(offset + 2)) << 16); }
    int32_t i32(int offset) const { return int32_t(u32(offset)); }
    uint32_t u32be(int offset) const
    {
        return (uint32_t(u8(offset)) << 24) | (uint32_t(u8(offset + 1)) << 16)
               | (uint32_t(u8(offset + 2)) << 8) | u8(offset + 3);
    }
    // Up to n payload bytes from offset, fewer where the payload ends first.
    QByteArray payloadBytes(int offset, int n) const
    {
        const int available = payloadEnd() - offset;
        return available > 0 ? m_frame.mid(offset, qMin(n, available)) : QByteArray();
    }

private:
    const QByteArray &m_frame;
};
