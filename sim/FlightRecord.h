#pragma once

#include <QByteArray>
#include <QDateTime>

// How the simulated black box is filled. Each record is a synthetic flight stored as 256-byte
// blocks of two samples and a time stamp; record lengths vary between the block bounds, and two
// records are odd on purpose: one shorter than a 128-byte chunk (an aborted power-up) and one
// whose last block was cut after its first chunk and a few bytes (an odd chunk count).
struct BlackBoxPlan
{
    int recordCount = 12;
    int minBlocks = 20;
    int maxBlocks = 60;
    int secondsPerBlock = 4; // two samples per block
    int shortRecord = -1;    // -1: record count - 4 (when there are 5 or more), 0: none
    int oddRecord = -1;      // -1: record count - 1 (when there are 2 or more), 0: none
    quint32 seed = 1;

    int resolvedShortRecord() const;
    int resolvedOddRecord() const;
};

struct FlightRecord
{
    int number = 0;     // 1 = oldest
    QDateTime startUtc; // reported by 0xE3; block time stamps count on from it
    QByteArray bytes;   // what 0xE5 serves, 128 bytes a chunk
    int samples = 0;    // complete samples in whole blocks

    int chunkCount() const { return int((bytes.size() + 127) / 128); }
};
