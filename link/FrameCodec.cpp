#include "link/FrameCodec.h"

#include "link/crc16.h"

#include <QDebug>
#include <QVarLengthArray>

#include <cstring>

namespace {
constexpr uint8_t kSync0 = 0xEB;
constexpr uint8_t kSync1 = 0x90;
constexpr uint8_t kBlackBoxData = 0xE5;
} // namespace

QByteArray buildFrame(uint8_t type, uint8_t length, const QByteArray &payload)
{
    QByteArray frame;
    frame.reserve(payload.size() + 12);
    frame.append(char(kSync0)).append(char(kSync1));
    frame.append(4, char(0xFF));
    frame.append(char(type)).append(char(length));
    frame.append(payload);
    const quint16 crc = crc16(frame);
    frame.append(char(crc & 0xFF)).append(char(crc >> 8));
    frame.append(char(0x51)).append(char(0x5A));
    return frame;
}

int FrameExtractor::takeE5Reports()
{
    const int reports = m_e5Reports;
    m_e5Reports = 0;
    return reports;
}

void FrameExtractor::reject(const uint8_t *candidate, int size)
{
    if (size <= 6 || candidate[6] != kBlackBoxData)
        return;
    if (++m_e5CrcErrorCount > kE5RejectionLimit) {
        qDebug() << "0xE5 CRC error!";
        ++m_e5Reports;
        m_e5CrcErrorCount = 0;
    }
}

int FrameExtractor::extractFrames(const QByteArray &newBytes, QList<QByteArray> &frames)
{
    m_accumulator.append(newBytes);
    const int size = int(m_accumulator.size());
    const auto *data = reinterpret_cast<const uint8_t *>(m_accumulator.constData());

    QVarLengthArray<int, 64> starts;
    for (const uint8_t *p = data, *end = data + size;
         (p = static_cast<const uint8_t *>(std::memchr(p, kSync0, size_t(end - p))));) {
        if (p + 1 >= end)
            break;
        if (p[1] == kSync1) {
            starts.append(int(p - data));
            p += 2;
        } else {
            p += 1;
        }
    }

    if (starts.isEmpty()) {
        if (size > kAccumulatorCap) {
            // Nothing here can become a frame; only a last 0xEB may still begin a sync pair.
            const bool keepLast = data[size - 1] == kSync0;
            qDebug() << "Dropped" << (keepLast ? size - 1 : size) << "received bytes without a frame start";
            m_accumulator = keepLast ? m_accumulator.right(1) : QByteArray();
        }
        return int(frames.size());
    }

    const int count = int(starts.size());
    auto segmentEnd = [&](int i) { return i + 1 < count ? starts[i + 1] : size; };
    // The CRC residue cannot tell a frame from the same frame without its last byte when that
    // byte is 0x00. At the end of the buffer a candidate shorter than its length byte says is
    // therefore an unfinished frame: the length byte may make us wait, never accept early.
    auto complete = [&](int from, int to) {
        return to - from >= kMinFrameSize && (to < size || to - from >= 8 + data[from + 7] + 2);
    };
    auto checks = [&](int from, int to) {
        return complete(from, to) && checkCrc(data + from, quint16(to - from));
    };

    QVarLengthArray<bool, 64> wholeAlone(count);
    int lastWholeAlone = -1;
    for (int i = 0; i < count; ++i) {
        const int length = segmentEnd(i) - starts[i];
        wholeAlone[i] = length <= 0xFFFF && checks(starts[i], segmentEnd(i));
        if (wholeAlone[i])
            lastWholeAlone = i;
    }

    QVarLengthArray<QPair<int, int>, 64> accepted; // [from, to) in arrival order
    auto accept = [&](int from, int to) {
        if (data[from + 6] == kBlackBoxData)
            m_e5CrcErrorCount = 0;
        accepted.append({from, to});
    };
    int keepFrom = -1;
    for (int i = 0; i < count;) {
        const int from = starts[i];
        if (wholeAlone[i]) {
            accept(from, segmentEnd(i));
            ++i;
            continue;
        }
        // A sync pair inside the payload or CRC cut this frame: rejoin it with the pieces that
        // follow, up to the longest frame, and take the join whose CRC checks.
        quint16 crc = crc16Continue(0xFFFF, data + from, segmentEnd(i) - from);
        int joinedTo = -1;
        int j = i + 1;
        for (; j < count && !wholeAlone[j]; ++j) {
            const int to = segmentEnd(j);
            if (to - from > kMaxFrameSize)
                break;
            crc = crc16Continue(crc, data + starts[j], to - starts[j]);
            if (crc == 0 && complete(from, to)) {
                joinedTo = to;
                break;
            }
        }
        if (joinedTo >= 0) {
            accept(from, joinedTo);
            i = j + 1;
            continue;
        }
        // Its rest may not have arrived yet: keep it, unless a complete frame follows it or it
        // is already longer than any frame. A lone 0xEB at the very end is the next frame's
        // first sync byte, not part of this one.
        const int tail = size - (data[size - 1] == kSync0 ? 1 : 0);
        if (tail - from <= kMaxFrameSize && lastWholeAlone < i) {
            keepFrom = from;
            break;
        }
        reject(data + from, segmentEnd(i) - from);
        ++i;
    }

    for (auto it = accepted.crbegin(); it != accepted.crend(); ++it)
        frames.append(m_accumulator.mid(it->first, it->second - it->first));
    const bool endsWithFrame = !accepted.isEmpty() && accepted.back().second == size;
    if (keepFrom < 0 && !endsWithFrame && data[size - 1] == kSync0)
        keepFrom = size - 1; // the first half of the next sync pair
    // In place: the accumulator keeps its buffer from read to read.
    if (keepFrom >= 0)
        m_accumulator.remove(0, keepFrom);
    else
        m_accumulator.resize(0);
    return int(frames.size());
}
