#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

class QSaveFile;

// Writes downloaded flight records as tab-separated Latin-1 text, one ".xls" file per record: a
// header of 57 column titles, then one line per sample. A record's file is written beside its
// final name and takes that name only when the record is complete, so an interrupted download
// never leaves half a file (nor destroys an earlier copy).
class LumBlackBoxesData : public QObject
{
    Q_OBJECT

public:
    static constexpr int kBlockSize = 256;

    explicit LumBlackBoxesData(QObject *parent = nullptr);
    ~LumBlackBoxesData() override;

    void setExportDir(const QString &dir) { m_exportDir = dir; }
    QString exportDir() const { return m_exportDir; }

    // "yyyy-MM-dd hh:mm:ss" from the aircraft's fields, and that text read back as a UTC time
    // (invalid when the fields are not a date and time).
    static QString stampText(int year, int month, int day, int hour, int minute, int second);
    static QDateTime utcFromStampText(const QString &text);
    // "2024-05-06time14-10-00": a record's start in local time, as its file name carries it.
    static QString localDateAndTime(const QDateTime &startUtc);
    // "index" + index + "date" + dateAndTime + ".xls".
    static QString recordFileName(int index, const QString &dateAndTime);

    // Starts the file of a record, recordFileName() in the export folder, with its header line.
    // False (see errorString()) when it cannot be written.
    bool startRecord(int index, const QString &dateAndTime);
    // Makes the record's file visible under its name. False when the file could not be written.
    bool finishRecord();
    // Drops the record in progress; an earlier file of the same name stays as it was.
    void abandonRecord();
    bool isRecordOpen() const { return bool(file); }

    QString errorString() const { return m_error; }

public Q_SLOTS:
    // One 256-byte block: its time stamp, then its two samples when the block is marked 0x41. A
    // block that is short (a chunk of it was lost) has neither and writes nothing. False when a
    // line could not be written.
    bool SlotGetBlackBoxesData(QByteArray data);

private:
    bool fail(const QString &why);

    QString fileName;
    std::unique_ptr<QSaveFile> file;
    uint32_t rowIndex = 1;
    QDateTime sampleTime;

    QString m_exportDir;
    QString m_error;
};
