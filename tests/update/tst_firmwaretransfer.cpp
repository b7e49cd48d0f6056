// The firmware transfer driven by the aircraft's replies, against the real link with its replies
// played back: pacing, refusals, stray replies, and the image read once. Whole images are
// compared end to end.
#include "app/AircraftParams.h"
#include "blackbox/BlackBoxDownloadState.h"
#include "link/seriallink.h"
#include "support/FrameBytes.h"
#include "update/FirmwareTransfer.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

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

    // Starts a transfer and answers the announcement, version and size: chunk 1 has left.
    void startToFirstChunk(int module, const QString &path)
    {
        m_transfer->start(module, path);
        for (int i = 0; i < 3; ++i)
            answerLast();
    }
    static quint16 packetOf(const QByteArray &frame)
    {
        return qFromLittleEndian<quint16>(FrameBytes::payloadOf(frame).constData());
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
        connect(m_link.get(), &SerialLink::SignalSendData, this, [this](const QByteArray &f) {
            m_sent << f;
        });
        connect(m_link.get(),
                &SerialLink::SignalReturnInfo,
                m_transfer.get(),
                &FirmwareTransfer::onReply);
        connect(m_transfer.get(),
                &FirmwareTransfer::progress,
                this,
                [this](const QString &, uint8_t p) { m_progress << p; });
    }

    // The packet after the one the aircraft acknowledges leaves, however often it acknowledges it.
    void aircraftSetsThePace()
    {
        startToFirstChunk(2, image(1000));
        for (int i = 0; i < 2; ++i) {
            m_link->dispatchFrame(reply(0xD5, hex("00 01 00")));
            QCOMPARE(packetOf(m_sent.last()), quint16(2));
        }
        QCOMPARE(m_params->fwPacketCount.load(), 5u);
    }

    // Nothing leaves when the module could not be told a version or the image cannot be carried:
    // the update is refused before the announcement.
    void unusableUpdatesAreRefused_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QByteArray>("moduleAndVersion"); // empty: refused
        QTest::newRow("2.02") << "2.02" << qint64(300) << hex("04 02 02");
        QTest::newRow("not a number counts as 0") << "x.5" << qint64(300) << hex("04 00 05");
        QTest::newRow("missing module") << "" << qint64(300) << QByteArray();
        QTest::newRow("no dot") << "3" << qint64(300) << QByteArray();
        QTest::newRow("major beyond a byte") << "300.1" << qint64(300) << QByteArray();
        QTest::newRow("empty image") << "3.00" << qint64(0) << QByteArray();
        QTest::newRow("65535 chunks")
            << "3.00" << FirmwareTransfer::kMaxImageSize << hex("04 03 00");
        QTest::newRow("one byte more")
            << "3.00" << FirmwareTransfer::kMaxImageSize + 1 << QByteArray();
        QTest::newRow("missing file") << "3.00" << qint64(-1) << QByteArray();
    }
    void unusableUpdatesAreRefused()
    {
        QFETCH(QString, version);
        QFETCH(qint64, size);
        QFETCH(QByteArray, moduleAndVersion);
        m_catalogueVersion = version;
        QString path = m_dir.filePath(QStringLiteral("missing.bin"));
        if (size >= 0) {
            path = m_dir.filePath(QStringLiteral("big.bin"));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(size));
        }
        QSignalSpy refused(m_transfer.get(), &FirmwareTransfer::refused);
        m_transfer->start(4, path);
        if (moduleAndVersion.isEmpty()) {
            QCOMPARE(refused.size(), 1);
            QVERIFY(!refused.first().first().toString().isEmpty());
            QVERIFY(m_sent.isEmpty());
            QVERIFY(!m_transfer->isActive());
            return;
        }
        QCOMPARE(refused.size(), 0);
        answerLast();
        QCOMPARE(FrameBytes::payloadOf(m_sent.last()), moduleAndVersion);
        QCOMPARE(m_params->fwPacketCount.load(), uint32_t((size + 241) / 242));
    }

    // Replies are acted on only while a transfer of ours runs: a late second answer to the last
    // chunk, a stray firmware reply, or any reply after the link was lost sends nothing.
    void repliesWithoutTransferSendNothing_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::newRow("duplicate last chunk answer") << "duplicate";
        QTest::newRow("stray replies before any start") << "stray";
        QTest::newRow("link lost mid-transfer") << "linklost";
    }
    void repliesWithoutTransferSendNothing()
    {
        QFETCH(QString, situation);
        if (situation == QLatin1String("stray")) {
            for (uint8_t command = 0xD1; command <= 0xD6; ++command)
                m_link->dispatchFrame(reply(command, hex("00 00 00")));
            QVERIFY(m_sent.isEmpty());
            return;
        }
        startToFirstChunk(0, image(484));
        if (situation == QLatin1String("linklost")) {
            Q_EMIT m_link->SignalHandShaked(false);
            const qsizetype before = m_sent.size();
            m_link->dispatchFrame(reply(0xD5, hex("00 01 00")));
            QCOMPARE(m_sent.size(), before);
            QVERIFY(!m_transfer->isActive());
            return;
        }
        answerLast(); // chunk 2
        const QByteArray lastChunkAnswer = reply(0xD5, hex("00 02 00"));
        m_link->dispatchFrame(lastChunkAnswer); // -> done
        QCOMPARE(uint8_t(m_sent.last()[6]), uint8_t(0xD6));
        const qsizetype before = m_sent.size();
        m_link->dispatchFrame(lastChunkAnswer);
        QCOMPARE(m_sent.size(), before);
        QCOMPARE(m_progress, (QList<int>{0, 50, 100}));
    }

    // The image is read when the transfer starts: a download rewriting the file meanwhile changes
    // nothing that leaves.
    void fileRewrittenMidTransferIsNotSent()
    {
        const QString path = image(600);
        QFile original(path);
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray content = original.readAll();
        original.close();
        startToFirstChunk(0, path);
        QFile rewritten(path);
        QVERIFY(rewritten.open(QIODevice::WriteOnly));
        rewritten.write(QByteArray(900, 'X'));
        rewritten.close();
        for (int guard = 0; guard < 10 && uint8_t(m_sent.last()[6]) != 0xD6; ++guard)
            answerLast();
        QByteArray sent;
        for (const QByteArray &frame : std::as_const(m_sent)) {
            if (uint8_t(frame[6]) == 0xD5)
                sent += FrameBytes::payloadOf(frame).mid(2);
        }
        QCOMPARE(sent, content);
    }
};

QTEST_GUILESS_MAIN(tst_FirmwareTransfer)
#include "tst_firmwaretransfer.moc"
