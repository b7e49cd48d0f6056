// The black-box export file: each column's scale and decimals, local file names (run 8 hours
// east of UTC), blocks that write nothing, rewritten and dropped records. Whole files against the
// test-side decoder, and folders that cannot be written, are checked end to end.
#include "blackbox/BlackBoxSample.h"
#include "blackbox/LumBlackBoxesData.h"
#include "support/FrameBytes.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>

namespace {
QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A block of two samples with the given bytes, marked 0x41, stamped 2024-05-06 22:30:15 UTC.
QByteArray block(const QByteArray &first, const QByteArray &second, char marker = 0x41)
{
    QByteArray b(256, '\0');
    b.replace(2, 106, first.leftJustified(106, '\0', true));
    b.replace(108, 106, second.leftJustified(106, '\0', true));
    b[2] = marker;
    b.replace(244, 7, FrameBytes::hex("07E8 05 06 16 1E 0F"));
    return b;
}

QByteArray randomSample(quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray s(106, '\0');
    for (char &c : s)
        c = char(random.bounded(256));
    return s;
}
} // namespace

class tst_LumBlackBoxesData : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    LumBlackBoxesData m_store;

    QString writeRecord(int index, const QList<QByteArray> &blocks)
    {
        m_store.setExportDir(m_dir.path());
        const QString dateAndTime = LumBlackBoxesData::localDateAndTime(
            QDateTime(QDate(2024, 5, 6), QTime(22, 30), Qt::UTC));
        if (!m_store.startRecord(index, dateAndTime))
            return QString();
        for (const QByteArray &b : blocks)
            m_store.SlotGetBlackBoxesData(b);
        m_store.finishRecord();
        return m_dir.filePath(LumBlackBoxesData::recordFileName(index, dateAndTime));
    }

private Q_SLOTS:
    // Values from the description of each column, and random samples against the test decoder.
    void columns_data()
    {
        QTest::addColumn<QByteArray>("sample");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QByteArray s(106, '\0');
        s[21 + 2] = char(0x5A);                             // yaw
        s[21 + 3] = char(0xF6);                             // vel_n
        s.replace(21 + 6, 4, FrameBytes::hex("D2029649"));  // f_lat 1234567890
        s.replace(21 + 10, 4, FrameBytes::hex("2EFD69B6")); // f_lon -1234567890
        s.replace(39 + 6, 2, FrameBytes::hex("FBFF"));      // shock_exp -5
        s.replace(1, 2, FrameBytes::hex("FFFF"));           // rate_x -1
        s.replace(53 + 15, 2, FrameBytes::hex("39 30"));    // gps_h_acc 12345
        QTest::newRow("yaw 0x5A") << s << 13 << QStringLiteral("180");
        QTest::newRow("vel_n 0xF6") << s << 14 << QStringLiteral("-1.0");
        QTest::newRow("f_lat") << s << 17 << QStringLiteral("123.4567890");
        QTest::newRow("f_lon negative") << s << 18 << QStringLiteral("-123.4567890");
        QTest::newRow("shock_exp -5") << s << 24 << QStringLiteral("-0.005");
        QTest::newRow("rate_x -1") << s << 2 << QStringLiteral("-0.01");
        QTest::newRow("gps_h_acc") << s << 33 << QStringLiteral("12.345");
        QTest::newRow("zero eIMU_yaw") << s << 40 << QStringLiteral("0.00");
    }
    void columns()
    {
        QFETCH(QByteArray, sample);
        QFETCH(int, column);
        QFETCH(QString, text);
        const QByteArray line = BlackBoxSample::decode(sample).exportLine(7, 99);
        QCOMPARE(QString::fromLatin1(line.chopped(2).split('\t').value(column)), text);
    }

    // A sample cut short reads its missing bytes as 0; nothing beyond it is read.
    void shortSample()
    {
        const QByteArray full = randomSample(5);
        const QByteArray cut = full.left(30);
        QCOMPARE(BlackBoxSample::decode(cut).exportLine(1, 0),
                 BlackBoxSample::decode(cut + QByteArray(76, '\0')).exportLine(1, 0));
    }

    // Names carry the record's local start.
    void fileName()
    {
        const QDateTime start(QDate(2024, 5, 6), QTime(22, 30), Qt::UTC);
        QCOMPARE(LumBlackBoxesData::localDateAndTime(start),
                 QStringLiteral("2024-05-07time06-30-00"));
        QCOMPARE(LumBlackBoxesData::recordFileName(12, QStringLiteral("2024-05-07time06-30-00")),
                 QStringLiteral("index12date2024-05-07time06-30-00.xls"));
        QCOMPARE(LumBlackBoxesData::utcFromStampText(QStringLiteral("2024-05-06 22:30:00")), start);
        for (const char *noMoment : {"2024-13-06 22:30:00", "2024-05-06 208:10:37"})
            QVERIFY(!LumBlackBoxesData::utcFromStampText(QLatin1String(noMoment)).isValid());
    }

    // Blocks that write no line: not marked, or short because a chunk of them was lost.
    void blocksWithoutLines_data()
    {
        QTest::addColumn<QByteArray>("data");
        const QByteArray good = block(randomSample(3), randomSample(4));
        QTest::newRow("marker not 0x41") << block(randomSample(3), randomSample(4), 0x42);
        QTest::newRow("second chunk only") << good.right(128);
        QTest::newRow("one byte short") << good.left(255);
        QTest::newRow("empty") << QByteArray();
    }
    void blocksWithoutLines()
    {
        QFETCH(QByteArray, data);
        const QString path = writeRecord(3, {data});
        QCOMPARE(readAll(path), BlackBoxSample::exportHeader());
    }

    // A record written again replaces its file; one dropped half-way leaves the earlier file
    // (and none when there was none, checked end to end).
    void rewriteAndAbandon()
    {
        const QByteArray first = block(randomSample(6), randomSample(7));
        const QString path = writeRecord(4, {first, first});
        QCOMPARE(readAll(path).count('\n'), 5);
        QCOMPARE(writeRecord(4, {first}), path);
        QCOMPARE(readAll(path).count('\n'), 3);

        QVERIFY(m_store.startRecord(4, QStringLiteral("2024-05-07time06-30-00")));
        QVERIFY(m_store.SlotGetBlackBoxesData(first));
        m_store.abandonRecord();
        QCOMPARE(readAll(path).count('\n'), 3);
        QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("index4*")}, QDir::Files).size(), 1);
    }
};

int main(int argc, char *argv[])
{
    // Local time 8 hours east of UTC, with no daylight saving: names and timers must differ.
    qputenv("TZ", "Asia/Shanghai");
    tzset();
    QCoreApplication app(argc, argv);
    tst_LumBlackBoxesData test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_lumblackboxesdata.moc"
