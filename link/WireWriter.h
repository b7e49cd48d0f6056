#pragma once

#include <QByteArray>
#include <cstdint>

// Builds command payloads: little-endian unless a command says otherwise.
class WireWriter
{
public:
    WireWriter &u8(uint8_t v)
    {
        m_bytes.append(char(v));
        return *this;
    }
    WireWriter &u16(uint16_t v) { return u8(uint8_t(v)).u8(uint8_t(v >> 8)); }
    WireWriter &u32(uint32_t v) { return u16(uint16_t(v)).u16(uint16_t(v >> 16)); }
    WireWriter &u32be(uint32_t v) { return u16be(uint16_t(v >> 16)).u16be(uint16_t(v)); }
    WireWriter &bytes(const QByteArray &b)
    {
        m_bytes.append(b);
        return *this;
    }
    const QByteArray &data() const { return m_bytes; }
    operator const QByteArray &() const { return m_bytes; }

private:
    WireWriter &u16be(uint16_t v) { return u8(uint8_t(v >> 8)).u8(uint8_t(v)); }
    QByteArray m_bytes;
};
