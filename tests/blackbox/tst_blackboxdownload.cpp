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
    QSet<int> noDataChunks;  // chunks answered "no data" (in every record)
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

    int countOf(uint8_t type) const
    {
        return int(std::count_if(requests.cbegin(), requests.cend(), [type](const Request &r) {
            return r.type == type;
        }));
    }
    QList<int> indicesOf(uint8_t type) const
    {
        QList<int> out;
        for (const Request &r : requests) {
            if (r.type == type)
                out << r.index;
        }
        return out;
    }

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
        case 0xE3: // status, 12 unread bytes, the year little-endian, then month to second
            return reply(0xE3,
                         WireWriter()
                             .u8(0)
                             .bytes(QByteArray(12, '\0'))
                             .u16(2024)
                             .u8(5)
                             .u8(6)
                             .u8(6)
                             .u8(10)
                             .u8(uint8_t(r.index))
                             .bytes(QByteArray(3, '\0'))
                             .data());
        case 0xE4:
            return reply(0xE4,
                         WireWriter()
                             .u8(failedLengths.contains(r.index) ? 1 : 0)
                             .u32be(uint32_t(r.index))
                             .u32be(uint32_t(lengths.value(r.index, length)))
                             .data());
        default:
            if (noDataChunks.contains(r.sub))
                return reply(
                    0xE5,
                    WireWriter().u8(1).u32be(uint32_t(r.index)).u32be(uint32_t(r.sub)).data());
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

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AircraftParams> m_params;
    std::unique_ptr<BlackBoxDownloadState> m_state;
    std::unique_ptr<SerialLink> m_link;
    std::unique_ptr<LumBlackBoxesData> m_store;
    std::unique_ptr<BlackBoxDownload> m_download;
    std::unique_ptr<PlayedAircraft> m_aircraft;
    QList<QByteArray> m_heartbeats;

    void startAndFinish(int timeoutMs = 20000)
    {
        QSignalSpy finished(m_download.get(), &BlackBoxDownload::finished);
        m_download->start(m_dir->path());
        QVERIFY(finished.wait(timeoutMs));
        QCOMPARE(finished.count(), 1);
    }
    QStringList files() const { return QDir(m_dir->path()).entryList(QDir::Files, QDir::Name); }
    // Lets any late answer and paced step run.
    static void settle(int ms = 150) { QTest::qWait(ms); }

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
        // The application's wiring rows 22 and 23.
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
        QTest::newRow("12 with record 8 short") << 12 << Lengths{{8, 100}} << QList<int>{}
                                                << QList<int>{12, 11, 10, 9, 8, 7, 6, 5, 4, 3}
                                                << QList<int>{3, 4, 5, 6, 7, 9, 10, 11, 12};
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
        // The length is asked once per record, after its header (a refused one is resent by the
        // link until the sequence moves on, and not acted on again).
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

    // Chunks are asked one by one; the file holds the header and two lines per block; progress
    // goes with each chunk, and heartbeats carry 0x00 while data is fetched.
    void chunksAndProgress()
    {
        m_aircraft->count = 1;
        m_aircraft->length = 600; // four chunks, 88 bytes left over that are not fetched
        QList<QList<int>> progress;
        connect(m_download.get(),
                &BlackBoxDownload::progress,
                this,
                [&progress](int index, int max, int sub) {
                    progress << QList<int>{index, max, sub};
                });
        QSignalSpy fileNames(m_download.get(), &BlackBoxDownload::currentReadFile);
        QList<uint8_t> flags;
        connect(m_download.get(), &BlackBoxDownload::progress, this, [this, &flags] {
            flags << m_link->currentHeartbeatFlag();
        });
        startAndFinish();

        QCOMPARE(progress, (QList<QList<int>>{{1, 4, 1}, {1, 4, 2}, {1, 4, 3}, {1, 4, 4}}));
        QCOMPARE(m_aircraft->indicesOf(0xE5), (QList<int>{1, 1, 1, 1}));
        QList<int> subs;
        for (const Request &r : m_aircraft->requests) {
            if (r.type == 0xE5)
                subs << r.sub;
        }
        QCOMPARE(subs, (QList<int>{1, 2, 3, 4}));
        QVERIFY(flags.count(uint8_t(0x00)) == flags.size());
        QCOMPARE(fileNames.count(), 1);
        const QString name = fileNames.at(0).at(0).toString();
        QCOMPARE(files(), QStringList{name});
        QFile file(m_dir->filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 1 + 4 + 1); // header, two blocks of two samples, the last line feed
        QVERIFY(lines[4].startsWith("4\t"));
        QCOMPARE(m_link->currentHeartbeatFlag(), uint8_t(0xFF));
    }

    // A chunk that comes without data leaves a hole: the download goes on, and the file is named
    // among the incomplete ones with the number of chunks it lacks.
    void lostChunksAreCounted()
    {
        m_aircraft->count = 2;
        m_aircraft->length = 4 * 128;
        m_aircraft->noDataChunks = {3};
        QSignalSpy fileNames(m_download.get(), &BlackBoxDownload::currentReadFile);
        startAndFinish();
        QCOMPARE(fileNames.count(), 2);
        const QMap<QString, int> incomplete = m_download->incompleteFiles();
        QCOMPARE(incomplete.keys().size(), 2);
        for (const QVariantList &args : fileNames)
            QCOMPARE(incomplete.value(args.at(0).toString()), 1);
        // The block with the lost chunk writes no line: header and one block remain.
        QFile file(m_dir->filePath(fileNames.at(0).at(0).toString()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count('\n'), 3);
    }

    // Replies the download is not waiting for: an unsolicited 0xE1 while idle, and every reply
    // after the user closed the download, send nothing and write nothing.
    void repliesOutsideTheDownload_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("0xE1 success") << reply(0xE1, hex("00"));
        QTest::newRow("0xE2 count") << reply(0xE2, hex("00 00000005"));
        QTest::newRow("0xE3 header")
            << reply(0xE3, hex("00 000000000000000000000000 E807 05 06 06 0A 00 000000"));
        QTest::newRow("0xE4 length") << reply(0xE4, hex("00 00000005 00000200"));
        QTest::newRow("0xE5 no data") << reply(0xE5, hex("01 00000005 00000001"));
    }
    void repliesOutsideTheDownload()
    {
        QFETCH(QByteArray, frame);
        m_aircraft->answering = false;
        m_aircraft->send(frame);
        settle();
        QVERIFY(m_aircraft->requests.isEmpty());

        // Closed mid-way, while the length of the newest record is awaited.
        m_aircraft->answering = true;
        m_aircraft->length = 100 * 128;
        m_download->start(m_dir->path());
        QTRY_VERIFY_WITH_TIMEOUT(m_aircraft->countOf(0xE5) >= 3, 5000);
        m_download->close();
        settle();
        QVERIFY(!m_link->isContinuous());
        QVERIFY(!m_state->downloadActive);
        const int before = int(m_aircraft->requests.size());
        m_aircraft->send(frame);
        settle();
        QCOMPARE(m_aircraft->requests.size(), before);
        QVERIFY(!m_link->isContinuous());
        QVERIFY(files().isEmpty()); // the record in progress is dropped, not left half written
    }

    // While the chunks of a record are fetched, a repeated length answer or a repeated chunk
    // neither restarts the record nor writes a chunk twice.
    void repeatedRepliesDuringChunks()
    {
        m_aircraft->count = 1;
        m_aircraft->length = 6 * 128;
        int repeats = 0;
        connect(
            m_download.get(),
            &BlackBoxDownload::progress,
            this,
            [this, &repeats](int, int, int sub) {
                if (sub != 2 || repeats++)
                    return;
                QTimer::singleShot(0, this, [this] {
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

    // The first request leaves one second after the start, and only if the download is still
    // open and the link still up.
    void firstRequestAfterTheWait_data()
    {
        QTest::addColumn<int>("closeAfterMs");
        QTest::addColumn<bool>("dropLink");
        QTest::addColumn<bool>("sent");
        QTest::newRow("untouched") << -1 << false << true;
        QTest::newRow("closed during the wait") << 500 << false << false;
        QTest::newRow("link lost during the wait") << -1 << true << false;
    }
    void firstRequestAfterTheWait()
    {
        QFETCH(int, closeAfterMs);
        QFETCH(bool, dropLink);
        QFETCH(bool, sent);
        m_aircraft->answering = false;
        m_download->start(m_dir->path());
        if (closeAfterMs >= 0)
            QTimer::singleShot(closeAfterMs, m_download.get(), &BlackBoxDownload::close);
        if (dropLink)
            QTimer::singleShot(300, m_link.get(), [this] {
                QMetaObject::invokeMethod(m_link.get(), "SlotDisconnect");
            });
        QTest::qWait(900);
        QCOMPARE(m_aircraft->countOf(0xE1), 0);
        QTest::qWait(400);
        QCOMPARE(m_aircraft->countOf(0xE1) > 0, sent); // unanswered, the link repeats it
        QCOMPARE(m_download->isOpen(), sent);
        if (sent)
            QVERIFY(m_link->isContinuous());
    }

    // A folder that cannot be written: the download stops and says which file and why.
    void unwritableFolder_data()
    {
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("read-only folder") << true;
        QTest::newRow("a file where the folder was") << false;
    }
    void unwritableFolder()
    {
        QFETCH(bool, readOnly);
        const QString folder = m_dir->filePath(QStringLiteral("out"));
        if (readOnly) {
            QVERIFY(QDir().mkdir(folder));
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
            if (QFile(folder + QStringLiteral("/probe")).open(QIODevice::WriteOnly))
                QSKIP("the folder stays writable (running as root)");
        } else {
            QFile file(folder);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        m_aircraft->count = 3;
        QSignalSpy failed(m_download.get(), &BlackBoxDownload::failed);
        QSignalSpy finished(m_download.get(), &BlackBoxDownload::finished);
        m_download->start(folder);
        QVERIFY(failed.wait(5000));
        settle();
        QCOMPARE(failed.count(), 1);
        QCOMPARE(finished.count(), 0);
        QVERIFY(failed.at(0).at(0).toString().contains(QLatin1String("index3date")));
        QVERIFY(!m_download->isOpen());
        QVERIFY(!m_link->isContinuous());
        QCOMPARE(m_aircraft->indicesOf(0xE3), QList<int>{3});
    }
};

QTEST_GUILESS_MAIN(tst_BlackBoxDownload)
#include "tst_blackboxdownload.moc"
