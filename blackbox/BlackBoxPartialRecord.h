#pragma once

#include <QBitArray>
#include <QByteArray>
#include <QFile>
#include <QString>

// What tells one flight record from another: the black box may have been cleared and refilled, so
// a record that gets the same file name is not taken for the one whose chunks are on disk.
struct BlackBoxRecordIdentity
{
    int index = 0;
    QString start;     // the start time as the 0xE3 reply gave it, "yyyy-MM-dd hh:mm:ss"
    qint64 length = 0; // bytes, from the 0xE4 reply
    int chunks = 0;    // its whole 128-byte chunks: a shorter tail is never fetched

    bool operator==(const BlackBoxRecordIdentity &o) const
    {
        return index == o.index && start == o.start && length == o.length && chunks == o.chunks;
    }
};

// The chunks of a record fetched so far, kept beside its export file so that a download that broke
// off (cable pulled, dialog closed) goes on from the first chunk still missing: "<file>.part"
// holds each chunk at its place, "<file>.chunks" the record's identity and which chunks the part
// file holds. The map is replaced as a whole and only after the chunks it names were written, so
// it never names a chunk the part file lacks; a map that cannot be read, or that is of another
// record, means the record starts over.
class BlackBoxPartialRecord
{
public:
    static constexpr int kChunkSize = 128;
    // The map is brought up to date this often while chunks arrive, and when the record is left.
    static constexpr int kMapEvery = 16;

    static QString partPath(const QString &file) { return file + QStringLiteral(".part"); }
    static QString mapPath(const QString &file) { return file + QStringLiteral(".chunks"); }
    // An earlier download of this file broke off (or left holes): it is not complete.
    static bool isUnfinished(const QString &file) { return QFile::exists(mapPath(file)); }

    // Takes up the record written to `file`, with the chunks of an earlier attempt when its map
    // names the same record; otherwise its leftovers are removed.
    void begin(const QString &file, const BlackBoxRecordIdentity &identity);
    bool isActive() const { return !m_file.isEmpty(); }
    int storedCount() const { return int(m_have.count(true)); }
    // The first chunk after `after` not stored yet; 0 when none is missing.
    int nextMissing(int after) const;
    // Keeps a whole chunk. False (see errorString()) when the part file cannot be written.
    bool store(int chunk, const QByteArray &data);
    // A stored chunk, or an empty array when it is missing.
    QByteArray chunk(int chunk);
    // The record is left unfinished: the map is written for a later attempt (nothing is kept
    // when no chunk was stored).
    bool suspend();
    // The record's file is complete: the part file and the map go.
    void discard();
    QString errorString() const { return m_error; }

private:
    bool readMap();
    bool writeMap();
    bool fail(const QString &path, const QString &why);
    void reset();

    QString m_file;
    BlackBoxRecordIdentity m_identity;
    QFile m_part;
    QBitArray m_have; // bit n - 1: chunk n is in the part file
    int m_unmapped = 0;
    QString m_error;
};
