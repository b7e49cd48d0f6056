#include "BlackBoxFetcher.h"
#include "E2eRig.h"
#include "sim/BlackBoxDecoder.h"

#include <QSet>
#include <QTest>

using namespace e2e;

// The program's link fetches the last ten flight records chunk by chunk from the simulated
// aircraft; what arrives is the aircraft's records and decodes as flights.
class tst_E2eBlackBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void tenRecordsChunkByChunk();
    void syncPairsInDataAndCrcAreRejoined();
    void framesWithCrcHighZeroInTwoPiecesArriveWhole();
};

void tst_E2eBlackBox::initTestCase()
{
    quietLinkDebugOutput();
}

void tst_E2eBlackBox::tenRecordsChunkByChunk()
{
    Rig rig;
    BlackBoxPlan plan; // twelve records, record 8 shorter than a chunk, record 11 odd
    plan.minBlocks = 3;
    plan.maxBlocks = 8;
    rig.aircraft.setBlackBoxPlan(plan);
    QVERIFY(rig.start());
    BlackBoxFetcher fetch(rig.link, rig.blackBox);
    fetch.start();
    QVERIFY(waitFor([&] { return fetch.done; }, 90000));
    fetch.close();

    // Records 12 down to 3 were asked for; record 8 was skipped for its length.
    QCOMPARE(QSet<int>(fetch.lengthsAsked.cbegin(), fetch.lengthsAsked.cend()).size(), 10);
    QCOMPARE(*std::max_element(fetch.lengthsAsked.cbegin(), fetch.lengthsAsked.cend()), 12);
    QCOMPARE(*std::min_element(fetch.lengthsAsked.cbegin(), fetch.lengthsAsked.cend()), 3);
    QCOMPARE(fetch.records.keys(), (QList<int>{3, 4, 5, 6, 7, 9, 10, 11, 12}));
    QVERIFY(fetch.heartbeatZeroSeen);

    const QList<FlightRecord> &records = rig.aircraft.flightRecords();
    for (auto it = fetch.records.cbegin(); it != fetch.records.cend(); ++it) {
        const QByteArray &expected = records[it.key() - 1].bytes;
        const int chunks = int(expected.size() / 128);
        QCOMPARE(fetch.chunkCounts.value(it.key()), chunks);
        QVERIFY2(fetch.emptyChunks.value(it.key()).isEmpty(), qPrintable(QString::number(it.key())));
        QCOMPARE(it.value(), expected.left(chunks * 128));
        for (int b = 0; b + 256 <= it.value().size(); b += 256) {
            const QByteArray block = it.value().mid(b, 256);
            QVERIFY(bbdecode::hasSamples(block));
            QCOMPARE(bbdecode::blockTime(block), records[it.key() - 1].startUtc.addSecs(qint64(b / 256) * plan.secondsPerBlock));
        }
    }
    QCOMPARE(fetch.chunkCounts.value(11) % 2, 1); // the odd record
    QVERIFY(rig.connected());
}

void tst_E2eBlackBox::syncPairsInDataAndCrcAreRejoined()
{
    Rig rig;
    BlackBoxPlan plan;
    plan.recordCount = 3;
    plan.minBlocks = 3;
    plan.maxBlocks = 3;
    rig.aircraft.setBlackBoxPlan(plan);
    SyncPairFault fault;
    fault.record = 3;
    fault.dataChunks = {2};
    fault.crcChunks = {4};
    rig.aircraft.setSyncPairFault(fault);
    QVERIFY(rig.start());

    BlackBoxFetcher fetch(rig.link, rig.blackBox);
    fetch.start();
    QVERIFY(waitFor([&] { return fetch.done; }, 60000));
    fetch.close();

    // Chunk 2 carries EB 90 inside its data and chunk 4 as its CRC: the program's extractor cut
    // both frames at the pair, joined the pieces again and took the chunks whole.
    QVERIFY(fetch.emptyChunks.value(3).isEmpty());
    QByteArray expected = rig.aircraft.flightRecords()[2].bytes;
    expected[128 + 86] = char(0xEB);
    expected[128 + 87] = char(0x90);
    QCOMPARE(fetch.records.value(3).toHex(), expected.toHex());
    const QByteArray &second = rig.aircraft.flightRecords()[1].bytes;
    QCOMPARE(fetch.records.value(2), second.left(second.size() / 128 * 128));
}

// A chunk whose CRC high byte is 0 checks one byte early: written in two pieces, the program
// must still take it whole, and the records stay byte-exact.
void tst_E2eBlackBox::framesWithCrcHighZeroInTwoPiecesArriveWhole()
{
    Rig rig;
    BlackBoxPlan plan;
    plan.recordCount = 4;
    plan.minBlocks = 8;
    plan.maxBlocks = 8;
    rig.aircraft.setBlackBoxPlan(plan);
    rig.aircraft.setSplitBeforeFinalZero(true);
    SyncPairFault zeroHigh;
    zeroHigh.record = 4;
    zeroHigh.zeroCrcHighChunks = {1, 2, 5, 16};
    rig.aircraft.setSyncPairFault(zeroHigh);
    QVERIFY(rig.start());
    BlackBoxFetcher fetch(rig.link, rig.blackBox);
    fetch.start();
    QVERIFY(waitFor([&] { return fetch.done; }, 60000));
    fetch.close();

    QVERIFY2(rig.aircraft.splitsMade() >= 4, qPrintable(QString::number(rig.aircraft.splitsMade())));
    const QList<FlightRecord> &records = rig.aircraft.flightRecords();
    QCOMPARE(fetch.records.keys(), (QList<int>{1, 2, 3, 4}));
    for (auto it = fetch.records.cbegin(); it != fetch.records.cend(); ++it) {
        QVERIFY2(fetch.emptyChunks.value(it.key()).isEmpty(), qPrintable(QString::number(it.key())));
        const QByteArray &expected = records[it.key() - 1].bytes;
        QCOMPARE(it.value().toHex(), expected.left(expected.size() / 128 * 128).toHex());
    }
}

QTEST_GUILESS_MAIN(tst_E2eBlackBox)
#include "tst_e2e_blackbox.moc"
