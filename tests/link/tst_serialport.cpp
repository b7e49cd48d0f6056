// The serial transport against a pseudo-terminal standing in for the aircraft's USB port.
#include "link/seriallink.h"
#include "link/serialport.h"
#include "support/FrameBytes.h"
#include "support/TestPty.h"

#include <QSignalSpy>
#include <QTest>

using FrameBytes::hex;

class tst_SerialPort : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void noAircraftNoAnnouncement()
    {
        SerialPort port;
        port.addExtraPortName(QStringLiteral("/dev/r7-no-such-device"));
        QSignalSpy listed(&port, &SerialPort::SignalUpdatePortList);
        QTest::qWait(2300);
        QCOMPARE(listed.size(), 0);
        QVERIFY(port.isRefreshing()); // enumeration goes on every second
        QVERIFY(!port.isOpen());
    }

    void extraDeviceIsAnnouncedOnce()
    {
        TestPty pty;
        QVERIFY(pty.isValid());
        SerialPort port;
        QSignalSpy listed(&port, &SerialPort::SignalUpdatePortList);
        port.addExtraPortName(pty.slavePath());
        port.addExtraPortName(pty.slavePath());
        QTRY_COMPARE_WITH_TIMEOUT(listed.size(), 1, 1500);
        QCOMPARE(listed.at(0).at(0).value<uint8_t>(), uint8_t(1));
        QCOMPARE(port.portNames(), QStringList{pty.slavePath()});
        // Enumeration stops once a port has been seen.
        QVERIFY(!port.isRefreshing());
        QTest::qWait(1300);
        QCOMPARE(listed.size(), 1);
    }

    void bytesBothWays()
    {
        TestPty pty;
        SerialPort port;
        QSignalSpy received(&port, &SerialPort::SignalReadAll);
        port.SlotWriteData(hex("01 02")); // no port open: dropped
        port.configurePort(pty.slavePath());
        QCOMPARE(port.baudRate(), 115200);
        QCOMPARE(port.dataBits(), QSerialPort::Data8);
        QCOMPARE(port.parity(), QSerialPort::NoParity);
        QCOMPARE(port.stopBits(), QSerialPort::OneStop);
        QCOMPARE(port.flowControl(), QSerialPort::NoFlowControl);
        QVERIFY(port.openPort());
        QVERIFY(port.isPortOpened());
        const QByteArray frame = hex("EB 90 FF FF FF FF 02 00 9E A6 51 5A");
        port.SlotWriteData(frame);
        QTRY_VERIFY(port.bytesToWrite() == 0);
        QCOMPARE(pty.read(1000), frame);
        // Binary bytes, CR and LF included, come through untouched.
        const QByteArray binary = hex("EB 90 0D 0A 00 11 13 FF 7F 03 1A");
        QVERIFY(pty.write(binary));
        QTRY_VERIFY(!received.isEmpty());
        QByteArray all;
        for (const auto &args : received)
            all += args.at(0).toByteArray();
        QCOMPARE(all, binary);
    }

    // The last frames queued before the program ends (the pumps' stop commands) reach the
    // aircraft although no event loop runs again to write them.
    void queuedBytesLeaveBeforeThePortCloses()
    {
        TestPty pty;
        const QByteArray stop = hex("EB 90 FF FF FF FF 19 02 01 00 11 22 51 5A");
        {
            SerialPort port;
            port.configurePort(pty.slavePath());
            QVERIFY(port.openPort());
            port.SlotWriteData(stop);
            port.SlotWriteData(stop);
        } // destroyed at once, as at exit
        QCOMPARE(pty.read(1000), stop + stop);
    }

    void unpluggedDeviceGivesOneErrorAndNoBusyLoop()
    {
        auto pty = std::make_unique<TestPty>();
        SerialPort port;
        SerialLink link;
        connect(&port, SIGNAL(SignalReadAll(QByteArray)), &link, SLOT(SlotReceiveData(QByteArray)));
        connect(&port, SIGNAL(SignalSerialPortError()), &link, SLOT(SlotDisconnect()));
        connect(&link, SIGNAL(SignalSendData(QByteArray)), &port, SLOT(SlotWriteData(QByteArray)));
        port.configurePort(pty->slavePath());
        QVERIFY(port.openPort());
        QSignalSpy errors(&port, &SerialPort::SignalSerialPortError);
        QSignalSpy raw(&port, &QSerialPort::errorOccurred);
        QSignalSpy shaken(&link, &SerialLink::SignalHandShaked);
        pty->closeMaster();
        QTRY_COMPARE_WITH_TIMEOUT(errors.size(), 1, 2000);
        QTest::qWait(1000);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(raw.size() < 10, qPrintable(QString::number(raw.size())));
        QVERIFY(!port.isOpen());
        QVERIFY(!port.isPortOpened());
        QVERIFY(port.isRefreshing());
        QCOMPARE(shaken.size(), 1);
        QCOMPARE(shaken.at(0).at(0).toBool(), false);
        port.SlotWriteData(hex("01")); // silently dropped
    }
};

QTEST_GUILESS_MAIN(tst_SerialPort)
#include "tst_serialport.moc"
