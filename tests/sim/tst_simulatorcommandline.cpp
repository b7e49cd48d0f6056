#include "sim/AircraftEngine.h"
#include "sim/SimulatedServices.h"
#include "sim/SimulatorCommandLine.h"

#include <QTest>

class tst_SimulatorCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void valid_data();
    void valid();
    void invalid_data();
    void invalid();
    void applyReachesTheObjects();
};

void tst_SimulatorCommandLine::defaults()
{
    SimulatorCommandLine cl;
    QVERIFY(cl.parse({"r7-fcsim"}));
    const auto &c = cl.config();
    QCOMPARE(c.log, false);
    QCOMPARE(c.telemetryHz, 10.0);
    QCOMPARE(c.plan.recordCount, 12);
    QCOMPARE(c.httpPort, quint16(0));
    QCOMPARE(c.softwareVersion, QStringLiteral("1.55"));
    QVERIFY(!c.silent && c.silentAfterMs < 0 && c.ignore.isEmpty() && c.corruptEvery == 0);
    QCOMPARE(c.syncPairs.record, 0);
    QCOMPARE(c.stormRate, 0);
    QVERIFY(c.httpFaults.isEmpty());
}

void tst_SimulatorCommandLine::valid_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("check");
    QTest::newRow("log") << QStringList{"--log"} << "log";
    QTest::newRow("rate") << QStringList{"--rate", "2.5"} << "rate";
    QTest::newRow("records and blocks") << QStringList{"--records", "5", "--blocks", "2:4"} << "records";
    QTest::newRow("silent after") << QStringList{"--silent-after", "1.5"} << "silentAfter";
    QTest::newRow("ignore, hex and decimal") << QStringList{"--ignore", "0x02:3", "--ignore", "229:11"} << "ignore";
    QTest::newRow("black-box sync pairs") << QStringList{"--bb-sync", "10:1,3:2"} << "sync";
    QTest::newRow("black-box sync pairs, defaults") << QStringList{"--bb-sync", "9"} << "syncDefault";
    QTest::newRow("http faults") << QStringList{"--http-fault", "images=truncated", "--http-fault", "software=slow"} << "http";
    QTest::newRow("unplug and replug") << QStringList{"--unplug-after", "4", "--replug-after", "2"} << "unplug";
}

void tst_SimulatorCommandLine::valid()
{
    QFETCH(QStringList, args);
    QFETCH(QString, check);
    SimulatorCommandLine cl;
    QVERIFY2(cl.parse(QStringList{"r7-fcsim"} + args), qPrintable(cl.errorText()));
    const auto &c = cl.config();
    if (check == "log")
        QVERIFY(c.log);
    else if (check == "rate")
        QCOMPARE(c.telemetryHz, 2.5);
    else if (check == "records")
        QVERIFY(c.plan.recordCount == 5 && c.plan.minBlocks == 2 && c.plan.maxBlocks == 4);
    else if (check == "silentAfter")
        QCOMPARE(c.silentAfterMs, 1500);
    else if (check == "ignore")
        QVERIFY((c.ignore == QList<QPair<quint8, int>>{{0x02, 3}, {0xE5, 11}}));
    else if (check == "sync")
        QVERIFY(c.syncPairs.record == 10 && c.syncPairs.dataChunks == QSet<int>({1, 3})
                && c.syncPairs.crcChunks == QSet<int>{2});
    else if (check == "syncDefault")
        QVERIFY(c.syncPairs.record == 9 && c.syncPairs.dataChunks == QSet<int>{1}
                && c.syncPairs.crcChunks == QSet<int>{2});
    else if (check == "http")
        QVERIFY(c.httpFaults.size() == 2 && c.httpFaults[0].first == SimulatedServices::Endpoint::Images
                && c.httpFaults[0].second == SimulatedServices::Fault::Truncated
                && c.httpFaults[1].second == SimulatedServices::Fault::Slow);
    else if (check == "unplug")
        QVERIFY(c.unplugAfterMs == 4000 && c.replugAfterMs == 2000);
    else
        QFAIL("unknown check");
}

void tst_SimulatorCommandLine::invalid_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("unknown option") << QStringList{"--fly"};
    QTest::newRow("negative rate") << QStringList{"--rate", "-1"};
    QTest::newRow("blocks upside down") << QStringList{"--blocks", "9:3"};
    QTest::newRow("ignore without count") << QStringList{"--ignore", "0x02"};
    QTest::newRow("ignore type too big") << QStringList{"--ignore", "0x1FF:1"};
    QTest::newRow("corrupt every zero") << QStringList{"--corrupt-every", "0"};
    QTest::newRow("sync pair record zero") << QStringList{"--bb-sync", "0"};
    QTest::newRow("http fault unknown") << QStringList{"--http-fault", "images=lost"};
    QTest::newRow("http endpoint unknown") << QStringList{"--http-fault", "mail=error"};
    QTest::newRow("port out of range") << QStringList{"--http-port", "70000"};
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
    QVERIFY(cl.parse({"r7-fcsim", "--rate", "0", "--records", "4", "--ignore", "0x09:2", "--software-version",
                      "1.70", "--http-fault", "catalogue=error", "--slow-ms", "50", "--silent"}));
    AircraftEngine aircraft;
    SimulatedServices services;
    cl.apply(aircraft, services);
    QCOMPARE(aircraft.telemetryRate(), 0.0);
    QCOMPARE(aircraft.flightRecords().size(), 4);
    QCOMPARE(aircraft.ignoreRemaining(0x09), 2);
    QVERIFY(aircraft.isSilent());
    QCOMPARE(services.softwareVersion(), QStringLiteral("1.70"));
    QCOMPARE(services.fault(SimulatedServices::Endpoint::Catalogue), SimulatedServices::Fault::ServerError);
    QCOMPARE(services.slowDelay(), 50);
}

QTEST_GUILESS_MAIN(tst_SimulatorCommandLine)
#include "tst_simulatorcommandline.moc"
