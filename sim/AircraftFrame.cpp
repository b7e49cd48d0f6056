#include "sim/AircraftFrame.h"

#include "link/crc16.h"
#include "sim/CrcForge.h"

namespace {
void appendCrc(QByteArray &frame)
{
    const quint16 crc = crc16(frame);
    frame.append(char(crc & 0xFF));
    frame.append(char(crc >> 8));
}

QByteArray header(quint8 type, int length, quint32 filler)
{
    QByteArray h;
    h.reserve(AircraftFrame::kHeader);
    h.append(char(0xEB));
    h.append(char(0x90));
    for (int i = 0; i < 4; ++i)
        h.append(char((filler >> (8 * i)) & 0xFF));
    h.append(char(type));
    h.append(char(length & 0xFF));
    return h;
}
} // namespace

QByteArray AircraftFrame::build(quint8 type, const QByteArray &payload, quint32 filler)
{
    QByteArray frame = header(type, int(payload.size()), filler);
    frame.append(payload);
    appendCrc(frame);
    return frame;
}

QByteArray AircraftFrame::buildClean(quint8 type, const QByteArray &payload)
{
    const int crcStart = kHeader + int(payload.size());
    QByteArray frame;
    // The last filler byte walks down from 0xFF; 0xEB is skipped so the filler never ends in a
    // first sync byte. Among a handful of tries one always leaves the CRC clear.
    for (quint32 last = 0xFF; last > 0; --last) {
        if (last == 0xEB)
            continue;
        frame = build(type, payload, 0x00FFFFFF | (last << 24));
        const int stray = straySync(frame, crcStart - 1);
        if (stray < 0)
            return frame;
    }
    return frame;
}

QByteArray AircraftFrame::buildWithCrc(quint8 type, const QByteArray &payload, quint16 crc)
{
    QByteArray frame = header(type, int(payload.size()), kDefaultFiller);
    frame.append(payload);
    // Filler bytes 4 and 5 are free (the host never reads them).
    CrcForge::forge(frame, 4, crc);
    appendCrc(frame);
    return frame;
}

int AircraftFrame::straySync(const QByteArray &frame, int from)
{
    for (int i = qMax(1, from); i + 1 < frame.size(); ++i) {
        if (quint8(frame[i]) == 0xEB && quint8(frame[i + 1]) == 0x90)
            return i;
    }
    return -1;
}

int AircraftFrame::removeSyncPairs(QByteArray &bytes)
{
    int count = 0;
    for (int i = 0; i + 1 < bytes.size(); ++i) {
        if (quint8(bytes[i]) == 0xEB && quint8(bytes[i + 1]) == 0x90) {
            bytes[i + 1] = char(0x91);
            ++count;
        }
    }
    return count;
}

void AircraftFrame::corruptCrc(QByteArray &frame)
{
    if (frame.size() < kHeader + 2)
        return;
    const int lo = int(frame.size()) - 2;
    const QByteArray original = frame;
    for (int mask = 0x01; mask <= 0x80; mask <<= 1) {
        frame = original;
        frame[lo] = char(quint8(frame[lo]) ^ 0xFF);
        frame[lo + 1] = char(quint8(frame[lo + 1]) ^ mask);
        if (straySync(frame, lo - 1) < 0)
            return;
    }
}
