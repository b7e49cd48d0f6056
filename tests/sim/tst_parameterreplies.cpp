#include "SimTestSupport.h"
#include "sim/AircraftEngine.h"
#include "sim/TelemetryGenerator.h"

#include <QTest>

using namespace simtest;

// Every command row answered by a fresh aircraft at factory settings, at the byte level, and what
// a later read returns after a write.
class tst_ParameterReplies : public QObject
{
    Q_OBJECT

private slots:
    void replies_data();
    void replies();
    void factoryResetRestoresSettingsOnly();
    void voltageCalibrationCorrectsTheReading();
    void overdueServiceAndServiceDone();
    void escCalibrationReportsEachMotor();
    void wayPointRoundTrip();
};

void tst_ParameterReplies::replies_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("reply"); // payload; "none" when no frame may come back
    QTest::addColumn<QByteArray>("read");  // a later request of the same type ...
    QTest::addColumn<QByteArray>("readBack"); // ... and its payload; empty: not asked

    auto row = [](const char *name, int type, const char *request, const char *reply,
                  const char *read = "", const char *readBack = "") {
        QTest::newRow(name) << type << fromHex(request)
                            << (QByteArray(reply) == "none" ? QByteArray("none") : fromHex(reply))
                            << fromHex(read) << fromHex(readBack);
    };
    row("connect", 0xC1, "FF 18 05 06 0A 00 00", "00");
    row("heartbeat", 0xC1, "FF", "00");
    row("heartbeat during black-box fetch", 0xC1, "00", "00");
    row("disconnect", 0xC1, "", "none");
    row("flight controller information", 0x01, "", "01 02 03 0B 34 12 01 00");
    row("frame type write", 0x02, "0A", "00", "", "0A 00");
    row("frame type out of range", 0x02, "0B", "01", "", "01 00");
    row("GPS position write (read back without status)", 0x03, "05 FB", "00", "", "05 FB");
    row("receiver write", 0x04, "02", "00", "", "02 00");
    row("RC calibration start echoes 3", 0x05, "03", "03 00");
    row("RC calibration unknown sub-command", 0x05, "07", "07 01");
    row("channel reverse write", 0x06, "A5", "00", "", "A5 00");
    row("ESC calibration starts", 0x07, "00", "00");
    row("ESC calibration of a motor the frame lacks", 0x07, "07", "FF");
    row("motor idle write", 0x08, "04", "00", "", "04 00");
    row("motor idle out of range", 0x08, "05", "01");
    row("wheelbase write", 0x09, "05", "00", "", "05 00");
    row("wheelbase zero refused", 0x09, "00", "01", "", "04 00");
    row("gains (six bytes, no status)", 0x0A, "9600 7800 5000", "00", "", "9600 7800 5000");
    row("voltage calibration", 0x0B, "03 D804", "00");
    row("voltage calibration of zero refused", 0x0B, "03 0000", "01");
    row("protection (five bytes, no status)", 0x0C, "4C04 4204 02", "00", "", "4C04 4204 02");
    row("RC-loss action write", 0x0D, "02", "00", "", "02 00");
    row("sensor calibration", 0x0E, "01", "00");
    row("factory reset", 0x0F, "01", "00");
    row("factory reset with a wrong key", 0x0F, "02", "01");
    row("FCU version", 0x10, "00", "00 03 0B");
    row("LIU not fitted", 0x10, "03", "03 00 00");
    row("index 11 beyond the modules", 0x10, "0B", "0B 00 00");
    row("height limit write", 0x11, "0500", "00", "", "0500");
    row("return height is one byte", 0x12, "1E", "00", "", "1E");
    row("online monitoring", 0x14, "", "05 02 01");
    row("spray width write", 0x17, "4A01", "00 4A01", "01", "00 4A01");
    row("work speed write", 0x18, "2003", "00 2003", "01", "00 2003");
    row("spray pump run (two bytes; read back three)", 0x19, "01 50", "00 01", "01", "00 01 50");
    row("small pump stop", 0x19, "12 10", "00 12", "02", "00 02 10");
    row("pump unknown sub-command", 0x19, "03 10", "01 03");
    row("liquid-level switch off", 0x1B, "00 01 FF", "00 01 00", "01 01", "00 01 00");
    row("unknown switch", 0x1B, "01 03", "01 03 00");
    row("flight time", 0x1C, "02 00000000", "00 02 3E050000");
    row("power-on time", 0x1C, "03 00000000", "00 03 3C0B0000");
    row("service done", 0x1C, "04 00000000", "00 01 DC050000");
    row("new cycle 1000", 0x1C, "06 E8030000", "00 07 E8030000", "07 00000000", "00 07 E8030000");
    row("maintenance without sub-command", 0x1C, "00000000", "00 00 00000000");
    row("motor test", 0xC2, "0F", "00");
    row("take off", 0xC3, "00 00", "00 00");
    row("land", 0xC3, "02 00", "02 00");
    row("fly to point on the ground", 0xC4, "C0DCE343 40FF690D", "01");
    row("global way-point bound", 0x81, "00 00 00", "00 00");
    row("system reset: status in the second byte", 0xD1, "01", "01 00");
    row("module identifier has no answer", 0x3F, "01", "none");
    row("type without a handler", 0x13, "", "none");
}

void tst_ParameterReplies::replies()
{
    QFETCH(int, type);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reply);
    QFETCH(QByteArray, read);
    QFETCH(QByteArray, readBack);

    AircraftEngine aircraft;
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
    if (!readBack.isEmpty())
        QCOMPARE(wire.ask(quint8(type), read).value(0).payload.toHex(' '), readBack.toHex(' '));
}

void tst_ParameterReplies::factoryResetRestoresSettingsOnly()
{
    AircraftEngine aircraft;
    Wire wire(aircraft);
    wire.ask(0x0C, fromHex("B004 A604 00"));
    wire.ask(0x1C, fromHex("06 E8030000"));
    aircraft.state().versions[0] = {3, 12};
    wire.ask(0x0F, fromHex("01"));
    QVERIFY(aircraft.state().settings == AircraftSettings::factory());
    // Counters and versions are not settings.
    QCOMPARE(wire.ask(0x1C, fromHex("02 00000000"))[0].payload, fromHex("00 02 3E050000"));
    QCOMPARE(wire.ask(0x10, fromHex("00"))[0].payload, fromHex("00 03 0C"));
}

void tst_ParameterReplies::voltageCalibrationCorrectsTheReading()
{
    AircraftEngine aircraft;
    Wire wire(aircraft);
    wire.ask(0x0B, fromHex("03 2C05")); // 13.24 V
    const int reading = TelemetryGenerator::packVoltage(aircraft.uptimeMs(), aircraft.state());
    QVERIFY2(qAbs(reading - 1324) <= 2, qPrintable(QString::number(reading)));
}

void tst_ParameterReplies::overdueServiceAndServiceDone()
{
    AircraftEngine aircraft;
    Wire wire(aircraft);
    aircraft.state().flightMinutes = 2000;
    aircraft.state().flightMinutesAtService = 400; // overdue by 100 minutes: signed on the wire
    QCOMPARE(wire.ask(0x1C, fromHex("01 00000000"))[0].payload, fromHex("00 01 9CFFFFFF"));
    QCOMPARE(wire.ask(0x1C, fromHex("04 00000000"))[0].payload, fromHex("00 01 DC050000"));
    QCOMPARE(wire.ask(0x1C, fromHex("02 00000000"))[0].payload, fromHex("00 02 D0070000"));
}

void tst_ParameterReplies::escCalibrationReportsEachMotor()
{
    AircraftEngine aircraft;
    Wire wire(aircraft);
    wire.ask(0x07, fromHex("00"));
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
    Wire wire(aircraft);
    const QByteArray wp = fromHex("03 01 15A0E943 25D36F0D 1E00 32 5A 0A00 000000000000 01");
    QCOMPARE(wire.ask(0x81, wp)[0].payload, fromHex("03 00"));
    QCOMPARE(wire.ask(0x81, fromHex("03"))[0].payload, wp);
    const QByteArray unknown = wire.ask(0x81, fromHex("07"))[0].payload;
    QCOMPARE(unknown.size(), wp.size());
    QCOMPARE(unknown.left(1), fromHex("07"));
}

QTEST_GUILESS_MAIN(tst_ParameterReplies)
#include "tst_parameterreplies.moc"
