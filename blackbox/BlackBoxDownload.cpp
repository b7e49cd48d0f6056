#include "blackbox/BlackBoxDownload.h"

#include "blackbox/BlackBoxDownloadState.h"
#include "blackbox/LumBlackBoxesData.h"
#include "link/seriallink.h"

#include <QFile>

#include <QDir>
#include <limits>

BlackBoxDownload::BlackBoxDownload(SerialLink *link,
                                   LumBlackBoxesData *store,
                                   BlackBoxDownloadState *state,
                                   QObject *parent)
    : QObject(parent)
    , m_link(link)
    , m_store(store)
    , m_state(state ? *state : blackBoxDownloadState())
{
    m_timer.setSingleShot(true);
    // A coarse timer may be 1.5 ms late on a 30 ms pause: on hundreds of chunks that is seconds.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        const std::function<void()> step = std::move(m_next);
        m_next = nullptr;
        // Requests to an aircraft that is gone would only be resent into the void.
        if (!m_link->isHandShaked()) {
            close();
            return;
        }
        if (step)
            step();
    });
}

void BlackBoxDownload::start(const QString &exportDir, bool rewriteComplete)
{
    close();
    m_incomplete.clear();
    m_rewriteComplete = rewriteComplete;
    m_written.clear();
    m_store->setExportDir(exportDir);
    m_phase = Phase::Waiting;
    m_next = [this] {
        beginAfterWait();
    };
    m_timer.start(m_startDelayMs);
}

void BlackBoxDownload::beginAfterWait()
{
    m_phase = Phase::Opening;
    m_link->request_HostOK();
}

void BlackBoxDownload::close()
{
    if (m_phase == Phase::Idle)
        return;
    m_timer.stop();
    m_next = nullptr;
    m_phase = Phase::Idle;
    m_state.downloadActive = false;
    m_store->abandonRecord();
    m_assembler.reset();
    m_link->setContinuous(false);
    // What was fetched of the record in progress waits for the next download; a map that cannot
    // be written only costs fetching those chunks again.
    m_partial.suspend();
}

void BlackBoxDownload::pace(std::function<void()> step)
{
    // Nothing is acted on during the pause: the reply it follows may come again (resent request).
    m_phase = Phase::Pacing;
    m_next = std::move(step);
    m_timer.start(kStepMs);
}

void BlackBoxDownload::onReturnInfo(uint8_t command, const QString &text)
{
    switch (command) {
    case SerialLink::_E1:
        if (m_phase == Phase::Opening) {
            pace([this] {
                m_state.downloadActive = true;
                m_phase = Phase::Listing;
                m_link->request_HostIndex();
            });
        }
        break;
    case SerialLink::_E2:
        if (m_phase == Phase::Listing) {
            const int count = qBound(0, text.toInt(), int(std::numeric_limits<uint16_t>::max()));
            pace([this, count] {
                m_state.totalIndex = uint16_t(count);
                m_state.currentIndex = uint16_t(count);
                if (count < 1)
                    succeed(); // an empty black box: nothing to fetch, and never record 0
                else
                    askHeader();
            });
        }
        break;
    case SerialLink::_E3:
        if (m_phase == Phase::Header) {
            // The reply's own text, not the shared record date: a later reply cannot change it.
            m_recordStartUtc = LumBlackBoxesData::utcFromStampText(text);
            m_recordStartText = text;
            pace([this] {
                m_phase = Phase::Length;
                m_link->request_DataLen(m_state.currentIndex);
            });
        }
        break;
    case SerialLink::_E4:
        if (m_phase == Phase::Length)
            pace([this, text] { takeLength(text); });
        break;
    default:
        break;
    }
}

void BlackBoxDownload::askHeader()
{
    m_phase = Phase::Header;
    m_link->request_HostIndexReady(m_state.currentIndex);
}

void BlackBoxDownload::takeLength(const QString &text)
{
    m_recordLength = text.toLongLong();
    qint64 chunks = m_recordLength / kChunkSize;
    m_lostChunks = 0;
    const qint64 most = std::numeric_limits<uint16_t>::max();
    if (chunks > most) { // chunk numbers beyond 16 bits cannot be followed: reported as lost
        m_lostChunks = int(qMin<qint64>(chunks - most, std::numeric_limits<int>::max()));
        chunks = most;
    }
    m_state.subMaxIndex = uint16_t(chunks);
    if (chunks < 1) {
        nextRecord(); // shorter than a chunk, or its length could not be read
        return;
    }
    const QString dateAndTime = LumBlackBoxesData::localDateAndTime(m_recordStartUtc);
    const QString fileName = LumBlackBoxesData::recordFileName(m_state.currentIndex, dateAndTime);
    const QString path = m_store->exportDir() + QLatin1Char('/') + fileName;
    if (!m_rewriteComplete && QFile::exists(path) && !BlackBoxPartialRecord::isUnfinished(path)) {
        Q_EMIT recordSkipped(fileName);
        nextRecord();
        return;
    }
    fetchRecord(fileName);
}

void BlackBoxDownload::fetchRecord(const QString &fileName)
{
    m_recordFile.clear();
    m_assembler.reset();
    const int chunks = m_state.subMaxIndex;
    m_partial.begin(m_store->exportDir() + QLatin1Char('/') + fileName,
                    {m_state.currentIndex, m_recordStartText, m_recordLength, chunks});
    const int first = m_partial.nextMissing(0);
    if (m_partial.storedCount() > 0) {
        // Chunks of an earlier attempt are on disk; the name is shown now, as chunk 2 may not
        // be fetched at all.
        m_recordFile = fileName;
        Q_EMIT currentReadFile(fileName);
        Q_EMIT recordResumed(fileName, first > 0 ? first : chunks);
    }
    if (first == 0) { // every chunk is there: the file was all that was missing
        m_state.currentSubIndex = uint16_t(chunks);
        Q_EMIT progress(m_state.currentIndex, chunks, chunks);
        if (writeRecordFile())
            pace([this] { nextRecord(); });
        return;
    }
    askChunk(first);
}

void BlackBoxDownload::askChunk(int chunk)
{
    m_state.currentSubIndex = uint16_t(chunk);
    m_phase = Phase::Chunks;
    m_link->request_Data(m_state.currentIndex, m_state.currentSubIndex);
}

void BlackBoxDownload::nextRecord()
{
    const int current = m_state.currentIndex;
    const int oldest = qMax(1, int(m_state.totalIndex) - kMaxRecords + 1);
    if (current <= oldest) {
        succeed();
        return;
    }
    m_state.currentIndex = uint16_t(current - 1);
    askHeader();
}

void BlackBoxDownload::onChunk(uint8_t command, int subIndex, const QByteArray &data)
{
    // Only the chunk asked for: a repeated answer, or one after the download was closed, is
    // not written twice and does not move the sequence.
    if (command != SerialLink::_E5 || m_phase != Phase::Chunks
        || subIndex != m_state.currentSubIndex)
        return;
    recordChunk(subIndex, data);
}

void BlackBoxDownload::recordChunk(int subIndex, const QByteArray &data)
{
    const int last = m_state.subMaxIndex;
    Q_EMIT progress(m_state.currentIndex, last, subIndex);
    // No data, or given up after CRC errors: the chunk stays missing, a hole in the file unless a
    // later download fetches it.
    if (!m_partial.store(subIndex, data)) {
        fail(m_partial.errorString());
        return;
    }
    if (subIndex == 2 && m_recordFile.isEmpty()) {
        m_recordFile = LumBlackBoxesData::recordFileName(
            m_state.currentIndex, LumBlackBoxesData::localDateAndTime(m_recordStartUtc));
        Q_EMIT currentReadFile(m_recordFile);
    }

    const int next = m_partial.nextMissing(subIndex);
    if (next > 0) {
        pace([this, next] { askChunk(next); });
        return;
    }
    if (writeRecordFile())
        pace([this] { nextRecord(); });
}

bool BlackBoxDownload::writeRecordFile()
{
    // The file is made from the chunks on disk the way the chunks would have been written one by
    // one: blocks from pairs of chunks, a missing chunk leaving its block out, a last odd chunk
    // unused, and no file for a record of a single chunk.
    const int index = m_state.currentIndex;
    const int last = m_state.subMaxIndex;
    m_assembler.reset();
    for (int n = 1; n <= last; ++n) {
        QByteArray block;
        const bool blockEnds = m_assembler.add(n, m_partial.chunk(n), &block);
        if (n == 2
            && !m_store->startRecord(index,
                                     LumBlackBoxesData::localDateAndTime(m_recordStartUtc))) {
            fail(m_store->errorString());
            return false;
        }
        if (blockEnds && !m_store->SlotGetBlackBoxesData(block)) {
            fail(m_store->errorString());
            return false;
        }
    }
    const bool hadFile = m_store->isRecordOpen();
    if (!m_store->finishRecord()) {
        fail(m_store->errorString());
        return false;
    }
    if (hadFile && !m_recordFile.isEmpty())
        m_written.append(QDir(m_store->exportDir()).filePath(m_recordFile));
    const int missing = last - m_partial.storedCount() + m_lostChunks;
    if (missing > 0 && !m_recordFile.isEmpty())
        m_incomplete.insert(m_recordFile, missing);
    // A file with holes is not complete: its chunk map stays, so the next download fetches them.
    if (m_partial.storedCount() == last)
        m_partial.discard();
    else
        m_partial.suspend();
    return true;
}

void BlackBoxDownload::succeed()
{
    m_phase = Phase::Done;
    m_link->setContinuous(false);
    Q_EMIT finished();
}

void BlackBoxDownload::fail(const QString &reason)
{
    close();
    Q_EMIT failed(reason);
}
