#include "BlackBoxFetcher.h"
#include "E2eRig.h"

#include <QTest>

using namespace e2e;

// Each fault of the simulated aircraft, as the program's link sees it.
class tst_E2eFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void silenceDropsTheLink();
    void silentAfterAWhile();
    void ignoredRequestsAreResentUntilAnswered_data();
    void ignoredRequestsAreResentUntilAnswered();
    void corruptRepliesAreResent();
    void everyReplyCorruptMeansNoHandshake();
    void unplugOnePortErrorThenReplugAsNewDevice();
    void stormIsSurvived();
    void corruptBlackBoxRepliesAreResent();
};

void tst_E2eFaults::initTestCase()
{
    quietLinkDebugOutput();
}

void tst_E2eFaults::silenceDropsTheLink()
{
    Rig rig;
    QVERIFY(rig.start());
    rig.aircraft.setSilent(true);
    // Five seconds without a byte and the link gives up, once.
    QVERIFY(waitFor([&] { return !rig.connected(); }, 9000));
    QCOMPARE(rig.handshakes, (QList<bool>{true, false}));
    // The link keeps asking on the open port; the aircraft answers again once it may speak.
    rig.aircraft.setSilent(false);
    QVERIFY(waitFor([&] { return rig.connected(); }, 4000));
    QCOMPARE(rig.handshakes, (QList<bool>{true, false, true}));
}

void tst_E2eFaults::silentAfterAWhile()
{
    Rig rig;
    rig.aircraft.setSilentAfter(1500);
    QVERIFY(rig.start());
    QVERIFY(rig.exchange([&] { rig.link.requestUav_MotorWheelbase(); }, 0x09));
    QVERIFY(waitFor([&] { return rig.aircraft.isSilent(); }, 4000));
    QVERIFY(waitFor([&] { return !rig.connected(); }, 9000));
    QCOMPARE(rig.handshakes, (QList<bool>{true, false}));
}

void tst_E2eFaults::ignoredRequestsAreResentUntilAnswered_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("count");
    QTest::newRow("frame type read ignored 3 times") << 0x02 << 3;
    QTest::newRow("firmware version ignored once") << 0x10 << 1;
}

void tst_E2eFaults::ignoredRequestsAreResentUntilAnswered()
{
    QFETCH(int, type);
    QFETCH(int, count);
    Rig rig;
    QVERIFY(rig.start());
    int requests = 0;
    connect(&rig.aircraft, &AircraftEngine::frameReceived, &rig,
            [&](quint8 t, int, const QByteArray &) { requests += t == type; });
    rig.aircraft.setIgnoreFirst(quint8(type), count);
    QVERIFY(rig.exchange([&] {
        if (type == 0x02)
            rig.link.requestUav_UavType();
        else
            rig.link.requestUav_FirmwareVersion(0);
    }, quint8(type), QString(), 5000));
    QCOMPARE(requests, count + 1);
    QVERIFY(waitFor([&] { return !rig.link.isResendActive(); }, 1000));
}

void tst_E2eFaults::corruptRepliesAreResent()
{
    Rig rig;
    rig.aircraft.setTelemetryRate(0);
    QVERIFY(rig.start());
    int requests = 0;
    connect(&rig.aircraft, &AircraftEngine::frameReceived, &rig,
            [&](quint8 t, int, const QByteArray &) { requests += t == 0x09; });
    rig.aircraft.setCorruptCrcEvery(2);
    // Heartbeat answers count too; whichever replies are hit, the link resends until one is good.
    for (int i = 0; i < 4; ++i) {
        QVERIFY(rig.exchange([&] { rig.link.requestUav_MotorWheelbase(); }, 0x09, QString(), 3000));
        QVERIFY(waitFor([&] { return !rig.link.isResendActive(); }, 1000));
    }
    QVERIFY(requests > 4);
    QCOMPARE(int(rig.params.Uav_wid), 4);
}

void tst_E2eFaults::everyReplyCorruptMeansNoHandshake()
{
    Rig rig;
    QVERIFY(rig.aircraft.start());
    rig.aircraft.setCorruptCrcEvery(1);
    QVERIFY(!rig.openAndHandshake(2500));
    QVERIFY(rig.handshakes.isEmpty());
    QVERIFY(rig.aircraft.isConnected()); // the aircraft did hear the connect frames
    rig.aircraft.setCorruptCrcEvery(0);
    QVERIFY(waitFor([&] { return rig.connected(); }, 3000));
}

void tst_E2eFaults::unplugOnePortErrorThenReplugAsNewDevice()
{
    Rig rig;
    QVERIFY(rig.start());
    const QString first = rig.aircraft.slavePath();
    rig.aircraft.unplug();
    QVERIFY(waitFor([&] { return !rig.connected(); }, 3000));
    QTest::qWait(300);
    QCOMPARE(rig.portErrors, 1); // one error, not a flood
    QCOMPARE(rig.handshakes, (QList<bool>{true, false}));

    QVERIFY(rig.aircraft.plugIn());
    QVERIFY(rig.aircraft.slavePath() != first);
    QVERIFY(rig.openAndHandshake());
    QCOMPARE(rig.handshakes, (QList<bool>{true, false, true}));
    QVERIFY(rig.exchange([&] { rig.link.requestUav_MotorWheelbase(); }, 0x09));
}

void tst_E2eFaults::stormIsSurvived()
{
    Rig rig;
    QVERIFY(rig.start());
    rig.aircraft.setStormSeed(11);
    rig.aircraft.setStormRate(1000);
    const int before = int(rig.infos.size());
    QTest::qWait(2000);
    rig.aircraft.setStormRate(0);
    QVERIFY(rig.infos.size() - before > 200); // random frames reached the handlers
    rig.link.setContinuous(false);            // random black-box and firmware replies may set it
    QTest::qWait(300);
    // Still connected, and still answering properly.
    QVERIFY(rig.link.isHandShaked() || waitFor([&] { return rig.connected(); }, 4000));
    QVERIFY(rig.exchange([&] { rig.link.requestUav_MotorWheelbase(); }, 0x09, QString(), 3000));
    QVERIFY(waitFor([&] { return rig.params.Uav_wid == 4; }, 2000));
}

// Every third answer leaves with a bad CRC during a black-box download: each is asked again, and
// the records arrive whole and byte-exact (the firmware transfer: tst_e2e_firmware).
void tst_E2eFaults::corruptBlackBoxRepliesAreResent()
{
    Rig rig;
    rig.aircraft.setTelemetryRate(0);
    BlackBoxPlan plan; // record 1 has an odd chunk count
    plan.recordCount = 2;
    plan.minBlocks = plan.maxBlocks = 6;
    rig.aircraft.setBlackBoxPlan(plan);
    QVERIFY(rig.start());
    int requests = 0;
    connect(&rig.aircraft, &AircraftEngine::frameReceived, &rig,
            [&](quint8 t, int, const QByteArray &) { requests += t == 0xE5; });
    rig.aircraft.setCorruptCrcEvery(3);
    BlackBoxFetcher fetch(rig.link, rig.blackBox);
    fetch.start();
    QVERIFY(waitFor([&] { return fetch.done; }, 60000));
    fetch.close();
    int chunks = 0;
    for (int n : {1, 2}) {
        const QByteArray &served = rig.aircraft.flightRecords()[n - 1].bytes;
        chunks += int(served.size() / 128);
        QVERIFY(fetch.emptyChunks.value(n).isEmpty());
        QCOMPARE(fetch.records.value(n).toHex(), served.left(served.size() / 128 * 128).toHex());
    }
    QVERIFY2(requests > chunks, qPrintable(QStringLiteral("%1 of %2").arg(requests).arg(chunks)));
}

QTEST_GUILESS_MAIN(tst_E2eFaults)
#include "tst_e2e_faults.moc"
