#include "blackbox/LumBlackBoxesData.h"

#include "blackbox/BlackBoxSample.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {
constexpr int kMarkerAt = 2;
constexpr uint8_t kMarker = 0x41;
constexpr int kSample2At = kMarkerAt + BlackBoxSample::kSize;
constexpr int kStampAt = 244;
} // namespace

LumBlackBoxesData::LumBlackBoxesData(QObject *parent)
    : QObject(parent)
{}

LumBlackBoxesData::~LumBlackBoxesData() = default;

QString LumBlackBoxesData::stampText(int year, int month, int day, int hour, int minute, int second)
{
    const auto two = [](int v) {
        return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
    };
    return QStringLiteral("%1-%2-%3 %4:%5:%6")
        .arg(year)
        .arg(two(month), two(day), two(hour), two(minute), two(second));
}

QDateTime LumBlackBoxesData::utcFromStampText(const QString &text)
{
    // Date and time are read apart: read as one local time, a moment that a daylight-saving
    // change skips would be moved before it is taken as UTC.
    const QDate date
        = QDate::fromString(text.section(QLatin1Char(' '), 0, 0), QStringLiteral("yyyy-MM-dd"));
    const QTime time
        = QTime::fromString(text.section(QLatin1Char(' '), 1, 1), QStringLiteral("hh:mm:ss"));
    // Qt would take an invalid time (hour 208) as midnight of the date: a made-up moment.
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time, Qt::UTC);
}

QString LumBlackBoxesData::localDateAndTime(const QDateTime &startUtc)
{
    const QDateTime local = startUtc.toLocalTime();
    return local.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("time")
           + local.toString(QStringLiteral("hh-mm-ss"));
}

QString LumBlackBoxesData::recordFileName(int index, const QString &dateAndTime)
{
    return QStringLiteral("index%1date%2.xls").arg(index).arg(dateAndTime);
}

bool LumBlackBoxesData::fail(const QString &why)
{
    m_error = tr("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(fileName), why);
    file.reset(); // a QSaveFile that is not committed leaves the target untouched
    return false;
}

bool LumBlackBoxesData::startRecord(int index, const QString &dateAndTime)
{
    abandonRecord();
    fileName = m_exportDir + QLatin1Char('/') + recordFileName(index, dateAndTime);
    if (QFile::exists(fileName))
        qDebug() << fileName; // replaced when the record is complete
    file = std::make_unique<QSaveFile>(fileName);
    rowIndex = 1;
    if (!file->open(QIODevice::WriteOnly))
        return fail(file->errorString());
    const QByteArray header = BlackBoxSample::exportHeader();
    if (file->write(header) != header.size())
        return fail(file->errorString());
    return true;
}

bool LumBlackBoxesData::SlotGetBlackBoxesData(QByteArray data)
{
    if (data.size() < kBlockSize)
        return true;
    const auto at = [&data](int i) {
        return int(uint8_t(data[i]));
    };
    sampleTime = utcFromStampText(stampText((at(kStampAt) << 8) | at(kStampAt + 1),
                                            at(kStampAt + 2),
                                            at(kStampAt + 3),
                                            at(kStampAt + 4),
                                            at(kStampAt + 5),
                                            at(kStampAt + 6)))
                     .toLocalTime();
    if (at(kMarkerAt) != kMarker || !file)
        return true;
    // A time stamp that is no date counts as the start of 1970 rather than an undefined number.
    const qint64 timer = sampleTime.isValid() ? sampleTime.toSecsSinceEpoch() : 0;
    for (int from : {kMarkerAt, kSample2At}) {
        const QByteArray line = BlackBoxSample::decode(data.mid(from, BlackBoxSample::kSize))
                                    .exportLine(rowIndex, timer);
        ++rowIndex;
        if (file->write(line) != line.size())
            return fail(file->errorString());
    }
    return true;
}

bool LumBlackBoxesData::finishRecord()
{
    if (!file)
        return true;
    const bool committed = file->commit();
    if (!committed)
        return fail(file->errorString());
    file.reset();
    return true;
}

void LumBlackBoxesData::abandonRecord()
{
    file.reset();
}
