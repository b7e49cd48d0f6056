// The black-box download sequence against the real link, with an aircraft played back in the
// test: which records are asked for and in what order, what is written, and that replies the
// download did not ask for (late, repeated, unsolicited) change nothing.
#include "app/AircraftParams.h"
#include "blackbox/BlackBoxDownload.h"
#include "blackbox/BlackBoxDownloadState.h"
#include "blackbox/LumBlackBoxesData.h"
#include "link/WireWriter.h"
#include "link/seriallink.h"
#include "support/FrameBytes.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using FrameBytes::hex;
using FrameBytes::reply;

using Lengths = QMap<int, int>;

namespace {
struct Request
{
    uint8_t type;
    int index;
    int sub;
};

// A black box of `count` records of `length` bytes each, unless told otherwise. It answers every
// request a moment later, as a real aircraft does, and can be told to leave some unanswered.
class PlayedAircraft : public QObject
{
public:
    int count = 12;
    int length = 512;
    QMap<int, int> lengths;  // record -> length
    QSet<int> failedLengths; // records whose length request is refused
    bool answering = true;
    QList<Request> requests;

    explicit PlayedAircraft(SerialLink *link)
        : m_link(link)
    {
        connect(link, &SerialLink::SignalSendData, this, [this](const QByteArray &frame) {
            onFrame(frame);
        });
    }

    static QByteArray chunkData(int record, int sub)
    {
        QByteArray data(128, '\0');
        for (int i = 0; i < 128; ++i)
            data[i] = char(record * 31 + sub * 7 + i);
        data[2] = 0x41; // odd chunks begin a block: marked, so the block's samples are written
        // The time stamp sits in the second chunk of a block: 2024-05-06 06:10:00 UTC.
        const QByteArray stamp = hex("07E8 05 06 06 0A 00");
        data.replace(244 - 128, stamp.size(), stamp);
        return data;
    }

    QList<int> indicesOf(uint8_t type, bool subs = false) const
    {
        QList<int> out;
        for (const Request &r : requests) {
            if (r.type == type)
                out << (subs ? r.sub : r.index);
        }
        return out;
    }
    int countOf(uint8_t type) const { return int(indicesOf(type).size()); }

    void send(const QByteArray &frame) { m_link->dispatchFrame(frame); }

private:
    void onFrame(const QByteArray &frame)
    {
        const uint8_t type = uint8_t(frame[6]);
        if (type < 0xE1 || type > 0xE5)
            return;
        const QByteArray payload = FrameBytes::payloadOf(frame);
        const auto be = [&payload](int at) {
            return int((uint8_t(payload[at]) << 24) | (uint8_t(payload[at + 1]) << 16)
                       | (uint8_t(payload[at + 2]) << 8) | uint8_t(payload[at + 3]));
        };
        Request r{type, type >= 0xE3 ? be(0) : 0, type == 0xE5 ? be(4) : 0};
        requests << r;
        if (!answering)
            return;
        QTimer::singleShot(1, this, [this, r] { send(answer(r)); });
    }

    QByteArray answer(const Request &r) const
    {
        switch (r.type) {
        case 0xE1:
            return reply(0xE1, hex("00"));
        case 0xE2:
            return reply(0xE2, WireWriter().u8(0).u32be(uint32_t(count)).data());
        case 0xE3: // status, 12 unread bytes, 2024 little-endian, month to minute, the record
            return reply(0xE3,
                         hex("00 000000000000000000000000 E807 05 06 06 0A") + char(r.index)
                             + QByteArray(3, '\0'));
        case 0xE4:
            return reply(0xE4,
                         WireWriter()
                             .u8(failedLengths.contains(r.index) ? 1 : 0)
                             .u32be(uint32_t(r.index))
                             .u32be(uint32_t(lengths.value(r.index, length)))
                             .data());
        default:
            return reply(
                0xE5, WireWriter().u32be(uint32_t(r.sub)).bytes(chunkData(r.index, r.sub)).data());
        }
    }

    SerialLink *m_link;
};
} // namespace

class tst_BlackBoxDownload : public QObject
{
    Q_OBJECT

    static constexpr int kWaitMs = 200; // the program waits BlackBoxDownload::kStartDelayMs

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AircraftParams> m_params;
    std::unique_ptr<BlackBoxDownloadState> m_state;
    std::unique_ptr<SerialLink> m_link;
    std::unique_ptr<LumBlackBoxesData> m_store;
    std::unique_ptr<BlackBoxDownload> m_download;
    std::unique_ptr<PlayedAircraft> m_aircraft;

    void startAndFinish()
    {
        QSignalSpy finished(m_download.get(), &BlackBoxDownload::finished);
        m_download->start(m_dir->path());
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.count(), 1);
    }
    QStringList files() const { return QDir(m_dir->path()).entryList(QDir::Files, QDir::Name); }
    static void settle() { QTest::qWait(150); }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_params = std::make_unique<AircraftParams>();
        m_state = std::make_unique<BlackBoxDownloadState>();
        m_link = std::make_unique<SerialLink>(nullptr, m_params.get(), m_state.get());
        m_store = std::make_unique<LumBlackBoxesData>();
        m_download = std::make_unique<BlackBoxDownload>(m_link.get(), m_store.get(), m_state.get());
        m_aircraft = std::make_unique<PlayedAircraft>(m_link.get());
        m_download->setStartDelayMs(kWaitMs);
        connect(m_link.get(),
                &SerialLink::SignalReturnInfo,
                m_download.get(),
                &BlackBoxDownload::onReturnInfo);
        connect(m_link.get(),
                &SerialLink::SignalReturnBlackBoxes,
                m_download.get(),
                &BlackBoxDownload::onChunk);
        m_link->dispatchFrame(reply(0xC1, hex("00"))); // hand-shaken
        QVERIFY(m_link->isHandShaked());
    }
    void cleanup()
    {
        m_download.reset();
        m_aircraft.reset();
        m_link.reset();
    }

    // Which records are fetched: the ten newest, newest first, never record 0; a short record or
    // one whose length is refused is skipped after its header, and counts among the ten.
    void recordsFetched_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<Lengths>("lengths");
        QTest::addColumn<QList<int>>("failed");
        QTest::addColumn<QList<int>>("headers"); // records whose header was asked, in order
        QTest::addColumn<QList<int>>("written"); // records with a file
        QTest::newRow("25 records: 25 down to 16")
            << 25 << Lengths{} << QList<int>{} << QList<int>{25, 24, 23, 22, 21, 20, 19, 18, 17, 16}
            << QList<int>{16, 17, 18, 19, 20, 21, 22, 23, 24, 25};
        QTest::newRow("3 records: 3, 2, 1")
            << 3 << Lengths{} << QList<int>{} << QList<int>{3, 2, 1} << QList<int>{1, 2, 3};
        QTest::newRow("short record is the tenth: stop there")
            << 12 << Lengths{{3, 100}} << QList<int>{}
            << QList<int>{12, 11, 10, 9, 8, 7, 6, 5, 4, 3}
            << QList<int>{4, 5, 6, 7, 8, 9, 10, 11, 12};
        QTest::newRow("record 1 short: never record 0")
            << 2 << Lengths{{1, 0}} << QList<int>{} << QList<int>{2, 1} << QList<int>{2};
        QTest::newRow("length refused")
            << 4 << Lengths{} << QList<int>{3} << QList<int>{4, 3, 2, 1} << QList<int>{1, 2, 4};
        QTest::newRow("one chunk: no file")
            << 2 << Lengths{{2, 200}} << QList<int>{} << QList<int>{2, 1} << QList<int>{1};
        QTest::newRow("empty black box")
            << 0 << Lengths{} << QList<int>{} << QList<int>{} << QList<int>{};
    }
    void recordsFetched()
    {
        QFETCH(int, count);
        QFETCH(Lengths, lengths);
        QFETCH(QList<int>, failed);
        QFETCH(QList<int>, headers);
        QFETCH(QList<int>, written);
        m_aircraft->count = count;
        m_aircraft->length = 256;
        m_aircraft->lengths = lengths;
        m_aircraft->failedLengths = QSet<int>(failed.cbegin(), failed.cend());
        startAndFinish();
        settle();

        QCOMPARE(m_aircraft->countOf(0xE1), 1);
        QCOMPARE(m_aircraft->countOf(0xE2), 1);
        QCOMPARE(m_aircraft->indicesOf(0xE3), headers);
        // Once per record, after its header (a refused one is resent by the link).
        const QList<int> lengthsAsked = m_aircraft->indicesOf(0xE4);
        for (int record : headers)
            QVERIFY(failed.contains(record) ? lengthsAsked.count(record) >= 1
                                            : lengthsAsked.count(record) == 1);
        for (int i = 0; i < m_aircraft->requests.size(); ++i) {
            const Request &r = m_aircraft->requests[i];
            QVERIFY(r.type < 0xE3 || r.index >= 1);
            if (r.type == 0xE4 && (i == 0 || m_aircraft->requests[i - 1].type != 0xE4))
                QCOMPARE(m_aircraft->requests[i - 1].type, uint8_t(0xE3)); // header first
        }
        QStringList expected;
        for (int record : written)
            expected << QStringLiteral("index%1date2024-05-06time").arg(record);
        QStringList names = files();
        for (QString &name : names)
            name = name.left(name.indexOf(QLatin1String("time")) + 4);
        names.sort();
        expected.sort();
        QCOMPARE(names, expected);
        QVERIFY(!m_link->isContinuous());
        QVERIFY(m_download->incompleteFiles().isEmpty());
    }

    // Chunks are asked one by one, progress goes with each, the 88 bytes left over are not asked.
    void chunksAndProgress()
    {
        m_aircraft->count = 1;
        m_aircraft->length = 600;
        QList<QList<int>> progress;
        connect(m_download.get(),
                &BlackBoxDownload::progress,
                this,
                [&progress](int index, int max, int sub) {
                    progress << QList<int>{index, max, sub};
                });
        startAndFinish();

        QCOMPARE(progress, (QList<QList<int>>{{1, 4, 1}, {1, 4, 2}, {1, 4, 3}, {1, 4, 4}}));
        QCOMPARE(m_aircraft->indicesOf(0xE5), (QList<int>{1, 1, 1, 1}));
        QCOMPARE(m_aircraft->indicesOf(0xE5, true), (QList<int>{1, 2, 3, 4}));
    }

    // Replies while no download runs send nothing (closing mid-way is checked end to end).
    void repliesWhileIdle_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("0xE1 success") << reply(0xE1, hex("00"));
        QTest::newRow("0xE2 count") << reply(0xE2, hex("00 00000005"));
        QTest::newRow("0xE4 length") << reply(0xE4, hex("00 00000005 00000200"));
        QTest::newRow("0xE5 no data") << reply(0xE5, hex("01 00000005 00000001"));
    }
    void repliesWhileIdle()
    {
        QFETCH(QByteArray, frame);
        m_aircraft->send(frame);
        settle();
        QVERIFY(m_aircraft->requests.isEmpty());
        QVERIFY(!m_link->isContinuous());
    }

    // While a chunk is awaited, a repeated length answer or a repeated chunk neither restarts the
    // record nor writes a chunk twice.
    void repeatedRepliesDuringChunks()
    {
        m_aircraft->count = 1;
        m_aircraft->length = 6 * 128;
        int repeats = 0;
        connect(
            m_link.get(),
            &SerialLink::SignalSendData,
            this,
            [this, &repeats](const QByteArray &frame) {
                if (uint8_t(frame[6]) != 0xE5 || !m_aircraft->indicesOf(0xE5, true).contains(3)
                    || repeats++)
                    return;
                QTimer::singleShot(0, this, [this] { // before the aircraft answers chunk 3
                    m_aircraft->send(reply(0xE4, hex("00 00000001 00000300")));
                    m_aircraft->send(reply(
                        0xE5, WireWriter().u32be(2).bytes(PlayedAircraft::chunkData(1, 2)).data()));
                    m_aircraft->send(
                        reply(0xE3, hex("00 000000000000000000000000 E807 05 06 06 0A 00 000000")));
                });
            });
        QSignalSpy progress(m_download.get(), &BlackBoxDownload::progress);
        startAndFinish();
        settle();
        QCOMPARE(progress.count(), 6);
        QCOMPARE(m_aircraft->countOf(0xE4), 1);
        QCOMPARE(m_aircraft->countOf(0xE5), 6);
        QFile file(m_dir->filePath(files().value(0)));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count('\n'), 1 + 6);
    }

    // The first request leaves after the wait, if the link is still up (closing the dialog during
    // the wait is checked end to end).
    void firstRequestAfterTheWait_data()
    {
        QTest::addColumn<bool>("dropLink");
        QTest::newRow("untouched") << false;
        QTest::newRow("link lost during the wait") << true;
    }
    void firstRequestAfterTheWait()
    {
        QFETCH(bool, dropLink);
        m_aircraft->answering = false;
        m_download->start(m_dir->path());
        if (dropLink)
            QTimer::singleShot(kWaitMs / 3, m_link.get(), [this] {
                QMetaObject::invokeMethod(m_link.get(), "SlotDisconnect");
            });
        QTest::qWait(kWaitMs * 3 / 4);
        QCOMPARE(m_aircraft->countOf(0xE1), 0);
        QTest::qWait(kWaitMs);
        QCOMPARE(m_aircraft->countOf(0xE1) > 0, !dropLink);
        QCOMPARE(m_download->isOpen(), !dropLink);
    }
};

QTEST_GUILESS_MAIN(tst_BlackBoxDownload)
#include "tst_blackboxdownload.moc"
