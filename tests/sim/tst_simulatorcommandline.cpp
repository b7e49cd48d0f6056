#include "sim/AircraftEngine.h"
#include "sim/SimulatedServices.h"
#include "sim/SimulatorCommandLine.h"

#include <QTest>

class tst_SimulatorCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void valid();
    void invalid_data();
    void invalid();
    void applyReachesTheObjects();
};

void tst_SimulatorCommandLine::valid()
{
    const QString args = "r7-fcsim --log --rate 2.5 --records 5 --blocks 2:4 --silent-after 1.5"
                         " --ignore 0x02:3 --ignore 229:11 --bb-sync 10:1,3:2:4,5 --split-final-zero"
                         " --http-fault images=truncated --http-fault software=slow"
                         " --unplug-after 4 --replug-after 2 --bb-cut 12:20:2.5 --baud 115200 --timing-log wire.log";
    SimulatorCommandLine cl;
    QVERIFY2(cl.parse(args.split(' ')), qPrintable(cl.errorText()));
    const SimulatorCommandLine::Config &c = cl.config();
    QVERIFY(c.log);
    QCOMPARE(c.telemetryHz, 2.5);
    QVERIFY(c.plan.recordCount == 5 && c.plan.minBlocks == 2 && c.plan.maxBlocks == 4);
    QCOMPARE(c.silentAfterMs, 1500);
    QVERIFY((c.ignore == QList<QPair<quint8, int>>{{0x02, 3}, {0xE5, 11}}));
    QCOMPARE(c.syncPairs.record, 10);
    QCOMPARE(c.syncPairs.dataChunks, QSet<int>({1, 3}));
    QCOMPARE(c.syncPairs.crcChunks, QSet<int>{2});
    QCOMPARE(c.syncPairs.zeroCrcHighChunks, QSet<int>({4, 5}));
    QVERIFY(c.splitFinalZero);
    QCOMPARE(c.baud, 115200);
    QCOMPARE(c.timingLog, QStringLiteral("wire.log"));
    using S = SimulatedServices;
    const QList<QPair<S::Endpoint, S::Fault>> httpFaults = {
        {S::Endpoint::Images, S::Fault::Truncated}, {S::Endpoint::SoftwareVersion, S::Fault::Slow}};
    QVERIFY(c.httpFaults == httpFaults);
    QVERIFY(c.unplugAfterMs == 4000 && c.replugAfterMs == 2000);
    QVERIFY(c.cutRecord == 12 && c.cutChunk == 20 && c.cutSilenceMs == 2500);

    // A record alone puts the pair in the data of chunk 1 and the CRC of chunk 2.
    SimulatorCommandLine recordOnly;
    QVERIFY(recordOnly.parse({"r7-fcsim", "--bb-sync", "9"}));
    QCOMPARE(recordOnly.config().syncPairs.record, 9);
    QCOMPARE(recordOnly.config().syncPairs.dataChunks, QSet<int>{1});
    QCOMPARE(recordOnly.config().syncPairs.crcChunks, QSet<int>{2});
}

void tst_SimulatorCommandLine::invalid_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("unknown option") << QStringList{"--fly"};
    QTest::newRow("negative rate") << QStringList{"--rate", "-1"};
    QTest::newRow("negative baud") << QStringList{"--baud", "-9600"};
    QTest::newRow("blocks upside down") << QStringList{"--blocks", "9:3"};
    QTest::newRow("ignore without count") << QStringList{"--ignore", "0x02"};
    QTest::newRow("ignore type too big") << QStringList{"--ignore", "0x1FF:1"};
    QTest::newRow("corrupt every zero") << QStringList{"--corrupt-every", "0"};
    QTest::newRow("sync pair record zero") << QStringList{"--bb-sync", "0"};
    QTest::newRow("cut without chunk") << QStringList{"--bb-cut", "12"};
    QTest::newRow("http fault unknown") << QStringList{"--http-fault", "images=lost"};
    QTest::newRow("http endpoint unknown") << QStringList{"--http-fault", "mail=error"};
    QTest::newRow("port out of range") << QStringList{"--http-port", "70000"};
    QTest::newRow("certificate without key")
        << QStringList{"--tls-cert", QFINDTESTDATA("../support/data/untrusted-cert.pem")};
    QTest::newRow("certificate unreadable")
        << QStringList{"--tls-cert", "/nonexistent", "--tls-key", "/nonexistent"};
}

void tst_SimulatorCommandLine::invalid()
{
    QFETCH(QStringList, args);
    SimulatorCommandLine cl;
    QVERIFY(!cl.parse(QStringList{"r7-fcsim"} + args));
    QVERIFY(!cl.errorText().isEmpty());
}

void tst_SimulatorCommandLine::applyReachesTheObjects()
{
    SimulatorCommandLine cl;
    const QString args = "r7-fcsim --rate 0 --records 4 --ignore 0x09:2 --software-version 1.70"
                         " --http-fault catalogue=error --slow-ms 50 --silent";
    QVERIFY(cl.parse(args.split(' ')));
    AircraftEngine aircraft;
    SimulatedServices services;
    cl.apply(aircraft, services);
    QCOMPARE(aircraft.telemetryRate(), 0.0);
    QCOMPARE(aircraft.flightRecords().size(), 4);
    QCOMPARE(aircraft.ignoreRemaining(0x09), 2);
    QVERIFY(aircraft.isSilent());
    QCOMPARE(services.softwareVersion(), QStringLiteral("1.70"));
    QCOMPARE(services.fault(SimulatedServices::Endpoint::Catalogue),
             SimulatedServices::Fault::ServerError);
    QCOMPARE(services.slowDelay(), 50);

    SimulatorCommandLine tls;
    QVERIFY(tls.parse({"r7-fcsim",
                       "--tls-cert",
                       QFINDTESTDATA("../support/data/untrusted-cert.pem"),
                       "--tls-key",
                       QFINDTESTDATA("../support/data/untrusted-key.pem")}));
    tls.apply(aircraft, services);
    QVERIFY(services.start());
    QCOMPARE(services.baseUrl().scheme(), QStringLiteral("https"));
}

QTEST_GUILESS_MAIN(tst_SimulatorCommandLine)
#include "tst_simulatorcommandline.moc"
