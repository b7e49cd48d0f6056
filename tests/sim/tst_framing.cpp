#include "SimTestSupport.h"
#include "sim/AircraftFrame.h"
#include "sim/HostFrameParser.h"

#include <QRandomGenerator>
#include <QTest>

using namespace simtest;

// Host frames as the aircraft reads them, and aircraft frames as the host's extractor needs them.
class tst_Framing : public QObject
{
    Q_OBJECT

private slots:
    void vectors_data();
    void vectors();
    void fragmentedStreams();
    void cleanFramesKeepTheSyncPairOutOfTheCrc();
};

void tst_Framing::vectors_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArrayList>("frames"); // each: type, then payload
    QTest::addColumn<int>("rejected");

    auto row = [](const char *name, const QByteArray &input, const QByteArrayList &frames,
                  int rejected) { QTest::newRow(name) << input << frames << rejected; };
    const QByteArray read = fromHex("EB90FFFFFFFF 02 00 9EA6 515A");
    const QByteArray heartbeat = fromHex("EB90FFFFFFFF C1 01 FF 9644 515A");
    row("read frame type", read, {fromHex("02")}, 0);
    row("heartbeat", heartbeat, {fromHex("C1 FF")}, 0);
    row("disconnect", fromHex("EB90FFFFFFFF C1 00 CE56 515A"), {fromHex("C1")}, 0);
    row("two frames in one read", read + heartbeat, {fromHex("02"), fromHex("C1 FF")}, 0);
    row("garbage before", fromHex("00 11 EB 22 90") + read, {fromHex("02")}, 0);
    row("bad CRC", fromHex("EB90FFFFFFFF 02 00 9EA7 515A"), {}, 1);
    row("bad trailer", fromHex("EB90FFFFFFFF 02 00 9EA6 515B"), {}, 1);
    row("aircraft reply is not a host frame", fromHex("EB90FFFFFFFF C1 01 00 D604") + read,
        {fromHex("02")}, 1);
    // A header promising 200 bytes must not make the next good frame wait for them.
    row("torn frame does not block the next", fromHex("EB90FFFFFFFF D5 C8 0100") + heartbeat,
        {fromHex("C1 FF")}, 1);
    row("sync pair inside the payload", hostFrame(0x0C, fromHex("EB90 2804 01")),
        {fromHex("0C EB90 2804 01")}, 0);
    const QByteArray chunk = fromHex("0100") + QByteArray(242, char(0xA5));
    row("firmware chunk of 244 bytes", hostFrame(0xD5, chunk), {fromHex("D5") + chunk}, 0);
    row("no sync at all", fromHex("0102030405060708090A0B0C"), {}, 0);
}

void tst_Framing::vectors()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArrayList, frames);
    QFETCH(int, rejected);

    HostFrameParser parser;
    const QList<HostFrame> parsed = parser.feed(input);
    QCOMPARE(parsed.size(), frames.size());
    for (int i = 0; i < parsed.size(); ++i) {
        QCOMPARE(parsed[i].type, quint8(frames[i][0]));
        QCOMPARE(parsed[i].payload, frames[i].mid(1));
        QCOMPARE(parsed[i].raw, hostFrame(parsed[i].type, parsed[i].payload));
    }
    QCOMPARE(parser.rejectedFrames(), rejected);
}

void tst_Framing::fragmentedStreams()
{
    // Garbage, a false sync pair and a lone sync byte between frames, cut at every position and
    // then fed one byte at a time.
    const QByteArray stream = fromHex("5555") + hostFrame(0xC1, fromHex("FF180506100000"))
                              + fromHex("EB9000EB") + hostFrame(0x02) + fromHex("EB")
                              + hostFrame(0x0A, fromHex("640064006400"));
    auto check = [](const QList<HostFrame> &frames, const HostFrameParser &parser) {
        QCOMPARE(frames.size(), 3);
        QCOMPARE(frames[0].type, quint8(0xC1));
        QCOMPARE(frames[1].type, quint8(0x02));
        QCOMPARE(frames[2].payload, fromHex("640064006400"));
        QCOMPARE(parser.bufferedBytes(), 0);
        QCOMPARE(parser.discardedBytes(), qint64(7)); // the garbage, nothing more
    };
    for (int cut = 0; cut <= stream.size(); ++cut) {
        HostFrameParser parser;
        QList<HostFrame> frames = parser.feed(stream.left(cut));
        frames += parser.feed(stream.mid(cut));
        check(frames, parser);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("cut at %1").arg(cut)));
    }
    HostFrameParser parser;
    QList<HostFrame> frames;
    for (char c : stream)
        frames += parser.feed(QByteArray(1, c));
    check(frames, parser);
}

void tst_Framing::cleanFramesKeepTheSyncPairOutOfTheCrc()
{
    // Among many payloads some plain frames do end up with EB 90 touching the CRC; the clean
    // builder must never produce one.
    QRandomGenerator random(7);
    int plainHits = 0;
    for (int i = 0; i < 200000; ++i) {
        QByteArray payload(int(random.bounded(4)), Qt::Uninitialized);
        for (char &c : payload)
            c = char(random.bounded(256));
        AircraftFrame::removeSyncPairs(payload);
        const QByteArray plain = AircraftFrame::build(0x41, payload);
        if (AircraftFrame::straySync(plain, 8 + int(payload.size()) - 1) >= 0)
            ++plainHits;
        const QByteArray clean = AircraftFrame::buildClean(0x41, payload);
        QCOMPARE(AircraftFrame::straySync(clean), -1);
        QVERIFY(crcOk(clean));
        QCOMPARE(clean.mid(6, 2 + payload.size()), plain.mid(6, 2 + payload.size()));
    }
    QVERIFY2(plainHits > 0, "the random payloads never provoked the case under test");
}

QTEST_GUILESS_MAIN(tst_Framing)
#include "tst_framing.moc"
