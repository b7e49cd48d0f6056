#include "E2eRig.h"
#include "sim/TelemetryGenerator.h"

#include <QTest>

using namespace e2e;

namespace {
struct WriteRow
{
    const char *name;
    uint8_t command;
    std::function<void(AircraftParams &)> set;
    std::function<void(SerialLink &)> send;
    std::function<void(AircraftParams &)> clear;
    std::function<void(SerialLink &)> request;
    std::function<bool(const AircraftParams &)> changed;
    QString readText; // the reply's text where it names an id; null: any
};

const QList<WriteRow> &writeRows()
{
    static const QList<WriteRow> rows = {
        {"frame type", 0x02, [](AircraftParams &p) { p.Uav_Type = 5; },
         [](SerialLink &l) { l.sendUav_UavType(); }, [](AircraftParams &p) { p.Uav_Type = 0; },
         [](SerialLink &l) { l.requestUav_UavType(); }, [](const AircraftParams &p) { return p.Uav_Type == 5; },
         QString()},
        {"receiver", 0x04, [](AircraftParams &p) { p.Contrl_type = 2; },
         [](SerialLink &l) { l.sendUav_ReceiveType(); }, [](AircraftParams &p) { p.Contrl_type = 0; },
         [](SerialLink &l) { l.requestUav_ReceiveType(); }, [](const AircraftParams &p) { return p.Contrl_type == 2; },
         QString()},
        {"channel reverse", 0x06, [](AircraftParams &p) { p.Contrl_Rec = 0x05; },
         [](SerialLink &l) { l.sendUav_RemoteChannelReverse(); }, [](AircraftParams &p) { p.Contrl_Rec = 0; },
         [](SerialLink &l) { l.requestUav_RemoteChannelReverse(); }, [](const AircraftParams &p) { return p.Contrl_Rec == 0x05; },
         QString()},
        {"wheelbase", 0x09, [](AircraftParams &p) { p.Uav_wid = 2; },
         [](SerialLink &l) { l.sendUav_MotorWheelbase(); }, [](AircraftParams &p) { p.Uav_wid = 0; },
         [](SerialLink &l) { l.requestUav_MotorWheelbase(); }, [](const AircraftParams &p) { return p.Uav_wid == 2; },
         QString()},
        {"gains", 0x0A,
         [](AircraftParams &p) { p.sensRateP = 150; p.sensRateD = 120; p.altRateP = 80; },
         [](SerialLink &l) { l.sendUav_InductionDegrees(); },
         [](AircraftParams &p) { p.sensRateP = 0; p.sensRateD = 0; p.altRateP = 0; },
         [](SerialLink &l) { l.requestUav_InductionDegrees(); },
         [](const AircraftParams &p) { return p.sensRateP == 150 && p.sensRateD == 120 && p.altRateP == 80; },
         QString()},
        {"low-voltage protection", 0x0C,
         [](AircraftParams &p) { p.LV1 = 1100; p.LV2 = 1050; p.SP_S = 2; },
         [](SerialLink &l) { l.sendUav_LowVoltageProtection(); },
         [](AircraftParams &p) { p.LV1 = 0; p.LV2 = 0; p.SP_S = 0; },
         [](SerialLink &l) { l.requestUav_LowVoltageProtection(); },
         [](const AircraftParams &p) { return p.LV1 == 1100 && p.LV2 == 1050 && p.SP_S == 2; },
         QString()},
        {"motor idle", 0x08, [](AircraftParams &p) { p.M_CCR0 = 4; },
         [](SerialLink &l) { l.sendUav_MotorIdle(); }, [](AircraftParams &p) { p.M_CCR0 = 0; },
         [](SerialLink &l) { l.requestUav_MotorIdle(); }, [](const AircraftParams &p) { return p.M_CCR0 == 4; },
         QString()},
        {"GPS position", 0x03, [](AircraftParams &p) { p.gpsPosX = 5; p.gpsPosY = -5; },
         [](SerialLink &l) { l.sendUav_GpsSetup(); }, [](AircraftParams &p) { p.gpsPosX = 0; p.gpsPosY = 0; },
         [](SerialLink &l) { l.requestUav_GpsSetup(); },
         [](const AircraftParams &p) { return p.gpsPosX == 5 && p.gpsPosY == -5; },
         QString()},
        {"return height", 0x12, [](AircraftParams &p) { p.returnHeight = 25; },
         [](SerialLink &l) { l.sendUav_ReturnHeight(); }, [](AircraftParams &p) { p.returnHeight = 0; },
         [](SerialLink &l) { l.requestUav_ReturnHeight(); }, [](const AircraftParams &p) { return p.returnHeight == 25; },
         QString()},
        {"spray width", 0x17, [](AircraftParams &p) { p.sprayWidth = 330; },
         [](SerialLink &l) { l.sendUav_SetSprayWidth(); }, [](AircraftParams &p) { p.sprayWidth = 0; },
         [](SerialLink &l) { l.requestUav_SetSprayWidth(); }, [](const AircraftParams &p) { return p.sprayWidth == 330; },
         QString()},
        {"work speed", 0x18, [](AircraftParams &p) { p.workSpeed = 720; },
         [](SerialLink &l) { l.sendUav_SetWorkSpeed(); }, [](AircraftParams &p) { p.workSpeed = 0; },
         [](SerialLink &l) { l.requestUav_SetWorkSpeed(); }, [](const AircraftParams &p) { return p.workSpeed == 720; },
         QString()},
        {"spray pump speed", 0x19, [](AircraftParams &p) { p.pumpSpeed = 80; },
         [](SerialLink &l) { l.sendUav_SpraySpeed(); }, [](AircraftParams &p) { p.pumpSpeed = 0; },
         [](SerialLink &l) { l.requestUav_SpraySpeed(); }, [](const AircraftParams &p) { return p.pumpSpeed == 80; },
         QString()},
        {"radar switch off", 0x1B, [](AircraftParams &) {},
         [](SerialLink &l) { l.sendUav_ExternelSwitch(2, 0); }, [](AircraftParams &p) { p.extSwitch2 = 1; },
         [](SerialLink &l) { l.requestUav_ExternelSwitch(2); }, [](const AircraftParams &p) { return p.extSwitch2 == 0; },
         QStringLiteral("2")},
        {"maintenance cycle", 0x1C, [](AircraftParams &) {},
         [](SerialLink &l) { l.sendUav_MaintenanceTimer(4, 1000); }, [](AircraftParams &p) { p.maintCycle = 0; },
         [](SerialLink &l) { l.requestUav_MaintenanceTimer(4); }, [](const AircraftParams &p) { return p.maintCycle == 1000; },
         QStringLiteral("7")},
    };
    return rows;
}
} // namespace

// Hand-shake, the whole read-back, writes read back changed, telemetry: the program's real port
// and link against the simulated aircraft.
class tst_E2eSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void handshakeAndHeartbeat();
    void readEverySetting();
    void writeAndReadBack_data();
    void writeAndReadBack();
    void factoryResetRestoresWhatWasWritten();
    void telemetryFillsTheStore();
};

void tst_E2eSettings::initTestCase()
{
    quietLinkDebugOutput();
}

void tst_E2eSettings::handshakeAndHeartbeat()
{
    Rig rig;
    int heartbeats = 0;
    connect(&rig.aircraft, &AircraftEngine::frameReceived, &rig,
            [&heartbeats](quint8 type, int length, const QByteArray &) { heartbeats += type == 0xC1 && length == 1; });
    QVERIFY(rig.start());
    QCOMPARE(rig.handshakes, QList<bool>{true});
    QVERIFY(rig.aircraft.isConnected());
    QVERIFY(rig.link.isHandShaked());
    // The link keeps the connection with a heartbeat a second; the aircraft keeps streaming.
    QVERIFY(waitFor([&] { return heartbeats >= 2; }, 4000));
    QCOMPARE(rig.handshakes, QList<bool>{true});
}

void tst_E2eSettings::readEverySetting()
{
    Rig rig;
    QVERIFY(rig.start());
    AircraftParams &p = rig.params;
    SerialLink &l = rig.link;
    // The application's read-back, each step waiting for its answer instead of a fixed pause.
    QVERIFY(rig.exchange([&] { l.requestUav_UavType(); }, 0x02));
    QVERIFY(rig.exchange([&] { l.requestUav_ReceiveType(); }, 0x04));
    QVERIFY(rig.exchange([&] { l.requestUav_RemoteChannelReverse(); }, 0x06));
    QVERIFY(rig.exchange([&] { l.requestUav_MotorWheelbase(); }, 0x09));
    QVERIFY(rig.exchange([&] { l.requestUav_InductionDegrees(); }, 0x0A));
    QVERIFY(rig.exchange([&] { l.requestUav_LowVoltageProtection(); }, 0x0C));
    QVERIFY(rig.exchange([&] { l.requestUav_MotorIdle(); }, 0x08));
    for (int id = 0; id < 12; ++id)
        QVERIFY(rig.exchange([&] { l.requestUav_FirmwareVersion(char(id)); }, 0x10, QString::number(id)));
    QVERIFY(rig.exchange([&] { l.requestUav_ReturnHeight(); }, 0x12));
    QVERIFY(rig.exchange([&] { l.requestUav_GpsSetup(); }, 0x03));
    QVERIFY(rig.exchange([&] { l.requestUav_SpraySpeed(); }, 0x19));
    QVERIFY(rig.exchange([&] { l.requestUav_SmallSpraySpeed(); }, 0x19));
    QVERIFY(rig.exchange([&] { l.requestUav_SetSprayWidth(); }, 0x17));
    QVERIFY(rig.exchange([&] { l.requestUav_SetWorkSpeed(); }, 0x18));
    QVERIFY(rig.exchange([&] { l.requestUav_ExternelSwitch(1); }, 0x1B, QStringLiteral("1")));
    QVERIFY(rig.exchange([&] { l.requestUav_ExternelSwitch(2); }, 0x1B, QStringLiteral("2")));
    QVERIFY(rig.exchange([&] { l.requestUav_MaintenanceTimer(1); }, 0x1C, QStringLiteral("1")));
    QVERIFY(rig.exchange([&] { l.requestUav_MaintenanceTimer(2); }, 0x1C, QStringLiteral("2")));
    QVERIFY(rig.exchange([&] { l.requestUav_MaintenanceTimer(3); }, 0x1C, QStringLiteral("3")));
    QVERIFY(rig.exchange([&] { l.requestUav_MaintenanceTimer(4); }, 0x1C, QStringLiteral("7")));
    // And the two the read-back leaves out.
    QVERIFY(rig.exchange([&] { l.requestUav_RunawayProtection(); }, 0x0D));
    QVERIFY(rig.exchange([&] { l.requestUav_FlyingHeightLimit(); }, 0x11));

    QCOMPARE(int(p.Uav_Type), 1);   // quad X
    QCOMPARE(int(p.Contrl_type), 0); // SBUS
    QCOMPARE(int(p.Contrl_Rec), 0);
    QCOMPARE(int(p.Uav_wid), 4);
    QCOMPARE(int(p.sensRateP), 100);
    QCOMPARE(int(p.sensRateD), 100);
    QCOMPARE(int(p.altRateP), 100);
    QCOMPARE(int(p.LV1), 1080);
    QCOMPARE(int(p.LV2), 1060);
    QCOMPARE(int(p.SP_S), 1);
    QCOMPARE(int(p.M_CCR0), 2);
    QCOMPARE(int(p.moduleVersion[0].major), 3);
    QCOMPARE(int(p.moduleVersion[0].minor), 11);
    QCOMPARE(int(p.moduleVersion[3].major), 0); // LIU not fitted
    QCOMPARE(int(p.moduleVersion[9].major), 2);
    QCOMPARE(int(p.returnHeight), 20);
    QCOMPARE(int(p.gpsPosX), 0);
    QCOMPARE(int(p.pumpSpeed), 60);
    QCOMPARE(int(p.smallPumpSpeed), 20);
    QCOMPARE(int(p.sprayWidth), 400);
    QCOMPARE(int(p.workSpeed), 500);
    QCOMPARE(int(p.extSwitch1), 1);
    QCOMPARE(int(p.extSwitch2), 1);
    QCOMPARE(qint64(p.maintTimer1), 1320);
    QCOMPARE(qint64(p.maintTimer2), 1342);
    QVERIFY(p.maintTimer3 >= 2876);
    QCOMPARE(qint64(p.maintCycle), 1500);
    QCOMPARE(int(p.failsafeAction), 1);
    QCOMPARE(int(p.heightLimit), 1);
    QVERIFY(!rig.link.isResendActive());
}

void tst_E2eSettings::writeAndReadBack_data()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < writeRows().size(); ++i)
        QTest::newRow(writeRows()[i].name) << i;
}

void tst_E2eSettings::writeAndReadBack()
{
    QFETCH(int, row);
    const WriteRow &r = writeRows()[row];
    Rig rig;
    QVERIFY(rig.start());
    r.set(rig.params);
    QVERIFY(rig.exchange([&] { r.send(rig.link); }, r.command));
    QVERIFY(waitFor([&] { return !rig.link.isResendActive(); }, 1000));
    r.clear(rig.params);
    QVERIFY(!r.changed(rig.params));
    QVERIFY(rig.exchange([&] { r.request(rig.link); }, r.command, r.readText));
    QVERIFY(waitFor([&] { return r.changed(rig.params); }, 2000));
    QVERIFY(waitFor([&] { return !rig.link.isResendActive(); }, 1000));
}

void tst_E2eSettings::factoryResetRestoresWhatWasWritten()
{
    Rig rig;
    QVERIFY(rig.start());
    rig.params.Uav_wid = 1;
    QVERIFY(rig.exchange([&] { rig.link.sendUav_MotorWheelbase(); }, 0x09));
    QVERIFY(waitFor([&] { return !rig.link.isResendActive(); }, 1000));
    QVERIFY(rig.exchange([&] { rig.link.requestUav_RestoreFactorySettings(); }, 0x0F));
    QVERIFY(waitFor([&] { return !rig.link.isResendActive(); }, 1000));
    QVERIFY(rig.exchange([&] { rig.link.requestUav_MotorWheelbase(); }, 0x09));
    QVERIFY(waitFor([&] { return rig.params.Uav_wid == 4; }, 2000));
}

void tst_E2eSettings::telemetryFillsTheStore()
{
    Rig rig;
    rig.aircraft.setTelemetryRate(20);
    QVERIFY(rig.start());
    QVERIFY(waitFor([&] { return rig.telemetry43 >= 5; }, 3000));
    QVERIFY(waitFor([&] { return rig.findInfo(0x4B, 0) >= 0 && rig.findInfo(0x46, 0) >= 0; }, 3000));
    const AircraftParams &p = rig.params;
    QCOMPARE(int(p.warning_code), 0);
    QVERIFY(p.bat_volt >= 1100 && p.bat_volt <= 1260);
    QVERIFY(p.gps_num >= 12);
    QVERIFY(p.acc_z > 900);
    QVERIFY(p.probeHeight > 0);
    QCOMPARE(int(p.f_lat), int(TelemetryGenerator::kHomeLat));
}

QTEST_GUILESS_MAIN(tst_E2eSettings)
#include "tst_e2e_settings.moc"
