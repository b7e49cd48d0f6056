#include "SimTestSupport.h"
#include "sim/AircraftEngine.h"
#include "sim/ModuleTable.h"

#include <QCryptographicHash>
#include <QSignalSpy>
#include <QTest>

using namespace simtest;

namespace {
QByteArray image(int size, int seed)
{
    QByteArray b(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 31 + seed * 7 + (i >> 8)) & 0xFF);
    return b;
}

QByteArray packet(int number, const QByteArray &chunk)
{
    QByteArray p;
    p.append(char(number & 0xFF));
    p.append(char(number >> 8));
    return p + chunk;
}

QByteArray le32(quint32 v)
{
    QByteArray b;
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
    return b;
}
} // namespace

class tst_FirmwareReceiver : public QObject
{
    Q_OBJECT

private slots:
    void transfer_data();
    void transfer();
    void resentAndReorderedChunks();
    void missingChunkIsReported();
    void chunkBeyondTheSizeIsRefused();
    void resentDoneAnswersAgainWithoutReporting();
    void systemReset();
};

void tst_FirmwareReceiver::transfer_data()
{
    QTest::addColumn<int>("module");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("packets");
    QTest::newRow("485 bytes, last chunk of one byte") << 0 << 485 << 3;
    QTest::newRow("484 bytes, two full chunks") << 2 << 484 << 2;
    QTest::newRow("empty image") << 6 << 0 << 0;
    QTest::newRow("300 KiB") << 9 << 300 * 1024 << 1270;
}

void tst_FirmwareReceiver::transfer()
{
    QFETCH(int, module);
    QFETCH(int, size);
    QFETCH(int, packets);

    AircraftEngine aircraft;
    aircraft.setTelemetryRate(0);
    Wire wire(aircraft);
    QSignalSpy received(&aircraft, &AircraftEngine::firmwareReceived);
    const QByteArray img = image(size, module);

    QCOMPARE(wire.ask(0xD2)[0].payload, fromHex("00"));
    QByteArray mv;
    mv.append(char(module));
    mv.append(char(4));
    mv.append(char(7));
    QCOMPARE(wire.ask(0xD3, mv)[0].payload, fromHex("00"));
    QCOMPARE(wire.ask(0xD4, le32(quint32(size)))[0].payload, fromHex("00"));
    for (int k = 0; k < packets; ++k) {
        const QList<AirFrame> r = wire.ask(0xD5, packet(k + 1, img.mid(k * 242, 242)));
        QCOMPARE(r.size(), 1);
        // status, then the packet number little-endian
        QCOMPARE(r[0].payload, packet(k + 1, fromHex("")).prepend('\0'));
    }
    QCOMPARE(wire.ask(0xD6)[0].payload, fromHex("00"));

    QCOMPARE(received.size(), 1);
    QCOMPARE(received[0][0].toInt(), module);
    QCOMPARE(received[0][1].toLongLong(), qint64(size));
    QCOMPARE(received[0][2].toByteArray(), QCryptographicHash::hash(img, QCryptographicHash::Sha256));
    QCOMPARE(received[0][3].toBool(), true);
    QCOMPARE(aircraft.lastFirmware().image, img);
    QByteArray expectedVersion;
    expectedVersion.append(char(module));
    expectedVersion.append(char(4));
    expectedVersion.append(char(7));
    QCOMPARE(wire.ask(0x10, QByteArray(1, char(module)))[0].payload, expectedVersion);
}

void tst_FirmwareReceiver::resentAndReorderedChunks()
{
    AircraftEngine aircraft;
    Wire wire(aircraft);
    const QByteArray img = image(1000, 3);
    wire.ask(0xD2);
    wire.ask(0xD3, fromHex("01 01 05"));
    wire.ask(0xD4, le32(1000));
    for (int k : {0, 2, 1, 1, 4, 3, 0}) // a lost answer makes the host send a chunk again
        wire.ask(0xD5, packet(k + 1, img.mid(k * 242, 242)));
    QCOMPARE(wire.ask(0xD6)[0].payload, fromHex("00"));
    QCOMPARE(aircraft.lastFirmware().image, img);
    QVERIFY(aircraft.lastFirmware().complete);
}

void tst_FirmwareReceiver::missingChunkIsReported()
{
    AircraftEngine aircraft;
    Wire wire(aircraft);
    QSignalSpy received(&aircraft, &AircraftEngine::firmwareReceived);
    const QByteArray img = image(800, 5);
    wire.ask(0xD2);
    wire.ask(0xD3, fromHex("00 03 0C"));
    wire.ask(0xD4, le32(800));
    for (int k : {0, 1, 3})
        wire.ask(0xD5, packet(k + 1, img.mid(k * 242, 242)));
    QCOMPARE(wire.ask(0xD6)[0].payload, fromHex("01"));
    QCOMPARE(received.size(), 1);
    QCOMPARE(received[0][3].toBool(), false);
    QCOMPARE(wire.ask(0x10, fromHex("00"))[0].payload, fromHex("00 03 0B")); // unchanged
}

void tst_FirmwareReceiver::chunkBeyondTheSizeIsRefused()
{
    AircraftEngine aircraft;
    Wire wire(aircraft);
    wire.ask(0xD2);
    wire.ask(0xD4, le32(300));
    QCOMPARE(wire.ask(0xD5, packet(3, fromHex("AA")))[0].payload, fromHex("01 0300"));
    QCOMPARE(wire.ask(0xD5, packet(0, fromHex("AA")))[0].payload, fromHex("01 0000"));
    QCOMPARE(wire.ask(0xD5, packet(2, fromHex("AA")))[0].payload, fromHex("00 0200"));
    QCOMPARE(wire.ask(0xD3, fromHex("0A 01 00"))[0].payload, fromHex("01")); // no module 10
}

void tst_FirmwareReceiver::resentDoneAnswersAgainWithoutReporting()
{
    AircraftEngine aircraft;
    Wire wire(aircraft);
    QSignalSpy received(&aircraft, &AircraftEngine::firmwareReceived);
    wire.ask(0xD2);
    wire.ask(0xD3, fromHex("02 02 06"));
    wire.ask(0xD4, le32(10));
    wire.ask(0xD5, packet(1, image(10, 1)));
    QCOMPARE(wire.ask(0xD6)[0].payload, fromHex("00"));
    QCOMPARE(wire.ask(0xD6)[0].payload, fromHex("00"));
    QCOMPARE(received.size(), 1);
}

void tst_FirmwareReceiver::systemReset()
{
    AircraftEngine aircraft;
    Wire wire(aircraft);
    QCOMPARE(wire.ask(0xD1, fromHex("01"))[0].payload, fromHex("01 00")); // status in byte 9
}

QTEST_GUILESS_MAIN(tst_FirmwareReceiver)
#include "tst_firmwarereceiver.moc"
