#include "link/FrameCodec.h"
#include "link/crc16.h"
#include "support/FrameBytes.h"

#include <QTest>

using FrameBytes::hex;
using FrameBytes::reply;

class tst_FrameCodec : public QObject
{
    Q_OBJECT

private:
    // Frames in arrival order, as the link walks the extractor's latest-first list.
    static QList<QByteArray> feed(FrameExtractor &x, const QByteArray &bytes)
    {
        QList<QByteArray> frames;
        x.extractFrames(bytes, frames);
        std::reverse(frames.begin(), frames.end());
        return frames;
    }

    // A reply whose CRC holds the pair EB 90 (found by search: the payload's last byte varies).
    static QByteArray replyWithSyncInCrc(uint8_t type, QByteArray payload)
    {
        payload.append('\0');
        for (int a = 0; a < 256; ++a) {
            for (int v = 0; v < 256; ++v) {
                payload[payload.size() - 2] = char(a);
                payload[payload.size() - 1] = char(v);
                const QByteArray f = reply(type, payload);
                if (f.endsWith(hex("EB 90")))
                    return f;
            }
        }
        return {};
    }

    // A reply whose CRC high byte is 0x00 (found by search: the payload's last byte varies).
    static QByteArray replyWithCrcHighZero(uint8_t type, QByteArray payload)
    {
        for (int v = 0; v < 65536; ++v) {
            payload[payload.size() - 1] = char(v & 0xFF);
            payload[payload.size() - 2] = char(v >> 8);
            const QByteArray f = reply(type, payload);
            if (f.endsWith('\0') && f.indexOf(hex("EB 90"), 1) < 0)
                return f;
        }
        return {};
    }

private Q_SLOTS:
    void crcCheckValues_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("crc");
        QTest::newRow("digits") << QByteArray("123456789") << 0x4B37;
        QTest::newRow("abc") << QByteArray("abc") << 0x5749;
        QTest::newRow("empty") << QByteArray() << 0xFFFF;
        QTest::newRow("heartbeat FF") << hex("EB 90 FF FF FF FF C1 01 FF") << 0x4496;
    }
    void crcCheckValues()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, crc);
        QCOMPARE(int(crc16(bytes)), crc);
        // Split anywhere, the running CRC gives the same value.
        const auto *p = reinterpret_cast<const uint8_t *>(bytes.constData());
        for (int cut = 0; cut <= bytes.size(); ++cut)
            QCOMPARE(int(crc16Continue(crc16Continue(0xFFFF, p, cut), p + cut, int(bytes.size()) - cut)), crc);
    }

    void buildFrame_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("heartbeat FF") << 0xC1 << hex("FF") << hex("EB 90 FF FF FF FF C1 01 FF 96 44 51 5A");
        QTest::newRow("heartbeat 00") << 0xC1 << hex("00") << hex("EB 90 FF FF FF FF C1 01 00 D6 04 51 5A");
        QTest::newRow("disconnect") << 0xC1 << QByteArray() << hex("EB 90 FF FF FF FF C1 00 CE 56 51 5A");
        QTest::newRow("request 0x02") << 0x02 << QByteArray() << hex("EB 90 FF FF FF FF 02 00 9E A6 51 5A");
    }
    void buildFrame()
    {
        QFETCH(int, type);
        QFETCH(QByteArray, payload);
        QFETCH(QByteArray, frame);
        QCOMPARE(::buildFrame(uint8_t(type), uint8_t(payload.size()), payload).toHex(' '), frame.toHex(' '));
    }

    void acceptsReplyRejectsTrailer()
    {
        FrameExtractor x;
        const QByteArray heartbeat = hex("EB 90 FF FF FF FF C1 01 00 D6 04");
        QCOMPARE(feed(x, heartbeat), QList<QByteArray>{heartbeat});
        QVERIFY(x.accumulator().isEmpty());
        // A host-style frame with the trailer does not check: it waits as a possible partial frame.
        FrameExtractor y;
        QVERIFY(feed(y, heartbeat + hex("51 5A")).isEmpty());
    }

    void framesComeInArrivalOrder()
    {
        FrameExtractor x;
        const QByteArray a = reply(0x02, hex("00"));
        const QByteArray b = reply(0x09, hex("04 00"));
        const QByteArray c = reply(0x43, QByteArray(12, '\x11'));
        QList<QByteArray> latestFirst;
        QCOMPARE(x.extractFrames(a + b + c, latestFirst), 3);
        QCOMPARE(latestFirst, (QList<QByteArray>{c, b, a}));
    }

    // Every split position of a stream of several frames with garbage before, between and after.
    void splitReadsLoseNothing_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QList<QByteArray>>("expected");
        QTest::addColumn<QList<QByteArray>>("allowed"); // may also arrive, when a read ends just after them
        const QByteArray a = reply(0xC1, hex("00"));
        const QByteArray b = reply(0x0C, hex("38 04 24 04 01"));
        const QByteArray c = reply(0xE5, QByteArray(4, '\0') + QByteArray(128, '\x5A'));
        const QList<QByteArray> none;
        QTest::newRow("clean") << a + b + c << QList<QByteArray>{a, b, c} << none;
        QTest::newRow("garbage before") << hex("00 13 EB 51 90") + a + b + c << QList<QByteArray>{a, b, c} << none;
        // Bytes glued to a frame's end break its CRC: that frame is lost unless a read happened to
        // end right after it; its neighbours always arrive.
        QTest::newRow("garbage between") << a + hex("77") + b + c << QList<QByteArray>{b, c} << QList<QByteArray>{a};
        QTest::newRow("garbage and false start") << a + b + hex("90 90 01 EB 90 05") + c
                                                 << QList<QByteArray>{a, c} << QList<QByteArray>{b};
        const QByteArray sync = replyWithSyncInCrc(0x09, hex("00"));
        QTest::newRow("sync pair in a CRC") << a + sync + b << QList<QByteArray>{a, sync, b} << none;
        const QByteArray inner = reply(0xE5, hex("00 00 00 01") + QByteArray(60, '\x01') + hex("EB 90") + QByteArray(66, '\x02'));
        QTest::newRow("sync pair in a payload") << a + inner + b << QList<QByteArray>{a, inner, b} << none;
        // Without its last byte 0x00 such a frame already passes the CRC: it must wait for it.
        const QByteArray chunk = replyWithCrcHighZero(0xE5, hex("00 00 00 04") + QByteArray(128, '\x21'));
        const QByteArray shortReply = replyWithCrcHighZero(0x09, hex("04 00"));
        QTest::newRow("CRC high byte 0") << a + chunk + shortReply + b << QList<QByteArray>{a, chunk, shortReply, b} << none;
        QTest::newRow("CRC high byte 0 last") << a + chunk << QList<QByteArray>{a, chunk} << none;
    }
    void splitReadsLoseNothing()
    {
        QFETCH(QByteArray, stream);
        QFETCH(QList<QByteArray>, expected);
        QFETCH(QList<QByteArray>, allowed);
        // Nothing twice, nothing out of order, nothing that is not a frame of the stream.
        const auto matches = [&](QList<QByteArray> got) {
            got.removeIf([&](const QByteArray &f) { return allowed.contains(f) && !expected.contains(f); });
            return got == expected;
        };
        for (int cut = 0; cut <= stream.size(); ++cut) {
            FrameExtractor x;
            QList<QByteArray> got = feed(x, stream.left(cut));
            got += feed(x, stream.mid(cut));
            QVERIFY2(matches(got), qPrintable(QStringLiteral("cut at %1: %2 frames").arg(cut).arg(got.size())));
        }
        FrameExtractor x;
        QList<QByteArray> got;
        for (char ch : stream)
            got += feed(x, QByteArray(1, ch));
        QVERIFY(matches(got));
    }

    void lonePrefixByteDelaysButKeeps_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("short") << reply(0x02, hex("00"));
        QTest::newRow("longest") << reply(0xE5, QByteArray(255, '\x11'));
    }
    void lonePrefixByteDelaysButKeeps()
    {
        QFETCH(QByteArray, frame);
        FrameExtractor x;
        const QByteArray b = reply(0x04, hex("00"));
        QVERIFY(feed(x, frame + hex("EB")).isEmpty()); // the frame waits until 0x90 splits it off
        QCOMPARE(feed(x, b.mid(1)), (QList<QByteArray>{frame, b}));
    }

    void frameShortOfItsLengthWaitsForTheRest()
    {
        const QByteArray chunk = replyWithCrcHighZero(0xE5, hex("00 00 00 09") + QByteArray(128, '\x37'));
        QVERIFY(!chunk.isEmpty());
        FrameExtractor x;
        QVERIFY(feed(x, chunk.chopped(1)).isEmpty());
        QCOMPARE(feed(x, chunk.right(1)), QList<QByteArray>{chunk});
        QVERIFY(x.accumulator().isEmpty());
    }

    void bytesWithoutSyncStayUntilCap()
    {
        FrameExtractor x;
        QVERIFY(feed(x, QByteArray(100, '\x33')).isEmpty());
        QCOMPARE(x.accumulator().size(), 100);
        // Bytes before the first sync pair go once a frame start arrives.
        const QByteArray a = reply(0x02, hex("00"));
        QCOMPARE(feed(x, a), QList<QByteArray>{a});
        QVERIFY(x.accumulator().isEmpty());
        // A stream with no sync pair at all is capped, keeping a last 0xEB that may begin one.
        QVERIFY(feed(x, QByteArray(FrameExtractor::kAccumulatorCap, '\x33') + hex("EB")).isEmpty());
        QCOMPARE(x.accumulator(), hex("EB"));
        QCOMPARE(feed(x, a.mid(1)), QList<QByteArray>{a});
    }

    void shortOrLongGarbageIsDropped()
    {
        FrameExtractor x;
        // "EB 90" followed by bytes whose residue happens to be zero but shorter than a header.
        QByteArray tiny = hex("EB 90 01");
        const quint16 crc = crc16(tiny);
        tiny.append(char(crc & 0xFF)).append(char(crc >> 8));
        const QByteArray a = reply(0x02, hex("00"));
        QCOMPARE(feed(x, tiny + a), QList<QByteArray>{a});
        // A failing candidate longer than any frame is not kept waiting.
        QVERIFY(feed(x, hex("EB 90") + QByteArray(FrameExtractor::kMaxFrameSize, '\x01')).isEmpty());
        QVERIFY(x.accumulator().isEmpty());
    }

    void partialFrameWithInnerSyncWaitsForItsEnd()
    {
        const QByteArray inner = reply(0xE5, hex("00 00 00 07") + hex("EB 90") + QByteArray(126, '\x42'));
        FrameExtractor x;
        QVERIFY(feed(x, inner.left(40)).isEmpty());
        QVERIFY(feed(x, inner.mid(40, 50)).isEmpty());
        QCOMPARE(feed(x, inner.mid(90)), QList<QByteArray>{inner});
        QCOMPARE(x.e5CrcErrorCount(), 0);
    }

    void eleventhRejectedChunkIsReported()
    {
        FrameExtractor x;
        QByteArray bad = reply(0xE5, hex("00 00 00 03") + QByteArray(128, '\x10'));
        bad[20] = char(bad[20] ^ 0x01);
        const QByteArray heartbeat = reply(0xC1, hex("00"));
        // Each corrupt chunk is followed by a good heartbeat, so it is known to be complete.
        for (int i = 1; i <= 10; ++i) {
            QCOMPARE(feed(x, bad + heartbeat).size(), 1);
            QCOMPARE(x.e5CrcErrorCount(), i);
        }
        QCOMPARE(x.takeE5Reports(), 0);
        feed(x, bad + heartbeat);
        QCOMPARE(x.takeE5Reports(), 1);
        QCOMPARE(x.e5CrcErrorCount(), 0);
        QCOMPARE(x.takeE5Reports(), 0);
        // A good chunk resets the count.
        feed(x, bad + heartbeat);
        QCOMPARE(x.e5CrcErrorCount(), 1);
        feed(x, reply(0xE5, hex("00 00 00 03") + QByteArray(128, '\x10')));
        QCOMPARE(x.e5CrcErrorCount(), 0);
    }

    void corruptChunksBackToBackAreCounted()
    {
        // Resends of a corrupt chunk with nothing in between: each becomes a rejection once the
        // next one shows it cannot be a partial frame.
        FrameExtractor x;
        QByteArray bad = reply(0xE5, hex("00 00 00 03") + QByteArray(128, '\x10'));
        bad[30] = char(bad[30] ^ 0x40);
        int reports = 0;
        for (int i = 0; i < 12; ++i) {
            QVERIFY(feed(x, bad).isEmpty());
            reports += x.takeE5Reports();
        }
        QCOMPARE(reports, 1);
    }
};

QTEST_GUILESS_MAIN(tst_FrameCodec)
#include "tst_framecodec.moc"
