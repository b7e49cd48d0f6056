#include "SimTestSupport.h"
#include "sim/AircraftEngine.h"
#include "sim/TelemetryGenerator.h"

#include <QRegularExpression>
#include <QTest>

using namespace simtest;

// Every command row answered by a fresh aircraft at factory settings, at the byte level.
class tst_ParameterReplies : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void replies_data();
    void replies();
    void readBackAfterWrite_data();
    void readBackAfterWrite();
    void factoryResetRestoresSettingsOnly();
    void voltageCalibrationCorrectsTheReading();
    void serviceDoneRestartsTheCountdown();
    void escCalibrationReportsEachMotor();
    void wayPointRoundTrip();
};

void tst_ParameterReplies::init()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
}

void tst_ParameterReplies::replies_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("reply"); // payload; "none" when no frame may come back

    auto row = [](const char *name, int type, const char *request, const char *reply) {
        QTest::newRow(name) << type << fromHex(request)
                            << (QByteArray(reply) == "none" ? QByteArray("none") : fromHex(reply));
    };
    row("connect", 0xC1, "FF 18 05 06 0A 00 00", "00");
    row("heartbeat", 0xC1, "FF", "00");
    row("heartbeat during black-box fetch", 0xC1, "00", "00");
    row("disconnect", 0xC1, "", "none");
    row("flight controller information", 0x01, "", "01 02 03 0B 34 12 01 00");
    row("frame type read", 0x02, "", "01 00");
    row("frame type write", 0x02, "05", "00");
    row("frame type out of range", 0x02, "0B", "01");
    row("GPS position read (no status)", 0x03, "", "00 00");
    row("GPS position write", 0x03, "05 FB", "00");
    row("receiver read", 0x04, "", "00 00");
    row("receiver write", 0x04, "02", "00");
    row("RC calibration start echoes 3", 0x05, "03", "03 00");
    row("RC calibration stop echoes 0C", 0x05, "0C", "0C 00");
    row("RC calibration unknown sub-command", 0x05, "07", "07 01");
    row("channel reverse read", 0x06, "", "00 00");
    row("channel reverse write", 0x06, "05", "00");
    row("ESC calibration starts", 0x07, "00", "00");
    row("ESC calibration of a motor the frame lacks", 0x07, "07", "FF");
    row("motor idle read", 0x08, "", "02 00");
    row("motor idle write", 0x08, "04", "00");
    row("motor idle out of range", 0x08, "05", "01");
    row("wheelbase read", 0x09, "", "04 00");
    row("wheelbase write", 0x09, "05", "00");
    row("wheelbase zero refused", 0x09, "00", "01");
    row("gains read (six bytes, no status)", 0x0A, "", "6400 6400 6400");
    row("gains write", 0x0A, "9600 7800 5000", "00");
    row("voltage calibration", 0x0B, "03 D804", "00");
    row("voltage calibration of zero refused", 0x0B, "03 0000", "01");
    row("protection read (five bytes, no status)", 0x0C, "", "3804 2404 01");
    row("protection write", 0x0C, "4C04 4204 02", "00");
    row("RC-loss action read", 0x0D, "", "01 00");
    row("RC-loss action write", 0x0D, "02", "00");
    row("sensor calibration", 0x0E, "01", "00");
    row("factory reset", 0x0F, "01", "00");
    row("factory reset with a wrong key", 0x0F, "02", "01");
    row("FCU version", 0x10, "00", "00 03 0B");
    row("IMU version", 0x10, "01", "01 01 04");
    row("LIU not fitted", 0x10, "03", "03 00 00");
    row("DCU version", 0x10, "09", "09 02 00");
    row("index 11 beyond the modules", 0x10, "0B", "0B 00 00");
    row("height limit read", 0x11, "", "01 00");
    row("height limit write", 0x11, "0500", "00");
    row("return height read is one byte", 0x12, "", "14");
    row("return height write is one byte", 0x12, "1E", "00");
    row("online monitoring", 0x14, "", "05 02 01");
    row("spray width read", 0x17, "01", "00 9001");
    row("spray width write", 0x17, "4A01", "00 4A01");
    row("work speed read", 0x18, "01", "00 F401");
    row("work speed write", 0x18, "2003", "00 2003");
    row("spray pump read (three bytes)", 0x19, "01", "00 01 3C");
    row("small pump read", 0x19, "02", "00 02 14");
    row("spray pump run (two bytes)", 0x19, "01 50", "00 01");
    row("small pump run", 0x19, "02 10", "00 02");
    row("spray pump stop", 0x19, "11 50", "00 11");
    row("small pump stop", 0x19, "12 10", "00 12");
    row("pump unknown sub-command", 0x19, "03 10", "01 03");
    row("liquid-level switch read", 0x1B, "01 01", "00 01 01");
    row("radar switch read", 0x1B, "01 02", "00 02 01");
    row("radar switch off", 0x1B, "00 02 FF", "00 02 00");
    row("unknown switch", 0x1B, "01 03", "01 03 00");
    row("time to service", 0x1C, "01 00000000", "00 01 28050000");
    row("flight time", 0x1C, "02 00000000", "00 02 3E050000");
    row("power-on time", 0x1C, "03 00000000", "00 03 3C0B0000");
    row("service cycle", 0x1C, "07 00000000", "00 07 DC050000");
    row("service done", 0x1C, "04 00000000", "00 01 DC050000");
    row("new cycle 1000", 0x1C, "06 E8030000", "00 07 E8030000");
    row("maintenance without sub-command", 0x1C, "00000000", "00 00 00000000");
    row("motor test", 0xC2, "0F", "00");
    row("take off", 0xC3, "00 00", "00 00");
    row("land", 0xC3, "02 00", "02 00");
    row("cancel", 0xC3, "07 00", "07 00");
    row("fly to point on the ground", 0xC4, "C0DCE343 40FF690D", "01");
    row("global way-point bound", 0x81, "00 00 00", "00 00");
    row("module identifier has no answer", 0x3F, "01", "none");
    row("type without a handler", 0x13, "", "none");
}

void tst_ParameterReplies::replies()
{
    QFETCH(int, type);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reply);

    AircraftEngine aircraft;
    aircraft.setTelemetryRate(0);
    Wire wire(aircraft);
    const QList<AirFrame> frames = wire.ask(quint8(type), request);
    if (reply == "none") {
        QVERIFY(wire.bytes.isEmpty());
        return;
    }
    QCOMPARE(frames.size(), 1);
    QCOMPARE(int(frames[0].type), type);
    QCOMPARE(frames[0].payload.toHex(' '), reply.toHex(' '));
    QVERIFY(frames[0].crcOk);
    QCOMPARE(frames[0].raw.left(6), fromHex("EB90FFFFFFFF"));
    QCOMPARE(frames[0].raw.size(), 10 + reply.size()); // no trailer
}

void tst_ParameterReplies::readBackAfterWrite_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("write");
    QTest::addColumn<QByteArray>("read");
    QTest::addColumn<QByteArray>("expected");

    auto row = [](const char *name, int type, const char *write, const char *read, const char *expected) {
        QTest::newRow(name) << type << fromHex(write) << fromHex(read) << fromHex(expected);
    };
    row("frame type", 0x02, "0A", "", "0A 00");
    row("GPS position", 0x03, "05 FB", "", "05 FB");
    row("receiver", 0x04, "02", "", "02 00");
    row("channel reverse", 0x06, "A5", "", "A5 00");
    row("motor idle", 0x08, "04", "", "04 00");
    row("wheelbase", 0x09, "05", "", "05 00");
    row("gains", 0x0A, "9600 7800 5000", "", "9600 7800 5000");
    row("protection", 0x0C, "4C04 4204 02", "", "4C04 4204 02");
    row("RC-loss action", 0x0D, "02", "", "02 00");
    row("height limit", 0x11, "0000", "", "0000");
    row("return height", 0x12, "1E", "", "1E");
    row("spray width", 0x17, "4A01", "01", "00 4A01");
    row("work speed", 0x18, "2003", "01", "00 2003");
    row("spray pump", 0x19, "01 50", "01", "00 01 50");
    row("small pump after its stop", 0x19, "12 10", "02", "00 02 10");
    row("liquid-level switch", 0x1B, "00 01 FF", "01 01", "00 01 00");
    row("service cycle", 0x1C, "06 E8030000", "07 00000000", "00 07 E8030000");
}

void tst_ParameterReplies::readBackAfterWrite()
{
    QFETCH(int, type);
    QFETCH(QByteArray, write);
    QFETCH(QByteArray, read);
    QFETCH(QByteArray, expected);

    AircraftEngine aircraft;
    aircraft.setTelemetryRate(0);
    Wire wire(aircraft);
    wire.ask(quint8(type), write);
    const QList<AirFrame> frames = wire.ask(quint8(type), read);
    QCOMPARE(frames.size(), 1);
    QCOMPARE(frames[0].payload.toHex(' '), expected.toHex(' '));
}

void tst_ParameterReplies::factoryResetRestoresSettingsOnly()
{
    AircraftEngine aircraft;
    aircraft.setTelemetryRate(0);
    Wire wire(aircraft);
    wire.ask(0x02, fromHex("08"));
    wire.ask(0x09, fromHex("02"));
    wire.ask(0x0C, fromHex("B004 A604 00"));
    wire.ask(0x1C, fromHex("06 E8030000"));
    aircraft.state().versions[0] = {3, 12};
    QVERIFY(aircraft.state().settings != AircraftSettings::factory());

    QCOMPARE(wire.ask(0x0F, fromHex("01"))[0].payload, fromHex("00"));
    QVERIFY(aircraft.state().settings == AircraftSettings::factory());
    QCOMPARE(wire.ask(0x02)[0].payload, fromHex("01 00"));
    QCOMPARE(wire.ask(0x09)[0].payload, fromHex("04 00"));
    QCOMPARE(wire.ask(0x0C)[0].payload, fromHex("3804 2404 01"));
    QCOMPARE(wire.ask(0x1C, fromHex("07 00000000"))[0].payload, fromHex("00 07 DC050000"));
    QCOMPARE(wire.ask(0x1C, fromHex("02 00000000"))[0].payload, fromHex("00 02 3E050000"));
    QCOMPARE(wire.ask(0x10, fromHex("00"))[0].payload, fromHex("00 03 0C"));
}

void tst_ParameterReplies::voltageCalibrationCorrectsTheReading()
{
    AircraftEngine aircraft;
    aircraft.setTelemetryRate(0);
    Wire wire(aircraft);
    QCOMPARE(wire.ask(0x0B, fromHex("03 2C05"))[0].payload, fromHex("00")); // 13.24 V
    const int reading = TelemetryGenerator::packVoltage(aircraft.uptimeMs(), aircraft.state());
    QVERIFY2(qAbs(reading - 1324) <= 2, qPrintable(QString::number(reading)));
    QCOMPARE(aircraft.state().settings.batteryCells, quint8(3));
}

void tst_ParameterReplies::serviceDoneRestartsTheCountdown()
{
    AircraftEngine aircraft;
    Wire wire(aircraft);
    aircraft.state().flightMinutes = 2000;
    aircraft.state().flightMinutesAtService = 400; // overdue by 100 minutes
    QCOMPARE(wire.ask(0x1C, fromHex("01 00000000"))[0].payload, fromHex("00 01 9CFFFFFF"));
    wire.ask(0x1C, fromHex("04 00000000"));
    QCOMPARE(wire.ask(0x1C, fromHex("01 00000000"))[0].payload, fromHex("00 01 DC050000"));
    QCOMPARE(wire.ask(0x1C, fromHex("02 00000000"))[0].payload, fromHex("00 02 D0070000"));
}

void tst_ParameterReplies::escCalibrationReportsEachMotor()
{
    AircraftEngine aircraft;
    aircraft.setTelemetryRate(0);
    Wire wire(aircraft);
    QCOMPARE(wire.ask(0x07, fromHex("00")).size(), 1);
    auto progress = [&wire] {
        QByteArray seen;
        for (const AirFrame &f : wire.framesOfType(0x07))
            seen.append(f.payload);
        return seen.toHex(' ');
    };
    QTRY_COMPARE_WITH_TIMEOUT(progress(), fromHex("00 01 02 03 04 10").toHex(' '), 10000);
}

void tst_ParameterReplies::wayPointRoundTrip()
{
    AircraftEngine aircraft;
    aircraft.setTelemetryRate(0);
    Wire wire(aircraft);
    const QByteArray wp = fromHex("03 01 15A0E943 25D36F0D 1E00 32 5A 0A00 000000000000 01");
    QCOMPARE(wp.size(), 23);
    QCOMPARE(wire.ask(0x81, wp)[0].payload, fromHex("03 00"));
    QCOMPARE(wire.ask(0x81, fromHex("03"))[0].payload, wp);
    const QList<AirFrame> unknown = wire.ask(0x81, fromHex("07"));
    QCOMPARE(unknown[0].payload.size(), 23);
    QCOMPARE(unknown[0].payload.left(1), fromHex("07"));
}

QTEST_GUILESS_MAIN(tst_ParameterReplies)
#include "tst_parameterreplies.moc"
