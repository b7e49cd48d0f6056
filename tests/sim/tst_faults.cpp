#include "SimTestSupport.h"
#include "sim/AircraftEngine.h"
#include "sim/AircraftFrame.h"

#include <QSet>
#include <QTest>

using namespace simtest;

namespace {
const QByteArray kConnect = fromHex("FF 18 05 06 0A 00 00");
}

// Each fault switch, seen at the byte level.
class tst_Faults : public QObject
{
    Q_OBJECT

private slots:
    void silence();
    void ignoreFirst_data();
    void ignoreFirst();
    void silentAfterTheHandshake();
    void silentAfterWhileConnected();
    void corruptEveryNth_data();
    void corruptEveryNth();
    void storm();
    void silenceStopsTheStormToo();
    void clearFaults();
};

void tst_Faults::silence()
{
    AircraftEngine aircraft;
    aircraft.setTelemetryRate(50);
    Wire wire(aircraft);
    aircraft.setSilent(true);
    QVERIFY(wire.ask(0xC1, kConnect).isEmpty());
    QVERIFY(wire.ask(0x09, fromHex("02")).isEmpty());
    QTest::qWait(100);
    QVERIFY(wire.bytes.isEmpty());
    QVERIFY(!aircraft.isConnected());
    aircraft.setSilent(false);
    // The write made while silent was not acted on.
    QCOMPARE(wire.ask(0x09)[0].payload, fromHex("04 00"));
}

void tst_Faults::ignoreFirst_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("payload");
    QTest::newRow("connect, twice") << 0xC1 << 2 << kConnect;
    QTest::newRow("frame type read, three times") << 0x02 << 3 << QByteArray();
    QTest::newRow("firmware chunk, once") << 0xD5 << 1 << fromHex("0100AA");
    QTest::newRow("black-box chunk, eleven times") << 0xE5 << 11 << fromHex("0000000C 00000001");
}

void tst_Faults::ignoreFirst()
{
    QFETCH(int, type);
    QFETCH(int, count);
    QFETCH(QByteArray, payload);

    AircraftEngine aircraft;
    aircraft.setTelemetryRate(0);
    Wire wire(aircraft);
    aircraft.setIgnoreFirst(quint8(type), count);
    for (int i = 0; i < count; ++i) {
        QCOMPARE(aircraft.ignoreRemaining(quint8(type)), count - i);
        QVERIFY(wire.ask(quint8(type), payload).isEmpty());
        QCOMPARE(wire.ask(0x08).size(), 1); // other types are answered meanwhile
    }
    const QList<AirFrame> answer = wire.ask(quint8(type), payload);
    QCOMPARE(answer.size(), 1);
    QCOMPARE(int(answer[0].type), type);
    QCOMPARE(aircraft.ignoreRemaining(quint8(type)), 0);
}

void tst_Faults::silentAfterTheHandshake()
{
    AircraftEngine aircraft;
    aircraft.setTelemetryRate(0);
    Wire wire(aircraft);
    aircraft.setSilentAfter(200);
    QTest::qWait(300); // not counting yet: no handshake
    QCOMPARE(wire.ask(0x02).size(), 1);
    QCOMPARE(wire.ask(0xC1, kConnect).size(), 1);
    QCOMPARE(wire.ask(0xC1, fromHex("FF")).size(), 1);
    QTRY_VERIFY(aircraft.isSilent());
    QVERIFY(wire.ask(0xC1, fromHex("FF")).isEmpty());
    QVERIFY(wire.ask(0x02).isEmpty());
}

void tst_Faults::silentAfterWhileConnected()
{
    AircraftEngine aircraft;
    aircraft.setTelemetryRate(0);
    Wire wire(aircraft);
    wire.ask(0xC1, kConnect);
    aircraft.setSilentAfter(100);
    QCOMPARE(wire.ask(0x02).size(), 1);
    QTRY_VERIFY(aircraft.isSilent());
    QVERIFY(wire.ask(0x02).isEmpty());
}

void tst_Faults::corruptEveryNth_data()
{
    QTest::addColumn<int>("n");
    QTest::newRow("every reply") << 1;
    QTest::newRow("every second") << 2;
    QTest::newRow("every fifth") << 5;
}

void tst_Faults::corruptEveryNth()
{
    QFETCH(int, n);
    AircraftEngine aircraft;
    aircraft.setTelemetryRate(0);
    Wire wire(aircraft);
    aircraft.setCorruptCrcEvery(n);
    for (int i = 1; i <= 20; ++i) {
        const QList<AirFrame> f = wire.ask(0x10, QByteArray(1, char(i % 12)));
        QCOMPARE(f.size(), 1);
        QCOMPARE(f[0].crcOk, i % n != 0);
        QCOMPARE(AircraftFrame::straySync(f[0].raw), -1);
        QCOMPARE(f[0].payload.left(1), QByteArray(1, char(i % 12))); // the content is intact
    }
}

void tst_Faults::storm()
{
    AircraftEngine aircraft;
    aircraft.setTelemetryRate(0);
    aircraft.setStormSeed(99);
    Wire wire(aircraft);
    aircraft.setStormRate(2000);
    QTRY_VERIFY_WITH_TIMEOUT(wire.frames().size() >= 3 * AircraftEngine::replyTypes().size(), 10000);
    aircraft.setStormRate(0);
    QSet<int> types;
    QSet<int> lengths;
    for (const AirFrame &f : wire.frames()) {
        QVERIFY(f.crcOk);
        QCOMPARE(AircraftFrame::straySync(f.raw), -1);
        types.insert(f.type);
        lengths.insert(int(f.payload.size()));
    }
    for (quint8 t : AircraftEngine::replyTypes())
        QVERIFY2(types.contains(t), qPrintable(QString::number(t, 16)));
    QVERIFY(lengths.size() >= 30);
    QVERIFY(lengths.contains(0) || *std::min_element(lengths.cbegin(), lengths.cend()) < 20);
    QVERIFY(*std::max_element(lengths.cbegin(), lengths.cend()) > 200);
}

void tst_Faults::silenceStopsTheStormToo()
{
    AircraftEngine aircraft;
    Wire wire(aircraft);
    aircraft.setSilent(true);
    aircraft.setStormRate(500);
    QTest::qWait(100);
    QVERIFY(wire.bytes.isEmpty());
}

void tst_Faults::clearFaults()
{
    AircraftEngine aircraft;
    aircraft.setTelemetryRate(0);
    Wire wire(aircraft);
    aircraft.setSilent(true);
    aircraft.setIgnoreFirst(0x02, 5);
    aircraft.setCorruptCrcEvery(1);
    aircraft.setStormRate(100);
    aircraft.clearFaults();
    const QList<AirFrame> f = wire.ask(0x02);
    QCOMPARE(f.size(), 1);
    QVERIFY(f[0].crcOk);
    QTest::qWait(50);
    QCOMPARE(wire.frames().size(), 1);
}

QTEST_GUILESS_MAIN(tst_Faults)
#include "tst_faults.moc"
