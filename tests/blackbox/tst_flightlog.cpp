// Exported flight records read back for the plots: good lines, damaged lines, foreign files.
#include "blackbox/FlightLog.h"

#include <QTemporaryDir>
#include <QTest>

namespace {
const QByteArray kHeader = [] {
    QByteArray h = "0-index\t1-timer\t";
    for (int c = 2; c < FlightLog::kColumnCount; ++c)
        h += QByteArray::number(c) + "-x\t";
    return h + '\n';
}();

// A line of the export: every column 0 except those given.
QByteArray line(qint64 timer, double alt, double velN = 0, double velE = 0, int columns = FlightLog::kColumnCount)
{
    QList<QByteArray> f(columns, "0");
    f[FlightLog::Timer] = QByteArray::number(timer);
    if (columns > FlightLog::Alt)
        f[FlightLog::Alt] = QByteArray::number(alt, 'f', 1);
    if (columns > FlightLog::VelE) {
        f[FlightLog::VelN] = QByteArray::number(velN, 'f', 1);
        f[FlightLog::VelE] = QByteArray::number(velE, 'f', 1);
    }
    return f.join('\t') + "\t\n";
}
} // namespace

class tst_FlightLog : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void load_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<int>("samples");
        QTest::addColumn<int>("skipped");
        QTest::addColumn<double>("lastHeight");
        QTest::newRow("two lines") << kHeader + line(100, 1.5) + line(100, 2.5) << true << 2 << 0 << 2.5;
        QTest::newRow("short line") << kHeader + line(100, 1.5) + line(100, 9, 0, 0, 30) << true << 1 << 1 << 1.5;
        QTest::newRow("garbage value")
            << kHeader + line(100, 1.5) + QByteArray(line(101, 3)).replace("3.0", "x.y") << true << 1 << 1 << 1.5;
        QTest::newRow("not a number") << kHeader + QByteArray(line(100, 1)).replace("1.0", "nan") << true << 0 << 1 << 0.0;
        QTest::newRow("binary junk and blank lines")
            << kHeader + "\n" + QByteArray(5000, '\x01') + "\n" + line(100, 4) << true << 1 << 1 << 4.0;
        QTest::newRow("last line cut off") << kHeader + line(100, 1) + line(101, 2).left(40) << true << 1 << 1 << 1.0;
        QTest::newRow("header only") << kHeader << true << 0 << 0 << 0.0;
        QTest::newRow("not an export") << QByteArray("a,b,c\n1,2,3\n") << false << 0 << 0 << 0.0;
        QTest::newRow("empty file") << QByteArray() << false << 0 << 0 << 0.0;
    }
    void load()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, loaded);
        QFETCH(int, samples);
        QFETCH(int, skipped);
        QFETCH(double, lastHeight);
        const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + QLatin1String(".xls"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        FlightLog log;
        QCOMPARE(log.load(path), loaded);
        QCOMPARE(log.errorString().isEmpty(), loaded);
        QCOMPARE(log.samples().size(), samples);
        QCOMPARE(log.skippedLines(), skipped);
        if (samples > 0)
            QCOMPARE(log.samples().last().height, lastHeight);
    }

    void missingFile()
    {
        FlightLog log;
        QVERIFY(!log.load(m_dir.filePath(QStringLiteral("none.xls"))));
        QVERIFY(!log.errorString().isEmpty());
    }

    void groundSpeedFromNorthAndEast()
    {
        const QString path = m_dir.filePath(QStringLiteral("speed.xls"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kHeader + line(100, 0, 3.0, -4.0));
        file.close();
        FlightLog log;
        QVERIFY(log.load(path));
        QCOMPARE(log.samples().first().groundSpeed, 5.0);
    }

    void spreadSeconds_data()
    {
        QTest::addColumn<QList<qint64>>("timers");
        QTest::addColumn<QList<double>>("seconds");
        QTest::newRow("two per second") << QList<qint64>{100, 100, 101, 101} << QList<double>{0, 0.5, 1, 1.5};
        QTest::newRow("four then a gap") << QList<qint64>{7, 7, 7, 7, 9} << QList<double>{0, 0.25, 0.5, 0.75, 2};
        QTest::newRow("one") << QList<qint64>{5} << QList<double>{0};
        QTest::newRow("none") << QList<qint64>{} << QList<double>{};
    }
    void spreadSeconds()
    {
        QFETCH(QList<qint64>, timers);
        QFETCH(QList<double>, seconds);
        QCOMPARE(FlightLog::spreadSeconds(timers), seconds);
    }
};

QTEST_GUILESS_MAIN(tst_FlightLog)
#include "tst_flightlog.moc"
