#include "SimTestSupport.h"
#include "sim/AircraftFrame.h"
#include "sim/CrcForge.h"

#include <QRandomGenerator>
#include <QTest>

using namespace simtest;

class tst_AircraftFrame : public QObject
{
    Q_OBJECT

private slots:
    void vectors_data();
    void vectors();
    void cleanFramesKeepTheSyncPairOutOfTheCrc();
    void forgeHitsEveryTarget_data();
    void forgeHitsEveryTarget();
    void syncInCrc();
    void corruptCrc();
    void removeSyncPairs_data();
    void removeSyncPairs();
};

void tst_AircraftFrame::vectors_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArray>("frame");

    QTest::newRow("heartbeat reply") << 0xC1 << fromHex("00") << fromHex("EB90FFFFFFFF C1 01 00 D604");
    QTest::newRow("frame type read") << 0x02 << fromHex("0100") << fromHex("EB90FFFFFFFF 02 02 0100 484A");
    QTest::newRow("wheelbase read") << 0x09 << fromHex("0400") << fromHex("EB90FFFFFFFF 09 02 0400 493E");
    QTest::newRow("empty payload") << 0xC1 << QByteArray() << fromHex("EB90FFFFFFFF C1 00 CE56");
}

void tst_AircraftFrame::vectors()
{
    QFETCH(int, type);
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, frame);
    QCOMPARE(AircraftFrame::build(quint8(type), payload), frame);
    QCOMPARE(AircraftFrame::buildClean(quint8(type), payload), frame);
    QVERIFY(checkCrc(reinterpret_cast<const uint8_t *>(frame.constData()), quint16(frame.size())));
}

void tst_AircraftFrame::cleanFramesKeepTheSyncPairOutOfTheCrc()
{
    // Among many payloads some plain frames do end up with EB 90 touching the CRC; the clean
    // builder must never produce one.
    QRandomGenerator random(7);
    int plainHits = 0;
    for (int i = 0; i < 200000; ++i) {
        QByteArray payload(int(random.bounded(4)), Qt::Uninitialized);
        for (char &c : payload)
            c = char(random.bounded(256));
        AircraftFrame::removeSyncPairs(payload);
        const QByteArray plain = AircraftFrame::build(0x41, payload);
        const int crcStart = 8 + int(payload.size());
        if (AircraftFrame::straySync(plain, crcStart - 1) >= 0)
            ++plainHits;
        const QByteArray clean = AircraftFrame::buildClean(0x41, payload);
        QCOMPARE(AircraftFrame::straySync(clean), -1);
        QVERIFY(checkCrc(reinterpret_cast<const uint8_t *>(clean.constData()), quint16(clean.size())));
        QCOMPARE(clean.mid(6, 2 + payload.size()), plain.mid(6, 2 + payload.size()));
    }
    QVERIFY2(plainHits > 0, "the random payloads never provoked the case under test");
}

void tst_AircraftFrame::forgeHitsEveryTarget_data()
{
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("offset");
    QTest::newRow("sync pair") << 0x90EB << 4;
    QTest::newRow("zero") << 0x0000 << 4;
    QTest::newRow("all ones") << 0xFFFF << 2;
    QTest::newRow("arbitrary") << 0x1234 << 3;
}

void tst_AircraftFrame::forgeHitsEveryTarget()
{
    QFETCH(int, target);
    QFETCH(int, offset);
    QByteArray message = fromHex("EB90FFFFFFFFE584") + QByteArray(132, char(0x5A));
    QVERIFY(CrcForge::forge(message, offset, quint16(target)));
    QCOMPARE(int(crc16(message)), target);
    QCOMPARE(message.mid(6), (fromHex("E584") + QByteArray(132, char(0x5A))));
}

void tst_AircraftFrame::syncInCrc()
{
    const QByteArray payload = fromHex("00000003") + QByteArray(128, char(0x11));
    const QByteArray frame = AircraftFrame::buildWithSyncInCrc(0xE5, payload);
    QCOMPARE(frame.size(), 142);
    QCOMPARE(frame.right(2), fromHex("EB90"));
    QVERIFY(checkCrc(reinterpret_cast<const uint8_t *>(frame.constData()), quint16(frame.size())));
    QCOMPARE(frame.mid(8, payload.size()), payload);
}

void tst_AircraftFrame::corruptCrc()
{
    QByteArray frame = AircraftFrame::build(0x02, fromHex("0100"));
    AircraftFrame::corruptCrc(frame);
    QCOMPARE(frame.left(10), fromHex("EB90FFFFFFFF02020100"));
    QVERIFY(!checkCrc(reinterpret_cast<const uint8_t *>(frame.constData()), quint16(frame.size())));
    QCOMPARE(AircraftFrame::straySync(frame), -1);
}

void tst_AircraftFrame::removeSyncPairs_data()
{
    QTest::addColumn<QByteArray>("in");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<int>("count");
    QTest::newRow("none") << fromHex("0102EB0390") << fromHex("0102EB0390") << 0;
    QTest::newRow("one") << fromHex("01EB9002") << fromHex("01EB9102") << 1;
    QTest::newRow("run") << fromHex("EBEB90EB90") << fromHex("EBEB91EB91") << 2;
}

void tst_AircraftFrame::removeSyncPairs()
{
    QFETCH(QByteArray, in);
    QFETCH(QByteArray, out);
    QFETCH(int, count);
    QCOMPARE(AircraftFrame::removeSyncPairs(in), count);
    QCOMPARE(in, out);
}

QTEST_GUILESS_MAIN(tst_AircraftFrame)
#include "tst_aircraftframe.moc"
