#include "E2eRig.h"
#include "update/FirmwareTransfer.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QTest>

using namespace e2e;

// Firmware images pushed by the program's transfer driver arrive whole at the simulated aircraft.
class tst_E2eFirmware : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void imageArrivesByteForByte_data();
    void imageArrivesByteForByte();
    void lostChunkAnswersAreRepeated_data();
    void lostChunkAnswersAreRepeated();
};

void tst_E2eFirmware::initTestCase()
{
    quietLinkDebugOutput();
}

void tst_E2eFirmware::imageArrivesByteForByte_data()
{
    QTest::addColumn<int>("module");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("version");
    QTest::newRow("FCU, 485 bytes") << 0 << 485 << "3.12";
    QTest::newRow("DCU, 300 KiB") << 9 << 300 * 1024 << "2.1";
}

void tst_E2eFirmware::imageArrivesByteForByte()
{
    QFETCH(int, module);
    QFETCH(int, size);
    QFETCH(QString, version);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QByteArray image(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        image[i] = char((i * 131 + (i >> 9) * 7 + module) & 0xFF);
    const QString path = dir.filePath(QStringLiteral("image.bin"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(image);
    file.close();

    Rig rig;
    rig.aircraft.setTelemetryRate(10);
    QVERIFY(rig.start());
    FirmwareTransfer transfer(&rig.link, [&](const QString &) { return version; }, &rig.params);
    connect(&rig.link, &SerialLink::SignalReturnInfo, &transfer,
            [&transfer](uint8_t command, QString) { transfer.onReply(command); });
    QList<int> progress;
    connect(&transfer, &FirmwareTransfer::progress, &transfer,
            [&progress](QString, uint8_t p) { progress.append(p); });
    int received = 0;
    QByteArray sha;
    bool complete = false;
    connect(&rig.aircraft, &AircraftEngine::firmwareReceived, &rig,
            [&](int m, qint64 s, const QByteArray &h, bool c) {
                ++received;
                sha = h;
                complete = c && m == module && s == size;
            });

    transfer.start(module, path);
    QVERIFY(waitFor([&] { return received > 0; }, 60000));
    QCOMPARE(received, 1);
    QVERIFY(complete);
    QCOMPARE(sha, QCryptographicHash::hash(image, QCryptographicHash::Sha256));
    QCOMPARE(rig.aircraft.lastFirmware().image, image);
    QVERIFY(waitFor([&] { return rig.findInfo(0xD6, 0) >= 0; }, 3000));
    QVERIFY(!rig.link.isContinuous());
    QCOMPARE(progress.constFirst(), 0);
    QCOMPARE(progress.constLast(), 100);
    // The module now reports the version it was given.
    QVERIFY(rig.exchange([&] { rig.link.requestUav_FirmwareVersion(char(module)); }, 0x10, QString::number(module)));
    const QStringList parts = version.split('.');
    QCOMPARE(int(rig.params.moduleVersion[module].major), parts[0].toInt());
    QCOMPARE(int(rig.params.moduleVersion[module].minor), parts[1].toInt());
    QVERIFY(rig.connected());
}

void tst_E2eFirmware::lostChunkAnswersAreRepeated_data()
{
    QTest::addColumn<bool>("corrupt");
    QTest::newRow("three chunks unanswered") << false;
    QTest::newRow("every third answer with a bad CRC") << true;
}

void tst_E2eFirmware::lostChunkAnswersAreRepeated()
{
    QFETCH(bool, corrupt);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pmu.bin"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QByteArray image(3000, 'P');
    file.write(image);
    file.close();

    Rig rig;
    QVERIFY(rig.start());
    rig.aircraft.setTelemetryRate(0);
    if (corrupt)
        rig.aircraft.setCorruptCrcEvery(3);
    else
        rig.aircraft.setIgnoreFirst(0xD5, 3); // three chunks go unanswered; the link resends
    int chunksSent = 0;
    connect(&rig.aircraft, &AircraftEngine::frameReceived, &rig,
            [&](quint8 t, int, const QByteArray &) { chunksSent += t == 0xD5; });
    FirmwareTransfer transfer(&rig.link, [](const QString &) { return QStringLiteral("1.9"); }, &rig.params);
    connect(&rig.link, &SerialLink::SignalReturnInfo, &transfer,
            [&transfer](uint8_t command, QString) { transfer.onReply(command); });
    bool complete = false;
    connect(&rig.aircraft, &AircraftEngine::firmwareReceived, &rig,
            [&](int, qint64, const QByteArray &, bool c) { complete = c; });
    transfer.start(6, path);
    QVERIFY(waitFor([&] { return complete; }, 15000));
    QCOMPARE(rig.aircraft.lastFirmware().image, image);
    QVERIFY(chunksSent > 13); // 13 chunks, some sent again
    QVERIFY(waitFor([&] { return rig.findInfo(0xD6, 0) >= 0; }, 5000)); // "done" answered too
}

QTEST_GUILESS_MAIN(tst_E2eFirmware)
#include "tst_e2e_firmware.moc"
