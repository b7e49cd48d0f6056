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
    void nothingBeforeTheHandshake();
    void everyTypeAfterTheHandshake_data();
    void everyTypeAfterTheHandshake();
    void stopsWhenTheHostGoesQuiet();
    void stopsOnDisconnect();
    void rateZeroStopsIt();
    void valuesMovePlausibly();
    void reversedChannelsAreNegated();
    void motorTestSpinsEachMotorInTurn();
    void rcCalibrationSweepsTheSticks();
    void radarOffGivesNoHeight();
    void framesNeverCarryAStraySyncPair();
};

void tst_Telemetry::nothingBeforeTheHandshake()
{
    AircraftEngine aircraft;
    aircraft.setTelemetryRate(50);
    Wire wire(aircraft);
    wire.ask(0x02); // an ordinary request is answered, but starts no stream
    wire.bytes.clear();
    QTest::qWait(300);
    QVERIFY(wire.bytes.isEmpty());
    QVERIFY(!aircraft.isConnected());
}

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
    QSignalSpy connected(&aircraft, &AircraftEngine::connectionChanged);
    wire.ask(0xC1, fromHex("FF 18 05 06 0A 00 00"));
    QCOMPARE(connected.size(), 1);
    QVERIFY(connected[0][0].toBool());
    QTRY_VERIFY(wire.framesOfType(quint8(type)).size() >= 3);
    for (const AirFrame &f : wire.framesOfType(quint8(type))) {
        QCOMPARE(f.payload.size(), length);
        QVERIFY(f.crcOk);
    }
}

void tst_Telemetry::stopsWhenTheHostGoesQuiet()
{
    AircraftEngine aircraft;
    aircraft.setTelemetryRate(40);
    aircraft.setHostTimeout(300);
    Wire wire(aircraft);
    QSignalSpy quiet(&aircraft, &AircraftEngine::hostWentQuiet);
    wire.ask(0xC1, fromHex("FF 18 05 06 0A 00 00"));
    QTRY_VERIFY(!wire.framesOfType(0x43).isEmpty());
    QTRY_COMPARE(quiet.size(), 1);
    QVERIFY(!aircraft.isConnected());
    wire.bytes.clear();
    QTest::qWait(200);
    QVERIFY(wire.bytes.isEmpty());
    // A heartbeat brings it back.
    wire.ask(0xC1, fromHex("FF"));
    QVERIFY(aircraft.isConnected());
    QTRY_VERIFY(!wire.framesOfType(0x43).isEmpty());
}

void tst_Telemetry::stopsOnDisconnect()
{
    AircraftEngine aircraft;
    aircraft.setTelemetryRate(40);
    Wire wire(aircraft);
    wire.ask(0xC1, fromHex("FF 18 05 06 0A 00 00"));
    QVERIFY(aircraft.isConnected());
    QVERIFY(wire.ask(0xC1).isEmpty());
    QVERIFY(!aircraft.isConnected());
    QTest::qWait(150);
    QVERIFY(wire.bytes.isEmpty());
}

void tst_Telemetry::rateZeroStopsIt()
{
    AircraftEngine aircraft;
    aircraft.setTelemetryRate(40);
    Wire wire(aircraft);
    wire.ask(0xC1, fromHex("FF 18 05 06 0A 00 00"));
    QTRY_VERIFY(!wire.bytes.isEmpty());
    aircraft.setTelemetryRate(0);
    wire.bytes.clear();
    QTest::qWait(150);
    QVERIFY(wire.bytes.isEmpty());
}

void tst_Telemetry::valuesMovePlausibly()
{
    AircraftState state;
    QSet<int> rolls, voltages, satellites, heights, throttles;
    for (qint64 ms = 0; ms < 600000; ms += 250) {
        const TelemetrySample s = TelemetryGenerator::sampleAt(ms, state);
        QVERIFY(qAbs(s.roll) <= 3 && qAbs(s.pitch) <= 3);
        QVERIFY(s.yaw < 180);
        QVERIFY(s.bat_volt >= 1130 && s.bat_volt <= 1250);
        QVERIFY(s.gps_num >= 12 && s.gps_num <= 18);
        QCOMPARE(s.warning_code, quint8(0));
        QVERIFY(s.acc_z > 950 && s.acc_z <= 981);
        const int height = TelemetryGenerator::probeHeight(ms, state);
        QVERIFY(height >= 25 && height <= 285);
        QVERIFY(s.rc[2] >= -100 && s.rc[2] <= -20);
        rolls.insert(s.roll);
        voltages.insert(s.bat_volt);
        satellites.insert(s.gps_num);
        heights.insert(height / 10);
        throttles.insert(s.rc[2]);
    }
    QVERIFY(rolls.size() >= 5);
    QVERIFY(voltages.size() >= 25);
    QVERIFY(satellites.size() >= 5);
    QVERIFY(heights.size() >= 20);
    QVERIFY(throttles.size() >= 10);
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
    QVERIFY(TelemetryGenerator::sampleAt(0, aircraft.state()).mot == (std::array<quint8, 8>{}));
    QCOMPARE(wire.ask(0xC2, fromHex("0F"))[0].payload, fromHex("00"));
    const qint64 start = aircraft.state().motorTestStartMs;
    QVERIFY(start >= 0);
    for (int motor = 0; motor < 4; ++motor) {
        const TelemetrySample s = TelemetryGenerator::sampleAt(start + 1500 * motor + 700, aircraft.state());
        for (int m = 0; m < 8; ++m)
            QCOMPARE(s.mot[size_t(m)] > 0, m == motor);
        QVERIFY(s.mean_throttle > 0);
    }
    QVERIFY(TelemetryGenerator::sampleAt(start + 6100, aircraft.state()).mot == (std::array<quint8, 8>{}));
}

void tst_Telemetry::rcCalibrationSweepsTheSticks()
{
    AircraftState state;
    state.rcCalibrating = true;
    int low = 0, high = 0;
    for (qint64 ms = 0; ms < 20000; ms += 100) {
        const TelemetrySample s = TelemetryGenerator::sampleAt(ms, state);
        low = qMin<int>(low, s.rc[0]);
        high = qMax<int>(high, s.rc[2]);
    }
    QVERIFY(low <= -98);
    QVERIFY(high >= 98);
}

void tst_Telemetry::radarOffGivesNoHeight()
{
    AircraftState state;
    QByteArray on = TelemetryGenerator::payload(0x4B, 5000, state);
    QCOMPARE(on.size(), 20);
    QCOMPARE(quint8(on[0]), quint8(1));
    QVERIFY((quint8(on[1]) | quint8(on[2]) << 8) > 0);
    state.settings.extSwitch2 = 0;
    const QByteArray off = TelemetryGenerator::payload(0x4B, 5000, state);
    QCOMPARE(off.mid(0, 3), fromHex("000000"));
}

void tst_Telemetry::framesNeverCarryAStraySyncPair()
{
    AircraftState state;
    state.settings.voltageOffset = qint16(0x90EB - 1245 - 0x10000); // pack voltage EB 90 on the wire
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
