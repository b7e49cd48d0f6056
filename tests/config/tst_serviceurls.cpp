#include "config/ServiceUrls.h"

#include <QUrlQuery>
#include <QtTest>

class TestServiceUrls : public QObject
{
    Q_OBJECT

private:
    static QUrl defaultBase() { return QUrl(QString::fromLatin1(DefaultServiceBaseUrl)); }

private slots:
    void cleanup() { QVERIFY(setServiceBaseUrl(defaultBase())); }

    void defaultNeverResolves()
    {
        QCOMPARE(serviceBaseUrl(), QUrl(QStringLiteral("https://services.r7assistant.invalid")));
        QVERIFY(serviceBaseUrl().host().endsWith(QLatin1String(".invalid")));
    }

    void firmwareCatalogue()
    {
        QCOMPARE(firmwareCatalogueUrl().toString(QUrl::FullyEncoded),
                 QStringLiteral("https://services.r7assistant.invalid/api/firmware/R7-A"));
        QCOMPARE(firmwareIniDefaultUrl().toString(QUrl::FullyEncoded),
                 QStringLiteral("https://services.r7assistant.invalid/api/firmware/R7"));
    }

    void softwareVersionQueryIsPercentEncoded()
    {
        const QUrl url = softwareVersionUrl();
        QCOMPARE(url.toEncoded(QUrl::FullyEncoded),
                 QByteArray("https://services.r7assistant.invalid/api/software/last"
                            "?platform=windows&type=1&name=%E8%B0%83%E5%8F%82%E8%BD%AF%E4%BB%B6"));
        const QUrlQuery query(url);
        QCOMPARE(query.queryItemValue(QStringLiteral("name"), QUrl::FullyDecoded),
                 QStringLiteral("调参软件"));
        QCOMPARE(query.queryItemValue(QStringLiteral("platform")), QStringLiteral("windows"));
        QCOMPARE(query.queryItemValue(QStringLiteral("type")), QStringLiteral("1"));
    }

    void setBase_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected"); // empty: refused
        QTest::newRow("local http with port") << "http://127.0.0.1:8080"
                                              << "http://127.0.0.1:8080";
        QTest::newRow("https host") << "https://fw.example.com"
                                    << "https://fw.example.com";
        QTest::newRow("trailing slash") << "https://fw.example.com/"
                                        << "https://fw.example.com";
        QTest::newRow("upper case") << "HTTPS://FW.Example.COM:8443"
                                    << "https://fw.example.com:8443";
        QTest::newRow("ipv6") << "http://[::1]:9000"
                              << "http://[::1]:9000";
        QTest::newRow("ftp") << "ftp://fw.example.com"
                             << "";
        QTest::newRow("javascript") << "javascript:alert(1)"
                                    << "";
        QTest::newRow("no host") << "http://"
                                 << "";
        QTest::newRow("no scheme") << "fw.example.com"
                                   << "";
        QTest::newRow("user info") << "https://user:pw@fw.example.com"
                                   << "";
        QTest::newRow("path") << "https://fw.example.com/api"
                              << "";
        QTest::newRow("query") << "https://fw.example.com?x=1"
                               << "";
        QTest::newRow("fragment") << "https://fw.example.com#top"
                                  << "";
        QTest::newRow("empty") << ""
                               << "";
    }

    void setBase()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        const bool accepted = setServiceBaseUrl(QUrl(input));
        QCOMPARE(accepted, !expected.isEmpty());
        QCOMPARE(serviceBaseUrl().toString(),
                 accepted ? expected : defaultBase().toString()); // refused: unchanged
    }

    void addressesFollowTheBase()
    {
        QVERIFY(setServiceBaseUrl(QUrl(QStringLiteral("http://127.0.0.1:8080"))));
        QCOMPARE(firmwareCatalogueUrl().toString(),
                 QStringLiteral("http://127.0.0.1:8080/api/firmware/R7-A"));
        QCOMPARE(softwareVersionUrl().toString(QUrl::RemoveQuery),
                 QStringLiteral("http://127.0.0.1:8080/api/software/last"));
        QCOMPARE(firmwareIniDefaultUrl().toString(),
                 QStringLiteral("http://127.0.0.1:8080/api/firmware/R7"));
    }
};

QTEST_GUILESS_MAIN(TestServiceUrls)
#include "tst_serviceurls.moc"
