#include "SimTestSupport.h"
#include "sim/AircraftEngine.h"
#include "sim/AircraftFrame.h"

#include <QSet>
#include <QTest>

using namespace simtest;

// Each fault switch, seen at the byte level.
class tst_Faults : public QObject
{
    Q_OBJECT

private slots:
    void silenceThenClearFaults();
    void ignoreFirst_data();
    void ignoreFirst();
    void silentAfter_data();
    void silentAfter();
    void corruptEveryThird();
    void storm();
};

void tst_Faults::silenceThenClearFaults()
{
    AircraftEngine aircraft;
    Wire wire(aircraft);
    aircraft.setSilent(true);
    aircraft.setStormRate(500);
    QVERIFY(wire.ask(0xC1, kConnect).isEmpty());
    QVERIFY(wire.ask(0x09, fromHex("02")).isEmpty());
    QTest::qWait(100);
    QVERIFY(wire.bytes.isEmpty());
    QVERIFY(!aircraft.isConnected());

    aircraft.setIgnoreFirst(0x09, 5);
    aircraft.setCorruptCrcEvery(1);
    aircraft.clearFaults();
    const QList<AirFrame> f = wire.ask(0x09);
    QVERIFY(f.value(0).crcOk);
    QCOMPARE(f[0].payload, fromHex("04 00")); // the write made while silent was not acted on
    QTest::qWait(50);
    QCOMPARE(wire.frames().size(), 1); // no storm
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
    Wire wire(aircraft);
    aircraft.setIgnoreFirst(quint8(type), count);
    for (int i = 0; i < count; ++i) {
        QVERIFY(wire.ask(quint8(type), payload).isEmpty());
        QCOMPARE(wire.ask(0x08).size(), 1); // other types are answered meanwhile
    }
    QCOMPARE(int(wire.ask(quint8(type), payload).value(0).type), type);
}

void tst_Faults::silentAfter_data()
{
    QTest::addColumn<bool>("connectedFirst");
    QTest::newRow("counted from the next handshake") << false;
    QTest::newRow("counted from now while connected") << true;
}

void tst_Faults::silentAfter()
{
    QFETCH(bool, connectedFirst);
    AircraftEngine aircraft;
    Wire wire(aircraft);
    if (connectedFirst)
        wire.ask(0xC1, kConnect);
    aircraft.setSilentAfter(200);
    if (!connectedFirst) {
        QTest::qWait(300); // not counting yet: no handshake
        QCOMPARE(wire.ask(0xC1, kConnect).size(), 1);
    }
    QCOMPARE(wire.ask(0x02).size(), 1);
    QTRY_VERIFY(aircraft.isSilent());
    QVERIFY(wire.ask(0xC1, fromHex("FF")).isEmpty());
    QVERIFY(wire.ask(0x02).isEmpty());
}

void tst_Faults::corruptEveryThird()
{
    AircraftEngine aircraft;
    Wire wire(aircraft);
    aircraft.setCorruptCrcEvery(3);
    for (int i = 1; i <= 12; ++i) {
        const QList<AirFrame> f = wire.ask(0x10, QByteArray(1, char(i % 10)));
        QCOMPARE(f.size(), 1);
        QCOMPARE(f[0].crcOk, i % 3 != 0);
        QCOMPARE(AircraftFrame::straySync(f[0].raw), -1);
        QCOMPARE(f[0].payload.left(1), QByteArray(1, char(i % 10))); // the content is intact
    }
}

void tst_Faults::storm()
{
    AircraftEngine aircraft;
    aircraft.setStormSeed(99);
    Wire wire(aircraft);
    aircraft.setStormRate(2000);
    QTRY_VERIFY_WITH_TIMEOUT(wire.frames().size() >= 3 * AircraftEngine::replyTypes().size(),
                             10000);
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
}

QTEST_GUILESS_MAIN(tst_Faults)
#include "tst_faults.moc"
