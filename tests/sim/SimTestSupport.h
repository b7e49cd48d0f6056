#pragma once

// Helpers for the simulator's tests: host frames built byte by byte (EB 90, FF x4, type, length,
// payload, CRC low and high, 51 5A), and a reader for the aircraft's replies that uses their
// length byte (test side only).

#include "link/crc16.h"
#include "sim/AircraftEngine.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QtEndian>

namespace simtest {

inline QByteArray fromHex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// The connect heartbeat with the host's date and time.
inline const QByteArray kConnect = fromHex("FF 18 05 06 0A 00 00");

inline bool crcOk(const QByteArray &frame)
{
    return checkCrc(reinterpret_cast<const uint8_t *>(frame.constData()), quint16(frame.size()));
}

inline QByteArray hostFrame(quint8 type, const QByteArray &payload = QByteArray())
{
    const QByteArray f = fromHex("EB90FFFFFFFF") + char(type) + char(payload.size()) + payload;
    const quint16 crc = crc16(f);
    return f + char(crc & 0xFF) + char(crc >> 8) + fromHex("515A");
}

struct AirFrame
{
    quint8 type = 0;
    QByteArray payload;
    QByteArray raw;
    bool crcOk = false;
};

// Cuts aircraft frames (EB 90, 4 filler, type, n, payload, CRC) by their length byte.
inline QList<AirFrame> airFrames(const QByteArray &bytes)
{
    QList<AirFrame> out;
    int i = 0;
    while (i + 10 <= bytes.size()) {
        if (quint8(bytes[i]) != 0xEB || quint8(bytes[i + 1]) != 0x90) {
            ++i;
            continue;
        }
        const int n = quint8(bytes[i + 7]);
        if (i + 10 + n > bytes.size())
            break;
        AirFrame f;
        f.raw = bytes.mid(i, 10 + n);
        f.type = quint8(f.raw[6]);
        f.payload = f.raw.mid(8, n);
        f.crcOk = crcOk(f.raw);
        out.append(f);
        i += 10 + n;
    }
    return out;
}

// Collects what an engine sends.
class Wire : public QObject
{
public:
    explicit Wire(AircraftEngine &engine)
        : m_engine(engine)
    {
        QObject::connect(&engine, &AircraftEngine::outgoing, this,
                         [this](const QByteArray &b) { bytes.append(b); });
    }
    // Sends one host frame and returns the frames that came straight back.
    QList<AirFrame> ask(quint8 type, const QByteArray &payload = QByteArray())
    {
        bytes.clear();
        m_engine.receiveBytes(hostFrame(type, payload));
        return airFrames(bytes);
    }
    QList<AirFrame> frames() const { return airFrames(bytes); }
    QList<AirFrame> framesOfType(quint8 type) const
    {
        QList<AirFrame> out;
        for (const AirFrame &f : airFrames(bytes))
            if (f.type == type)
                out.append(f);
        return out;
    }

    QByteArray bytes;

private:
    AircraftEngine &m_engine;
};

inline QByteArray be32(quint32 v)
{
    const quint32 big = qToBigEndian(v);
    return QByteArray(reinterpret_cast<const char *>(&big), 4);
}

} // namespace simtest
