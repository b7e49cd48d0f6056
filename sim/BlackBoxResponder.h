#pragma once

#include "sim/FlightRecord.h"
#include "sim/HostFrameParser.h"
#include "sim/SimReply.h"

#include <QList>
#include <QSet>

// Chunks of one record that should carry the host's sync pair EB 90: inside their data, or as
// their CRC. Either way the host's extractor cuts the frame in two and never accepts it.
struct SyncPairFault
{
    int record = 0; // 0: off
    QSet<int> dataChunks;
    QSet<int> crcChunks;
    QSet<int> zeroCrcHighChunks; // CRC high byte 0x00
};

// The black box: 0xE1 opens, 0xE2 reports the number of records, 0xE3 a record's start time,
// 0xE4 its length, 0xE5 one 128-byte chunk (or the 9-byte "no data" answer for a chunk that does
// not exist). Indices, counts and lengths are big-endian; the year of 0xE3 is little-endian.
class BlackBoxResponder
{
public:
    static constexpr int kChunkSize = 128;

    BlackBoxResponder();

    static bool handles(quint8 type);
    SimReplies respond(const HostFrame &frame);

    void setPlan(const BlackBoxPlan &plan);
    const BlackBoxPlan &plan() const { return m_plan; }
    const QList<FlightRecord> &records() const { return m_records; }
    void setSyncPairFault(const SyncPairFault &fault) { m_syncFault = fault; }
    const SyncPairFault &syncPairFault() const { return m_syncFault; }

private:
    const FlightRecord *recordAt(quint32 number) const;
    SimReplies header(quint32 number) const;
    SimReplies length(quint32 number) const;
    SimReplies chunk(quint32 number, quint32 chunk) const;

    BlackBoxPlan m_plan;
    QList<FlightRecord> m_records;
    SyncPairFault m_syncFault;
};
