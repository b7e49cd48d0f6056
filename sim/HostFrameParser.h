#pragma once

#include <QByteArray>
#include <QList>

// A frame the host sent: EB 90, four filler bytes, type, length n, n payload bytes, CRC-16 (low
// byte first) over everything before it, and the trailer 51 5A.
struct HostFrame
{
    quint8 type = 0;
    QByteArray payload;
    QByteArray raw; // the whole frame, sync to trailer
};

// The aircraft's own receive side. Unlike the host it trusts the length byte: a candidate starts
// at a sync pair, runs for 12 + n bytes and must carry a good CRC and the trailer. Anything else
// is skipped up to the next sync pair, so garbage, torn frames and sync pairs inside a payload
// cost nothing but the damaged frame.
class HostFrameParser
{
public:
    static constexpr int kOverhead = 12; // header 8, CRC 2, trailer 2

    // Appends bytes and returns the frames they complete, in arrival order.
    QList<HostFrame> feed(const QByteArray &bytes);
    void reset();

    int rejectedFrames() const { return m_rejected; }  // complete candidates with a bad CRC or trailer
    qint64 discardedBytes() const { return m_discarded; } // bytes skipped outside good frames
    int bufferedBytes() const { return int(m_buffer.size()); }

private:
    enum class Candidate { Valid, Invalid, Incomplete };
    Candidate examine(int pos, int *length) const;
    int nextSync(int from) const;
    bool laterValidFrame(int from, int *pos) const;

    QByteArray m_buffer;
    int m_rejected = 0;
    qint64 m_discarded = 0;
};
