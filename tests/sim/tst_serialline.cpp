#include "sim/SerialLine.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The simulated wire: without a rate it passes bytes on at once; at 115200 baud a byte takes ten
// bit times each way, and the timing log names every frame.
class tst_SerialLine : public QObject
{
    Q_OBJECT

private slots:
    void withoutRateBytesPassAtOnce();
    void paced_data();
    void paced();
    void timingLogNamesEveryFrame();
};

namespace {
// A heartbeat reply (aircraft, 11 bytes) and a heartbeat (host, 13 bytes).
const QByteArray kReply = QByteArray::fromHex("eb90ffffffffc10100d604");
const QByteArray kHeartbeat = QByteArray::fromHex("eb90ffffffffc101ff9644515a");

QByteArray joined(const QSignalSpy &spy)
{
    QByteArray all;
    for (const QList<QVariant> &args : spy)
        all += args.at(0).toByteArray();
    return all;
}
} // namespace

void tst_SerialLine::withoutRateBytesPassAtOnce()
{
    SerialLine line;
    QSignalSpy toHost(&line, &SerialLine::writeToHost);
    QSignalSpy toAircraft(&line, &SerialLine::deliverToAircraft);
    line.toHost(kReply);
    line.fromHost(kHeartbeat);
    QCOMPARE(toHost.count(), 1);
    QCOMPARE(toAircraft.count(), 1);
    QCOMPARE(toHost.at(0).at(0).toByteArray(), kReply);
}

void tst_SerialLine::paced_data()
{
    QTest::addColumn<bool>("fromAircraft");
    QTest::addColumn<int>("bytes");
    QTest::newRow("a chunk to the aircraft") << false << 256;
    QTest::newRow("telemetry to the host") << true << 300;
}

void tst_SerialLine::paced()
{
    QFETCH(bool, fromAircraft);
    QFETCH(int, bytes);
    SerialLine line;
    line.setBaud(115200);
    QCOMPARE(line.byteTimeNs(), qint64(86805));
    QSignalSpy out(&line, fromAircraft ? &SerialLine::writeToHost : &SerialLine::deliverToAircraft);
    const QByteArray data(bytes, 'x');
    QElapsedTimer clock;
    clock.start();
    if (fromAircraft)
        line.toHost(data);
    else
        line.fromHost(data);
    QTRY_COMPARE_WITH_TIMEOUT(joined(out).size(), bytes, 5000);
    QCOMPARE(joined(out), data);
    // Never sooner than the line allows.
    QVERIFY(clock.nsecsElapsed() >= bytes * line.byteTimeNs());
    if (!fromAircraft)
        QCOMPARE(out.count(), 1); // the aircraft gets the frame when its last byte is in
}

void tst_SerialLine::timingLogNamesEveryFrame()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wire.log"));
    {
        SerialLine line;
        QVERIFY(line.setTimingLog(path));
        line.fromHost(kHeartbeat.left(5)); // a frame torn across two reads
        line.fromHost(kHeartbeat.mid(5));
        line.toHost(kReply + kReply);
    }
    QFile log(path);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().trimmed().split('\n');
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].startsWith("rx c1 13 "));
    QVERIFY(lines[1].startsWith("tx c1 11 "));
    QVERIFY(lines[2].startsWith("tx c1 11 "));
}

QTEST_GUILESS_MAIN(tst_SerialLine)
#include "tst_serialline.moc"
