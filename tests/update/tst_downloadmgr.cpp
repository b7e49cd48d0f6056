// Downloads of the catalogue and of images against the simulated services on 127.0.0.1: only a
// complete 200 answer with a body counts, and an image lands only inside its module's folder.
#include "config/AppPaths.h"
#include "config/ServiceUrls.h"
#include "sim/SimulatedServices.h"
#include "support/UntrustedTls.h"
#include "update/DownloadMgr.h"

#include <QDirIterator>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class tst_DownloadMgr : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    SimulatedServices m_services;

    // A manager with its outcomes counted.
    struct Run
    {
        DownloadMgr manager;
        QSignalSpy done{&manager, &DownloadMgr::saveFinished};
        QSignalSpy failed{&manager, &DownloadMgr::downloadFailed};
        bool waitFor(int outcomes)
        {
            return QTest::qWaitFor([&] { return done.size() + failed.size() >= outcomes; }, 20000)
                   && done.size() + failed.size() == outcomes;
        }
    };

    // Every file below the data folder.
    static QStringList savedFiles()
    {
        QStringList files;
        QDirIterator it(dataFolderPath(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        return files;
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("HOME", m_home.path().toLocal8Bit());
        QVERIFY(m_services.start());
        setServiceBaseUrl(m_services.baseUrl());
    }
    void cleanup()
    {
        m_services.clearFaults();
        m_services.resetFiles();
        setServiceBaseUrl(m_services.baseUrl());
        QDir(dataFolderPath()).removeRecursively();
    }

    void image_data()
    {
        QTest::addColumn<QString>("path"); // on the services, after the base URL
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("size");      // body served
        QTest::addColumn<QString>("fault"); // SimulatedServices fault of the image endpoint
        QTest::addColumn<QString>("saved"); // file name saved; empty: the download fails
        QTest::newRow("485 bytes, query ignored") << "/files/fcu_v3.bin?token=1" << 200 << 485 << ""
                                                  << "fcu_v3.bin";
        QTest::newRow("encoded name decoded") << "/files/fcu%20v3.bin" << 200 << 10 << ""
                                              << "fcu v3.bin";
        QTest::newRow("404") << "/files/none.bin" << 404 << 20 << ""
                             << "";
        QTest::newRow("204 no content") << "/files/a.bin" << 204 << 0 << ""
                                        << "";
        QTest::newRow("empty 200") << "/files/a.bin" << 200 << 0 << ""
                                   << "";
        QTest::newRow("server error") << "/files/a.bin" << 200 << 300 << "error"
                                      << "";
        QTest::newRow("above 65535 chunks")
            << "/files/big.bin" << 200 << int(DownloadMgr::kMaxImageBytes + 1) << ""
            << "";
        QTest::newRow("encoded separator") << "/files/..%2Fevil" << 200 << 10 << ""
                                           << "";
        QTest::newRow("encoded backslash") << "/files/..%5Cevil" << 200 << 10 << ""
                                           << "";
        QTest::newRow("dot dot") << "/files/%2E%2E" << 200 << 10 << ""
                                 << "";
        QTest::newRow("no file name") << "/files/" << 200 << 10 << ""
                                      << "";
        QTest::newRow("backslashes in the path") << "/files/..\\..\\evil.bin" << 200 << 10 << ""
                                                 << "";
    }
    void image()
    {
        QFETCH(QString, path);
        QFETCH(int, status);
        QFETCH(int, size);
        QFETCH(QString, fault);
        QFETCH(QString, saved);
        const QByteArray body(size, 'F');
        const QString servedName = QUrl::fromPercentEncoding(
            path.section(QLatin1Char('?'), 0, 0).section(QLatin1Char('/'), 2).toUtf8());
        m_services.setFile(servedName, body, status);
        if (fault == QLatin1String("error"))
            m_services.setFault(SimulatedServices::Endpoint::Images,
                                SimulatedServices::Fault::ServerError);

        Run run;
        run.manager.download({QStringLiteral("FCU"), m_services.baseUrl().toString() + path, 1});
        QVERIFY(run.waitFor(1));
        if (saved.isEmpty()) {
            QCOMPARE(run.failed.size(), 1);
            QCOMPARE(savedFiles(), QStringList());
            return;
        }
        const auto info = run.done.first().first().value<StructReplyInfo>();
        QCOMPARE(info.strUrl, dataFolderPath() + QStringLiteral("Firmware/FCU/") + saved);
        QFile file(info.strUrl);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), body);
    }

    // Addresses refused before any request leaves.
    void imageAddressRefused_data()
    {
        QTest::addColumn<QString>("service");
        QTest::addColumn<QString>("image");
        QTest::newRow("local file") << "http://127.0.0.1:1"
                                    << "file:///etc/hostname";
        QTest::newRow("ftp") << "http://127.0.0.1:1"
                             << "ftp://127.0.0.1/a.bin";
        QTest::newRow("http image, https catalogue") << "https://127.0.0.1:1"
                                                     << "http://127.0.0.1:1/files/a.bin";
        QTest::newRow("no host") << "http://127.0.0.1:1"
                                 << "http:///files/a.bin";
        QTest::newRow("empty") << "http://127.0.0.1:1"
                               << "";
        // Catalogue entries that try to leave the download folder.
        QTest::newRow("relative path") << "http://127.0.0.1:1"
                                       << "../../x.bin";
        QTest::newRow("absolute path") << "http://127.0.0.1:1"
                                       << "/tmp/x.bin";
        QTest::newRow("windows path") << "http://127.0.0.1:1"
                                      << "C:\\Windows\\x.bin";
        QTest::newRow("backslashes") << "http://127.0.0.1:1"
                                     << "..\\..\\x.bin";
    }
    void imageAddressRefused()
    {
        QFETCH(QString, service);
        QFETCH(QString, image);
        QVERIFY(setServiceBaseUrl(QUrl(service)));
        Run run;
        QSignalSpy served(&m_services, &SimulatedServices::requestServed);
        run.manager.download({QStringLiteral("FCU"), image, 1});
        QCOMPARE(run.failed.size(), 1);
        QVERIFY(!run.manager.isDownloading({QStringLiteral("FCU"), image, 1}));
        QTest::qWait(50);
        QCOMPARE(served.size(), 0);
        QCOMPARE(savedFiles(), QStringList());
    }

    void text_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("delivered");
        QTest::addColumn<QString>("text");
        QTest::newRow("cut at a zero byte")
            << QByteArray("{\"a\":1}\0rest", 12) << 200 << true << "{\"a\":1}";
        QTest::newRow("UTF-8") << QByteArray("{\"n\":\"\xe4\xbc\x98\"}") << 200 << true
                               << QString::fromUtf8("{\"n\":\"优\"}");
        QTest::newRow("above 1 MiB")
            << QByteArray(int(DownloadMgr::kMaxTextBytes + 1), ' ') << 200 << false << "";
    }
    void text()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, status);
        QFETCH(bool, delivered);
        QFETCH(QString, text);
        m_services.setFile(QStringLiteral("catalogue.json"), body, status);
        Run run;
        const StructReplyInfo request{QString(),
                                      m_services.baseUrl().toString()
                                          + QStringLiteral("/files/catalogue.json"),
                                      2};
        run.manager.download(request);
        QVERIFY(run.manager.isDownloading(request));
        QVERIFY(run.waitFor(1));
        QCOMPARE(run.done.size(), delivered ? 1 : 0);
        if (delivered)
            QCOMPARE(run.done.first().first().value<StructReplyInfo>().strUrl, text);
        QVERIFY(!run.manager.isDownloading(request));
    }

    // A server whose certificate cannot be verified: neither the catalogue nor an image arrives,
    // the refusal is announced, and the server never sees a request (errors are never ignored).
    void untrustedCertificate_data()
    {
        QTest::addColumn<int>("type");
        QTest::newRow("catalogue") << 2;
        QTest::newRow("image") << 1;
    }
    void untrustedCertificate()
    {
        QFETCH(int, type);
        SimulatedServices tls;
        QVERIFY(serveWithUntrustedCertificate(tls));
        QCOMPARE(tls.baseUrl().scheme(), QStringLiteral("https"));
        QSignalSpy served(&tls, &SimulatedServices::requestServed);
        QVERIFY(setServiceBaseUrl(tls.baseUrl()));
        Run run;
        QSignalSpy refused(&run.manager, &DownloadMgr::certificateRefused);
        const QString url = type == 2 ? firmwareCatalogueUrl().toString()
                                      : tls.baseUrl().toString() + QStringLiteral("/files/a.bin");
        run.manager.download({type == 2 ? QString() : QStringLiteral("FCU"), url, uint8_t(type)});
        QVERIFY(run.waitFor(1));
        QCOMPARE(run.failed.size(), 1);
        QVERIFY(!refused.isEmpty());
        QCOMPARE(served.size(), 0);
        QCOMPARE(savedFiles(), QStringList());
    }

    // An image download of a module being flashed is stopped and saves nothing.
    void abortedImageSavesNothing()
    {
        m_services.setFault(SimulatedServices::Endpoint::Images, SimulatedServices::Fault::Slow);
        m_services.setSlowDelay(300);
        Run run;
        const QString url = m_services.baseUrl().toString() + QStringLiteral("/files/FCU-3.12.bin");
        run.manager.download({QStringLiteral("FCU"), url, 1});
        run.manager.download({QStringLiteral("GMU"), url, 1});
        run.manager.abortImageDownloads(QStringLiteral("FCU"));
        QVERIFY(run.waitFor(2));
        QCOMPARE(run.failed.size(), 1);
        QCOMPARE(run.failed.first().first().value<StructReplyInfo>().strName,
                 QStringLiteral("FCU"));
        QCOMPARE(savedFiles(),
                 QStringList{dataFolderPath() + QStringLiteral("Firmware/GMU/FCU-3.12.bin")});
    }
};

QTEST_GUILESS_MAIN(tst_DownloadMgr)
#include "tst_downloadmgr.moc"
