// Black-box download requests 0xE1 to 0xE5. Their numbers are 32-bit big-endian (the record
// date's year excepted); every request runs in bulk-transfer mode.
#include "link/seriallink.h"

#include "blackbox/BlackBoxDownloadState.h"
#include "link/FrameReader.h"
#include "link/WireWriter.h"

namespace {
constexpr int kChunkSize = 128;
constexpr int kNoDataFrameSize = 19;
} // namespace

void SerialLink::request_HostOK()
{
    continuous = true;
    sendTracked(_E1, WireWriter().u8(0xFF), 0, true, true);
}

void SerialLink::request_HostIndex()
{
    continuous = true;
    sendTracked(_E2, WireWriter().u8(0xFF), 0, true, true);
}

void SerialLink::request_HostIndexReady(int iIndex)
{
    continuous = true;
    sendTracked(_E3, WireWriter().u32be(uint32_t(iIndex)).u8(0xFF), 0, true, true);
}

void SerialLink::request_DataLen(int iIndex)
{
    continuous = true;
    sendTracked(_E4, WireWriter().u32be(uint32_t(iIndex)), 0, true, true);
}

void SerialLink::request_Data(int iIndex1, int iIndex2)
{
    continuous = true;
    heartbeatFlag = 0x00; // heartbeats during the data transfer carry 0x00
    sendTracked(_E5, WireWriter().u32be(uint32_t(iIndex1)).u32be(uint32_t(iIndex2)),
                int16_t(uint16_t(iIndex2)), true, true);
}

void SerialLink::replyUav_E1(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8) || r.u8(8) != 0)
        return;
    ackPending(_E1, 0);
    Q_EMIT SignalReturnInfo(_E1, QString());
}

void SerialLink::replyUav_E2(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8 + 4) || r.u8(8) != 0)
        return;
    const uint32_t count = r.u32be(9);
    m_blackBox.totalIndex = uint16_t(count);
    ackPending(_E2, 0);
    Q_EMIT SignalReturnInfo(_E2, QString::number(count));
}

void SerialLink::replyUav_E3(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8 + 19) || r.u8(8) != 0)
        return;
    ackPending(_E3, 0);
    BlackBoxDownloadState::RecordDate &date = m_blackBox.recordDate;
    date.year = r.u16(8 + 13);
    date.month = r.u8(8 + 15);
    date.day = r.u8(8 + 16);
    date.hour = r.u8(8 + 17);
    date.minute = r.u8(8 + 18);
    date.second = r.u8(8 + 19);
    const auto two = [](uint8_t v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    Q_EMIT SignalReturnInfo(_E3, QStringLiteral("%1-%2-%3 %4:%5:%6")
                                     .arg(date.year.load())
                                     .arg(two(date.month), two(date.day), two(date.hour),
                                          two(date.minute), two(date.second)));
}

void SerialLink::replyUav_E4(QByteArray b)
{
    const FrameReader r(b);
    if (!r.covers(8))
        return;
    if (r.u8(8) != 0) {
        // A failed length request counts as an empty record: the download skips it.
        Q_EMIT SignalReturnInfo(_E4, QStringLiteral("0"));
        return;
    }
    if (!r.covers(8 + 8))
        return;
    ackPending(_E4, 0);
    Q_EMIT SignalReturnInfo(_E4, QString::number(r.u32be(8 + 5)));
}

void SerialLink::replyUav_E5(QByteArray b)
{
    const FrameReader r(b);
    if (r.size() == kNoDataFrameSize) {
        // No data for this chunk: the sequence moves on as if it had arrived.
        const uint32_t chunk = r.u32be(8 + 5);
        Q_EMIT SignalReturnBlackBoxes(_E5, int(chunk), QByteArray());
        ackPending(_E5, int16_t(uint16_t(chunk)));
        return;
    }
    // A frame that is shorter or longer than its own length byte says is damaged, however its
    // CRC checks: taking it would shift the record by the missing bytes. It stays pending.
    if (!r.covers(8 + 3) || r.size() != 8 + r.lengthByte() + 2)
        return;
    const uint32_t chunk = r.u32be(8);
    if (chunk != m_blackBox.currentSubIndex)
        return; // a stale chunk: the request is still pending and is resent
    ackPending(_E5, int16_t(uint16_t(chunk)));
    Q_EMIT SignalReturnBlackBoxes(_E5, int(chunk), r.payloadBytes(12, kChunkSize));
}
