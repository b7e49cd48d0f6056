// The firmware update page in the whole program against the simulated aircraft and the simulated
// services on 127.0.0.1: the page compares, downloads, offers, confirms and flashes, and what the
// aircraft received is compared with what the services served.
#include "app/KivApplication.h"
#include "app/KivGuiController.h"
#include "app/LinkConnected.h"
#include "config/AppPaths.h"
#include "config/FirmwareCatalogueStore.h"
#include "config/ServiceUrls.h"
#include "link/serialport.h"
#include "sim/SimulatedAircraft.h"
#include "sim/SimulatedServices.h"
#include "support/UntrustedTls.h"
#include "ui/KivMainWindow.h"
#include "ui/UpdateHint.h"
#include "update/KivUpdateWgt.h"

#include <QAccessible>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QJsonObject>
#include <QLabel>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {
SimulatedAircraft *aircraft = nullptr;
SimulatedServices *services = nullptr;

KivUpdateWgt *page()
{
    return mainWindow->updatePage();
}

QMessageBox *openBox(const char *name)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String(name) && widget->isVisible())
            return static_cast<QMessageBox *>(widget);
    }
    return nullptr;
}

void clickButton(QMessageBox *box, int index)
{
    box->buttons().at(index)->click();
}

QByteArray imageOf(int size, int seed)
{
    QByteArray image(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        image[i] = char((i * 131 + (i >> 9) * 7 + seed) & 0xFF);
    return image;
}

// The catalogue with FCU's entry changed (or removed when version is null).
void offerFcu(const QString &version, const QString &url)
{
    QJsonObject catalogue = services->defaultCatalogue();
    QJsonObject fcu = catalogue.value(QStringLiteral("FCU")).toObject();
    fcu.insert(QStringLiteral("version"), version);
    fcu.insert(QStringLiteral("url"), url);
    if (version.isNull())
        catalogue.remove(QStringLiteral("FCU"));
    else
        catalogue.insert(QStringLiteral("FCU"), fcu);
    services->setCatalogue(catalogue);
}
} // namespace

class tst_E2eUpdatePage : public QObject
{
    Q_OBJECT

    QList<int> m_progress;
    QStringList m_served;

    QLabel *fcuVersion() { return page()->findChild<QLabel *>(QStringLiteral("lblVersionFCU")); }
    QString fileUrl(const QString &name)
    {
        return services->baseUrl().toString() + QStringLiteral("/files/") + name;
    }

    // Opens the update page as the user does: the versions are read, each answer fetches the
    // catalogue, the catalogue decides. Waits until the catalogue asked for has been served.
    void visitUpdatePage()
    {
        const qsizetype from = m_served.size();
        QTest::mouseClick(mainWindow->findChild<QToolButton *>(QStringLiteral("btn_update")),
                          Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(m_served.mid(from).contains(QStringLiteral("/api/firmware/R7-A")),
                                 10000);
        QTest::qWait(400); // the last answers and the downloads they start
    }
    static QStringList savedImages()
    {
        QStringList files;
        QDirIterator it(dataFolderPath() + QStringLiteral("Firmware"),
                        QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        files.sort();
        return files;
    }
    bool waitForReadBack()
    {
        QSignalSpy readBack(KivApplication::instance(), &KivApplication::readBackFinished);
        return readBack.wait(20000) && QTest::qWaitFor([] { return linkConnected == 1; }, 1000);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
        connect(guiController,
                &KivGuiController::progress_uint,
                this,
                [this](QString module, uint8_t p) {
                    if (module == QLatin1String("FCU"))
                        m_progress << p;
                });
        connect(services,
                &SimulatedServices::requestServed,
                this,
                [this](const QString &path, int) { m_served << path; });
        aircraft->state().versions[0] = {3, 0};
        offerFcu(QStringLiteral("3.00"), fileUrl(QStringLiteral("fcu-3.00.bin")));
        services->setFile(QStringLiteral("fcu-3.00.bin"), imageOf(1000, 0));
        KivApplication::instance()->serialPort()->addExtraPortName(aircraft->slavePath());
        QVERIFY(waitForReadBack());
    }

    // The aircraft's 3.0 is the catalogue's 3.00: nothing to fetch, nothing offered.
    void sameVersionOffersNothing()
    {
        visitUpdatePage();
        QCOMPARE(fcuVersion()->text(), QStringLiteral("3.0"));
        QCOMPARE(page()->rowPage(0), int(KivUpdateWgt::NoUpdatePage));
        QVERIFY(!m_served.contains(QStringLiteral("/files/fcu-3.00.bin")));
    }

    // Faults of the services change nothing and offer nothing (unsafe image names and addresses
    // are refused in tst_downloadmgr).
    void serviceFaultsOfferNothing_data()
    {
        using E = SimulatedServices::Endpoint;
        using F = SimulatedServices::Fault;
        QTest::addColumn<E>("endpoint");
        QTest::addColumn<F>("fault"); // None: FCU missing from the catalogue
        QTest::newRow("catalogue 500") << E::Catalogue << F::ServerError;
        QTest::newRow("catalogue not JSON") << E::Catalogue << F::NotJson;
        QTest::newRow("image truncated") << E::Images << F::Truncated;
        QTest::newRow("module unknown") << E::Catalogue << F::None;
    }
    void serviceFaultsOfferNothing()
    {
        QFETCH(SimulatedServices::Endpoint, endpoint);
        QFETCH(SimulatedServices::Fault, fault);
        const QString name = QStringLiteral("fcu-3.05.bin");
        offerFcu(QStringLiteral("3.05"), fileUrl(name));
        services->setFile(name, imageOf(5000, 5));
        if (fault == SimulatedServices::Fault::None)
            offerFcu(QString(), QString());
        else
            services->setFault(endpoint, fault);
        const qsizetype from = m_served.size();
        visitUpdatePage();
        if (endpoint == SimulatedServices::Endpoint::Images)
            QTRY_VERIFY_WITH_TIMEOUT(m_served.mid(from).contains(QStringLiteral("/files/") + name),
                                     5000);
        QTest::qWait(200);
        services->clearFaults();
        QCOMPARE(page()->rowPage(0), int(KivUpdateWgt::NoUpdatePage));
        QCOMPARE(fcuVersion()->text(), QStringLiteral("3.0"));
        QVERIFY(!page()->findChild<QToolButton *>(QStringLiteral("btnUpdateFCU"))->isVisible());
        // Nothing for FCU was saved, and nothing outside a module's folder (images of the other
        // modules are fetched while their versions are not yet known).
        QDirIterator files(
            QDir::homePath(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        const QRegularExpression allowed(
            QStringLiteral("/Data/(Ini/firmware\\.ini|Firmware/(?!FCU/)[A-Z]+/[^/]+)$"));
        while (files.hasNext()) {
            const QString file = files.next();
            if (file.contains(QStringLiteral("/Vardeck/")))
                QVERIFY2(allowed.match(file).hasMatch(), qPrintable(file));
        }
    }

    // Offered, confirmed through the accessibility interface, flashed: the aircraft holds exactly
    // the served image, progress runs 0 to 100, and the module then reports the new version,
    // which is no longer offered.
    void updateRuns_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("refusedChunks");
        QTest::newRow("484 bytes") << 484 << 0;
        QTest::newRow("485 bytes, a chunk refused") << 485 << 1;
        QTest::newRow("300 KiB, chunks refused") << 300 * 1024 << 3;
    }
    void updateRuns()
    {
        QFETCH(int, size);
        QFETCH(int, refusedChunks);
        static int minor = 0;
        ++minor;
        const QString version = QStringLiteral("3.0%1").arg(minor);
        const QString name = QStringLiteral("fcu-%1.bin").arg(version);
        const QByteArray image = imageOf(size, minor);
        services->setFile(name, image);
        offerFcu(version, fileUrl(name));
        visitUpdatePage();
        QTRY_COMPARE_WITH_TIMEOUT(page()->rowPage(0), int(KivUpdateWgt::UpdateButtonPage), 10000);

        QByteArray received;
        bool complete = false;
        connect(aircraft,
                &AircraftEngine::firmwareReceived,
                this,
                [&](int module, qint64, const QByteArray &sha, bool c) {
                    received = sha;
                    complete = c && module == 0;
                });
        aircraft->setRefuseFirmwareChunks(refusedChunks);
        m_progress.clear();
        auto *button = page()->findChild<QToolButton *>(QStringLiteral("btnUpdateFCU"));
        QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
        QTRY_VERIFY(openBox("confirmUpdateBox"));
        clickButton(openBox("confirmUpdateBox"), 0); // 确定
        QTRY_VERIFY_WITH_TIMEOUT(openBox("updateSuccessBox"), 60000);
        disconnect(aircraft, &AircraftEngine::firmwareReceived, this, nullptr);
        QVERIFY(complete);
        QCOMPARE(received, QCryptographicHash::hash(image, QCryptographicHash::Sha256));
        QCOMPARE(m_progress.constFirst(), 0);
        QCOMPARE(m_progress.constLast(), 100);
        QVERIFY(std::is_sorted(m_progress.begin(), m_progress.end()));
        QCOMPARE(m_progress.count(100), 1);
        QVERIFY(page()->findChild<QWidget *>(QStringLiteral("widget_bg"))->isEnabled());
        openBox("updateSuccessBox")->close();

        visitUpdatePage();
        QCOMPARE(fcuVersion()->text(), QStringLiteral("3.%1").arg(minor));
        QCOMPARE(page()->rowPage(0), int(KivUpdateWgt::NoUpdatePage));
        QVERIFY(!openBox("updateSuccessBox")); // one success for one transfer
    }

    // The services behind a certificate that cannot be verified: the software check and the
    // catalogue are refused, the server sees no request, nothing is offered or saved, and the
    // status bar says why until a trusted answer comes again.
    void untrustedCertificateRefused()
    {
        SimulatedServices tls;
        QVERIFY(serveWithUntrustedCertificate(tls));
        tls.setSoftwareVersion(QStringLiteral("9.99")); // a hint, were the server trusted
        QSignalSpy served(&tls, &SimulatedServices::requestServed);
        QSignalSpy refused(page()->downloadManager(), &DownloadMgr::certificateRefused);
        QVERIFY(!mainWindow->isServiceCertificateNoticeShown());
        const QStringList before = savedImages();
        QVERIFY(setServiceBaseUrl(tls.baseUrl()));
        mainWindow->startSoftwareUpdateCheck();
        QTRY_VERIFY(mainWindow->isServiceCertificateNoticeShown());
        QTest::mouseClick(mainWindow->findChild<QToolButton *>(QStringLiteral("btn_update")),
                          Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!refused.isEmpty(), 10000);
        QTest::qWait(400);
        QCOMPARE(served.size(), 0);
        QVERIFY(!mainWindow->updateHint()->isVisible());
        QCOMPARE(page()->rowPage(0), int(KivUpdateWgt::NoUpdatePage));
        QCOMPARE(savedImages(), before);
        QVERIFY(setServiceBaseUrl(services->baseUrl()));
        visitUpdatePage();
        QTRY_VERIFY(!mainWindow->isServiceCertificateNoticeShown());
    }

    // Last: the cable is pulled mid-transfer. The rows come back once the link is lost.
    void unpluggedMidTransfer()
    {
        const QString name = QStringLiteral("fcu-3.09.bin");
        services->setFile(name, imageOf(200 * 1024, 9));
        offerFcu(QStringLiteral("3.09"), fileUrl(name));
        visitUpdatePage();
        QTRY_COMPARE_WITH_TIMEOUT(page()->rowPage(0), int(KivUpdateWgt::UpdateButtonPage), 10000);
        m_progress.clear();
        QTest::keyClick(page()->findChild<QToolButton *>(QStringLiteral("btnUpdateFCU")),
                        Qt::Key_Space);
        QTRY_VERIFY(openBox("confirmUpdateBox"));
        clickButton(openBox("confirmUpdateBox"), 0);
        QTRY_VERIFY_WITH_TIMEOUT(!m_progress.isEmpty() && m_progress.constLast() > 5, 30000);
        auto *rows = page()->findChild<QWidget *>(QStringLiteral("widget_bg"));
        QVERIFY(!rows->isEnabled());
        aircraft->unplug();
        QTRY_VERIFY_WITH_TIMEOUT(linkConnected == 0, 10000);
        QTRY_VERIFY(rows->isEnabled());
        QCOMPARE(page()->rowPage(0), int(KivUpdateWgt::NoUpdatePage));
        QCOMPARE(fcuVersion()->text(), QStringLiteral("N/A"));
        QVERIFY(!openBox("updateSuccessBox"));
    }
};

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    KivApplication *app = KivApplication::getInstance(argc, argv, [](KivApplication *a) {
        services = new SimulatedServices(a);
        if (!services->start())
            qFatal("the simulated services could not listen");
        setServiceBaseUrl(services->baseUrl());
        aircraft = new SimulatedAircraft(a);
        aircraft->setTelemetryRate(5);
    });
    if (!aircraft->start())
        qFatal("no pseudo-terminal: %s", qPrintable(aircraft->errorString()));
    tst_E2eUpdatePage test;
    const int result = QTest::qExec(&test, argc, argv);
    delete app;
    return result;
}

#include "tst_e2e_updatepage.moc"
