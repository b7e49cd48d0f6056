#include "config/FirmwareCatalogueStore.h"
#include "config/NetworkStatus.h"
#include "config/ServiceUrls.h"
#include "config/SoftwareUpdateCheck.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using Reachability = QNetworkInformation::Reachability;

namespace {

const QString Download = QStringLiteral("https://dl.example.com/R7Assistant.exe");
const QJsonValue Absent(QJsonValue::Undefined);

// {"code": code, "info": {"version": version, "url": url}}, an absent part left out.
QByteArray reply(QJsonValue code, QJsonValue version, QJsonValue url = Download)
{
    QJsonObject info, root;
    if (!version.isUndefined())
        info.insert(QLatin1String("version"), version);
    if (!url.isUndefined())
        info.insert(QLatin1String("url"), url);
    if (!code.isUndefined())
        root.insert(QLatin1String("code"), code);
    root.insert(QLatin1String("info"), info);
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

QByteArray replyWithLink(const QString &url)
{
    return reply(Absent, QStringLiteral("2.0"), url);
}

} // namespace

// What the program asks of the service and how it reads the answers.
class TestServices : public QObject
{
    Q_OBJECT

private:
    static QUrl defaultBase() { return QUrl(QString::fromLatin1(DefaultServiceBaseUrl)); }

private slots:
    void cleanup() { QVERIFY(setServiceBaseUrl(defaultBase())); }

    void softwareVersionQueryIsPercentEncoded()
    {
        QCOMPARE(softwareVersionUrl().toEncoded(QUrl::FullyEncoded),
                 QByteArray("https://services.r7assistant.invalid/api/software/last"
                            "?platform=windows&type=1&name=%E8%B0%83%E5%8F%82%E8%BD%AF%E4%BB%B6"));
    }

    void setServiceBase_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected"); // empty: refused
        QTest::newRow("local http")
            << "http://127.0.0.1:8080" << QStringLiteral("http://127.0.0.1:8080");
        QTest::newRow("trailing slash")
            << "https://fw.example.com/" << QStringLiteral("https://fw.example.com");
        QTest::newRow("upper case")
            << "HTTPS://FW.Example.COM:8443" << QStringLiteral("https://fw.example.com:8443");
        QTest::newRow("ipv6") << "http://[::1]:9000" << QStringLiteral("http://[::1]:9000");
        QTest::newRow("other scheme") << "ftp://fw.example.com" << QString();
        QTest::newRow("no host") << "http://" << QString();
        QTest::newRow("user info") << "https://user:pw@fw.example.com" << QString();
        QTest::newRow("path prefix") << "https://fw.example.com/r7/" << QStringLiteral("https://fw.example.com/r7");
        QTest::newRow("query") << "https://fw.example.com?x=1" << QString();
        QTest::newRow("fragment") << "https://fw.example.com#top" << QString();
    }

    void setServiceBase()
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
    }

    void pathPrefixPrecedesEveryAddress()
    {
        QVERIFY(setServiceBaseUrl(QUrl(QStringLiteral("https://proxy.example.com/maker/"))));
        QCOMPARE(firmwareCatalogueUrl().toString(),
                 QStringLiteral("https://proxy.example.com/maker/api/firmware/R7-A"));
        QCOMPARE(softwareVersionUrl().toString(QUrl::RemoveQuery),
                 QStringLiteral("https://proxy.example.com/maker/api/software/last"));
    }

    void updateRequest()
    {
        const QNetworkRequest request = softwareUpdateRequest();
        QCOMPARE(request.url(), softwareVersionUrl());
        QVERIFY(request.transferTimeout() > 0);
    }

    void parseUpdateReply_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("link"); // empty: nothing shown

        // Version: a number has two decimals; text must differ from "1.55" exactly.
        QTest::newRow("number 1.6 is 1.60") << reply(200, 1.6) << Download;
        QTest::newRow("number 1.55 is current") << reply(200, 1.55) << QString();
        QTest::newRow("number 1.554 rounds to current") << reply(200, 1.554) << QString();
        QTest::newRow("text 1.55 without code") << reply(Absent, "1.55") << QString();
        QTest::newRow("text 1.550 differs") << reply(Absent, "1.550") << Download;
        QTest::newRow("older version differs too") << reply(Absent, "1.20") << Download;
        QTest::newRow("empty version") << reply(Absent, "") << QString();
        QTest::newRow("boolean version") << reply(Absent, true) << QString();
        QTest::newRow("missing version") << reply(Absent, Absent) << QString();

        // Code: only a number counts, truncated toward zero.
        QTest::newRow("text code ignored") << reply("404", "2.0") << Download;
        QTest::newRow("code 201") << reply(201, "2.0") << QString();
        QTest::newRow("code 200.9 truncates to 200") << reply(200.9, "2.0") << Download;
        QTest::newRow("huge code") << reply(1e300, "2.0") << QString();

        // Shape of the document.
        QTest::newRow("no info") << QByteArray(R"({"code": 200})") << QString();
        QTest::newRow("missing url") << reply(200, "2.0", Absent) << QString();
        QTest::newRow("url not text") << reply(200, "2.0", 12) << QString();
        QTest::newRow("array") << QByteArray(R"([{"code": 200}])") << QString();
        QTest::newRow("broken json") << reply(200, "2.0").chopped(4) << QString();

        // Links come from the network: only http(s) with a host, and encoded for an href.
        QTest::newRow("quotes cannot leave the href")
            << replyWithLink("https://dl.example.com/a\" onmouseover=\"alert(1)")
            << QStringLiteral("https://dl.example.com/a%22%20onmouseover=%22alert(1)");
        QTest::newRow("tags are encoded")
            << replyWithLink("https://dl.example.com/<script>x</script>")
            << QStringLiteral("https://dl.example.com/%3Cscript%3Ex%3C/script%3E");
        QTest::newRow("surrounding blanks")
            << replyWithLink("  HTTPS://dl.example.com/get?f=a&v=2 \n")
            << QStringLiteral("https://dl.example.com/get?f=a&v=2");
        QTest::newRow("plain http") << replyWithLink("http://127.0.0.1:8080/R7.exe")
                                    << QStringLiteral("http://127.0.0.1:8080/R7.exe");
        QTest::newRow("mixed-case javascript") << replyWithLink("JavaScript:alert(1)") << QString();
        QTest::newRow("file scheme") << replyWithLink("file:///etc/passwd") << QString();
        QTest::newRow("scheme-relative") << replyWithLink("//evil.example/R7.exe") << QString();
        QTest::newRow("no host") << replyWithLink("https:///R7.exe") << QString();
        QTest::newRow("user info disguise")
            << replyWithLink("https://dl.example.com@evil.example/R7.exe") << QString();
    }

    void parseUpdateReply()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, link);
        QCOMPARE(parseSoftwareUpdateReply(body), link);
    }

    void catalogueLookup_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key"); // "module/member"
        QTest::addColumn<QString>("expected");
        const QString catalogue
            = QStringLiteral(R"({"FCU": {"version": "3.10", "releaseNote": "修复悬停"},)"
                             R"( "IMU": "not an object", "GMU": {"version": 2.5}})");
        QTest::newRow("member") << catalogue << "FCU/version" << QStringLiteral("3.10");
        QTest::newRow("chinese text")
            << catalogue << "FCU/releaseNote" << QStringLiteral("修复悬停");
        QTest::newRow("missing module") << catalogue << "OSD/version" << QString();
        QTest::newRow("missing member") << catalogue << "FCU/releaseDate" << QString();
        QTest::newRow("module not an object") << catalogue << "IMU/version" << QString();
        QTest::newRow("number is not text") << catalogue << "GMU/version" << QString();
        // The right data in the wrong document.
        QTest::newRow("array") << QStringLiteral(R"([{"FCU": {"version": "1"}}])") << "FCU/version"
                               << QString();
        QTest::newRow("broken json")
            << QStringLiteral(R"({"FCU": {"version": "1")") << "FCU/version" << QString();
    }

    void catalogueLookup()
    {
        QFETCH(QString, text);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        setVersionText(text);
        QCOMPARE(versionText(), text);
        QCOMPARE(versionJsonValue(key.section('/', 0, 0), key.section('/', 1)), expected);
    }

    void catalogueFileMap()
    {
        QCOMPARE(fileMapValue(QStringLiteral("FCU")), QString());
        setFileMapValue(QStringLiteral("FCU"), QStringLiteral("/a/fcu.bin"));
        setFileMapValue(QStringLiteral("FCU"), QStringLiteral("/b/fcu.bin"));
        QCOMPARE(fileMapValue(QStringLiteral("FCU")), QStringLiteral("/b/fcu.bin"));
        QCOMPARE(fileMapValue(QStringLiteral("fcu")), QString());
    }

    void networkReachability_data()
    {
        QTest::addColumn<Reachability>("reachability");
        QTest::addColumn<bool>("online");
        QTest::newRow("unknown counts as online") << Reachability::Unknown << true;
        QTest::newRow("disconnected") << Reachability::Disconnected << false;
    }

    void networkReachability()
    {
        QFETCH(Reachability, reachability);
        QFETCH(bool, online);
        QCOMPARE(reachabilityCountsAsOnline(reachability), online);
    }

};

QTEST_GUILESS_MAIN(TestServices)
#include "tst_services.moc"
