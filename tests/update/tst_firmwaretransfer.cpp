// The firmware transfer driven by the aircraft's replies, against the real link with its replies
// played back, checking every frame that leaves.
#include "app/AircraftParams.h"
#include "blackbox/BlackBoxDownloadState.h"
#include "link/seriallink.h"
#include "support/FrameBytes.h"
#include "update/FirmwareTransfer.h"

#include <QSignalSpy>
#include <QtEndian>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using FrameBytes::hex;
using FrameBytes::reply;

class tst_FirmwareTransfer : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<AircraftParams> m_params;
    std::unique_ptr<BlackBoxDownloadState> m_blackBox;
    std::unique_ptr<SerialLink> m_link;
    std::unique_ptr<FirmwareTransfer> m_transfer;
    QList<QByteArray> m_sent;
    QList<int> m_progress;
    QString m_catalogueVersion = QStringLiteral("3.00");

    QString image(int size)
    {
        QByteArray bytes(size, '\0');
        for (int i = 0; i < size; ++i)
            bytes[i] = char(i * 7 + i / 256);
        const QString path = m_dir.filePath(QStringLiteral("image-%1.bin").arg(size));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }
    // The aircraft answers the last frame sent; chunk answers carry the packet number.
    void answerLast()
    {
        const QByteArray last = m_sent.last();
        const uint8_t type = uint8_t(last[6]);
        if (type == 0xD5)
            m_link->dispatchFrame(reply(type, QByteArray(1, '\0') + last.mid(8, 2)));
        else
            m_link->dispatchFrame(reply(type, hex("00")));
    }

private Q_SLOTS:
    void init()
    {
        m_params = std::make_unique<AircraftParams>();
        m_blackBox = std::make_unique<BlackBoxDownloadState>();
        m_link = std::make_unique<SerialLink>(nullptr, m_params.get(), m_blackBox.get());
        m_transfer = std::make_unique<FirmwareTransfer>(
            m_link.get(), [this](const QString &) { return m_catalogueVersion; }, m_params.get());
        m_sent.clear();
        m_progress.clear();
        connect(m_link.get(), &SerialLink::SignalSendData, this, [this](const QByteArray &f) { m_sent << f; });
        connect(m_link.get(), &SerialLink::SignalReturnInfo, m_transfer.get(), &FirmwareTransfer::onReply);
        connect(m_transfer.get(), &FirmwareTransfer::progress, this, [this](const QString &, uint8_t p) { m_progress << p; });
    }

    void wholeExchange_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("chunks");
        QTest::addColumn<QList<int>>("progress");
        QTest::newRow("500 bytes") << 500 << 3 << QList<int>{0, 33, 66, 100};
        QTest::newRow("484 bytes, two full chunks") << 484 << 2 << QList<int>{0, 50, 100};
        QTest::newRow("485 bytes, last chunk of one") << 485 << 3 << QList<int>{0, 33, 66, 100};
        QTest::newRow("empty image") << 0 << 0 << QList<int>{100};
    }
    void wholeExchange()
    {
        QFETCH(int, size);
        QFETCH(int, chunks);
        QFETCH(QList<int>, progress);
        const QString path = image(size);
        m_transfer->start(0, path);
        for (int guard = 0; guard < 1000 && uint8_t(m_sent.last()[6]) != 0xD6; ++guard)
            answerLast();
        answerLast();

        QCOMPARE(FrameBytes::payloadOf(m_sent[0]), QByteArray());          // 0xD2
        QCOMPARE(FrameBytes::payloadOf(m_sent[1]), hex("00 03 00"));       // module 0, version 3.00
        QByteArray sizeBytes(4, '\0');
        qToLittleEndian<quint32>(quint32(size), sizeBytes.data());
        QCOMPARE(FrameBytes::payloadOf(m_sent[2]), sizeBytes);             // 0xD4
        QCOMPARE(m_sent.size(), 3 + chunks + 1);
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        const QByteArray content = file.readAll();
        QByteArray received;
        for (int k = 0; k < chunks; ++k) {
            const QByteArray payload = FrameBytes::payloadOf(m_sent[3 + k]);
            QCOMPARE(uint8_t(m_sent[3 + k][6]), uint8_t(0xD5));
            QCOMPARE(qFromLittleEndian<quint16>(payload.constData()), quint16(k + 1));
            received += payload.mid(2);
        }
        QCOMPARE(received, content);
        QCOMPARE(uint8_t(m_sent.last()[6]), uint8_t(0xD6));
        QCOMPARE(m_progress, progress);
        QVERIFY(!m_link->isContinuous());
    }

    void aircraftSetsThePace()
    {
        m_transfer->start(2, image(1000));
        answerLast(); // D2
        answerLast(); // D3
        answerLast(); // D4 -> chunk 1
        // The aircraft asks again for packet 1 (acknowledges packet number 1 -> sends chunk index 1).
        m_link->dispatchFrame(reply(0xD5, hex("00 01 00")));
        QCOMPARE(qFromLittleEndian<quint16>(FrameBytes::payloadOf(m_sent.last()).constData()), quint16(2));
        m_link->dispatchFrame(reply(0xD5, hex("00 01 00")));
        QCOMPARE(qFromLittleEndian<quint16>(FrameBytes::payloadOf(m_sent.last()).constData()), quint16(2));
        QCOMPARE(m_params->fwPacketCount.load(), 5u);
    }

    void unknownVersionRefusesTheUpdate_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("2.02") << "2.02" << hex("04 02 02");
        QTest::newRow("missing module") << "" << QByteArray();
        QTest::newRow("no dot") << "3" << QByteArray();
        QTest::newRow("not a number") << "x.5" << hex("04 00 05");
    }
    void unknownVersionRefusesTheUpdate()
    {
        QFETCH(QString, version);
        QFETCH(QByteArray, sent);
        m_catalogueVersion = version;
        QSignalSpy refused(m_transfer.get(), &FirmwareTransfer::refused);
        m_transfer->start(4, image(300));
        answerLast();
        if (sent.isEmpty()) {
            QCOMPARE(refused.size(), 1);
            QCOMPARE(m_sent.size(), 1);
        } else {
            QCOMPARE(refused.size(), 0);
            QCOMPARE(FrameBytes::payloadOf(m_sent.last()), sent);
        }
    }

    void otherRepliesAndMissingFilesDoNothing()
    {
        m_transfer->start(0, m_dir.filePath(QStringLiteral("missing.bin")));
        answerLast(); // D2 with no file: the transfer stalls
        QCOMPARE(m_sent.size(), 1);
        m_transfer->start(0, image(10));
        m_sent.clear();
        m_transfer->onReply(0x02);
        m_transfer->onReply(0xD1);
        QVERIFY(m_sent.isEmpty());
        QCOMPARE(m_params->fwPacketCount.load(), 1u); // 0xD1 still read the file
    }
};

QTEST_GUILESS_MAIN(tst_FirmwareTransfer)
#include "tst_firmwaretransfer.moc"
