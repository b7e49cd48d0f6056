#include "SimTestSupport.h"
#include "sim/SimulatedAircraft.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace simtest;

namespace {
bool openPort(QSerialPort &port, const QString &path)
{
    port.setPortName(path);
    port.setBaudRate(115200); // 8N1 without flow control are the defaults
    return port.open(QIODevice::ReadWrite);
}

// Lets the event loop run (the aircraft lives in this thread) without QTest::qWait's sleeps.
void spin(int msecs)
{
    QEventLoop loop;
    QTimer::singleShot(msecs, &loop, &QEventLoop::quit);
    loop.exec();
}

// Sends a host frame and waits for the first reply frame of that type.
QList<AirFrame> exchange(QSerialPort &port, quint8 type, const QByteArray &payload = QByteArray())
{
    QByteArray received;
    port.write(hostFrame(type, payload));
    QList<AirFrame> matching;
    for (int i = 0; i < 100 && matching.isEmpty(); ++i) {
        spin(10);
        received += port.readAll();
        for (const AirFrame &f : airFrames(received)) {
            if (f.type == type)
                matching.append(f);
        }
    }
    return matching;
}
} // namespace

// The aircraft on a real pseudo-terminal, opened with QSerialPort like the program does.
class tst_SimulatedAircraft : public QObject
{
    Q_OBJECT

private slots:
    void handshakeOverThePseudoTerminal();
    void largeBurstsArriveWhole();
    void unreadBytesAreDroppedWhenTheHostGoesQuiet();
    void unplugFailsTheOpenPortAndPlugInGivesANewDevice();
};

void tst_SimulatedAircraft::handshakeOverThePseudoTerminal()
{
    SimulatedAircraft aircraft;
    QSignalSpy changed(&aircraft, &SimulatedAircraft::slavePathChanged);
    QVERIFY2(aircraft.start(), qPrintable(aircraft.errorString()));
    QVERIFY(QFileInfo::exists(aircraft.slavePath()));
    QCOMPARE(changed.value(0).value(0).toString(), aircraft.slavePath());
    QSerialPort port;
    QVERIFY2(openPort(port, aircraft.slavePath()), qPrintable(port.errorString()));
    QCOMPARE(exchange(port, 0xC1, kConnect).value(0).raw, fromHex("EB90FFFFFFFF C1 01 00 D604"));
    QVERIFY(aircraft.isConnected());
    aircraft.stop();
    QVERIFY(!aircraft.isRunning());
}

void tst_SimulatedAircraft::largeBurstsArriveWhole()
{
    SimulatedAircraft aircraft;
    QVERIFY(aircraft.start());
    QSerialPort port;
    QVERIFY(openPort(port, aircraft.slavePath()));
    aircraft.setStormSeed(3);
    aircraft.setStormRate(4000); // far more than a pty buffer holds between reads
    QByteArray received;
    for (int i = 0; i < 500 && received.size() < 400000; ++i) {
        spin(10);
        received += port.readAll();
    }
    aircraft.setStormRate(0);
    const QList<AirFrame> frames = airFrames(received);
    QVERIFY2(received.size() >= 400000, qPrintable(QString::number(received.size())));
    QVERIFY(frames.size() > 2000);
    for (const AirFrame &f : frames)
        QVERIFY(f.crcOk);
}

void tst_SimulatedAircraft::unreadBytesAreDroppedWhenTheHostGoesQuiet()
{
    SimulatedAircraft aircraft;
    aircraft.setTelemetryRate(50);
    aircraft.setHostTimeout(300);
    QVERIFY(aircraft.start());
    QSignalSpy quiet(&aircraft, &AircraftEngine::hostWentQuiet);
    {
        QSerialPort port;
        QVERIFY(openPort(port, aircraft.slavePath()));
        QVERIFY(!exchange(port, 0xC1, kConnect).isEmpty());
        port.close(); // telemetry keeps coming for a while and nobody reads it
    }
    QTRY_COMPARE(quiet.size(), 1);
    QSerialPort port;
    QVERIFY(openPort(port, aircraft.slavePath()));
    QTest::qWait(200);
    QCOMPARE(port.readAll().toHex(' '), QByteArray());
    // The aircraft survived the host closing and reopening its end.
    QCOMPARE(exchange(port, 0x09).value(0).payload, fromHex("04 00"));
}

void tst_SimulatedAircraft::unplugFailsTheOpenPortAndPlugInGivesANewDevice()
{
    SimulatedAircraft aircraft;
    QVERIFY(aircraft.start());
    const QString first = aircraft.slavePath();
    QSerialPort port;
    QVERIFY(openPort(port, first));
    QVERIFY(!exchange(port, 0xC1, kConnect).isEmpty());

    QSignalSpy errors(&port, &QSerialPort::errorOccurred);
    aircraft.unplug();
    QVERIFY(aircraft.slavePath().isEmpty());
    QTRY_VERIFY(!errors.isEmpty());
    const auto error = errors[0][0].value<QSerialPort::SerialPortError>();
    QVERIFY2(error == QSerialPort::ReadError || error == QSerialPort::ResourceError,
             qPrintable(QString::number(int(error))));
    port.close();

    QVERIFY(aircraft.plugIn());
    QVERIFY(aircraft.slavePath() != first);
    QSerialPort again;
    QVERIFY2(openPort(again, aircraft.slavePath()), qPrintable(again.errorString()));
    QCOMPARE(exchange(again, 0x02).value(0).payload, fromHex("01 00"));
}

QTEST_GUILESS_MAIN(tst_SimulatedAircraft)
#include "tst_simulatedaircraft.moc"
