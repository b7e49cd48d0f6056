#include "app/CommandLineOptions.h"

#include <QTest>

class tst_CommandLineOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void outcomes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("runs");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("messagePart");
        QTest::newRow("none") << QStringList{} << true << 0 << "";
        QTest::newRow("help") << QStringList{"--help"} << false << 0 << "--service-url";
        QTest::newRow("version") << QStringList{"--version"} << false << 0 << "1.55";
        QTest::newRow("unknown") << QStringList{"--frobnicate"} << false << 2 << "frobnicate";
        QTest::newRow("stray argument") << QStringList{"COM3"} << false << 2 << "COM3";
        QTest::newRow("port without device") << QStringList{"--port"} << false << 2 << "port";
        QTest::newRow("service url without scheme") << QStringList{"--service-url", "example.com"} << false << 2 << "http";
        QTest::newRow("service url ftp") << QStringList{"--service-url", "ftp://example.com"} << false << 2 << "http";
        QTest::newRow("service url with user") << QStringList{"--service-url", "https://me@example.com"} << false << 2 << "user";
        QTest::newRow("service url with path") << QStringList{"--service-url", "https://example.com/r7"} << true << 0 << "";
    }
    void outcomes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, runs);
        QFETCH(int, exitCode);
        QFETCH(QString, messagePart);
        const auto options = CommandLineOptions::parse(QStringList{"r7assistant"} + arguments);
        QCOMPARE(options.outcome == CommandLineOptions::Outcome::Run, runs);
        QCOMPARE(options.exitCode, exitCode);
        QVERIFY2(options.message.contains(messagePart), qPrintable(options.message));
    }

    void values()
    {
        const auto options = CommandLineOptions::parse({"r7assistant", "--port", "/dev/ttyUSB0", "--port=/dev/pts/4",
                                                        "--service-url", "http://127.0.0.1:8080", "--simulate",
                                                        "--screenshots", "/tmp/shots"});
        QCOMPARE(options.ports, (QStringList{"/dev/ttyUSB0", "/dev/pts/4"}));
        QCOMPARE(options.serviceUrl, QUrl("http://127.0.0.1:8080"));
        QVERIFY(options.simulate);
        QCOMPARE(options.screenshotsDir, QStringLiteral("/tmp/shots"));
        QVERIFY(!options.showPaths);
        QVERIFY(CommandLineOptions::parse({"r7assistant", "--paths"}).showPaths);
    }
};

QTEST_GUILESS_MAIN(tst_CommandLineOptions)
#include "tst_commandlineoptions.moc"
