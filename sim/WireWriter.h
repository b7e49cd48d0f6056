#pragma once

#include <QByteArray>
#include <QtGlobal>

// Appends numbers to a payload in the byte orders the flight controller uses: little-endian for
// almost everything, big-endian for the black-box indices and the year inside a black-box block.
class WireWriter
{
public:
    WireWriter &u8(quint32 v)
    {
        m_bytes.append(char(v & 0xFF));
        return *this;
    }
    WireWriter &u16(quint32 v) { return u8(v).u8(v >> 8); }
    WireWriter &u32(quint32 v) { return u16(v & 0xFFFF).u16(v >> 16); }
    WireWriter &u16be(quint32 v) { return u8(v >> 8).u8(v); }
    WireWriter &u32be(quint32 v) { return u16be(v >> 16).u16be(v & 0xFFFF); }
    WireWriter &i8(qint32 v) { return u8(quint32(v)); }
    WireWriter &i16(qint32 v) { return u16(quint32(v)); }
    WireWriter &i32(qint32 v) { return u32(quint32(v)); }
    WireWriter &bytes(const QByteArray &b)
    {
        m_bytes.append(b);
        return *this;
    }
    WireWriter &fill(int count, char value)
    {
        m_bytes.append(QByteArray(count, value));
        return *this;
    }

    const QByteArray &data() const { return m_bytes; }
    int size() const { return int(m_bytes.size()); }

private:
    QByteArray m_bytes;
};

// Reads the host's little- and big-endian numbers; out-of-range reads give 0.
class WireReader
{
public:
    explicit WireReader(const QByteArray &bytes)
        : m_bytes(bytes)
    {}
    quint32 u8(int at) const { return at >= 0 && at < m_bytes.size() ? quint8(m_bytes[at]) : 0u; }
    quint32 u16(int at) const { return u8(at) | (u8(at + 1) << 8); }
    quint32 u32(int at) const { return u16(at) | (u16(at + 2) << 16); }
    quint32 u32be(int at) const
    {
        return (u8(at) << 24) | (u8(at + 1) << 16) | (u8(at + 2) << 8) | u8(at + 3);
    }
    int size() const { return int(m_bytes.size()); }

private:
    QByteArray m_bytes; // implicitly shared copy
};
