#include "SimTestSupport.h"
#include "sim/AircraftEngine.h"

#include <QCryptographicHash>
#include <QSignalSpy>
#include <QTest>

#include <numeric>

using namespace simtest;

namespace {
QByteArray image(int size, int seed)
{
    QByteArray b(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 31 + seed * 7 + (i >> 8)) & 0xFF);
    return b;
}

QByteArray le(quint32 v, int bytes)
{
    const quint32 little = qToLittleEndian(v);
    return QByteArray(reinterpret_cast<const char *>(&little), bytes);
}

QList<int> inOrder(int count)
{
    QList<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    return order;
}
} // namespace

class tst_FirmwareReceiver : public QObject
{
    Q_OBJECT

private slots:
    void transfer_data();
    void transfer();
    void chunkBeyondTheSizeIsRefused();
};

void tst_FirmwareReceiver::transfer_data()
{
    QTest::addColumn<int>("module");
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<int>>("chunks"); // indexes of the 242-byte chunks, in sending order
    QTest::addColumn<bool>("complete");
    QTest::newRow("485 bytes, last chunk of one byte") << 0 << 485 << inOrder(3) << true;
    QTest::newRow("484 bytes, two full chunks") << 2 << 484 << inOrder(2) << true;
    QTest::newRow("empty image") << 6 << 0 << QList<int>() << true;
    QTest::newRow("300 KiB") << 9 << 300 * 1024 << inOrder(1270) << true;
    // A lost answer makes the host send a chunk again.
    QTest::newRow("resent and reordered") << 1 << 1000 << QList<int>{0, 2, 1, 1, 4, 3, 0} << true;
    QTest::newRow("missing chunk") << 0 << 800 << QList<int>{0, 1, 3} << false;
}

void tst_FirmwareReceiver::transfer()
{
    QFETCH(int, module);
    QFETCH(int, size);
    QFETCH(QList<int>, chunks);
    QFETCH(bool, complete);

    AircraftEngine aircraft;
    Wire wire(aircraft);
    QSignalSpy received(&aircraft, &AircraftEngine::firmwareReceived);
    const QByteArray img = image(size, module);
    const QByteArray version = QByteArray(1, char(module)) + fromHex("0407");
    const QByteArray versionBefore = wire.ask(0x10, version.left(1))[0].payload;

    QCOMPARE(wire.ask(0xD2)[0].payload, fromHex("00"));
    QCOMPARE(wire.ask(0xD3, version)[0].payload, fromHex("00"));
    QCOMPARE(wire.ask(0xD4, le(quint32(size), 4))[0].payload, fromHex("00"));
    for (int k : chunks) {
        const QList<AirFrame> r = wire.ask(0xD5, le(quint32(k + 1), 2) + img.mid(k * 242, 242));
        QCOMPARE(r.value(0).payload, fromHex("00") + le(quint32(k + 1), 2)); // status, number
    }
    // A resent 0xD6 is answered again but reported only once.
    for (int i = 0; i < 2; ++i)
        QCOMPARE(wire.ask(0xD6)[0].payload, complete ? fromHex("00") : fromHex("01"));

    QCOMPARE(received.size(), 1);
    QCOMPARE(received[0][0].toInt(), module);
    QCOMPARE(received[0][3].toBool(), complete);
    if (complete) {
        QCOMPARE(received[0][1].toLongLong(), qint64(size));
        QCOMPARE(received[0][2].toByteArray(),
                 QCryptographicHash::hash(img, QCryptographicHash::Sha256));
        QCOMPARE(aircraft.lastFirmware().image, img);
    }
    QCOMPARE(wire.ask(0x10, version.left(1))[0].payload, complete ? version : versionBefore);
}

void tst_FirmwareReceiver::chunkBeyondTheSizeIsRefused()
{
    AircraftEngine aircraft;
    Wire wire(aircraft);
    wire.ask(0xD2);
    wire.ask(0xD4, le(300, 4));
    QCOMPARE(wire.ask(0xD5, fromHex("0300 AA"))[0].payload, fromHex("01 0300"));
    QCOMPARE(wire.ask(0xD5, fromHex("0000 AA"))[0].payload, fromHex("01 0000"));
    QCOMPARE(wire.ask(0xD5, fromHex("0200 AA"))[0].payload, fromHex("00 0200"));
    QCOMPARE(wire.ask(0xD3, fromHex("0A 01 00"))[0].payload, fromHex("01")); // no module 10
}

QTEST_GUILESS_MAIN(tst_FirmwareReceiver)
#include "tst_firmwarereceiver.moc"
