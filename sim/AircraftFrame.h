#pragma once

#include <QByteArray>

// Frames the aircraft sends: EB 90, four filler bytes the host never looks at, type, length n,
// payload, CRC-16 low byte first, and no trailer. The host finds frames only by sync pairs and
// the CRC, so a stray EB 90 after the start of a frame loses it; the builders below use the free
// filler bytes to keep the pair out of the CRC (or, as a fault, to put it there).
class AircraftFrame
{
public:
    static constexpr int kHeader = 8;
    static constexpr quint32 kDefaultFiller = 0xFFFFFFFF;

    // The plain frame with the given filler (first filler byte in the low 8 bits).
    static QByteArray build(quint8 type, const QByteArray &payload, quint32 filler = kDefaultFiller);
    // Like build(), but varies the filler until no sync pair touches the CRC. A pair inside the
    // payload itself is the caller's business.
    static QByteArray buildClean(quint8 type, const QByteArray &payload);
    // A frame whose CRC is the given value (0x90EB: the CRC bytes are EB 90).
    static QByteArray buildWithCrc(quint8 type, const QByteArray &payload, quint16 crc);

    // Position of the first EB 90 pair after offset 0, or -1.
    static int straySync(const QByteArray &frame, int from = 1);
    // Replaces every EB 90 pair in the bytes by EB 91: the smallest change that keeps the host's
    // extractor from cutting a frame there.
    static int removeSyncPairs(QByteArray &bytes);
    // Flips the CRC so that the host rejects the frame, without creating a sync pair.
    static void corruptCrc(QByteArray &frame);
};
