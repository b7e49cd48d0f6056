// Telemetry records, the flight-status decoder, and frames too short for their handler's fields.
#include "app/AircraftParams.h"
#include "blackbox/BlackBoxDownloadState.h"
#include "link/seriallink.h"
#include "support/FrameBytes.h"

#include <QMetaEnum>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using FrameBytes::hex;
using FrameBytes::reply;

class tst_SerialLinkTelemetry : public QObject
{
    Q_OBJECT

    std::unique_ptr<AircraftParams> m_params;
    std::unique_ptr<BlackBoxDownloadState> m_blackBox;
    std::unique_ptr<SerialLink> m_link;

private Q_SLOTS:
    void init()
    {
        m_params = std::make_unique<AircraftParams>();
        m_blackBox = std::make_unique<BlackBoxDownloadState>();
        m_link = std::make_unique<SerialLink>(nullptr, m_params.get(), m_blackBox.get());
    }

    void records()
    {
        QSignalSpy infos(m_link.get(), &SerialLink::SignalReturnInfo);
        // The dedicated signal of each record 0x41 to 0x48, in type order.
        QSignalSpy s41(m_link.get(), &SerialLink::SignalTlmtrData_Pri_41_Downloaded);
        QSignalSpy s42(m_link.get(), &SerialLink::SignalTlmtrData_Pos_42_Downloaded);
        QSignalSpy s43(m_link.get(), &SerialLink::SignalTlmtrData_Sta_43_Downloaded);
        QSignalSpy s44(m_link.get(), &SerialLink::SignalTlmtrData_GPS_44_Downloaded);
        QSignalSpy s45(m_link.get(), &SerialLink::SignalTlmtrData_Mcu_45_Downloaded);
        QSignalSpy s46(m_link.get(), &SerialLink::SignalTlmtrData_Con_46_Downloaded);
        QSignalSpy s47(m_link.get(), &SerialLink::SignalTlmtrData_Mot_47_Downloaded);
        QSignalSpy s48(m_link.get(), &SerialLink::SignalTlmtrData_Oth_48_Downloaded);
        QSignalSpy *const dedicated[] = {&s41, &s42, &s43, &s44, &s45, &s46, &s47, &s48};
        const auto emittedSoFar = [&] {
            QList<int> counts;
            for (QSignalSpy *spy : dedicated)
                counts << int(spy->size());
            return counts;
        };
        m_link->requestUav_UavType();

        m_link->dispatchFrame(reply(0x41, hex("01 00 02 00 03 00 64 00 9C FF E8 03 F6 FF 00 00 05 00")));
        QCOMPARE(m_params->acc_x.load() / 100.0, 1.00);
        QCOMPARE(m_params->acc_y.load() / 100.0, -1.00);
        QCOMPARE(m_params->acc_z.load() / 100.0, 10.00);
        QCOMPARE(m_params->mag_x.load(), int16_t(-10));
        QCOMPARE(m_params->mag_z.load(), int16_t(5));
        QCOMPARE(emittedSoFar(), (QList<int>{1, 0, 0, 0, 0, 0, 0, 0}));

        m_link->dispatchFrame(reply(0x42, hex("F6 05 5A 01 FF 02 80 96 98 00 00 00 00 80 10 00")));
        QCOMPARE(m_params->roll.load(), int8_t(-10));
        QCOMPARE(m_params->Pitch.load(), int8_t(5));
        QCOMPARE(m_params->yaw.load() * 2, 180);
        QCOMPARE(m_params->vel_e.load(), int8_t(-1));
        QCOMPARE(m_params->f_lat.load(), 10000000);
        QCOMPARE(m_params->f_lon.load(), int32_t(0x80000000));
        QCOMPARE(m_params->f_alt.load(), int16_t(16));

        m_link->dispatchFrame(reply(0x43, hex("44 32 D8 09 06 03 18 FC 10 00 20 00")));
        const uint8_t w = m_params->warning_code;
        QCOMPARE(bool(w & 0x80), false); // compass healthy
        QCOMPARE(bool(w & 0x40), true);  // barometer faulty
        QCOMPARE(bool(w & 0x20), false); // IMU healthy
        QCOMPARE(bool(w & 0x04), true);  // receiver faulty
        QCOMPARE(m_params->bat_volt.load(), uint16_t(2520));
        QCOMPARE(m_params->flight_status.load(), uint16_t(0x0306));
        QCOMPARE(m_params->shock_exp.load(), int16_t(-1000));
        QCOMPARE(emittedSoFar(), (QList<int>{1, 1, 1, 0, 0, 0, 0, 0}));

        m_link->dispatchFrame(reply(0x44, hex("0C 80 96 98 00 00 E1 F5 05 64 00 C8 00 38 FF E8 03 03")));
        QCOMPARE(m_params->gps_num.load(), uint8_t(12));
        QCOMPARE(m_params->gps_lon.load(), 100000000);
        QCOMPARE(m_params->gps_v_v.load(), int16_t(-200));
        QCOMPARE(m_params->gps_h_acc.load(), uint16_t(1000));
        QCOMPARE(m_params->gps_fix_status.load(), uint8_t(3));

        m_link->dispatchFrame(reply(0x45, hex("01 00 02 00 03 00 0C FE 10 27 50 46")));
        QCOMPARE(m_params->eIMU_roll.load(), int16_t(-500));
        QCOMPARE(m_params->eIMU_pitch.load(), int16_t(10000));
        QCOMPARE(m_params->eIMU_yaw.load(), uint16_t(18000));

        m_link->dispatchFrame(reply(0x46, hex("9C 64 00 32 CE 01 02 03")));
        QCOMPARE(m_params->rc_in_roll.load(), int8_t(-100));
        QCOMPARE(m_params->rc_in_thr.load(), int8_t(0));
        QCOMPARE(m_params->rc_in_yaw.load(), int8_t(50));
        QCOMPARE(m_params->rc_in_CH8.load(), int8_t(3));
        QCOMPARE(emittedSoFar(), (QList<int>{1, 1, 1, 1, 1, 1, 0, 0}));

        m_link->dispatchFrame(reply(0x47, hex("01 02 03 04 05 06 07 FF")));
        QCOMPARE(m_params->mot[7].load(), uint8_t(255));
        m_link->dispatchFrame(reply(0x48, hex("78 56 34 12")));
        QCOMPARE(m_params->otherData.load(), 0x12345678u);
        QCOMPARE(emittedSoFar(), (QList<int>{1, 1, 1, 1, 1, 1, 1, 1}));
        m_link->dispatchFrame(reply(0x4B, hex("07 2C 01") + QByteArray(17, '\x55')));
        QCOMPARE(m_params->probeHeight.load() / 100.0, 3.00);
        QCOMPARE(m_params->overheadByte0.load(), uint8_t(7));

        // One empty-text notice per record; the pending command is untouched.
        QCOMPARE(infos.size(), 9);
        for (const auto &args : infos)
            QVERIFY(args.at(1).toString().isEmpty());
        QCOMPARE(infos.last().at(0).value<uint8_t>(), uint8_t(0x4B));
        QVERIFY(m_link->isResendActive());
    }

    void flightStatus_data()
    {
        QTest::addColumn<int>("word");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("modeText");   // empty: no text signal
        QTest::addColumn<QString>("statusText");
        QTest::addColumn<int>("nextWayPoint");   // -1: none
        QTest::newRow("attitude") << 0x1200 << 0 << 0x12 << "Attitude" << "" << -1;
        QTest::newRow("RTL above home") << 0x0306 << 6 << 3 << "RTL" << "UAV is hovering above the home point" << -1;
        QTest::newRow("RTL unknown step") << 0x0606 << 6 << 6 << "" << "" << -1;
        QTest::newRow("guided unknown") << 0x0704 << 4 << 7 << "" << "" << -1;
        QTest::newRow("auto") << 0x0C05 << 5 << 12 << "Auto" << "The number of destination waypoint is12" << 12;
        QTest::newRow("circle ignores bits 4-7") << 0x00F3 << 3 << 0 << "Circle" << "The number of circles passed is0" << -1;
        QTest::newRow("land going down") << 0x0208 << 8 << 2 << "Land" << "UAV is going to down" << -1;
        QTest::newRow("take-off") << 0x0107 << 7 << 1 << "TakeOff" << "UAV has reached a predetermined height" << -1;
        QTest::newRow("gps") << 0x4509 << 9 << 0x45 << "GPS" << "hover" << -1;
        QTest::newRow("unknown mode") << 0x010A << 10 << 1 << "" << "" << -1;
    }
    void flightStatus()
    {
        QFETCH(int, word);
        QFETCH(int, mode);
        QFETCH(int, value);
        QFETCH(QString, modeText);
        QFETCH(QString, statusText);
        QFETCH(int, nextWayPoint);
        QSignalSpy numbers(m_link.get(), qOverload<int, int>(&SerialLink::SignalFlightStatus));
        QSignalSpy texts(m_link.get(), qOverload<QString, QString>(&SerialLink::SignalFlightStatus));
        QSignalSpy next(m_link.get(), &SerialLink::SignalFlightNextWayPoint);
        m_link->FlightStatus(quint16(word));
        QCOMPARE(numbers.size(), 1);
        QCOMPARE(numbers.at(0), (QList<QVariant>{mode, value}));
        QCOMPARE(texts.size(), modeText.isEmpty() ? 0 : 1);
        if (!modeText.isEmpty())
            QCOMPARE(texts.at(0), (QList<QVariant>{modeText, statusText}));
        QCOMPARE(next.size(), nextWayPoint < 0 ? 0 : 1);
        if (nextWayPoint >= 0)
            QCOMPARE(next.at(0).at(0).toInt(), nextWayPoint);
    }

    // A frame with a header and nothing else, whatever its length byte claims, is no answer to
    // anything: no handler reads past it or reports anything.
    void truncatedFramesAreDropped()
    {
        QSignalSpy infos(m_link.get(), &SerialLink::SignalReturnInfo);
        QSignalSpy chunks(m_link.get(), &SerialLink::SignalReturnBlackBoxes);
        QSignalSpy instructions(m_link.get(), &SerialLink::SignalInstructReply);
        QSignalSpy answers(m_link.get(), &SerialLink::SignalReply);
        QSignalSpy shaken(m_link.get(), &SerialLink::SignalHandShaked);
        const QMetaEnum types = QMetaEnum::fromType<SerialLink::cmdtype>();
        for (int i = 0; i < types.keyCount(); ++i) {
            const uint8_t type = uint8_t(types.value(i));
            for (int lengthByte : {0, 1, 2, 9, 255})
                m_link->dispatchFrame(reply(type, QByteArray(), lengthByte));
        }
        QCOMPARE(infos.size() + chunks.size() + instructions.size() + answers.size() + shaken.size(), 0);
        // Telemetry shorter than its record changes nothing.
        infos.clear();
        m_params->bat_volt = 1234;
        m_link->dispatchFrame(reply(0x43, hex("00 00 D8 09 00 00 00 00 00 00 00")));
        QCOMPARE(m_params->bat_volt.load(), uint16_t(1234));
        QCOMPARE(infos.size(), 0);
        m_link->dispatchFrame(reply(0x4B, hex("00 2C")));
        QCOMPARE(infos.size(), 0);
        // A maintenance reply that claims its fields but lacks the value's bytes is not taken.
        m_link->requestUav_MaintenanceTimer(1);
        m_link->dispatchFrame(reply(0x1C, hex("00 01 01 02"), 6));
        QVERIFY(m_link->isResendActive());
        QCOMPARE(infos.size(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_SerialLinkTelemetry)
#include "tst_seriallink_telemetry.moc"
