#include "blackbox/BlackBoxPartialRecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

void BlackBoxPartialRecord::reset()
{
    m_part.close();
    m_file.clear();
    m_identity = BlackBoxRecordIdentity();
    m_have.clear();
    m_unmapped = 0;
}

void BlackBoxPartialRecord::begin(const QString &file, const BlackBoxRecordIdentity &identity)
{
    reset();
    m_error.clear();
    m_file = file;
    m_identity = identity;
    m_have = QBitArray(qMax(0, identity.chunks));
    m_part.setFileName(partPath(file));
    if (!readMap()) {
        m_have.fill(false);
        QFile::remove(partPath(file));
        QFile::remove(mapPath(file));
    }
}

bool BlackBoxPartialRecord::readMap()
{
    QFile map(mapPath(m_file));
    if (!map.open(QIODevice::ReadOnly))
        return false;
    const QJsonObject o = QJsonDocument::fromJson(map.read(64 * 1024)).object();
    BlackBoxRecordIdentity stored;
    stored.index = o.value(QLatin1String("record")).toInt(-1);
    stored.start = o.value(QLatin1String("start")).toString();
    // A whole number, or no length: converting 1e300 to an integer is undefined.
    stored.length = o.value(QLatin1String("length")).toInteger(-1);
    stored.chunks = o.value(QLatin1String("chunks")).toInt(-1);
    if (!(stored == m_identity))
        return false;
    // Runs of stored chunks, [first, last]; the part file must reach the end of the last one.
    const qint64 partSize = QFileInfo(m_part).size();
    for (const QJsonValue &v : o.value(QLatin1String("have")).toArray()) {
        const QJsonArray run = v.toArray();
        const int first = run.at(0).toInt(0);
        const int last = run.at(1).toInt(0);
        if (run.size() != 2 || first < 1 || last < first || last > m_identity.chunks
            || qint64(last) * kChunkSize > partSize)
            return false;
        m_have.fill(true, first - 1, last);
    }
    return true;
}

bool BlackBoxPartialRecord::writeMap()
{
    QJsonArray runs;
    for (int i = 0; i < m_have.size(); ++i) {
        if (!m_have.testBit(i))
            continue;
        int end = i;
        while (end + 1 < m_have.size() && m_have.testBit(end + 1))
            ++end;
        runs.append(QJsonArray{i + 1, end + 1});
        i = end;
    }
    const QJsonObject o{{QLatin1String("record"), m_identity.index},
                        {QLatin1String("start"), m_identity.start},
                        {QLatin1String("length"), double(m_identity.length)},
                        {QLatin1String("chunks"), m_identity.chunks},
                        {QLatin1String("have"), runs}};
    // The chunks first: the map must not name one that is still in a buffer.
    if (m_part.isOpen() && !m_part.flush())
        return fail(m_part.fileName(), m_part.errorString());
    QSaveFile map(mapPath(m_file));
    if (!map.open(QIODevice::WriteOnly))
        return fail(map.fileName(), map.errorString());
    map.write(QJsonDocument(o).toJson(QJsonDocument::Compact));
    if (!map.commit())
        return fail(map.fileName(), map.errorString());
    m_unmapped = 0;
    return true;
}

bool BlackBoxPartialRecord::fail(const QString &path, const QString &why)
{
    //: Shared with the export's own writer: the same text for any file of the export.
    m_error = QCoreApplication::translate("LumBlackBoxesData", "无法写入文件 %1：%2")
                  .arg(QDir::toNativeSeparators(path), why);
    return false;
}

int BlackBoxPartialRecord::nextMissing(int after) const
{
    for (int i = qMax(0, after); i < m_have.size(); ++i) {
        if (!m_have.testBit(i))
            return i + 1;
    }
    return 0;
}

bool BlackBoxPartialRecord::store(int chunk, const QByteArray &data)
{
    if (!isActive() || chunk < 1 || chunk > m_have.size() || data.size() != kChunkSize)
        return true; // not a whole chunk of this record: it stays missing
    if (!m_part.isOpen() && !m_part.open(QIODevice::ReadWrite))
        return fail(m_part.fileName(), m_part.errorString());
    if (!m_part.seek(qint64(chunk - 1) * kChunkSize) || m_part.write(data) != data.size())
        return fail(m_part.fileName(), m_part.errorString());
    m_have.setBit(chunk - 1);
    if (++m_unmapped >= kMapEvery)
        return writeMap();
    return true;
}

QByteArray BlackBoxPartialRecord::chunk(int chunk)
{
    if (chunk < 1 || chunk > m_have.size() || !m_have.testBit(chunk - 1))
        return {};
    if (!m_part.isOpen() && !m_part.open(QIODevice::ReadWrite))
        return {};
    if (!m_part.seek(qint64(chunk - 1) * kChunkSize))
        return {};
    return m_part.read(kChunkSize);
}

bool BlackBoxPartialRecord::suspend()
{
    if (!isActive())
        return true;
    if (storedCount() == 0) {
        discard();
        return true;
    }
    const bool written = m_unmapped == 0 || writeMap();
    reset();
    return written;
}

void BlackBoxPartialRecord::discard()
{
    if (!isActive())
        return;
    const QString file = m_file;
    reset();
    QFile::remove(partPath(file));
    QFile::remove(mapPath(file));
}
