#pragma once

#include <QByteArray>
#include <QList>
#include <cstdint>

// Host-to-aircraft frame: EB 90, FF FF FF FF, type, length, payload, CRC (low, high), 51 5A.
QByteArray buildFrame(uint8_t type, uint8_t length, const QByteArray &payload);

// Cuts aircraft-to-host frames (EB 90, four bytes, type, length, payload, CRC; no trailer) out of
// the received byte stream. Boundaries come only from sync pairs and the CRC: the length byte is
// never trusted.
class FrameExtractor
{
public:
    // Eight header bytes and the CRC: the shortest frame a handler can be given.
    static constexpr int kMinFrameSize = 10;
    // The aircraft's length byte is 8 bits wide, so no frame of it is longer than this. A frame
    // cut at a sync pair inside its payload or CRC is rejoined within this span.
    static constexpr int kMaxFrameSize = 8 + 255 + 2;
    // Bytes without any sync pair are kept up to this much, then dropped.
    static constexpr int kAccumulatorCap = 4096;
    // The eleventh rejected black-box data frame since the last good one is reported.
    static constexpr int kE5RejectionLimit = 10;

    // Appends newBytes, moves every complete frame into frames (latest first, so callers walk the
    // list backwards for arrival order) and returns the number of entries in frames.
    int extractFrames(const QByteArray &newBytes, QList<QByteArray> &frames);

    // Reports raised since the last call: each means a black-box chunk was given up.
    int takeE5Reports();

    int e5CrcErrorCount() const { return m_e5CrcErrorCount; }
    const QByteArray &accumulator() const { return m_accumulator; }

private:
    void reject(const uint8_t *candidate, int size);

    QByteArray m_accumulator;
    int32_t m_e5CrcErrorCount = 0;
    int m_e5Reports = 0;
};
