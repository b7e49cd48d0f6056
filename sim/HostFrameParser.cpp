#include "sim/HostFrameParser.h"

#include "link/crc16.h"

namespace {
constexpr char kSync0 = char(0xEB);
constexpr char kSync1 = char(0x90);
} // namespace

int HostFrameParser::nextSync(int from) const
{
    for (int i = from; i + 1 < m_buffer.size(); ++i) {
        if (m_buffer[i] == kSync0 && m_buffer[i + 1] == kSync1)
            return i;
    }
    return -1;
}

HostFrameParser::Candidate HostFrameParser::examine(int pos, int *length) const
{
    const int available = int(m_buffer.size()) - pos;
    if (available < 8)
        return Candidate::Incomplete;
    const int n = quint8(m_buffer[pos + 7]);
    const int total = kOverhead + n;
    if (available < total)
        return Candidate::Incomplete;
    *length = total;
    const auto *bytes = reinterpret_cast<const uint8_t *>(m_buffer.constData()) + pos;
    const quint16 crc = crc16(bytes, quint16(8 + n));
    const bool crcOk = bytes[8 + n] == (crc & 0xFF) && bytes[9 + n] == (crc >> 8);
    const bool trailerOk = bytes[10 + n] == 0x51 && bytes[11 + n] == 0x5A;
    return crcOk && trailerOk ? Candidate::Valid : Candidate::Invalid;
}

bool HostFrameParser::laterValidFrame(int from, int *pos) const
{
    for (int q = nextSync(from); q >= 0; q = nextSync(q + 1)) {
        int length = 0;
        if (examine(q, &length) == Candidate::Valid) {
            *pos = q;
            return true;
        }
    }
    return false;
}

QList<HostFrame> HostFrameParser::feed(const QByteArray &bytes)
{
    m_buffer.append(bytes);
    QList<HostFrame> frames;
    int pos = 0;
    for (;;) {
        const int p = nextSync(pos);
        if (p < 0) {
            // Keep a lone first sync byte at the very end: its partner may be in the next read.
            const int keepFrom = m_buffer.size() > pos && m_buffer.endsWith(kSync0)
                                     ? int(m_buffer.size()) - 1
                                     : int(m_buffer.size());
            m_discarded += keepFrom - pos;
            pos = keepFrom;
            break;
        }
        m_discarded += p - pos;
        pos = p;
        int length = 0;
        const Candidate c = examine(pos, &length);
        if (c == Candidate::Valid) {
            HostFrame f;
            f.raw = m_buffer.mid(pos, length);
            f.type = quint8(f.raw[6]);
            f.payload = f.raw.mid(8, length - kOverhead);
            frames.append(f);
            pos += length;
            continue;
        }
        if (c == Candidate::Invalid) {
            ++m_rejected;
            ++m_discarded;
            ++pos;
            continue;
        }
        // Incomplete: wait for more bytes, unless a good frame already follows, in which case
        // this candidate was a torn one (its length byte promised bytes that never came).
        int later = 0;
        if (laterValidFrame(pos + 2, &later)) {
            ++m_rejected;
            m_discarded += later - pos;
            pos = later;
            continue;
        }
        break;
    }
    m_buffer.remove(0, pos);
    return frames;
}

void HostFrameParser::reset()
{
    m_buffer.clear();
    m_rejected = 0;
    m_discarded = 0;
}
