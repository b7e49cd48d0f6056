// The chunks of a broken-off record kept beside its file: what a later download takes up, and
// what makes it start the record over.
#include "blackbox/BlackBoxPartialRecord.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray chunkOf(int n)
{
    return QByteArray(BlackBoxPartialRecord::kChunkSize, char(n));
}
const BlackBoxRecordIdentity kRecord{12, QStringLiteral("2024-05-06 06:10:00"), 40 * 128 + 5, 40};
} // namespace

Q_DECLARE_METATYPE(BlackBoxRecordIdentity)

class tst_BlackBoxPartialRecord : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Chunks 1-5 and 8 were fetched before the download broke off; then the map is altered.
    void takenUpOrStartedOver_data()
    {
        QTest::addColumn<QByteArray>("map"); // replaces the map written; empty: kept
        QTest::addColumn<int>("partSize");   // the part file cut to this size; -1: kept
        QTest::addColumn<BlackBoxRecordIdentity>("identity");
        QTest::addColumn<bool>("kept");

        BlackBoxRecordIdentity longer = kRecord;
        longer.length += 128;
        longer.chunks += 1;
        QTest::newRow("same record") << QByteArray() << -1 << kRecord << true;
        QTest::newRow("other length") << QByteArray() << -1 << longer << false;
        QTest::newRow("part file cut short") << QByteArray() << 7 * 128 << kRecord << false;
        QTest::newRow("map not JSON") << QByteArray("{\"record\":12,") << -1 << kRecord << false;
        QTest::newRow("run beyond the record") << QByteArray(
            R"({"record":12,"start":"2024-05-06 06:10:00","length":5125,"chunks":40,"have":[[1,41]]})")
                                               << -1 << kRecord << false;
    }
    void takenUpOrStartedOver()
    {
        QFETCH(QByteArray, map);
        QFETCH(int, partSize);
        QFETCH(BlackBoxRecordIdentity, identity);
        QFETCH(bool, kept);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("index12.xls"));
        BlackBoxPartialRecord first;
        first.begin(file, kRecord);
        for (int n : {1, 2, 3, 4, 5, 8})
            QVERIFY(first.store(n, chunkOf(n)));
        QVERIFY(first.store(6, QByteArray(10, 'x'))); // not a whole chunk: stays missing
        QVERIFY(first.suspend());
        QVERIFY(BlackBoxPartialRecord::isUnfinished(file));
        if (!map.isEmpty()) {
            QFile m(BlackBoxPartialRecord::mapPath(file));
            QVERIFY(m.open(QIODevice::WriteOnly | QIODevice::Truncate));
            m.write(map);
        }
        if (partSize >= 0)
            QVERIFY(QFile::resize(BlackBoxPartialRecord::partPath(file), partSize));

        BlackBoxPartialRecord again;
        again.begin(file, identity);
        QCOMPARE(again.storedCount(), kept ? 6 : 0);
        QCOMPARE(again.nextMissing(0), kept ? 6 : 1);
        QCOMPARE(again.nextMissing(7), kept ? 9 : 8);
        QCOMPARE(again.chunk(8), kept ? chunkOf(8) : QByteArray());
        QCOMPARE(QFile::exists(BlackBoxPartialRecord::mapPath(file)), kept);
        again.discard();
        QVERIFY(!QFile::exists(BlackBoxPartialRecord::mapPath(file)));
        QVERIFY(!QFile::exists(BlackBoxPartialRecord::partPath(file)));
    }

    // The map follows the chunks while they arrive, not only when the record is left.
    void mapKeptUpWhileFetching()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("index3.xls"));
        BlackBoxPartialRecord record;
        record.begin(file, kRecord);
        for (int n = 1; n <= BlackBoxPartialRecord::kMapEvery; ++n)
            QVERIFY(record.store(n, chunkOf(n)));
        QVERIFY(record.store(BlackBoxPartialRecord::kMapEvery + 1, chunkOf(0)));
        BlackBoxPartialRecord reader; // as after a crash: the last chunk is not in the map yet
        reader.begin(file, kRecord);
        QCOMPARE(reader.nextMissing(0), BlackBoxPartialRecord::kMapEvery + 1);
    }
};

QTEST_GUILESS_MAIN(tst_BlackBoxPartialRecord)
#include "tst_blackboxpartialrecord.moc"
