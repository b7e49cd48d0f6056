#pragma once

#include "blackbox/BlackBoxChunkAssembler.h"
#include "blackbox/BlackBoxPartialRecord.h"

#include <QDateTime>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <cstdint>
#include <functional>

class LumBlackBoxesData;
class SerialLink;
struct BlackBoxDownloadState;

// Downloads the newest flight records (at most ten, newest first, never record 0) and hands their
// chunks to the export. The user starts it with a folder; the replies of the aircraft drive it
// from then on: open (0xE1), count (0xE2), then per record its start time (0xE3), its length
// (0xE4, asked once, after the start time) and its chunks (0xE5) one by one, 30 ms after each
// reply. A reply is acted on only while the download waits for exactly that reply, so a late or
// repeated one, or one the aircraft sends on its own, changes nothing.
//
// Chunks are kept beside a record's file as they arrive (BlackBoxPartialRecord), and the file is
// written from them once the record is through. A record left half-way is taken up again on the
// next download from its first missing chunk: the chunk request names the chunk, so only the
// missing ones are asked for. A record whose file is already complete is skipped, unless the user
// asked for complete files to be downloaded again. Without any of that on disk, the requests are
// those of a download that starts from nothing.
class BlackBoxDownload : public QObject
{
    Q_OBJECT

public:
    static constexpr int kStartDelayMs = 1000;
    static constexpr int kStepMs = 30;
    static constexpr int kChunkSize = 128;
    static constexpr int kMaxRecords = 10;

    // state defaults to the process-wide record shared with the link.
    BlackBoxDownload(SerialLink *link,
                     LumBlackBoxesData *store,
                     BlackBoxDownloadState *state = nullptr,
                     QObject *parent = nullptr);

    // The user chose the folder: the first request leaves a second later, if the download has
    // not been closed and the link is still up by then.
    // rewriteComplete: records whose files are complete are downloaded and written again.
    void start(const QString &exportDir, bool rewriteComplete = false);
    // Ends the download (the user closed it, the link dropped, or it is done): bulk-transfer mode
    // off, later replies ignored, a record in progress dropped.
    void close();
    bool isOpen() const { return m_phase != Phase::Idle; }
    // Tests shorten the wait before the first request; the program keeps kStartDelayMs.
    void setStartDelayMs(int ms) { m_startDelayMs = ms; }

    // Every reply notification of the link; only 0xE1..0xE4 are acted on.
    void onReturnInfo(uint8_t command, const QString &text);
    // Every chunk notification of the link (data, "no data", or a chunk given up after CRC errors).
    void onChunk(uint8_t command, int subIndex, const QByteArray &data);

    // Files of the last download written with chunks missing, and how many each lacks.
    QMap<QString, int> incompleteFiles() const { return m_incomplete; }
    // Full paths of the files the last download wrote, newest record first.
    QStringList writtenFiles() const { return m_written; }

Q_SIGNALS:
    void progress(int index, int subMaxIndex, int currentSubIndex);
    void currentReadFile(QString fname);
    // The record's file is complete already and is left as it is.
    void recordSkipped(QString fname);
    // An earlier download of the record broke off: it goes on from chunk fromChunk.
    void recordResumed(QString fname, int fromChunk);
    void finished();
    // A file could not be written; the download has been closed.
    void failed(QString reason);

private:
    enum class Phase { Idle, Waiting, Opening, Listing, Header, Length, Chunks, Pacing, Done };

    void beginAfterWait();
    void pace(std::function<void()> step);
    void askHeader();
    void takeLength(const QString &text);
    void nextRecord();
    void fetchRecord(const QString &fileName);
    void recordChunk(int subIndex, const QByteArray &data);
    void askChunk(int chunk);
    bool writeRecordFile();
    void succeed();
    void fail(const QString &reason);

    SerialLink *m_link;
    LumBlackBoxesData *m_store;
    BlackBoxDownloadState &m_state;
    BlackBoxChunkAssembler m_assembler;
    QTimer m_timer; // the start wait, then the pause between a reply and the next request
    std::function<void()> m_next;
    Phase m_phase = Phase::Idle;
    int m_startDelayMs = kStartDelayMs;
    QDateTime m_recordStartUtc;
    QString m_recordStartText; // as the aircraft gave it: part of the record's identity
    qint64 m_recordLength = 0;
    bool m_rewriteComplete = false;
    BlackBoxPartialRecord m_partial;
    int m_lostChunks = 0; // of the record in progress
    QMap<QString, int> m_incomplete;
    QStringList m_written;
    QString m_recordFile;
};
