#include "SimTestSupport.h"
#include "sim/HostFrameParser.h"

#include <QTest>

using namespace simtest;

class tst_HostFrameParser : public QObject
{
    Q_OBJECT

private slots:
    void vectors_data();
    void vectors();
    void splitAtEveryPosition();
    void oneByteAtATime();
    void loneSyncByteWaits();
    void garbageBetweenFrames();
    void tornFrameDoesNotBlockTheNext();
};

void tst_HostFrameParser::vectors_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("types");    // one byte per expected frame
    QTest::addColumn<QList<QByteArray>>("payloads");
    QTest::addColumn<int>("rejected");

    QTest::newRow("read frame type") << fromHex("EB90FFFFFFFF 02 00 9EA6 515A") << fromHex("02")
                                     << QList<QByteArray>{QByteArray()} << 0;
    QTest::newRow("heartbeat FF") << fromHex("EB90FFFFFFFF C1 01 FF 9644 515A") << fromHex("C1")
                                  << QList<QByteArray>{fromHex("FF")} << 0;
    QTest::newRow("heartbeat 00") << fromHex("EB90FFFFFFFF C1 01 00 D604 515A") << fromHex("C1")
                                  << QList<QByteArray>{fromHex("00")} << 0;
    QTest::newRow("disconnect") << fromHex("EB90FFFFFFFF C1 00 CE56 515A") << fromHex("C1")
                                << QList<QByteArray>{QByteArray()} << 0;
    QTest::newRow("two frames in one read")
        << fromHex("EB90FFFFFFFF0200 9EA6515A EB90FFFFFFFFC101FF9644515A") << fromHex("02C1")
        << QList<QByteArray>{QByteArray(), fromHex("FF")} << 0;
    QTest::newRow("garbage before") << fromHex("00 11 EB 22 90 EB90FFFFFFFF0200 9EA6515A") << fromHex("02")
                                    << QList<QByteArray>{QByteArray()} << 0;
    QTest::newRow("bad CRC") << fromHex("EB90FFFFFFFF 02 00 9EA7 515A") << QByteArray()
                             << QList<QByteArray>{} << 1;
    QTest::newRow("bad trailer") << fromHex("EB90FFFFFFFF 02 00 9EA6 515B") << QByteArray()
                                 << QList<QByteArray>{} << 1;
    QTest::newRow("aircraft reply is not a host frame")
        << fromHex("EB90FFFFFFFF C1 01 00 D604 EB90FFFFFFFF0200 9EA6515A") << fromHex("02")
        << QList<QByteArray>{QByteArray()} << 1;
    QTest::newRow("sync pair inside the payload")
        << hostFrame(0x0C, fromHex("EB90 2804 01")) << fromHex("0C")
        << QList<QByteArray>{fromHex("EB90280401")} << 0;
    QTest::newRow("maintenance cycle then wheelbase")
        << hostFrame(0x1C, fromHex("06 E8 03 00 00")) + hostFrame(0x09, fromHex("04")) << fromHex("1C09")
        << QList<QByteArray>{fromHex("06E8030000"), fromHex("04")} << 0;
    QTest::newRow("firmware chunk of 244 bytes")
        << hostFrame(0xD5, fromHex("0100") + QByteArray(242, char(0xA5))) << fromHex("D5")
        << QList<QByteArray>{fromHex("0100") + QByteArray(242, char(0xA5))} << 0;
    QTest::newRow("no sync at all") << fromHex("0102030405060708090A0B0C") << QByteArray()
                                    << QList<QByteArray>{} << 0;
}

void tst_HostFrameParser::vectors()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, types);
    QFETCH(QList<QByteArray>, payloads);
    QFETCH(int, rejected);

    HostFrameParser parser;
    const QList<HostFrame> frames = parser.feed(input);
    QCOMPARE(frames.size(), types.size());
    for (int i = 0; i < frames.size(); ++i) {
        QCOMPARE(frames[i].type, quint8(types[i]));
        QCOMPARE(frames[i].payload, payloads[i]);
        QCOMPARE(frames[i].raw, hostFrame(frames[i].type, frames[i].payload));
    }
    QCOMPARE(parser.rejectedFrames(), rejected);
}

void tst_HostFrameParser::splitAtEveryPosition()
{
    const QByteArray stream = hostFrame(0xC1, fromHex("FF180506100000")) + hostFrame(0x02)
                              + hostFrame(0x0A, fromHex("640064006400"));
    for (int cut = 0; cut <= stream.size(); ++cut) {
        HostFrameParser parser;
        QList<HostFrame> frames = parser.feed(stream.left(cut));
        frames += parser.feed(stream.mid(cut));
        QCOMPARE(frames.size(), 3);
        QCOMPARE(frames[0].type, quint8(0xC1));
        QCOMPARE(frames[1].type, quint8(0x02));
        QCOMPARE(frames[2].payload, fromHex("640064006400"));
        QCOMPARE(parser.bufferedBytes(), 0);
    }
}

void tst_HostFrameParser::oneByteAtATime()
{
    const QByteArray stream = fromHex("5555") + hostFrame(0x10, fromHex("03")) + fromHex("EB")
                              + hostFrame(0x12);
    HostFrameParser parser;
    QList<HostFrame> frames;
    for (char c : stream)
        frames += parser.feed(QByteArray(1, c));
    QCOMPARE(frames.size(), 2);
    QCOMPARE(frames[0].type, quint8(0x10));
    QCOMPARE(frames[1].type, quint8(0x12));
}

void tst_HostFrameParser::loneSyncByteWaits()
{
    HostFrameParser parser;
    QVERIFY(parser.feed(fromHex("0102EB")).isEmpty());
    QCOMPARE(parser.bufferedBytes(), 1);
    const QByteArray rest = hostFrame(0x02).mid(1);
    const QList<HostFrame> frames = parser.feed(rest);
    QCOMPARE(frames.size(), 1);
    QCOMPARE(parser.discardedBytes(), qint64(2));
}

void tst_HostFrameParser::garbageBetweenFrames()
{
    QByteArray stream;
    for (int i = 0; i < 20; ++i) {
        stream += hostFrame(quint8(i + 1), QByteArray(i, char(i)));
        stream += QByteArray(i % 7, char(0xEB)) + fromHex("90 00 EB");
    }
    HostFrameParser parser;
    const QList<HostFrame> frames = parser.feed(stream);
    QCOMPARE(frames.size(), 20);
    for (int i = 0; i < 20; ++i)
        QCOMPARE(frames[i].type, quint8(i + 1));
}

void tst_HostFrameParser::tornFrameDoesNotBlockTheNext()
{
    // A frame cut off after its header promises 200 bytes; the next good frame must not wait for
    // them.
    const QByteArray torn = fromHex("EB90FFFFFFFF D5 C8 0100");
    HostFrameParser parser;
    const QList<HostFrame> frames = parser.feed(torn + hostFrame(0xC1, fromHex("FF")));
    QCOMPARE(frames.size(), 1);
    QCOMPARE(frames[0].type, quint8(0xC1));
    QCOMPARE(parser.rejectedFrames(), 1);
}

QTEST_GUILESS_MAIN(tst_HostFrameParser)
#include "tst_hostframeparser.moc"
