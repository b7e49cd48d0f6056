#include "sim/FirmwareReceiver.h"

#include "sim/AircraftState.h"
#include "sim/WireWriter.h"

#include <QCryptographicHash>

namespace {
constexpr qint64 kMaxImage = 16 * 1024 * 1024;

SimReplies status(quint8 type, quint8 value)
{
    return {SimReply{type, QByteArray(1, char(value)), 0}};
}
} // namespace

FirmwareReceiver::FirmwareReceiver(AircraftState &state)
    : m_state(state)
{}

bool FirmwareReceiver::handles(quint8 type)
{
    return type >= 0xD1 && type <= 0xD6;
}

int FirmwareReceiver::expectedPackets() const
{
    return m_size < 0 ? -1 : int((m_size + kChunkSize - 1) / kChunkSize);
}

SimReplies FirmwareReceiver::respond(const HostFrame &frame)
{
    const QByteArray &p = frame.payload;
    switch (frame.type) {
    case 0xD1: // system reset: echo, then the status in the second byte
        return {SimReply{0xD1, WireWriter().u8(p.isEmpty() ? 0 : quint8(p[0])).u8(0).data(), 0}};
    case 0xD2: // a new transfer
        m_module = -1;
        m_size = -1;
        m_chunks.clear();
        m_dirty = true;
        return status(0xD2, 0);
    case 0xD3:
        if (p.size() < 3 || quint8(p[0]) >= m_state.versions.size())
            return status(0xD3, 1);
        m_module = quint8(p[0]);
        m_major = quint8(p[1]);
        m_minor = quint8(p[2]);
        return status(0xD3, 0);
    case 0xD4: {
        const qint64 size = WireReader(p).u32(0);
        if (p.size() < 4 || size > kMaxImage)
            return status(0xD4, 1);
        m_size = size;
        m_chunks.clear();
        m_dirty = true;
        return status(0xD4, 0);
    }
    case 0xD5:
        return chunk(p);
    case 0xD6:
        return done();
    default:
        return {};
    }
}

SimReplies FirmwareReceiver::chunk(const QByteArray &p)
{
    const int packet = int(WireReader(p).u16(0));
    const QByteArray bytes = p.mid(2);
    const int expected = expectedPackets();
    bool fits = p.size() >= 2 && packet >= 1 && bytes.size() <= kChunkSize
                && (expected < 0 || packet <= expected);
    if (fits && m_refuseChunks > 0) {
        --m_refuseChunks;
        fits = false;
    }
    if (fits) {
        m_chunks.insert(packet, bytes);
        m_dirty = true;
    }
    // Status, then the packet number: the host sends the chunk whose index is that number next.
    return {SimReply{0xD5, WireWriter().u8(fits ? 0 : 1).u16(quint32(packet)).data(), 0}};
}

SimReplies FirmwareReceiver::done()
{
    if (!m_dirty) // a resent 0xD6 whose answer was lost: same answer, nothing new to report
        return status(0xD6, m_last.complete ? 0 : 1);

    FirmwareResult r;
    r.module = m_module;
    r.major = m_major;
    r.minor = m_minor;
    r.announcedSize = m_size;
    bool contiguous = true;
    int expectedNumber = 1;
    for (auto it = m_chunks.cbegin(); it != m_chunks.cend(); ++it, ++expectedNumber) {
        const bool last = expectedNumber == expectedPackets();
        contiguous = contiguous && it.key() == expectedNumber
                     && (last || it.value().size() == kChunkSize);
        r.image.append(it.value());
    }
    r.complete = contiguous && m_module >= 0 && m_size >= 0 && r.image.size() == m_size
                 && int(m_chunks.size()) == expectedPackets();
    r.sha256 = QCryptographicHash::hash(r.image, QCryptographicHash::Sha256);
    if (r.complete) {
        m_state.versions[size_t(m_module)].major = m_major;
        m_state.versions[size_t(m_module)].minor = m_minor;
    }
    m_last = r;
    m_dirty = false;
    m_chunks.clear();
    m_finishedPending = true;
    return status(0xD6, r.complete ? 0 : 1);
}

bool FirmwareReceiver::takeFinished(FirmwareResult *result)
{
    if (!m_finishedPending)
        return false;
    m_finishedPending = false;
    if (result)
        *result = m_last;
    return true;
}
