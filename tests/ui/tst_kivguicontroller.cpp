// The controller between pages and link: guarded setters, store encodings, and the routing of
// every reply notification to the pages.
#include "app/AircraftParams.h"
#include "app/KivGuiController.h"
#include "app/LinkConnected.h"
#include "ui/KivMainWindow.h"
#include "ui/KivSettingWgt.h"
#include "ui/KivToolsWgt.h"
#include "ui/LumActaPhytophySin.h"
#include "ui/SubPageRecord.h"

#include "widgets/KivChannelBar.h"
#include "widgets/KivSwitch.h"

#include <QAbstractButton>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>

#include <functional>

using Setter = std::function<void(KivGuiController &)>;
using StoreCheck = std::function<bool(const AircraftParams &)>;
Q_DECLARE_METATYPE(Setter)
Q_DECLARE_METATYPE(StoreCheck)

template<typename T>
T *page(const char *name)
{
    // The window is never shown here: its hidden sub-pages are built when asked for, and then
    // show what the controller sent them before.
    KivSettingWgt *settings = mainWindow->settingsPage();
    settings->ensureSubPagesBuilt();
    return settings->findChild<T *>(QLatin1String(name));
}

class tst_KivGuiController : public QObject
{
    Q_OBJECT

    AircraftParams &p = aircraftParams();

    static void clearStore()
    {
        AircraftParams &p = aircraftParams();
        p.Uav_Type = 0; p.Contrl_type = 0; p.Contrl_Rec = 0; p.Uav_wid = 0; p.SP_S = 0;
        p.sensRateP = 0; p.sensRateD = 0; p.altRateP = 0; p.LV1 = 0; p.LV2 = 0; p.voltCalib = 0;
        p.batteryCells = 0; p.bat_volt = 0; p.returnHeight = 0; p.gpsPosX = 0; p.gpsPosY = 0;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        guiController = new KivGuiController(this);
        mainWindow = new KivMainWindow;
    }
    void cleanupTestCase()
    {
        delete mainWindow;
    }
    void init()
    {
        clearStore();
        linkConnected = 0;
    }

    void setters_data()
    {
        QTest::addColumn<Setter>("setter");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QByteArray>("signal");     // empty: nothing emitted
        QTest::addColumn<StoreCheck>("check");
        QTest::addColumn<int>("blueLamp");           // -1 untouched, 0 off, 1 on
        auto row = [](const char *name, Setter s, bool connected, const char *signal, StoreCheck c, int lamp) {
            QTest::newRow(name) << s << connected << QByteArray(signal) << c << lamp;
        };
        using C = KivGuiController;
        using P = AircraftParams;
        row("frame type", [](C &c) { c.setFrameType(4, 2); }, true, "send_JX", [](const P &p) { return p.Uav_Type == 10; }, 0);
        row("frame type offline", [](C &c) { c.setFrameType(4, 2); }, false, "", [](const P &p) { return p.Uav_Type == 0; }, -1);
        row("receiver", [](C &c) { c.setReceiverType(1); }, true, "send_JSJ", [](const P &p) { return p.Contrl_type == 2; }, 0);
        row("receiver offline", [](C &c) { c.setReceiverType(1); }, false, "", [](const P &p) { return p.Contrl_type == 0; }, -1);
        row("wheelbase 1250", [](C &c) { c.setWheelbase(1250); }, true, "send_ZJ", [](const P &p) { return p.Uav_wid == 5; }, 0);
        row("wheelbase 249", [](C &c) { c.setWheelbase(249); }, true, "send_ZJ", [](const P &p) { return p.Uav_wid == 0; }, 0);
        row("gain 2", [](C &c) { c.setGain(123.9f, 2); }, true, "send_GD", [](const P &p) { return p.sensRateD == 123; }, -1);
        row("gain index 4", [](C &c) { c.setGain(50, 4); }, true, "send_GD",
            [](const P &p) { return p.sensRateP == 0 && p.sensRateD == 0 && p.altRateP == 0; }, -1);
        row("gain offline still sends", [](C &c) { c.setGain(80, 1); }, false, "send_GD", [](const P &p) { return p.sensRateP == 0; }, -1);
        row("protect action", [](C &c) { c.setProtectAction(2); }, true, "send_DYBH", [](const P &p) { return p.SP_S == 2; }, 0);
        row("protect voltages", [](C &c) { c.setProtectVoltages(10.8, 10.6); }, true, "send_DYBH",
            [](const P &p) { return p.LV1 == 1080 && p.LV2 == 1060; }, 0);
        row("protect voltages offline", [](C &c) { c.setProtectVoltages(10.8, 10.6); }, false, "", [](const P &p) { return p.LV1 == 0; }, -1);
        row("calibration", [](C &c) { aircraftParams().bat_volt = 1259; c.setCalibrationVoltage(12.59f); }, true, "send_DYJZ",
            [](const P &p) { return p.voltCalib == 1259 && p.batteryCells == 3; }, 1);
        // Rounded to the nearest hundredth like the protection voltages, not truncated.
        row("calibration 16.4 V", [](C &c) { c.setCalibrationVoltage(16.4); }, true, "send_DYJZ",
            [](const P &p) { return p.voltCalib == 1640; }, 1);
        row("calibration 60 V", [](C &c) { c.setCalibrationVoltage(60.0); }, true, "send_DYJZ",
            [](const P &p) { return p.voltCalib == 6000; }, 1);
        row("calibration at 25.2 V", [](C &c) { aircraftParams().bat_volt = 2520; c.setCalibrationVoltage(25.2f); }, true, "send_DYJZ",
            [](const P &p) { return p.batteryCells == 0; }, 1);
        row("return height offline", [](C &c) { c.sendReturnHeight(30); }, false, "SignalSendReturnHeight",
            [](const P &p) { return p.returnHeight == 30; }, -1);
        row("gps offline", [](C &c) { c.sendGpsPosition(-3, 12); }, false, "SignalSendGPSPosition",
            [](const P &p) { return p.gpsPosX == -3 && p.gpsPosY == 12; }, -1);
        row("motor test", [](C &c) { c.startMotorTest(); }, true, "send_DJCS", [](const P &) { return true; }, 0);
        row("rc calibration", [](C &c) { c.startRcCalibration(); }, false, "send_YKQKS", [](const P &) { return true; }, -1);
    }
    void setters()
    {
        QFETCH(Setter, setter);
        QFETCH(bool, connected);
        QFETCH(QByteArray, signal);
        QFETCH(StoreCheck, check);
        QFETCH(int, blueLamp);
        linkConnected = connected ? 1 : 0;
        // The lamp starts in the other state than the one the row expects, so a setter that
        // never touches it fails.
        mainWindow->setBlueLamp(blueLamp != 1);
        const bool lampBefore = mainWindow->isBlueLampOn();
        QList<QByteArray> emitted;
        auto *meta = guiController->metaObject();
        QList<QMetaObject::Connection> connections;
        for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
            const QMetaMethod m = meta->method(i);
            if (m.methodType() == QMetaMethod::Signal && m.parameterCount() == 0)
                connections << connect(guiController, m, this, metaObject()->method(metaObject()->indexOfSlot("record()")));
        }
        m_emitted.clear();
        setter(*guiController);
        for (const auto &c : connections)
            disconnect(c);
        QCOMPARE(m_emitted, signal.isEmpty() ? QList<QByteArray>{} : QList<QByteArray>{signal});
        QVERIFY(check(p));
        QCOMPARE(mainWindow->isBlueLampOn(), blueLamp < 0 ? lampBefore : blueLamp == 1);
    }

    void channelReverseTwiceRestores()
    {
        QSignalSpy sent(guiController, &KivGuiController::send_TDFX);
        p.Contrl_Rec = 0x81;
        guiController->toggleChannelReverse(0x08);
        QCOMPARE(p.Contrl_Rec.load(), uint8_t(0x89));
        guiController->toggleChannelReverse(0x08);
        QCOMPARE(p.Contrl_Rec.load(), uint8_t(0x81));
        QCOMPARE(sent.size(), 2);
    }

    void replies()
    {
        mainWindow->setBlueLamp(false);
        p.Uav_Type = 10;
        guiController->returnInfo(0x02, QString());
        QVERIFY(mainWindow->isBlueLampOn());
        QVERIFY(page<QAbstractButton>("btn_jixing_4_2")->isChecked());
        p.Uav_Type = 11; // nothing shown for codes above 10
        guiController->returnInfo(0x02, QString());
        QVERIFY(page<QAbstractButton>("btn_jixing_4_2")->isChecked());

        p.Contrl_type = 0;
        guiController->returnInfo(0x04, QString());
        QVERIFY(page<QAbstractButton>("checkBox_SBUS")->isChecked());

        QSignalSpy gains(guiController, &KivGuiController::signal_request_InductionDegrees);
        p.Uav_wid = 4;
        guiController->returnInfo(0x09, QString());
        QVERIFY(page<QAbstractButton>("checkBox_FJZJ1000")->isChecked());
        QCOMPARE(gains.size(), 1);

        p.sensRateP = 100; p.sensRateD = 200; p.altRateP = 300;
        guiController->returnInfo(0x0A, QString());
        QCOMPARE(page<QSpinBox>("editStable")->value(), 200);

        linkConnected = 1;
        p.SP_S = 1; p.LV1 = 1080; p.LV2 = 1060; p.bat_volt = 2300; p.batteryCells = 0;
        guiController->returnInfo(0x0C, QString());
        QVERIFY(page<KivSwitch>("switch_dianchi")->isChecked());
        QCOMPARE(page<QDoubleSpinBox>("editVoltageFirst")->value(), 10.8);
        QCOMPARE(p.batteryCells.load(), uint8_t(6));

        p.M_CCR0 = 2;
        guiController->returnInfo(0x08, QString());
        QCOMPARE(mainWindow->toolsPage()->shownMotorIdle(), 3);

        p.returnHeight = 25;
        guiController->returnInfo(0x12, QString());
        QCOMPARE(page<QDoubleSpinBox>("spinReturnHeight")->value(), 25.0);
        p.gpsPosX = -5; p.gpsPosY = 7;
        guiController->returnInfo(0x03, QString());
        QCOMPARE(page<QDoubleSpinBox>("spinGPSPositionX")->value(), -5.0);

        QSignalSpy version(guiController, &KivGuiController::FirmwareIdChanged);
        QSignalSpy switches(guiController, &KivGuiController::SignalExternalSwitch);
        QSignalSpy timer(guiController, &KivGuiController::SignalUpdateTimerPage);
        QSignalSpy done(guiController, &KivGuiController::SignalFirmwareUpdateSuccess);
        guiController->returnInfo(0x10, QStringLiteral("7"));
        guiController->returnInfo(0x1B, QStringLiteral("2"));
        guiController->returnInfo(0x1C, QStringLiteral("a")); // hexadecimal text: base 10 fails, gives 0
        guiController->returnInfo(0xD6, QString());
        QCOMPARE(version.at(0).at(0).toInt(), 7);
        QCOMPARE(switches.at(0).at(0).toInt(), 2);
        QCOMPARE(timer.at(0).at(0).toInt(), 0);
        QCOMPARE(done.size(), 1);

        p.extSwitch2 = 1; p.probeHeight = 300;
        guiController->returnInfo(0x4B, QString());
        QCOMPARE(mainWindow->sprayingPage()->shownProbeHeight(), QStringLiteral("3.00"));
        p.extSwitch2 = 0;
        guiController->returnInfo(0x4B, QString());
        QCOMPARE(mainWindow->sprayingPage()->shownProbeHeight(), QStringLiteral("N/A"));
    }

    // A page built after replies came shows what it would have shown had it been there: the
    // last answer of each kind, and the self-check faults of a lost link.
    void pagesBuiltLaterShowWhatCame()
    {
        delete mainWindow;
        mainWindow = new KivMainWindow;
        QVERIFY(!mainWindow->builtToolsPage());
        QVERIFY(!mainWindow->builtSprayingPage());
        p.M_CCR0 = 1;
        guiController->returnInfo(0x08, QString());
        p.maintTimer2 = 77;
        guiController->returnInfo(0x1C, QStringLiteral("2"));
        p.maintTimer3 = 55;
        guiController->returnInfo(0x1C, QStringLiteral("3"));
        p.maintTimer2 = 78;
        guiController->returnInfo(0x1C, QStringLiteral("2"));
        p.sprayWidth = 450;
        guiController->returnInfo(0x17, QString());
        p.extSwitch1 = 1; p.extSwitch2 = 1;
        guiController->returnInfo(0x1B, QStringLiteral("1"));
        guiController->returnInfo(0x1B, QStringLiteral("2"));
        p.probeHeight = 250;
        guiController->returnInfo(0x4B, QString());
        guiController->SlotConnectChanged(false);
        QVERIFY(!mainWindow->builtToolsPage());
        QVERIFY(!mainWindow->builtSprayingPage());

        KivToolsWgt *tools = mainWindow->toolsPage();
        QCOMPARE(tools->shownMotorIdle(), 2);
        QCOMPARE(tools->findChild<QLineEdit *>(QStringLiteral("letFlightTime"))->text(), QStringLiteral("78"));
        QCOMPARE(tools->findChild<QLineEdit *>(QStringLiteral("letElectricTime"))->text(), QStringLiteral("55"));
        for (int row = 1; row <= 5; ++row) {
            const QString fault = QStringLiteral("checkBox_%1_2").arg(row);
            QVERIFY2(tools->findChild<QAbstractButton *>(fault)->isChecked(), qPrintable(fault));
        }
        LumActaPhytophySin *spraying = mainWindow->sprayingPage();
        QCOMPARE(spraying->findChild<QDoubleSpinBox *>(QStringLiteral("spinSetSprayWidth"))->value(), 4.5);
        QCOMPARE(spraying->shownProbeHeight(), QStringLiteral("2.50"));
        for (const char *sensor : {"switchLiquidLevelSensor", "switchInfraredSensor"})
            QVERIFY2(spraying->findChild<KivSwitch *>(QLatin1String(sensor))->isChecked(), sensor);
        p.extSwitch1 = 0; p.extSwitch2 = 0;
    }

    void rcChannelsInDisplayOrder_data()
    {
        QTest::addColumn<int>("receiver");
        QTest::addColumn<int>("warning");
        QTest::addColumn<float>("channel5");
        QTest::newRow("PWM") << 2 << 0x04 << 40.0f;
        QTest::newRow("SBUS healthy") << 0 << 0x00 << 40.0f;
        QTest::newRow("SBUS receiver fault") << 0 << 0x04 << -50.0f;
    }
    void rcChannelsInDisplayOrder()
    {
        QFETCH(int, receiver);
        QFETCH(int, warning);
        QFETCH(float, channel5);
        p.rc_in_roll = -100; p.rc_in_pitch = 20; p.rc_in_thr = 100; p.rc_in_yaw = -30;
        p.rc_in_mode = 40; p.rc_in_CH6 = 6; p.rc_in_CH7 = 7; p.rc_in_CH8 = -8;
        p.Contrl_type = uint8_t(receiver);
        p.warning_code = uint8_t(warning);
        guiController->returnInfo(0x46, QString());
        QCOMPARE(page<KivChannelBar>("slider_gunZhuan")->value(), -100.0f);
        QCOMPARE(page<KivChannelBar>("slider_fuyang")->value(), 20.0f);
        QCOMPARE(page<KivChannelBar>("slider_pianhang")->value(), 100.0f); // the throttle bar
        QCOMPARE(page<KivChannelBar>("slider_youmen")->value(), -30.0f);   // the yaw bar
        QCOMPARE(page<KivChannelBar>("slider_kongzhimoshi")->value(), channel5);
        QCOMPARE(page<KivChannelBar>("sliderCH8")->value(), -8.0f);
    }

    void disconnectMarksEverythingFaulty()
    {
        p.warning_code = 0;
        guiController->SlotConnectChanged(true);
        QVERIFY(mainWindow->isRedLampOn());
        guiController->SlotConnectChanged(false);
        QCOMPARE(p.warning_code.load(), uint8_t(0xFF));
        QVERIFY(!mainWindow->isRedLampOn());
        QVERIFY(!mainWindow->isBlueLampOn());
        for (int row = 1; row <= 6; ++row)
            QVERIFY(!mainWindow->toolsPage()->shownSelfCheck(row));
    }

    void returnResendsGainsOnlyOnTheGainPage()
    {
        QSignalSpy gains(guiController, &KivGuiController::send_GD);
        settingsSubPage = 2;
        guiController->keyPress(0);
        guiController->keyPress(1);
        settingsSubPage = 1;
        guiController->keyPress(0);
        QCOMPARE(gains.size(), 1);
    }

public Q_SLOTS:
    void record() { m_emitted << sender()->metaObject()->method(senderSignalIndex()).name(); }

private:
    QList<QByteArray> m_emitted;
};

QTEST_MAIN(tst_KivGuiController)
#include "tst_kivguicontroller.moc"
