#include "config/ServiceUrls.h"
#include "config/SoftwareUpdateCheck.h"

#include <QtTest>

namespace {

// Reply bodies are written with single quotes for readability; \' stands for an escaped quote and
// $DL for an ordinary download link.
QByteArray json(const char *text)
{
    return QByteArray(text).replace('\'', '"').replace("$DL",
                                                       "https://dl.example.com/R7Assistant.exe");
}

} // namespace

class TestSoftwareUpdateCheck : public QObject
{
    Q_OBJECT

private slots:
    void currentVersion() { QCOMPARE(QLatin1String(CurrentVersion), QLatin1String("1.55")); }

    void request()
    {
        const QNetworkRequest request = softwareUpdateRequest();
        QCOMPARE(request.url(), softwareVersionUrl());
        QVERIFY(request.transferTimeout() > 0);
    }

    void parse_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("link"); // empty: nothing shown

        const QString dl = QStringLiteral("https://dl.example.com/R7Assistant.exe");

        // Version rules.
        QTest::newRow("number 1.6 is 1.60")
            << json("{'code': 200, 'info': {'version': 1.6, 'url': '$DL'}}") << dl;
        QTest::newRow("number 1.55 is current")
            << json("{'code': 200, 'info': {'version': 1.55, 'url': '$DL'}}") << QString();
        QTest::newRow("number 1.554 rounds to current")
            << json("{'code': 200, 'info': {'version': 1.554, 'url': '$DL'}}") << QString();
        QTest::newRow("number 2 is 2.00") << json("{'info': {'version': 2, 'url': '$DL'}}") << dl;
        QTest::newRow("string 1.55 without code")
            << json("{'info': {'version': '1.55', 'url': '$DL'}}") << QString();
        QTest::newRow("string 1.550 differs")
            << json("{'info': {'version': '1.550', 'url': '$DL'}}") << dl;
        QTest::newRow("older version differs too")
            << json("{'info': {'version': '1.20', 'url': '$DL'}}") << dl;
        QTest::newRow("empty version")
            << json("{'info': {'version': '', 'url': '$DL'}}") << QString();
        QTest::newRow("boolean version")
            << json("{'info': {'version': true, 'url': '$DL'}}") << QString();
        QTest::newRow("missing version") << json("{'info': {'url': '$DL'}}") << QString();

        // Code rules.
        QTest::newRow("string code ignored")
            << json("{'code': '200', 'info': {'version': '2.0', 'url': '$DL'}}") << dl;
        QTest::newRow("string code 404 ignored too")
            << json("{'code': '404', 'info': {'version': '2.0', 'url': '$DL'}}") << dl;
        QTest::newRow("null code ignored")
            << json("{'code': null, 'info': {'version': '2.0', 'url': '$DL'}}") << dl;
        QTest::newRow("code 404") << json("{'code': 404, 'info': {'version': '2.0', 'url': '$DL'}}")
                                  << QString();
        QTest::newRow("code 201") << json("{'code': 201, 'info': {'version': '2.0', 'url': '$DL'}}")
                                  << QString();
        QTest::newRow("code 200.9 truncates to 200")
            << json("{'code': 200.9, 'info': {'version': '2.0', 'url': '$DL'}}") << dl;
        QTest::newRow("huge code")
            << json("{'code': 1e300, 'info': {'version': '2.0', 'url': '$DL'}}") << QString();
        QTest::newRow("negative code")
            << json("{'code': -200, 'info': {'version': '2.0', 'url': '$DL'}}") << QString();

        // Shape of the document.
        QTest::newRow("no info") << json("{'code': 200}") << QString();
        QTest::newRow("info not an object") << json("{'code': 200, 'info': '2.0'}") << QString();
        QTest::newRow("missing url")
            << json("{'code': 200, 'info': {'version': '2.0'}}") << QString();
        QTest::newRow("empty url")
            << json("{'code': 200, 'info': {'version': '2.0', 'url': ''}}") << QString();
        QTest::newRow("url not text")
            << json("{'code': 200, 'info': {'version': '2.0', 'url': 12}}") << QString();
        QTest::newRow("array") << json("[{'code': 200}]") << QString();
        QTest::newRow("string document") << json("'2.0'") << QString();
        QTest::newRow("broken json")
            << json("{'code': 200, 'info': {'version': '2.0', 'url': 'https://dl.example.com/")
            << QString();
        QTest::newRow("empty body") << QByteArray() << QString();
        QTest::newRow("html error page") << QByteArray("<html>502 Bad Gateway</html>") << QString();

        // Links from the network.
        QTest::newRow("spaces are encoded")
            << json("{'info': {'version': '2.0', 'url': 'https://dl.example.com/R7 Assistant "
                    "2.0.exe'}}")
            << QStringLiteral("https://dl.example.com/R7%20Assistant%202.0.exe");
        QTest::newRow("quotes cannot leave the href")
            << json("{'info': {'version': '2.0', 'url': 'https://dl.example.com/a\\' "
                    "onmouseover=\\'alert(1)'}}")
            << QStringLiteral("https://dl.example.com/a%22%20onmouseover=%22alert(1)");
        QTest::newRow("tags are encoded")
            << json("{'info': {'version': '2.0', 'url': "
                    "'https://dl.example.com/<script>x</script>'}}")
            << QStringLiteral("https://dl.example.com/%3Cscript%3Ex%3C/script%3E");
        QTest::newRow("chinese path")
            << json("{'info': {'version': '2.0', 'url': 'https://dl.example.com/调参软件.exe'}}")
            << QStringLiteral("https://dl.example.com/%E8%B0%83%E5%8F%82%E8%BD%AF%E4%BB%B6.exe");
        QTest::newRow("plain http")
            << json("{'info': {'version': '2.0', 'url': "
                    "'http://127.0.0.1:8080/download/R7Assistant-2.0.exe'}}")
            << QStringLiteral("http://127.0.0.1:8080/download/R7Assistant-2.0.exe");
        QTest::newRow("javascript scheme")
            << json("{'info': {'version': '2.0', 'url': 'javascript:alert(document.cookie)'}}")
            << QString();
        QTest::newRow("mixed-case javascript")
            << json("{'info': {'version': '2.0', 'url': 'JavaScript:alert(1)'}}") << QString();
        QTest::newRow("file scheme")
            << json("{'info': {'version': '2.0', 'url': 'file:///etc/passwd'}}") << QString();
        QTest::newRow("data scheme")
            << json("{'info': {'version': '2.0', 'url': 'data:text/html,<b>x</b>'}}") << QString();
        QTest::newRow("relative") << json("{'info': {'version': '2.0', 'url': '/download/R7.exe'}}")
                                  << QString();
        QTest::newRow("scheme-relative")
            << json("{'info': {'version': '2.0', 'url': '//evil.example/R7.exe'}}") << QString();
        QTest::newRow("user info disguise") << json(
            "{'info': {'version': '2.0', 'url': 'https://dl.example.com@evil.example/R7.exe'}}")
                                            << QString();
    }

    void parse()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, link);
        QCOMPARE(parseSoftwareUpdateReply(body), link);
    }

    void safeLink_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("https") << "https://dl.example.com/x.exe"
                               << "https://dl.example.com/x.exe";
        QTest::newRow("surrounding blanks") << "  https://dl.example.com/x.exe \n"
                                            << "https://dl.example.com/x.exe";
        QTest::newRow("upper-case scheme") << "HTTPS://dl.example.com/x.exe"
                                           << "https://dl.example.com/x.exe";
        QTest::newRow("query kept") << "https://dl.example.com/get?f=a&v=2"
                                    << "https://dl.example.com/get?f=a&v=2";
        QTest::newRow("no host") << "https:///x.exe"
                                 << "";
        QTest::newRow("mailto") << "mailto:x@example.com"
                                << "";
        QTest::newRow("vbscript") << "vbscript:msgbox"
                                  << "";
        QTest::newRow("empty") << ""
                               << "";
    }

    void safeLink()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QCOMPARE(safeDownloadLink(input), expected);
    }
};

QTEST_GUILESS_MAIN(TestSoftwareUpdateCheck)
#include "tst_softwareupdatecheck.moc"
