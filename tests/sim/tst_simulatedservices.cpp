#include "sim/ModuleTable.h"
#include "sim/SimulatedServices.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QUrlQuery>

#include <memory>

namespace {
struct Answer
{
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    int status = 0;
    QByteArray body;
    qint64 msecs = 0;
};

Answer get(QNetworkAccessManager &nam, const QUrl &url)
{
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QNetworkReply> reply(nam.get(QNetworkRequest(url)));
    QSignalSpy finished(reply.get(), &QNetworkReply::finished);
    if (!finished.wait(15000))
        return {QNetworkReply::TimeoutError, 0, QByteArray(), clock.elapsed()};
    Answer a;
    a.error = reply->error();
    a.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    a.body = reply->readAll();
    a.msecs = clock.elapsed();
    return a;
}

bool isJson(const QByteArray &body)
{
    QJsonParseError e;
    QJsonDocument::fromJson(body, &e);
    return e.error == QJsonParseError::NoError;
}
} // namespace


class tst_SimulatedServices : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void listensOnLocalhost();
    void catalogue();
    void catalogueOffersNewerAndEqualVersions();
    void images_data();
    void images();
    void unknownImage();
    void softwareVersion_data();
    void softwareVersion();
    void softwareVersionWantsTheProgramsQuery_data();
    void softwareVersionWantsTheProgramsQuery();
    void faults_data();
    void faults();
    void slowAnswer();
    void slowAnswerToAClientThatGaveUp();

private:
    std::unique_ptr<SimulatedServices> m_services;
    std::unique_ptr<QNetworkAccessManager> m_nam;
};

void tst_SimulatedServices::init()
{
    m_services = std::make_unique<SimulatedServices>();
    QVERIFY(m_services->start());
    m_nam = std::make_unique<QNetworkAccessManager>();
}

void tst_SimulatedServices::cleanup()
{
    m_nam.reset();
    m_services.reset();
}

void tst_SimulatedServices::listensOnLocalhost()
{
    QVERIFY(m_services->port() != 0);
    QCOMPARE(m_services->baseUrl().host(), QStringLiteral("127.0.0.1"));
    QCOMPARE(m_services->catalogueUrl().path(), QStringLiteral("/api/firmware/R7-A"));
    SimulatedServices other;
    QVERIFY(other.start());
    QVERIFY(other.port() != m_services->port());
}

void tst_SimulatedServices::catalogue()
{
    const Answer a = get(*m_nam, m_services->catalogueUrl());
    QCOMPARE(a.error, QNetworkReply::NoError);
    QCOMPARE(a.status, 200);
    const QJsonObject doc = QJsonDocument::fromJson(a.body).object();
    const QStringList names = {"FCU", "IMU", "GMU", "LIU", "OSD", "DLU", "PMU", "IMUEX", "DGPS", "DCU"};
    QCOMPARE(doc.size(), names.size());
    const QRegularExpression version(QStringLiteral("^\\d+\\.\\d+$"));
    for (const QString &name : names) {
        QVERIFY2(doc.contains(name), qPrintable(name));
        const QJsonObject m = doc.value(name).toObject();
        for (const char *key : {"version", "releaseNote", "eng_releaseNote", "releaseDate", "url"})
            QVERIFY2(m.value(QLatin1String(key)).isString(), key);
        QVERIFY(version.match(m.value("version").toString()).hasMatch());
        const QStringList zh = m.value("releaseNote").toString().split('\n');
        const QStringList en = m.value("eng_releaseNote").toString().split('\n');
        QVERIFY(zh.size() >= 3);
        QCOMPARE(en.size(), zh.size());
        QVERIFY(zh.first().contains(QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]"))));
        QVERIFY(QDate::fromString(m.value("releaseDate").toString().left(10), Qt::ISODate).isValid());
        const QUrl url(m.value("url").toString());
        QCOMPARE(url.host(), QStringLiteral("127.0.0.1"));
        QCOMPARE(url.port(), int(m_services->port()));
        QVERIFY(url.fileName().startsWith(name + '-'));
    }
}

void tst_SimulatedServices::catalogueOffersNewerAndEqualVersions()
{
    int newer = 0, equal = 0;
    for (int i = 0; i < ModuleTable::kCount; ++i) {
        const ModuleInfo &m = ModuleTable::module(i);
        if (m.fittedMajor == 0)
            continue;
        // The program shows the aircraft's version as major.minor without padding.
        const QString aircraftText = QStringLiteral("%1.%2").arg(m.fittedMajor).arg(m.fittedMinor);
        if (aircraftText == ModuleTable::offeredVersion(i))
            ++equal;
        else if (m.offeredMajor * 256 + m.offeredMinor > m.fittedMajor * 256 + m.fittedMinor)
            ++newer;
    }
    QVERIFY(newer >= 2);
    QVERIFY(equal >= 2);
}

void tst_SimulatedServices::images_data()
{
    QTest::addColumn<QString>("module");
    for (int i = 0; i < ModuleTable::kCount; ++i)
        QTest::newRow(ModuleTable::module(i).name) << QString::fromLatin1(ModuleTable::module(i).name);
}

void tst_SimulatedServices::images()
{
    QFETCH(QString, module);
    const QJsonObject doc = QJsonDocument::fromJson(get(*m_nam, m_services->catalogueUrl()).body).object();
    const QUrl url(doc.value(module).toObject().value("url").toString());
    const Answer a = get(*m_nam, url);
    QCOMPARE(a.error, QNetworkReply::NoError);
    const int index = ModuleTable::indexOf(module);
    QCOMPARE(a.body.size(), ModuleTable::module(index).imageSize);
    QVERIFY(a.body.size() >= 100 * 1024 && a.body.size() <= 512 * 1024);
    QVERIFY(a.body.startsWith("R7FW " + module.toLatin1() + ' '
                              + doc.value(module).toObject().value("version").toString().toLatin1()));
    QCOMPARE(get(*m_nam, url).body, a.body); // deterministic
}

void tst_SimulatedServices::unknownImage()
{
    const Answer a = get(*m_nam, QUrl(m_services->baseUrl().toString() + "/files/FCU-9.99.bin"));
    QCOMPARE(a.status, 404);
}

void tst_SimulatedServices::softwareVersion_data()
{
    QTest::addColumn<QString>("configured");
    QTest::addColumn<bool>("asNumber");
    QTest::addColumn<QJsonValue>("expected");
    QTest::newRow("same as the program") << "1.55" << false << QJsonValue("1.55");
    QTest::newRow("newer, as text") << "2.0" << false << QJsonValue("2.0");
    QTest::newRow("newer, as a number") << "1.6" << true << QJsonValue(1.6);
}

void tst_SimulatedServices::softwareVersion()
{
    QFETCH(QString, configured);
    QFETCH(bool, asNumber);
    QFETCH(QJsonValue, expected);
    m_services->setSoftwareVersion(configured);
    m_services->setSoftwareVersionAsNumber(asNumber);
    const QUrl url = m_services->softwareVersionUrl();
    QCOMPARE(url.path(), QStringLiteral("/api/software/last"));
    QCOMPARE(QUrlQuery(url).queryItemValue("name"), QStringLiteral("调参软件"));
    const Answer a = get(*m_nam, url);
    QCOMPARE(a.status, 200);
    const QJsonObject o = QJsonDocument::fromJson(a.body).object();
    QVERIFY(o.value("code").isDouble());
    QCOMPARE(o.value("code").toInt(), 200);
    const QJsonObject info = o.value("info").toObject();
    QCOMPARE(info.value("version"), expected);
    QVERIFY(info.value("url").toString().startsWith(m_services->baseUrl().toString()));
}

void tst_SimulatedServices::softwareVersionWantsTheProgramsQuery_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("status");
    QTest::newRow("the program's query, percent-encoded")
        << "platform=windows&type=1&name=%E8%B0%83%E5%8F%82%E8%BD%AF%E4%BB%B6" << 200;
    QTest::newRow("no query") << "" << 404;
    QTest::newRow("another product") << "platform=windows&type=1&name=other" << 404;
    QTest::newRow("another type") << "platform=windows&type=2&name=%E8%B0%83%E5%8F%82%E8%BD%AF%E4%BB%B6" << 404;
}

void tst_SimulatedServices::softwareVersionWantsTheProgramsQuery()
{
    QFETCH(QString, query);
    QFETCH(int, status);
    QUrl url(m_services->baseUrl().toString() + "/api/software/last");
    url.setQuery(query, QUrl::StrictMode);
    const Answer a = get(*m_nam, url);
    QCOMPARE(a.status, status);
    QCOMPARE(QJsonDocument::fromJson(a.body).object().value("code").toInt(), status);
}

void tst_SimulatedServices::faults_data()
{
    using S = SimulatedServices;
    QTest::addColumn<S::Endpoint>("endpoint");
    QTest::addColumn<S::Fault>("fault");
    QTest::addColumn<bool>("networkError");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("json");
    QTest::addColumn<int>("sizeDivisor"); // body size against the good body: 1 whole, 2 half, 0 other

    QTest::newRow("catalogue: 500") << S::Endpoint::Catalogue << S::Fault::ServerError << true << 500 << false << 0;
    QTest::newRow("catalogue: not JSON") << S::Endpoint::Catalogue << S::Fault::NotJson << false << 200 << false << 0;
    QTest::newRow("catalogue: truncated") << S::Endpoint::Catalogue << S::Fault::Truncated << true << 200 << false << 0;
    QTest::newRow("catalogue: short body") << S::Endpoint::Catalogue << S::Fault::ShortBody << false << 200 << false << 2;
    QTest::newRow("image: 500") << S::Endpoint::Images << S::Fault::ServerError << true << 500 << false << 0;
    QTest::newRow("image: truncated") << S::Endpoint::Images << S::Fault::Truncated << true << 200 << false << 0;
    QTest::newRow("image: short body") << S::Endpoint::Images << S::Fault::ShortBody << false << 200 << false << 2;
    QTest::newRow("software: 500") << S::Endpoint::SoftwareVersion << S::Fault::ServerError << true << 500 << false << 0;
    QTest::newRow("software: not JSON") << S::Endpoint::SoftwareVersion << S::Fault::NotJson << false << 200 << false << 0;
    QTest::newRow("software: short body") << S::Endpoint::SoftwareVersion << S::Fault::ShortBody << false << 200 << false << 2;
    QTest::newRow("no fault on another endpoint") << S::Endpoint::Images << S::Fault::NotJson << false << 200 << true << 1;
}

void tst_SimulatedServices::faults()
{
    QFETCH(SimulatedServices::Endpoint, endpoint);
    QFETCH(SimulatedServices::Fault, fault);
    QFETCH(bool, networkError);
    QFETCH(int, status);
    QFETCH(bool, json);
    QFETCH(int, sizeDivisor);

    const QUrl catalogue = m_services->catalogueUrl();
    const QUrl image(m_services->baseUrl().toString() + "/files/FCU-3.12.bin");
    const QUrl software = m_services->softwareVersionUrl();
    // The endpoint the row is about; the last row faults images but asks for the catalogue.
    const bool otherEndpoint = QByteArray(QTest::currentDataTag()).startsWith("no fault");
    const QUrl url = otherEndpoint ? catalogue
                     : endpoint == SimulatedServices::Endpoint::Catalogue ? catalogue
                     : endpoint == SimulatedServices::Endpoint::Images    ? image
                                                                          : software;
    const QByteArray good = get(*m_nam, url).body;
    QVERIFY(!good.isEmpty());

    m_services->setFault(endpoint, fault);
    const Answer a = get(*m_nam, url);
    QCOMPARE(a.error != QNetworkReply::NoError, networkError);
    if (status != 200 || !networkError)
        QCOMPARE(a.status, status);
    QCOMPARE(isJson(a.body), json);
    if (sizeDivisor > 0)
        QCOMPARE(a.body.size(), good.size() / sizeDivisor);
    if (fault == SimulatedServices::Fault::Truncated)
        QVERIFY(a.body.size() < good.size());

    m_services->clearFaults();
    QCOMPARE(get(*m_nam, url).body, good);
}

void tst_SimulatedServices::slowAnswer()
{
    m_services->setSlowDelay(400);
    m_services->setFault(SimulatedServices::Endpoint::Catalogue, SimulatedServices::Fault::Slow);
    const Answer a = get(*m_nam, m_services->catalogueUrl());
    QCOMPARE(a.error, QNetworkReply::NoError);
    QVERIFY(isJson(a.body));
    QVERIFY2(a.msecs >= 390, qPrintable(QString::number(a.msecs))); // it cannot come sooner
    // Other endpoints answer at once meanwhile.
    QVERIFY(isJson(get(*m_nam, m_services->softwareVersionUrl()).body));
}

void tst_SimulatedServices::slowAnswerToAClientThatGaveUp()
{
    m_services->setSlowDelay(300);
    m_services->setFault(SimulatedServices::Endpoint::Images, SimulatedServices::Fault::Slow);
    QSignalSpy served(m_services.get(), &SimulatedServices::requestServed);
    {
        QNetworkAccessManager nam;
        QNetworkReply *reply = nam.get(QNetworkRequest(QUrl(m_services->baseUrl().toString() + "/files/DCU-2.0.bin")));
        QTest::qWait(100);
        reply->abort();
        delete reply;
    }
    QTRY_COMPARE(served.size(), 1);
    m_services->clearFaults();
    QCOMPARE(get(*m_nam, QUrl(m_services->baseUrl().toString() + "/files/DCU-2.0.bin")).body.size(),
             ModuleTable::module(9).imageSize);
}

QTEST_GUILESS_MAIN(tst_SimulatedServices)
#include "tst_simulatedservices.moc"
