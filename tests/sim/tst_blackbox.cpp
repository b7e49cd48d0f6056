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
// The one reply to a request, or nothing when it is missing or carries a stray sync pair.
QByteArray reply(Wire &wire, quint8 type, const QByteArray &request)
{
    const QList<AirFrame> frames = wire.ask(type, request);
    const bool good = frames.size() == 1 && AircraftFrame::straySync(frames[0].raw) < 0;
    return good ? frames[0].payload : QByteArray();
}

// Fetches a record the way the program does: its start, its length, then chunks 1 .. length / 128.
bool fetch(Wire &wire, quint32 record, QDateTime *start, QByteArray *bytes)
{
    const QByteArray h = reply(wire, 0xE3, be32(record) + fromHex("FF"));
    const QByteArray length = reply(wire, 0xE4, be32(record));
    if (h.size() != 23 || length.size() != 9)
        return false;
    *start = QDateTime(QDate(quint8(h[13]) | (quint8(h[14]) << 8), quint8(h[15]), quint8(h[16])),
                       QTime(quint8(h[17]), quint8(h[18]), quint8(h[19])), Qt::UTC);
    for (quint32 n = 1; n <= qFromBigEndian<quint32>(length.constData() + 5) / 128; ++n) {
        const QByteArray chunk = reply(wire, 0xE5, be32(record) + be32(n));
        if (chunk.size() != 132 || chunk.left(4) != be32(n))
            return false;
        bytes->append(chunk.mid(4));
    }
    return true;
}
} // namespace

class tst_BlackBox : public QObject
{
    Q_OBJECT

private slots:
    void replyShapes_data();
    void replyShapes();
    void recordsDecodeAsFlights();
    void sampleEncodingMatchesTheExportLayout();
    void syncPairFault_data();
    void syncPairFault();
};

void tst_BlackBox::replyShapes_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("frameSize");
    QTest::addColumn<QByteArray>("prefix"); // expected first payload bytes

    auto row = [](const char *name, int type, const QByteArray &request, int size,
                  const char *prefix) {
        QTest::newRow(name) << type << request << size << fromHex(prefix);
    };
    row("open", 0xE1, fromHex("FF"), 11, "00");
    row("count of twelve", 0xE2, fromHex("FF"), 15, "00 0000000C");
    row("header of record 12", 0xE3, be32(12) + fromHex("FF"), 33, "00 0000000C");
    row("header of record 13 fails", 0xE3, be32(13) + fromHex("FF"), 33, "01");
    row("length of record 12", 0xE4, be32(12), 19, "00 0000000C");
    row("length of a missing record", 0xE4, be32(0), 19, "01 00000000 00000000");
    row("first chunk", 0xE5, be32(12) + be32(1), 142, "00000001 A55A41");
    row("chunk beyond the record", 0xE5, be32(12) + be32(5000), 19, "01 0000000C 00001388");
    row("chunk zero: no data", 0xE5, be32(3) + be32(0), 19, "01 00000003 00000000");
}

void tst_BlackBox::replyShapes()
{
    QFETCH(int, type);
    QFETCH(QByteArray, request);
    QFETCH(int, frameSize);
    QFETCH(QByteArray, prefix);

    AircraftEngine aircraft;
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
    Wire wire(aircraft);
    const int spb = aircraft.blackBoxPlan().secondsPerBlock;
    int flights = 0;
    QSet<qsizetype> lengths;
    int shorter = 0;
    int odd = 0;
    for (quint32 record = 1; record <= 12; ++record) {
        QDateTime start;
        QByteArray bytes;
        QVERIFY(fetch(wire, record, &start, &bytes));
        if (record >= 3) { // the ten the program fetches: 12 down to 3
            lengths.insert(bytes.size());
            shorter += bytes.isEmpty();
            odd += (bytes.size() / 128) % 2;
        }
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
        // On the ground at home at both ends, the battery drained, near home all along.
        QCOMPARE(samples.constFirst()["f_alt"], 0);
        QCOMPARE(samples.constLast()["f_alt"], 0);
        QCOMPARE(samples.constLast()["dist2home"], 0);
        QVERIFY(samples.constFirst()["bat_volt"] > samples.constLast()["bat_volt"]);
        qint64 maxAlt = 0;
        QSet<int> modes;
        for (const bbdecode::Sample &s : samples) {
            maxAlt = qMax(maxAlt, s["f_alt"]);
            modes.insert(int(s["flight_status"] & 0x0F));
            QVERIFY(qAbs(s["f_lat"] - TelemetryGenerator::kHomeLat) < 45000); // within 500 m
            QVERIFY(qAbs(s["f_lon"] - TelemetryGenerator::kHomeLon) < 49000);
        }
        QVERIFY2(maxAlt >= 25 && maxAlt <= 120, qPrintable(QString::number(maxAlt)));
        QVERIFY2(modes.contains(7) && modes.contains(5) && modes.contains(6),
                 "take-off, spray passes and return must all appear");
    }
    QCOMPARE(flights, 11);
    QCOMPARE(shorter, 1);
    QCOMPARE(odd, 1);
    QVERIFY(lengths.size() >= 5);
}

void tst_BlackBox::sampleEncodingMatchesTheExportLayout()
{
    TelemetrySample s;
    s.rate_x = -1234;
    s.f_lon = -1139456789;
    s.bat_volt = 1187;
    s.shock_exp = -250;
    s.gps_fix_status = 3;
    s.eIMU_yaw = 35999;
    s.rc = {-100, 100, 0, 5, 100, -100, 0, 100};
    s.mot = {140, 141, 142, 143, 0, 0, 0, 255};
    const QDateTime stamp(QDate(2024, 5, 6), QTime(8, 30, 0), Qt::UTC);
    const QByteArray block = FlightRecordGenerator::block(s, TelemetrySample(), stamp, 0);
    QCOMPARE(block.size(), 256);
    QVERIFY(bbdecode::hasSamples(block));
    QCOMPARE(bbdecode::blockTime(block), stamp);
    // Fields of each part: signs, widths and the parts' offsets.
    const QList<QPair<const char *, qint64>> expected = {
        {"rate_x", -1234}, {"f_lon", -1139456789}, {"bat_volt", 1187}, {"shock_exp", -250},
        {"gps_fix_status", 3}, {"eIMU_yaw", 35999}, {"rc_in_roll", -100}, {"rc_in_CH8", 100},
        {"mot_1", 140}, {"mot_8", 255}};
    const bbdecode::Sample d = bbdecode::sample1(block);
    for (const auto &[name, value] : expected)
        QVERIFY2(d[QLatin1String(name)] == value, name);
    QCOMPARE(bbdecode::sample2(block)["bat_volt"], 0);
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
    aircraft.setSyncPairFault({10, {1, 4, 6}, {3, 6}, {}});
    const QList<AirFrame> f = wire.ask(0xE5, be32(10) + be32(quint32(chunk)));
    QCOMPARE(f.size(), 1);
    QVERIFY(f[0].crcOk);
    QCOMPARE(f[0].raw.size(), 142);
    QCOMPARE(AircraftFrame::straySync(f[0].raw.mid(11, 129), 0) >= 0, inData);
    QCOMPARE(f[0].raw.right(2) == fromHex("EB90"), inCrc);
    QCOMPARE(AircraftFrame::straySync(f[0].raw) >= 0, inData || inCrc);
    // The same chunk of another record stays clean.
    QCOMPARE(AircraftFrame::straySync(wire.ask(0xE5, be32(9) + be32(quint32(chunk)))[0].raw), -1);
}

QTEST_GUILESS_MAIN(tst_BlackBox)
#include "tst_blackbox.moc"
