#include "sim/BlackBoxResponder.h"

#include "sim/FlightRecordGenerator.h"
#include "sim/WireWriter.h"

namespace {
SimReplies one(quint8 type, const QByteArray &payload, int forcedCrc = -1)
{
    return {SimReply{type, payload, 0, forcedCrc}};
}
} // namespace

BlackBoxResponder::BlackBoxResponder()
{
    setPlan(BlackBoxPlan());
}

bool BlackBoxResponder::handles(quint8 type)
{
    return type >= 0xE1 && type <= 0xE5;
}

void BlackBoxResponder::setPlan(const BlackBoxPlan &plan)
{
    m_plan = plan;
    m_records = FlightRecordGenerator::generate(plan);
}

const FlightRecord *BlackBoxResponder::recordAt(quint32 number) const
{
    if (number < 1 || number > quint32(m_records.size()))
        return nullptr;
    return &m_records[qsizetype(number - 1)];
}

SimReplies BlackBoxResponder::respond(const HostFrame &frame)
{
    const WireReader r(frame.payload);
    switch (frame.type) {
    case 0xE1:
        return one(0xE1, QByteArray(1, 0));
    case 0xE2:
        return one(0xE2, WireWriter().u8(0).u32be(quint32(m_records.size())).data());
    case 0xE3:
        return header(r.u32be(0));
    case 0xE4:
        return length(r.u32be(0));
    case 0xE5:
        return chunk(r.u32be(0), r.u32be(4));
    default:
        return {};
    }
}

SimReplies BlackBoxResponder::header(quint32 number) const
{
    // Status; record number, length and chunk count (big-endian); start time with the year
    // little-endian; three reserved bytes. 23 bytes in all.
    const FlightRecord *rec = recordAt(number);
    if (!rec)
        return one(0xE3, WireWriter().u8(1).u32be(number).fill(18, 0).data());
    const QDate d = rec->startUtc.date();
    const QTime t = rec->startUtc.time();
    WireWriter w;
    w.u8(0).u32be(number).u32be(quint32(rec->bytes.size())).u32be(quint32(rec->chunkCount()));
    w.u16(quint32(d.year())).u8(quint32(d.month())).u8(quint32(d.day()));
    w.u8(quint32(t.hour())).u8(quint32(t.minute())).u8(quint32(t.second()));
    w.fill(3, 0);
    return one(0xE3, w.data());
}

SimReplies BlackBoxResponder::length(quint32 number) const
{
    const FlightRecord *rec = recordAt(number);
    const quint32 size = rec ? quint32(rec->bytes.size()) : 0;
    return one(0xE4, WireWriter().u8(rec ? 0 : 1).u32be(number).u32be(size).data());
}

SimReplies BlackBoxResponder::chunk(quint32 number, quint32 index) const
{
    const FlightRecord *rec = recordAt(number);
    if (!rec || index < 1 || index > quint32(rec->chunkCount())) {
        // No data: status, record number, chunk number; the host knows this shape by its size.
        return one(0xE5, WireWriter().u8(1).u32be(number).u32be(index).data());
    }
    QByteArray data = rec->bytes.mid(qsizetype(index - 1) * kChunkSize, kChunkSize);
    if (data.size() < kChunkSize) // the tail of a record is padded like erased flash
        data.append(QByteArray(kChunkSize - data.size(), char(0xFF)));
    int forcedCrc = -1;
    if (m_syncFault.record > 0 && quint32(m_syncFault.record) == number) {
        if (m_syncFault.dataChunks.contains(int(index))) {
            // Into bytes the export does not read: the two leading bytes of a block, or the
            // reserved run in its second half.
            const int at = index % 2 == 1 ? 0 : 214 - kChunkSize;
            data[at] = char(0xEB);
            data[at + 1] = char(0x90);
        }
        if (m_syncFault.crcChunks.contains(int(index)))
            forcedCrc = 0x90EB; // the CRC bytes are EB 90
        else if (m_syncFault.zeroCrcHighChunks.contains(int(index)))
            forcedCrc = 0x0042; // the frame checks one byte before its end
    }
    return one(0xE5, WireWriter().u32be(index).bytes(data).data(), forcedCrc);
}
