#include "SimTestSupport.h"
#include "sim/AircraftEngine.h"
#include "sim/AircraftFrame.h"
#include "sim/TelemetryGenerator.h"

#include <QSignalSpy>
#include <QTest>

using namespace simtest;

class tst_Telemetry : public QObject
{
    Q_OBJECT

private slots:
    void everyTypeAfterTheHandshake_data();
    void everyTypeAfterTheHandshake();
    void streamRunsOnlyBetweenHandshakeAndStop_data();
    void streamRunsOnlyBetweenHandshakeAndStop();
    void reversedChannelsAreNegated();
    void motorTestSpinsEachMotorInTurn();
    void framesNeverCarryAStraySyncPair();
};

void tst_Telemetry::everyTypeAfterTheHandshake_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("length");
    QTest::newRow("0x41 raw sensors") << 0x41 << 18;
    QTest::newRow("0x42 position and attitude") << 0x42 << 16;
    QTest::newRow("0x43 condition") << 0x43 << 12;
    QTest::newRow("0x44 GPS") << 0x44 << 18;
    QTest::newRow("0x45 external IMU") << 0x45 << 12;
    QTest::newRow("0x46 RC inputs") << 0x46 << 8;
    QTest::newRow("0x47 motors") << 0x47 << 8;
    QTest::newRow("0x48 other") << 0x48 << 4;
    QTest::newRow("0x4B radar") << 0x4B << 20;
}

void tst_Telemetry::everyTypeAfterTheHandshake()
{
    QFETCH(int, type);
    QFETCH(int, length);
    AircraftEngine aircraft;
    aircraft.setTelemetryRate(40);
    Wire wire(aircraft);
    wire.ask(0xC1, kConnect);
    QVERIFY(aircraft.isConnected());
    QTRY_VERIFY(wire.framesOfType(quint8(type)).size() >= 3);
    for (const AirFrame &f : wire.framesOfType(quint8(type))) {
        QCOMPARE(f.payload.size(), length);
        QVERIFY(f.crcOk);
    }
}

void tst_Telemetry::streamRunsOnlyBetweenHandshakeAndStop_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("host goes quiet") << "quiet";
    QTest::newRow("disconnect") << "disconnect";
    QTest::newRow("rate zero") << "rate";
}

void tst_Telemetry::streamRunsOnlyBetweenHandshakeAndStop()
{
    QFETCH(QString, how);
    AircraftEngine aircraft;
    aircraft.setTelemetryRate(40);
    aircraft.setHostTimeout(how == "quiet" ? 300 : 10000);
    Wire wire(aircraft);
    QSignalSpy quiet(&aircraft, &AircraftEngine::hostWentQuiet);
    wire.ask(0x02); // an ordinary request is answered, but starts no stream
    QTest::qWait(100);
    QCOMPARE(wire.frames().size(), 1); // the answer alone
    wire.ask(0xC1, kConnect);
    QTRY_VERIFY(!wire.framesOfType(0x43).isEmpty());
    if (how == "quiet")
        QTRY_COMPARE(quiet.size(), 1);
    else if (how == "disconnect")
        QVERIFY(wire.ask(0xC1).isEmpty());
    else
        aircraft.setTelemetryRate(0);
    QCOMPARE(aircraft.isConnected(), how == "rate");
    wire.bytes.clear();
    QTest::qWait(200);
    QVERIFY(wire.bytes.isEmpty());
    if (how == "quiet") { // a heartbeat brings it back
        wire.ask(0xC1, fromHex("FF"));
        QTRY_VERIFY(!wire.framesOfType(0x43).isEmpty());
    }
}

void tst_Telemetry::reversedChannelsAreNegated()
{
    AircraftState state;
    const TelemetrySample normal = TelemetryGenerator::sampleAt(1300, state);
    state.settings.channelReverse = 0x05; // roll and throttle
    const TelemetrySample reversed = TelemetryGenerator::sampleAt(1300, state);
    QCOMPARE(reversed.rc[0], qint8(-normal.rc[0]));
    QCOMPARE(reversed.rc[1], normal.rc[1]);
    QCOMPARE(reversed.rc[2], qint8(-normal.rc[2]));
}

void tst_Telemetry::motorTestSpinsEachMotorInTurn()
{
    AircraftEngine aircraft;
    Wire wire(aircraft);
    wire.ask(0xC2, fromHex("0F"));
    const qint64 start = aircraft.state().motorTestStartMs;
    QVERIFY(start >= 0);
    auto motorsAt = [&aircraft](qint64 ms) {
        return TelemetryGenerator::sampleAt(ms, aircraft.state()).mot;
    };
    for (int motor = 0; motor < 4; ++motor) {
        for (int m = 0; m < 8; ++m)
            QCOMPARE(motorsAt(start + 1500 * motor + 700)[size_t(m)] > 0, m == motor);
    }
    QVERIFY(motorsAt(start + 6100) == (std::array<quint8, 8>{}));
}

void tst_Telemetry::framesNeverCarryAStraySyncPair()
{
    AircraftState state;
    state.settings.voltageOffset = qint16(0x90EB - 1245 - 0x10000); // EB 90 on the wire
    int rawPairs = 0;
    for (qint64 ms = 0; ms < 60000; ms += 100) {
        const TelemetrySample sample = TelemetryGenerator::sampleAt(ms, state);
        rawPairs += TelemetryCodec::record(0x43, sample).contains(fromHex("EB90"));
        for (quint8 type : TelemetryGenerator::types()) {
            const QByteArray payload = TelemetryGenerator::payload(type, ms, state);
            QCOMPARE(AircraftFrame::straySync(AircraftFrame::buildClean(type, payload)), -1);
        }
    }
    QVERIFY2(rawPairs > 0, "the case under test never came up");
}

QTEST_GUILESS_MAIN(tst_Telemetry)
#include "tst_telemetry.moc"
