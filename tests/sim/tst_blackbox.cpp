#include "BlackBoxDecoder.h"
#include "SimTestSupport.h"
#include "sim/AircraftEngine.h"
#include "sim/AircraftFrame.h"
#include "sim/FlightRecordGenerator.h"
#include "sim/TelemetryGenerator.h"

#include <QSet>
#include <QTest>

using namespace simtest;

namespace {
QByteArray request(quint32 index)
{
    return be32(index);
}

quint32 be(const QByteArray &b, int at)
{
    return (quint32(quint8(b[at])) << 24) | (quint32(quint8(b[at + 1])) << 16)
           | (quint32(quint8(b[at + 2])) << 8) | quint8(b[at + 3]);
}

// Fetches a record the way the program does: its length, then chunks 1 .. length / 128.
QByteArray fetch(Wire &wire, quint32 record, QDateTime *start)
{
    const QList<AirFrame> header = wire.ask(0xE3, request(record) + fromHex("FF"));
    const QByteArray h = header[0].payload;
    *start = QDateTime(QDate(quint8(h[13]) | (quint8(h[14]) << 8), quint8(h[15]), quint8(h[16])),
                       QTime(quint8(h[17]), quint8(h[18]), quint8(h[19])), Qt::UTC);
    const quint32 length = be(wire.ask(0xE4, request(record))[0].payload, 5);
    QByteArray bytes;
    for (quint32 n = 1; n <= length / 128; ++n) {
        const QList<AirFrame> chunk = wire.ask(0xE5, request(record) + be32(n));
        if (chunk.size() != 1 || chunk[0].raw.size() != 142 || be(chunk[0].payload, 0) != n)
            return QByteArray();
        bytes.append(chunk[0].payload.mid(4));
    }
    return bytes;
}

int mode(qint64 status)
{
    return int(status & 0x0F);
}
} // namespace

class tst_BlackBox : public QObject
{
    Q_OBJECT

private slots:
    void replyShapes_data();
    void replyShapes();
    void recordsDecodeAsFlights();
    void lengthsVaryWithOneShortAndOneOdd();
    void sampleEncodingMatchesTheExportLayout();
    void noChunkCarriesTheSyncPair();
    void syncPairFault_data();
    void syncPairFault();
    void planIsConfigurable();
};

void tst_BlackBox::replyShapes_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("frameSize");
    QTest::addColumn<QByteArray>("prefix"); // expected first payload bytes

    QTest::newRow("open") << 0xE1 << fromHex("FF") << 11 << fromHex("00");
    QTest::newRow("count of twelve") << 0xE2 << fromHex("FF") << 15 << fromHex("00 0000000C");
    QTest::newRow("header of record 12") << 0xE3 << request(12) + fromHex("FF") << 33 << fromHex("00 0000000C");
    QTest::newRow("header of record 13 fails") << 0xE3 << request(13) + fromHex("FF") << 33 << fromHex("01");
    QTest::newRow("length of record 12") << 0xE4 << request(12) << 19 << fromHex("00 0000000C");
    QTest::newRow("length of a missing record") << 0xE4 << request(0) << 19 << fromHex("01 00000000 00000000");
    QTest::newRow("first chunk") << 0xE5 << request(12) + be32(1) << 142 << fromHex("00000001 A55A41");
    QTest::newRow("second chunk") << 0xE5 << request(12) + be32(2) << 142 << fromHex("00000002");
    QTest::newRow("chunk beyond the record: no data")
        << 0xE5 << request(12) + be32(5000) << 19 << fromHex("01 0000000C 00001388");
    QTest::newRow("chunk zero: no data") << 0xE5 << request(3) + be32(0) << 19 << fromHex("01 00000003 00000000");
}

void tst_BlackBox::replyShapes()
{
    QFETCH(int, type);
    QFETCH(QByteArray, request);
    QFETCH(int, frameSize);
    QFETCH(QByteArray, prefix);

    AircraftEngine aircraft;
    aircraft.setTelemetryRate(0);
    Wire wire(aircraft);
    const QList<AirFrame> frames = wire.ask(quint8(type), request);
    QCOMPARE(frames.size(), 1);
    QCOMPARE(int(frames[0].type), type);
    QCOMPARE(frames[0].raw.size(), frameSize);
    QVERIFY(frames[0].crcOk);
    QCOMPARE(frames[0].payload.left(prefix.size()).toHex(' '), prefix.toHex(' '));
}

void tst_BlackBox::recordsDecodeAsFlights()
{
    AircraftEngine aircraft;
    aircraft.setTelemetryRate(0);
    Wire wire(aircraft);
    const int spb = aircraft.blackBoxPlan().secondsPerBlock;
    int flights = 0;
    for (quint32 record = 1; record <= 12; ++record) {
        QDateTime start;
        const QByteArray bytes = fetch(wire, record, &start);
        if (bytes.size() < 256)
            continue; // the aborted record
        ++flights;
        QList<bbdecode::Sample> samples;
        for (int b = 0; b + 256 <= bytes.size(); b += 256) {
            const QByteArray block = bytes.mid(b, 256);
            QVERIFY(bbdecode::hasSamples(block));
            QCOMPARE(bbdecode::blockTime(block), start.addSecs(qint64(b / 256) * spb));
            samples << bbdecode::sample1(block) << bbdecode::sample2(block);
        }
        const bbdecode::Sample &first = samples.constFirst();
        const bbdecode::Sample &last = samples.constLast();
        // On the ground at both ends, at home.
        QCOMPARE(first["f_alt"], 0);
        QCOMPARE(last["f_alt"], 0);
        QCOMPARE(first["mot_1"], 0);
        QCOMPARE(last["dist2home"], 0);
        QVERIFY(first["bat_volt"] > last["bat_volt"]);
        qint64 maxAlt = 0;
        qint64 maxDistance = 0;
        QSet<int> modes;
        for (const bbdecode::Sample &s : samples) {
            maxAlt = qMax(maxAlt, s["f_alt"]);
            maxDistance = qMax(maxDistance, s["dist2home"]);
            modes.insert(mode(s["flight_status"]));
            QVERIFY(qAbs(s["f_lat"] - TelemetryGenerator::kHomeLat) < 45000); // within 500 m
            QVERIFY(qAbs(s["f_lon"] - TelemetryGenerator::kHomeLon) < 49000);
            QVERIFY(s["bat_volt"] >= 1050 && s["bat_volt"] <= 1270);
            QVERIFY(s["gps_num"] >= 12);
            QCOMPARE(s["gps_fix_status"], 3);
            QCOMPARE(s["warning_code"], 0);
            QVERIFY(s["yaw"] < 180);
            QVERIFY(s["acc_z"] > 800 && s["acc_z"] < 1100);
            if (s["f_alt"] >= 20) // flying well clear of the ground: motors turn
                QVERIFY(s["mot_1"] > 0 && s["mot_4"] > 0);
        }
        QVERIFY2(maxAlt >= 25 && maxAlt <= 120, qPrintable(QString::number(maxAlt)));
        QVERIFY(maxDistance >= 8);
        QVERIFY2(modes.contains(7) && modes.contains(5) && modes.contains(6),
                 "take-off, spray passes and return must all appear");
    }
    QCOMPARE(flights, 11);
}

void tst_BlackBox::lengthsVaryWithOneShortAndOneOdd()
{
    AircraftEngine aircraft;
    const QList<FlightRecord> &records = aircraft.flightRecords();
    QCOMPARE(records.size(), 12);
    QSet<qsizetype> lengths;
    int shorter = 0;
    int odd = 0;
    for (int i = 2; i < 12; ++i) { // the ten the program fetches: 12 down to 3
        const qsizetype len = records[i].bytes.size();
        lengths.insert(len);
        shorter += len < 128;
        odd += (len / 128) % 2 == 1;
    }
    QCOMPARE(shorter, 1);
    QCOMPARE(odd, 1);
    QVERIFY(lengths.size() >= 5);
    QCOMPARE(records[7].bytes.size(), 100);             // record 8
    QCOMPARE(records[10].bytes.size() % 256, 168);      // record 11: cut after 128 + 40 bytes
    QVERIFY(records[11].startUtc > records[10].startUtc);
}

void tst_BlackBox::sampleEncodingMatchesTheExportLayout()
{
    TelemetrySample s;
    s.rate_x = -1234;
    s.acc_x = 100;
    s.acc_y = -100;
    s.acc_z = 1000;
    s.mag_z = 421;
    s.roll = -10;
    s.pitch = 5;
    s.yaw = 0x5A;
    s.vel_n = -10;
    s.f_lat = 225432101;
    s.f_lon = -1139456789;
    s.f_alt = 123;
    s.warning_code = 0x44;
    s.bat_volt = 1187;
    s.flight_status = 0x0306;
    s.shock_exp = -250;
    s.dist2home = 77;
    s.gps_num = 18;
    s.gps_h_acc = 812;
    s.gps_fix_status = 3;
    s.eIMU_yaw = 35999;
    s.rc = {-100, 100, 0, 5, 100, -100, 0, 100};
    s.mot = {140, 141, 142, 143, 0, 0, 0, 255};
    const QByteArray block = FlightRecordGenerator::block(s, TelemetrySample(),
                                                          QDateTime(QDate(2024, 5, 6), QTime(8, 30, 0), Qt::UTC), 0);
    QCOMPARE(block.size(), 256);
    QVERIFY(bbdecode::hasSamples(block));
    QCOMPARE(bbdecode::blockTime(block), QDateTime(QDate(2024, 5, 6), QTime(8, 30, 0), Qt::UTC));
    QCOMPARE(block.mid(244, 2), fromHex("07E8")); // year big-endian
    const bbdecode::Sample d = bbdecode::sample1(block);
    QCOMPARE(d["rate_x"], -1234);
    QCOMPARE(d["acc_x"], 100);
    QCOMPARE(d["acc_y"], -100);
    QCOMPARE(d["acc_z"], 1000);
    QCOMPARE(d["mag_z"], 421);
    QCOMPARE(d["roll"], -10);
    QCOMPARE(d["Pitch"], 5);
    QCOMPARE(d["yaw"] * 2, 180);
    QCOMPARE(d["vel_n"], -10);
    QCOMPARE(d["f_lat"], 225432101);
    QCOMPARE(d["f_lon"], -1139456789);
    QCOMPARE(d["f_alt"], 123);
    QCOMPARE(d["warning_code"], 0x44);
    QCOMPARE(d["bat_volt"], 1187);
    QCOMPARE(d["flight_status"], 0x0306);
    QCOMPARE(d["shock_exp"], -250);
    QCOMPARE(d["dist2home"], 77);
    QCOMPARE(d["gps_num"], 18);
    QCOMPARE(d["gps_h_acc"], 812);
    QCOMPARE(d["gps_fix_status"], 3);
    QCOMPARE(d["eIMU_yaw"], 35999);
    QCOMPARE(d["rc_in_roll"], -100);
    QCOMPARE(d["rc_in_CH6"], -100);
    QCOMPARE(d["rc_in_CH8"], 100);
    QCOMPARE(d["mot_1"], 140);
    QCOMPARE(d["mot_8"], 255);
    QCOMPARE(bbdecode::sample2(block)["bat_volt"], 0);
}

void tst_BlackBox::noChunkCarriesTheSyncPair()
{
    BlackBoxPlan plan;
    plan.recordCount = 40; // more data, more chances for an accidental pair
    AircraftEngine aircraft;
    aircraft.setBlackBoxPlan(plan);
    Wire wire(aircraft);
    int frames = 0;
    for (quint32 record = 1; record <= 40; ++record) {
        for (const QByteArray &req : {request(record) + fromHex("FF"), request(record)}) {
            const quint8 type = req.size() == 5 ? 0xE3 : 0xE4;
            QCOMPARE(AircraftFrame::straySync(wire.ask(type, req)[0].raw), -1);
        }
        const int chunks = aircraft.flightRecords()[int(record - 1)].chunkCount();
        for (int n = 1; n <= chunks; ++n) {
            const QList<AirFrame> f = wire.ask(0xE5, request(record) + be32(quint32(n)));
            QCOMPARE(f.size(), 1);
            QCOMPARE(AircraftFrame::straySync(f[0].raw), -1);
            ++frames;
        }
    }
    QVERIFY(frames > 1000);
}

void tst_BlackBox::syncPairFault_data()
{
    QTest::addColumn<int>("chunk");
    QTest::addColumn<bool>("inData");
    QTest::addColumn<bool>("inCrc");
    QTest::newRow("data of an odd chunk") << 1 << true << false;
    QTest::newRow("data of an even chunk") << 4 << true << false;
    QTest::newRow("CRC") << 3 << false << true;
    QTest::newRow("both") << 6 << true << true;
    QTest::newRow("untouched chunk of the same record") << 5 << false << false;
}

void tst_BlackBox::syncPairFault()
{
    QFETCH(int, chunk);
    QFETCH(bool, inData);
    QFETCH(bool, inCrc);

    AircraftEngine aircraft;
    Wire wire(aircraft);
    SyncPairFault fault;
    fault.record = 10;
    fault.dataChunks = {1, 4, 6};
    fault.crcChunks = {3, 6};
    aircraft.setSyncPairFault(fault);

    const QList<AirFrame> f = wire.ask(0xE5, request(10) + be32(quint32(chunk)));
    QCOMPARE(f.size(), 1);
    QVERIFY(f[0].crcOk);
    QCOMPARE(f[0].raw.size(), 142);
    const int stray = AircraftFrame::straySync(f[0].raw);
    const bool dataHasPair = AircraftFrame::straySync(f[0].raw.mid(11, 129), 0) >= 0;
    QCOMPARE(dataHasPair, inData);
    QCOMPARE(f[0].raw.right(2) == fromHex("EB90"), inCrc);
    QCOMPARE(stray >= 0, inData || inCrc);
    // The same chunk of another record stays clean.
    QCOMPARE(AircraftFrame::straySync(wire.ask(0xE5, request(9) + be32(quint32(chunk)))[0].raw), -1);
}

void tst_BlackBox::planIsConfigurable()
{
    BlackBoxPlan plan;
    plan.recordCount = 3;
    plan.minBlocks = 2;
    plan.maxBlocks = 2;
    AircraftEngine aircraft;
    aircraft.setBlackBoxPlan(plan);
    Wire wire(aircraft);
    QCOMPARE(wire.ask(0xE2, fromHex("FF"))[0].payload, fromHex("00 00000003"));
    QCOMPARE(aircraft.flightRecords()[0].bytes.size(), 512);
    QCOMPARE(aircraft.flightRecords()[1].bytes.size(), 512 + 168); // the odd one
    QCOMPARE(aircraft.flightRecords()[2].bytes.size(), 512);
}

QTEST_GUILESS_MAIN(tst_BlackBox)
#include "tst_blackbox.moc"
