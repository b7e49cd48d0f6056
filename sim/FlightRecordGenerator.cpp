#include "sim/FlightRecordGenerator.h"

#include "sim/AircraftFrame.h"
#include "sim/SyntheticFlight.h"
#include "sim/WireWriter.h"

namespace {
quint32 mix(quint32 seed, quint32 v)
{
    quint32 x = seed * 0x9E3779B1u ^ (v + 0x7F4A7C15u) * 0x85EBCA77u;
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    return x;
}

// Flights of a working season: four sorties a day, about half an hour apart, from 6 May 2024.
QDateTime startOf(int number)
{
    const QDateTime base(QDate(2024, 5, 6), QTime(6, 10, 0), Qt::UTC);
    const int day = (number - 1) / 4;
    const int slot = (number - 1) % 4;
    return base.addDays(day).addSecs(qint64(slot) * (28 + number % 7) * 60 + (number * 37) % 60);
}
} // namespace

int BlackBoxPlan::resolvedShortRecord() const
{
    if (shortRecord >= 0)
        return shortRecord;
    return recordCount >= 5 ? recordCount - 4 : 0;
}

int BlackBoxPlan::resolvedOddRecord() const
{
    if (oddRecord >= 0)
        return oddRecord;
    return recordCount >= 2 ? recordCount - 1 : 0;
}

QByteArray FlightRecordGenerator::block(const TelemetrySample &first, const TelemetrySample &second,
                                        const QDateTime &stampUtc, int blockIndex)
{
    const QDate d = stampUtc.date();
    const QTime t = stampUtc.time();
    WireWriter w;
    w.u8(0xA5).u8(0x5A);
    w.bytes(TelemetryCodec::blackBoxSample(first));
    w.bytes(TelemetryCodec::blackBoxSample(second));
    w.fill(30, 0);
    w.u16be(quint32(d.year())).u8(quint32(d.month())).u8(quint32(d.day()));
    w.u8(quint32(t.hour())).u8(quint32(t.minute())).u8(quint32(t.second()));
    w.u8(0).u16be(quint32(blockIndex)).u8(0).u8(0);
    return w.data();
}

void FlightRecordGenerator::removeSyncPairs(QByteArray &bytes)
{
    AircraftFrame::removeSyncPairs(bytes);
    // A chunk's frame carries the chunk number just before the data: a number ending in 0xEB
    // must not be followed by 0x90.
    for (int n = 0xEB; (n - 1) * kChunkSize < bytes.size(); n += 0x100) {
        const int at = (n - 1) * kChunkSize;
        if (quint8(bytes[at]) == 0x90)
            bytes[at] = char(0x91);
    }
}

FlightRecord FlightRecordGenerator::record(const BlackBoxPlan &plan, int number)
{
    FlightRecord r;
    r.number = number;
    r.startUtc = startOf(number);
    const int lo = qMax(1, plan.minBlocks);
    const int hi = qMax(lo, plan.maxBlocks);
    const int blocks = lo + int(mix(plan.seed, quint32(number)) % quint32(hi - lo + 1));
    const bool odd = number == plan.resolvedOddRecord();
    const bool aborted = number == plan.resolvedShortRecord();
    const int spb = qMax(2, plan.secondsPerBlock);
    const int samples = 2 * blocks + (odd || aborted ? 2 : 0);
    const QList<TelemetrySample> flight = SyntheticFlight::fly(number, samples, spb / 2.0);

    for (int b = 0; b < blocks; ++b) {
        r.bytes.append(block(flight[2 * b], flight[2 * b + 1], r.startUtc.addSecs(qint64(b) * spb), b));
    }
    r.samples = 2 * blocks;
    if (odd) { // the last block was cut after its first chunk and 40 more bytes
        r.bytes.append(block(flight[2 * blocks], flight[2 * blocks + 1], r.startUtc.addSecs(qint64(blocks) * spb), blocks)
                           .left(kChunkSize + 40));
    }
    if (aborted) { // switched off right after power-up: part of one block
        r.bytes = block(flight[0], flight[1], r.startUtc, 0).left(100);
        r.samples = 0;
    }
    removeSyncPairs(r.bytes);
    return r;
}

QList<FlightRecord> FlightRecordGenerator::generate(const BlackBoxPlan &plan)
{
    QList<FlightRecord> records;
    for (int n = 1; n <= plan.recordCount; ++n)
        records.append(record(plan, n));
    return records;
}
