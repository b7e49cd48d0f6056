#include "sim/ModuleTable.h"
#include "sim/SimulatedServices.h"

#include <QElapsedTimer>
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
    return {reply->error(), reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
            reply->readAll(), clock.elapsed()};
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
    void catalogueAndImages();
    void softwareVersion();
    void routes_data();
    void routes();
    void faults_data();
    void faults();
    void slowAnswers();

private:
    QUrl url(const QString &pathAndQuery) const
    {
        return QUrl(m_services->baseUrl().toString() + pathAndQuery, QUrl::StrictMode);
    }

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

void tst_SimulatedServices::catalogueAndImages()
{
    QCOMPARE(m_services->catalogueUrl(), url("/api/firmware/R7-A"));
    const Answer a = get(*m_nam, m_services->catalogueUrl());
    QCOMPARE(a.status, 200);
    const QJsonObject doc = QJsonDocument::fromJson(a.body).object();
    const QStringList names = {
        "FCU", "IMU", "GMU", "LIU", "OSD", "DLU", "PMU", "IMUEX", "DGPS", "DCU"};
    QCOMPARE(doc.keys().size(), names.size());
    for (const QString &name : names) {
        const QJsonObject m = doc.value(name).toObject();
        for (const char *key : {"version", "releaseNote", "eng_releaseNote", "releaseDate", "url"})
            QVERIFY2(m.value(QLatin1String(key)).isString(), qPrintable(name + ' ' + key));
        QVERIFY(m.value("version").toString().contains(QRegularExpression("^\\d+\\.\\d+$")));
        const QUrl imageUrl(m.value("url").toString());
        QVERIFY(imageUrl.toString().startsWith(url("/files/" + name + '-').toString()));
        const QByteArray image = get(*m_nam, imageUrl).body;
        QCOMPARE(image.size(), ModuleTable::module(ModuleTable::indexOf(name)).imageSize);
        const QString header = QStringLiteral("R7FW %1 %2").arg(name, m["version"].toString());
        QVERIFY2(image.startsWith(header.toLatin1()), qPrintable(name));
        QCOMPARE(get(*m_nam, imageUrl).body, image); // deterministic
    }
}

void tst_SimulatedServices::softwareVersion()
{
    const QUrl query = m_services->softwareVersionUrl();
    QCOMPARE(QUrlQuery(query).queryItemValue("name"), QStringLiteral("调参软件"));
    auto info = [this, &query] {
        const QJsonObject o = QJsonDocument::fromJson(get(*m_nam, query).body).object();
        return o.value("code") == QJsonValue(200) ? o.value("info").toObject() : QJsonObject();
    };
    m_services->setSoftwareVersion("2.0");
    QCOMPARE(info().value("version"), QJsonValue("2.0"));
    QVERIFY(info().value("url").toString().startsWith(m_services->baseUrl().toString()));
    m_services->setSoftwareVersionAsNumber(true);
    m_services->setSoftwareVersion("1.6");
    QCOMPARE(info().value("version"), QJsonValue(1.6));
}

void tst_SimulatedServices::routes_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("status"); // also the JSON "code" of the version service
    const QString query = "/api/software/last?platform=windows&type=%1&name=%2";
    const QString product = "%E8%B0%83%E5%8F%82%E8%BD%AF%E4%BB%B6"; // the program's, encoded
    QTest::newRow("the program's version query") << query.arg("1", product) << 200;
    QTest::newRow("version without a query") << "/api/software/last" << 404;
    QTest::newRow("version of another product") << query.arg("1", "other") << 404;
    QTest::newRow("version of another type") << query.arg("2", product) << 404;
    QTest::newRow("unknown image") << "/files/FCU-9.99.bin" << 404;
}

void tst_SimulatedServices::routes()
{
    QFETCH(QString, path);
    QFETCH(int, status);
    const Answer a = get(*m_nam, url(path));
    QCOMPARE(a.status, status);
    if (path.startsWith("/api"))
        QCOMPARE(QJsonDocument::fromJson(a.body)["code"].toInt(), status);
}

void tst_SimulatedServices::faults_data()
{
    using S = SimulatedServices;
    QTest::addColumn<S::Endpoint>("endpoint");
    QTest::addColumn<S::Fault>("fault");
    const QList<QPair<const char *, S::Endpoint>> endpoints = {
        {"catalogue", S::Endpoint::Catalogue}, {"image", S::Endpoint::Images},
        {"software", S::Endpoint::SoftwareVersion}};
    const QList<QPair<const char *, S::Fault>> faults = {
        {"500", S::Fault::ServerError}, {"not JSON", S::Fault::NotJson},
        {"truncated", S::Fault::Truncated}, {"short body", S::Fault::ShortBody}};
    for (const auto &[endpointName, endpoint] : endpoints) {
        for (const auto &[faultName, fault] : faults)
            QTest::addRow("%s: %s", endpointName, faultName) << endpoint << fault;
    }
}

void tst_SimulatedServices::faults()
{
    using S = SimulatedServices;
    QFETCH(S::Endpoint, endpoint);
    QFETCH(S::Fault, fault);
    const QUrl target = endpoint == S::Endpoint::Catalogue ? m_services->catalogueUrl()
                        : endpoint == S::Endpoint::Images  ? url("/files/FCU-3.12.bin")
                                                           : m_services->softwareVersionUrl();
    const QByteArray good = get(*m_nam, target).body;
    QVERIFY(!good.isEmpty());

    m_services->setFault(endpoint, fault);
    const Answer a = get(*m_nam, target);
    QVERIFY(!isJson(a.body));
    switch (fault) {
    case S::Fault::ServerError:
        QCOMPARE(a.status, 500);
        QVERIFY(a.error != QNetworkReply::NoError);
        break;
    case S::Fault::NotJson:
        QCOMPARE(a.status, 200);
        QCOMPARE(a.error, QNetworkReply::NoError);
        QVERIFY(a.body != good);
        break;
    case S::Fault::Truncated:
        QVERIFY(a.error != QNetworkReply::NoError);
        QVERIFY(a.body.size() < good.size());
        break;
    default:
        QCOMPARE(a.error, QNetworkReply::NoError);
        QCOMPARE(a.body, good.left(good.size() / 2));
    }
    // Another endpoint is not affected.
    const QUrl other = endpoint == S::Endpoint::Catalogue ? m_services->softwareVersionUrl()
                                                          : m_services->catalogueUrl();
    QVERIFY(isJson(get(*m_nam, other).body));

    m_services->clearFaults();
    QCOMPARE(get(*m_nam, target).body, good);
}

void tst_SimulatedServices::slowAnswers()
{
    m_services->setSlowDelay(400);
    m_services->setFault(SimulatedServices::Endpoint::Images, SimulatedServices::Fault::Slow);
    QSignalSpy served(m_services.get(), &SimulatedServices::requestServed);
    const QUrl image = url("/files/DCU-2.0.bin");
    {
        // A client that gives up while its answer is delayed; other endpoints answer meanwhile.
        QNetworkAccessManager nam;
        std::unique_ptr<QNetworkReply> reply(nam.get(QNetworkRequest(image)));
        QVERIFY(isJson(get(*m_nam, m_services->catalogueUrl()).body));
        QTest::qWait(100);
        QVERIFY(!reply->isFinished());
        reply->abort();
    }
    QTRY_COMPARE(served.size(), 2);
    const Answer a = get(*m_nam, image);
    QCOMPARE(a.body.size(), ModuleTable::module(ModuleTable::indexOf("DCU")).imageSize);
    QVERIFY2(a.msecs >= 390, qPrintable(QString::number(a.msecs))); // it cannot come sooner
}

QTEST_GUILESS_MAIN(tst_SimulatedServices)
#include "tst_simulatedservices.moc"
