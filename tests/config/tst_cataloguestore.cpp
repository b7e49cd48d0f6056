#include "config/FirmwareCatalogueStore.h"

#include <QtTest>

class TestCatalogueStore : public QObject
{
    Q_OBJECT

private slots:
    void versionTextIsKept()
    {
        setVersionText(QStringLiteral("{\"FCU\":{}}"));
        QCOMPARE(versionText(), QStringLiteral("{\"FCU\":{}}"));
        setVersionText(QString());
        QCOMPARE(versionText(), QString());
    }

    void lookup_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key1");
        QTest::addColumn<QString>("key2");
        QTest::addColumn<QString>("expected");
        const QString catalogue
            = QStringLiteral("{\"FCU\": {\"version\": \"3.10\", \"releaseNote\": \"修复悬停\","
                             " \"url\": \"http://h/files/fcu.bin\"},"
                             " \"IMU\": \"not an object\", \"GMU\": {\"version\": 2.5}}");
        QTest::newRow("member") << catalogue << "FCU"
                                << "version"
                                << "3.10";
        QTest::newRow("chinese text") << catalogue << "FCU"
                                      << "releaseNote"
                                      << "修复悬停";
        QTest::newRow("missing module") << catalogue << "OSD"
                                        << "version"
                                        << "";
        QTest::newRow("missing key") << catalogue << "FCU"
                                     << "releaseDate"
                                     << "";
        QTest::newRow("module names are case-sensitive") << catalogue << "fcu"
                                                         << "version"
                                                         << "";
        QTest::newRow("module not an object") << catalogue << "IMU"
                                              << "version"
                                              << "";
        QTest::newRow("number is not text") << catalogue << "GMU"
                                            << "version"
                                            << "";
        QTest::newRow("array") << "[{\"FCU\":{\"version\":\"1\"}}]"
                               << "FCU"
                               << "version"
                               << "";
        QTest::newRow("broken json") << "{\"FCU\": {\"version\": \"1\""
                                     << "FCU"
                                     << "version"
                                     << "";
        QTest::newRow("empty") << ""
                               << "FCU"
                               << "version"
                               << "";
    }

    void lookup()
    {
        QFETCH(QString, text);
        QFETCH(QString, key1);
        QFETCH(QString, key2);
        QFETCH(QString, expected);
        setVersionText(text);
        QCOMPARE(versionJsonValue(key1, key2), expected);
    }

    void fileMap()
    {
        QCOMPARE(fileMapValue(QStringLiteral("FCU")), QString());
        setFileMapValue(QStringLiteral("FCU"), QStringLiteral("/a/fcu.bin"));
        QCOMPARE(fileMapValue(QStringLiteral("FCU")), QStringLiteral("/a/fcu.bin"));
        setFileMapValue(QStringLiteral("FCU"), QStringLiteral("/b/fcu.bin"));
        QCOMPARE(fileMapValue(QStringLiteral("FCU")), QStringLiteral("/b/fcu.bin"));
        QCOMPARE(fileMapValue(QStringLiteral("fcu")), QString());
    }
};

QTEST_GUILESS_MAIN(TestCatalogueStore)
#include "tst_cataloguestore.moc"
