#pragma once

#include "sim/FlightRecord.h"
#include "sim/TelemetrySample.h"

#include <QList>

// Turns synthetic flights into black-box records in the layout the host's export reads: blocks of
// 256 bytes (two unread bytes, sample 1 whose first byte is the 0x41 marker, sample 2, 30 unread
// bytes, the time stamp as big-endian year, month, day, hour, minute, second, 5 unread bytes).
class FlightRecordGenerator
{
public:
    static constexpr int kBlockSize = 256;
    static constexpr int kChunkSize = 128;

    static QList<FlightRecord> generate(const BlackBoxPlan &plan);
    static FlightRecord record(const BlackBoxPlan &plan, int number);
    static QByteArray block(const TelemetrySample &first, const TelemetrySample &second,
                            const QDateTime &stampUtc, int blockIndex);
    // Keeps the host's sync pair out of a record, including across the chunk number that
    // precedes each chunk's data in its frame.
    static void removeSyncPairs(QByteArray &bytes);
};
