#pragma once

#include "sim/HostFrameParser.h"
#include "sim/SimReply.h"

#include <QMap>

struct AircraftState;

// What arrived when the host declared an image complete (0xD6).
struct FirmwareResult
{
    int module = -1;
    quint8 major = 0;
    quint8 minor = 0;
    qint64 announcedSize = 0;
    QByteArray image;     // the chunks joined in packet order
    QByteArray sha256;    // of image
    bool complete = false; // every packet present and the size as announced
};

// The firmware side of the flight controller: 0xD2 opens a transfer, 0xD3 names the module and
// target version, 0xD4 the size, 0xD5 carries 242-byte chunks numbered from 1 (kept by number, so
// resent or reordered chunks do no harm), 0xD6 ends it. A complete image updates the module's
// version.
class FirmwareReceiver
{
public:
    static constexpr int kChunkSize = 242;

    explicit FirmwareReceiver(AircraftState &state);

    static bool handles(quint8 type);
    SimReplies respond(const HostFrame &frame);
    // True once after a 0xD6 that ended a transfer, with its result.
    bool takeFinished(FirmwareResult *result);

    // The next `count` chunks are answered with a non-zero status and not kept: the host must
    // send them again.
    void refuseChunks(int count) { m_refuseChunks = count; }

    int receivedPackets() const { return int(m_chunks.size()); }
    const FirmwareResult &lastResult() const { return m_last; }

private:
    SimReplies chunk(const QByteArray &p);
    SimReplies done();
    int expectedPackets() const;

    AircraftState &m_state;
    int m_module = -1;
    quint8 m_major = 0;
    quint8 m_minor = 0;
    qint64 m_size = -1;
    QMap<int, QByteArray> m_chunks; // packet number -> bytes
    bool m_dirty = false;          // chunks arrived since the last 0xD6
    FirmwareResult m_last;
    bool m_finishedPending = false;
    int m_refuseChunks = 0;
};
