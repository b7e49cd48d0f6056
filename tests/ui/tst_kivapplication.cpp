// The application object end to end against scripted aircraft on pseudo-terminals: port scan,
// handshake, the read-back sequence, and the displays returning to "not connected".
#include "app/KivApplication.h"
#include "app/KivGuiController.h"
#include "app/LinkConnected.h"
#include "link/seriallink.h"
#include "link/serialport.h"
#include "support/ScriptedAircraft.h"
#include "ui/KivMainWindow.h"

#include <QAbstractEventDispatcher>
#include <QHash>
#include <QMessageBox>
#include <QSerialPort>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class tst_KivApplication : public QObject
{
    Q_OBJECT

    KivApplication *app() const { return KivApplication::instance(); }
    QString connectText() const
    {
        return mainWindow->findChild<QPushButton *>(QStringLiteral("btn_connect"))->text().trimmed();
    }

private Q_SLOTS:
    void startsNotConnectedWithoutScanning()
    {
        QVERIFY(mainWindow);
        QCOMPARE(connectText(), QStringLiteral("未连接"));
        QTest::qWait(1500);
        QCOMPARE(app()->portScanTimer(), 0); // no aircraft port, no scan
        QVERIFY(app()->serialPort()->isRefreshing());
    }

    void scansPortsHandShakesAndReadsBack()
    {
        QElapsedTimer clock;
        clock.start();
        ScriptedAircraft silent(&clock);
        ScriptedAircraft aircraft(&clock);
        aircraft.setAnswering(true);
        QSignalSpy shaken(app()->serialLink(), &SerialLink::SignalHandShaked);
        QSignalSpy readBack(app(), &KivApplication::readBackFinished);
        // The handshake reaches its receivers in wiring order: flag, displays, relays, read-back.
        QStringList order;
        // Send times, taken where the frames leave (reads on the far side may come in batches).
        QHash<QByteArray, qint64> firstSent;
        QObject context; // ends the connections below with this test, before what they capture
        connect(guiController, &KivGuiController::ConnectChanged, &context, [&](bool on) {
            if (on)
                order << QStringLiteral("relay:%1:%2").arg(linkConnected).arg(connectText());
        });
        connect(mainWindow, &KivMainWindow::SignalHandShaked, &context, [&](bool on) {
            if (on)
                order << QStringLiteral("window");
        });
        connect(app()->serialLink(), &SerialLink::SignalSendData, &context, [&](const QByteArray &frame) {
            if (uint8_t(frame[6]) == 0x02 && !order.contains(QStringLiteral("read-back")))
                order << QStringLiteral("read-back");
            if (!firstSent.contains(frame))
                firstSent.insert(frame, clock.elapsed());
        });
        app()->serialPort()->addExtraPortName(silent.path());
        app()->serialPort()->addExtraPortName(aircraft.path());

        // The silent port gets the first 3 s, then the aircraft's port is opened and hand-shakes.
        QTRY_COMPARE_WITH_TIMEOUT(shaken.size(), 1, 12000);
        QVERIFY(silent.countOfType(0xC1) >= 1);
        // The spy hears the worker thread at once; the application's slots run queued after it.
        QTRY_VERIFY(linkConnected);
        QTRY_COMPARE(connectText(), QStringLiteral("已连接"));
        QTRY_COMPARE(order, (QStringList{QStringLiteral("relay:1:已连接"), QStringLiteral("window"), QStringLiteral("read-back")}));

        QTRY_COMPARE_WITH_TIMEOUT(readBack.size(), 1, 15000);
        QTest::qWait(400);
        // First appearance of each request, in order (unanswered requests are resent).
        QList<ScriptedAircraft::Received> firsts;
        for (const auto &r : aircraft.received()) {
            if (r.type == 0xC1)
                continue;
            if (std::none_of(firsts.cbegin(), firsts.cend(), [&](const auto &f) { return f.frame == r.frame; }))
                firsts.append(r);
        }
        QList<int> types;
        for (const auto &f : firsts)
            types << f.type;
        QList<int> expected{0x02, 0x04, 0x06, 0x09, 0x0A, 0x0C, 0x08};
        for (int i = 0; i < 12; ++i)
            expected << 0x10;
        expected << 0x12 << 0x03 << 0x19 << 0x19 << 0x17 << 0x18 << 0x1B << 0x1B << 0x1C << 0x1C << 0x1C << 0x1C;
        QCOMPARE(types, expected);
        const auto gap = [&](int from, int to) {
            return firstSent.value(firsts[to].frame) - firstSent.value(firsts[from].frame);
        };
        // Lower bounds are the waits themselves; upper bounds leave room for slow sanitizer builds.
        for (int i = 1; i <= 7; ++i) // 250 ms steps
            QVERIFY2(gap(i - 1, i) >= 250 && gap(i - 1, i) <= 700, qPrintable(QString::number(gap(i - 1, i))));
        for (int i = 8; i <= 18; ++i) // version requests 20 ms apart
            QVERIFY2(gap(i - 1, i) >= 20 && gap(i - 1, i) <= 250, qPrintable(QString::number(gap(i - 1, i))));
        QVERIFY(gap(25, 26) >= 300); // the switch reads 300 ms apart
        // The scan stops once hand-shaken.
        QTRY_COMPARE_WITH_TIMEOUT(app()->portScanTimer(), 0, 4000);
        const int silentFrames = int(silent.received().size());

        // A silent aircraft is noticed after 5 s.
        aircraft.setAnswering(false);
        QTRY_COMPARE_WITH_TIMEOUT(linkConnected, uint8_t(0), 7000);
        QCOMPARE(connectText(), QStringLiteral("未连接"));
        QCOMPARE(int(silent.received().size()), silentFrames); // its port stayed closed

        // It answers again on the same open port, then is unplugged.
        aircraft.setAnswering(true);
        QTRY_COMPARE_WITH_TIMEOUT(linkConnected, uint8_t(1), 3000);
        QTRY_COMPARE_WITH_TIMEOUT(readBack.size(), 2, 15000);
        aircraft.unplug();
        QTRY_COMPARE_WITH_TIMEOUT(linkConnected, uint8_t(0), 3000);
        QCOMPARE(connectText(), QStringLiteral("未连接"));
        QVERIFY(!app()->serialPort()->isOpen());
    }

    // The aircraft's port exists but may not be opened: the user hears it once, with the fix.
    void permissionDeniedIsToldOncePerPort()
    {
        const auto boxes = [] {
            int count = 0;
            for (QWidget *w : QApplication::topLevelWidgets())
                count += w->objectName() == QLatin1String("portPermissionBox") && w->isVisible();
            return count;
        };
        app()->reportPortOpenFailure(QStringLiteral("/dev/ttyACM0"), QSerialPort::DeviceNotFoundError);
        QCOMPARE(boxes(), 0);
        app()->reportPortOpenFailure(QStringLiteral("/dev/ttyACM0"), QSerialPort::PermissionError);
        app()->reportPortOpenFailure(QStringLiteral("/dev/ttyACM0"), QSerialPort::PermissionError);
        QCOMPARE(boxes(), 1);
        QMessageBox *box = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("portPermissionBox"))
                box = qobject_cast<QMessageBox *>(w);
        QVERIFY(box && box->text().contains(QLatin1String("/dev/ttyACM0")) && box->text().contains(QLatin1String("dialout")));
        QVERIFY(!box->isModal()); // the scan goes on meanwhile
        app()->reportPortOpenFailure(QStringLiteral("/dev/ttyACM1"), QSerialPort::PermissionError);
        QCOMPARE(boxes(), 2);
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("portPermissionBox"))
                w->close();
    }

    // A port that never answers is retried for as long as the program runs, with one scan timer.
    void silentPortKeepsOneScanTimer()
    {
        QElapsedTimer clock;
        clock.start();
        ScriptedAircraft silent(&clock);
        app()->serialPort()->addExtraPortName(silent.path());
        const auto scanTimers = [this] {
            const auto timers = QAbstractEventDispatcher::instance()->registeredTimers(app());
            return std::count_if(timers.cbegin(), timers.cend(), [](const auto &t) {
                return t.interval == KivApplication::kPortScanMs;
            });
        };
        qsizetype most = 0;
        int opens = 0;
        while (clock.elapsed() < 11000) {
            QTest::qWait(250);
            most = std::max(most, scanTimers());
            opens = int(silent.countOfType(0xC1));
        }
        QCOMPARE(most, qsizetype(1));
        QVERIFY2(opens >= 2, qPrintable(QString::number(opens))); // still retried
    }
};

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    KivApplication *app = KivApplication::getInstance(argc, argv);
    tst_KivApplication test;
    const int result = QTest::qExec(&test, argc, argv);
    delete app;
    return result;
}

#include "tst_kivapplication.moc"
