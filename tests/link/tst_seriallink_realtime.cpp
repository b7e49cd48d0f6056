// The link in real time against a scripted peer: the test plays the aircraft by feeding reply
// bytes and watching the frames the link sends.
#include "app/AircraftParams.h"
#include "blackbox/BlackBoxDownloadState.h"
#include "link/seriallink.h"
#include "support/FrameBytes.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using FrameBytes::hex;
using FrameBytes::reply;

namespace {
struct Sent
{
    qint64 ms;
    QByteArray frame;
};
} // namespace

class tst_SerialLinkRealtime : public QObject
{
    Q_OBJECT

    std::unique_ptr<AircraftParams> m_params;
    std::unique_ptr<BlackBoxDownloadState> m_blackBox;
    std::unique_ptr<SerialLink> m_link;
    QElapsedTimer m_clock;
    QList<Sent> m_sent;

    void receive(const QByteArray &bytes)
    {
        QMetaObject::invokeMethod(m_link.get(), "SlotReceiveData", Q_ARG(QByteArray, bytes));
    }
    QList<Sent> sentOfType(uint8_t type, qint64 sinceMs = 0) const
    {
        QList<Sent> out;
        for (const Sent &s : m_sent)
            if (uint8_t(s.frame[6]) == type && s.ms >= sinceMs)
                out.append(s);
        return out;
    }
    void handShake()
    {
        QSignalSpy shaken(m_link.get(), &SerialLink::SignalHandShaked);
        m_link->connectLine();
        receive(reply(0xC1, hex("00")));
        QTRY_COMPARE(shaken.size(), 1);
    }

private Q_SLOTS:
    void init()
    {
        m_params = std::make_unique<AircraftParams>();
        m_blackBox = std::make_unique<BlackBoxDownloadState>();
        m_link = std::make_unique<SerialLink>(nullptr, m_params.get(), m_blackBox.get());
        m_sent.clear();
        m_clock.start();
        connect(m_link.get(), &SerialLink::SignalSendData, this,
                [this](const QByteArray &f) { m_sent.append({m_clock.elapsed(), f}); });
    }
    void cleanup() { m_link.reset(); }

    void connectFramesOncePerSecondWhileSilent()
    {
        m_link->connectLine();
        m_link->connectLine(); // reopening the port never doubles the rate
        QTest::qWait(3300);
        const QList<Sent> connects = sentOfType(0xC1);
        // Two at once from the two calls, then one a second.
        QVERIFY2(connects.size() >= 4 && connects.size() <= 6, qPrintable(QString::number(connects.size())));
        QCOMPARE(sentOfType(0xC1, 500).size(), 3);
        for (const Sent &s : connects) {
            QCOMPARE(s.frame.size(), 19);
            QCOMPARE(s.frame.left(9), hex("EB 90 FF FF FF FF C1 07 FF"));
            const int month = s.frame[10], day = s.frame[11], hour = s.frame[12];
            QVERIFY(month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour >= 0 && hour <= 23);
            QVERIFY(s.frame.endsWith(hex("51 5A")));
        }
        QVERIFY(!m_link->isResendTimerRunning());
        QVERIFY(!m_link->isHandShaked());
    }

    void handshakeOnceThenHeartbeat()
    {
        QSignalSpy shaken(m_link.get(), &SerialLink::SignalHandShaked);
        m_link->connectLine();
        receive(reply(0xC1, hex("01"))); // not a handshake
        QTest::qWait(100);
        QCOMPARE(shaken.size(), 0);
        receive(reply(0xC1, hex("00")));
        QTRY_COMPARE(shaken.size(), 1);
        QCOMPARE(shaken.at(0).at(0).toBool(), true);
        const qint64 shakenAt = m_clock.elapsed();
        receive(reply(0xC1, hex("00")) + reply(0xC1, hex("00")));
        QTest::qWait(2200);
        QCOMPARE(shaken.size(), 1);
        const QList<Sent> beats = sentOfType(0xC1, shakenAt);
        QVERIFY2(beats.size() >= 2 && beats.size() <= 3, qPrintable(QString::number(beats.size())));
        for (const Sent &s : beats)
            QCOMPARE(s.frame, hex("EB 90 FF FF FF FF C1 01 FF 96 44 51 5A"));
    }

    void resendEvery200msUntilTheMatchingReply()
    {
        handShake();
        m_sent.clear();
        const qint64 start = m_clock.elapsed();
        m_link->requestUav_UavType();
        QTest::qWait(300);
        receive(reply(0x02, hex("00"))); // an acknowledgement: wrong key for a read
        QTest::qWait(800);
        const QList<Sent> reads = sentOfType(0x02, start);
        QVERIFY2(reads.size() >= 5 && reads.size() <= 7, qPrintable(QString::number(reads.size())));
        for (int i = 2; i < reads.size(); ++i) {
            const qint64 gap = reads[i].ms - reads[i - 1].ms;
            QVERIFY2(gap >= 150 && gap <= 300, qPrintable(QString::number(gap)));
        }
        receive(reply(0x02, hex("05 00")));
        QTRY_VERIFY(!m_link->isResendTimerRunning());
        const qint64 answered = m_clock.elapsed();
        QTest::qWait(600);
        QCOMPARE(sentOfType(0x02, answered).size(), 0);
        QCOMPARE(m_params->Uav_Type.load(), uint8_t(5));
    }

    void lateStopDoesNotCancelANewerCommand()
    {
        handShake();
        m_link->requestUav_UavType();
        QVERIFY(m_link->isResendTimerRunning());
        // The worker's "stop" for an older command, delivered after this one was sent.
        QMetaObject::invokeMethod(m_link.get(), "SlotResendEnable", Q_ARG(bool, false));
        QVERIFY(m_link->isResendTimerRunning());
        m_sent.clear();
        QTest::qWait(500);
        QVERIFY(sentOfType(0x02).size() >= 2);
    }

    void linkLostAfterFiveSilentSeconds()
    {
        handShake();
        QSignalSpy shaken(m_link.get(), &SerialLink::SignalHandShaked);
        QTest::qWait(4500); // the last bytes arrived just before this

        QCOMPARE(shaken.size(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(shaken.size(), 1, 1500);
        QCOMPARE(shaken.at(0).at(0).toBool(), false);
        QVERIFY(!m_link->isHandShaked());
        // Back to connect frames on the same port.
        const qint64 lost = m_clock.elapsed();
        QTest::qWait(1200);
        const QList<Sent> after = sentOfType(0xC1, lost);
        QVERIFY(!after.isEmpty());
        QCOMPARE(after.last().frame[7], char(7));
        QCOMPARE(shaken.size(), 1);
    }

    void continuousHoldsCommandsButNotHeartbeats()
    {
        handShake();
        m_link->request_HostOK();
        m_sent.clear();
        m_link->requestUav_UavType();
        QTest::qWait(1100);
        QCOMPARE(sentOfType(0x02).size(), 0);
        QVERIFY(!sentOfType(0xC1).isEmpty());
        QCOMPARE(sentOfType(0xC1).first().frame, hex("EB 90 FF FF FF FF C1 01 FF 96 44 51 5A"));
        m_link->request_Data(1, 1);
        m_sent.clear();
        QTest::qWait(1100);
        QCOMPARE(sentOfType(0xC1).first().frame, hex("EB 90 FF FF FF FF C1 01 00 D6 04 51 5A"));
    }

    void portErrorDropsTheConnection()
    {
        handShake();
        m_link->request_Data(1, 1);
        QSignalSpy shaken(m_link.get(), &SerialLink::SignalHandShaked);
        QSignalSpy resend(m_link.get(), &SerialLink::SignalResendEnable);
        QMetaObject::invokeMethod(m_link.get(), "SlotDisconnect");
        QCOMPARE(shaken.size(), 1);
        QCOMPARE(shaken.at(0).at(0).toBool(), false);
        QCOMPARE(resend.size(), 1);
        QCOMPARE(resend.at(0).at(0).toBool(), false);
        QVERIFY(!m_link->isContinuous());
        QCOMPARE(m_link->currentHeartbeatFlag(), uint8_t(0xFF));
        QVERIFY(m_link->pendingFrame().isEmpty());
        QVERIFY(m_link->isLinkTimeoutRunning());
    }

    void framesAreHandledInArrivalOrderAcrossTheThread()
    {
        handShake();
        QList<int> order;
        connect(m_link.get(), &SerialLink::SignalReturnInfo, this,
                [&](uint8_t command, const QString &) { order.append(command); });
        QByteArray burst;
        for (int i = 0; i < 50; ++i)
            burst += reply(uint8_t(0x41 + i % 3), QByteArray(18, char(i)));
        for (int i = 0; i < burst.size(); i += 37)
            receive(burst.mid(i, 37));
        QTRY_COMPARE(order.size(), 50);
        for (int i = 0; i < 50; ++i)
            QCOMPARE(order[i], 0x41 + i % 3);
    }

    void destroyingARunningLinkStopsItsThread()
    {
        handShake();
        receive(QByteArray(1000, '\x11'));
        QVERIFY(m_link->isRunning());
        QElapsedTimer t;
        t.start();
        m_link.reset();
        QVERIFY(t.elapsed() < 1000);
    }
};

QTEST_GUILESS_MAIN(tst_SerialLinkRealtime)
#include "tst_seriallink_realtime.moc"
