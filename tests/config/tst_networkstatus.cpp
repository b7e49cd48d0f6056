#include "config/NetworkStatus.h"

#include <QCoreApplication>
#include <QtTest>

using Reachability = QNetworkInformation::Reachability;

class TestNetworkStatus : public QObject
{
    Q_OBJECT

private slots:
    void reachability_data()
    {
        QTest::addColumn<Reachability>("reachability");
        QTest::addColumn<bool>("online");
        QTest::newRow("unknown") << Reachability::Unknown << true;
        QTest::newRow("disconnected") << Reachability::Disconnected << false;
        QTest::newRow("local network") << Reachability::Local << true;
        QTest::newRow("site") << Reachability::Site << true;
        QTest::newRow("online") << Reachability::Online << true;
    }

    void reachability()
    {
        QFETCH(Reachability, reachability);
        QFETCH(bool, online);
        QCOMPARE(reachabilityCountsAsOnline(reachability), online);
    }

    void answerFollowsTheBackend()
    {
        const bool online = isNetworkOnline();
        const QNetworkInformation *info = QNetworkInformation::instance();
        if (!info || !info->supports(QNetworkInformation::Feature::Reachability))
            QVERIFY(online); // no backend: online
        else
            QCOMPARE(online, info->reachability() != Reachability::Disconnected);
        QCOMPARE(isNetworkOnline(), online); // the backend is kept, the answer stable
        QCOMPARE(QNetworkInformation::instance(), info);
    }
};

QTEST_GUILESS_MAIN(TestNetworkStatus)
#include "tst_networkstatus.moc"
