#pragma once

// The black-box download sequence for end-to-end tests: open, ask the count, then for each record
// from the newest down its header, its length and its chunks one by one; stop after ten records or
// at record 1, with the 30 ms pauses between a reply and the next request. The next record's
// length is asked once, after its header reply, and a second answer to the same question is not
// acted on: asking twice (right after the header request and again from its reply) lets a
// duplicate length reply skip a record after a short one, or restart a record's chunks.

#include "blackbox/BlackBoxDownloadState.h"
#include "link/seriallink.h"

#include <QMap>
#include <QObject>
#include <QTimer>

namespace e2e {

class BlackBoxFetcher : public QObject
{
public:
    BlackBoxFetcher(SerialLink &link, BlackBoxDownloadState &state)
        : m_link(link)
        , m_state(state)
    {
        connect(&link, &SerialLink::SignalReturnInfo, this,
                [this](uint8_t command, QString text) { onInfo(command, text); });
        connect(&link, &SerialLink::SignalReturnBlackBoxes, this,
                [this](uint8_t command, int sub, QByteArray data) { onChunk(command, sub, data); });
    }

    void start() { m_link.request_HostOK(); }
    void close()
    {
        m_state.downloadActive = false;
        m_link.setContinuous(false);
    }

    bool done = false;
    QList<int> lengthsAsked;             // record numbers, in the order their lengths were asked
    QMap<int, QByteArray> records;       // record number -> the chunks' data joined
    QMap<int, QList<int>> emptyChunks;   // record number -> chunks that came without data
    QMap<int, int> chunkCounts;          // record number -> chunks fetched
    bool heartbeatZeroSeen = false;

private:
    void later(const std::function<void()> &step) { QTimer::singleShot(30, this, step); }

    void askLength(int record)
    {
        lengthsAsked.append(record);
        m_awaitingLength = true;
        m_link.request_DataLen(record);
    }

    void onInfo(uint8_t command, const QString &text)
    {
        switch (command) {
        case 0xE1:
            later([this] {
                m_state.downloadActive = true;
                m_link.request_HostIndex();
            });
            break;
        case 0xE2:
            later([this, text] {
                const int n = text.toInt();
                m_state.totalIndex = uint16_t(n);
                m_state.currentIndex = uint16_t(n);
                m_link.request_HostIndexReady(n);
            });
            break;
        case 0xE3:
            later([this] { askLength(m_state.currentIndex); });
            break;
        case 0xE4:
            if (!m_awaitingLength)
                break;
            m_awaitingLength = false;
            later([this, text] {
                m_state.subMaxIndex = uint16_t(text.toInt() / 128);
                if (m_state.subMaxIndex > 0) {
                    m_taken = 0;
                    m_state.currentSubIndex = 1;
                    m_link.request_Data(m_state.currentIndex, 1);
                } else {
                    m_state.currentIndex = uint16_t(m_state.currentIndex - 1);
                    askLength(m_state.currentIndex);
                }
            });
            break;
        default:
            break;
        }
    }

    void onChunk(uint8_t command, int sub, const QByteArray &data)
    {
        if (!m_state.downloadActive || command != 0xE5 || done)
            return;
        heartbeatZeroSeen = heartbeatZeroSeen || m_link.currentHeartbeatFlag() == 0x00;
        const int record = m_state.currentIndex;
        if (sub != m_state.currentSubIndex || sub <= m_taken)
            return; // a late duplicate of a chunk already taken
        m_taken = sub;
        records[record].append(data);
        chunkCounts[record] += 1;
        if (data.isEmpty())
            emptyChunks[record].append(sub);
        later([this] {
            if (m_state.currentSubIndex == m_state.subMaxIndex) {
                const int current = m_state.currentIndex;
                if (current <= 1 || current < m_state.totalIndex - 8) {
                    done = true;
                    return;
                }
                m_state.currentIndex = uint16_t(current - 1);
                m_link.request_HostIndexReady(current - 1); // its reply asks the length
            } else if (m_state.currentSubIndex < m_state.subMaxIndex) {
                m_state.currentSubIndex = uint16_t(m_state.currentSubIndex + 1);
                m_link.request_Data(m_state.currentIndex, m_state.currentSubIndex);
            }
        });
    }

    SerialLink &m_link;
    BlackBoxDownloadState &m_state;
    bool m_awaitingLength = false;
    int m_taken = 0;
};

} // namespace e2e
