// The import preview: which settings an import would change against what the aircraft is known
// to hold, the warning for another frame type or wheelbase, the groups chosen and their outcome.
#include "app/AircraftParams.h"
#include "app/ImportPreview.h"
#include "app/ParameterFreshness.h"

#include <QJsonDocument>
#include <QTest>

namespace {
// Groups in the file's order: frame, receiver, reverse, wheelbase, gains (D, P, alt), protection
// (LV1, LV2, SP_S), idle. One letter per setting: S same, C changed, U unknown.
QString changes(const ImportPreview &preview)
{
    QString letters;
    for (const ImportPreview::Group &group : preview.groups()) {
        for (const ImportPreview::Setting &s : group.settings)
            letters += QLatin1Char("SCU"[int(s.change())]);
    }
    return letters;
}
} // namespace

class tst_ImportPreview : public QObject
{
    Q_OBJECT

    AircraftParams m_params;

private Q_SLOTS:
    void init()
    {
        m_params.Uav_Type = 1;
        m_params.Contrl_Rec = 0x80;
        m_params.Uav_wid = 4;
        m_params.LV1 = 1080;
        m_params.LV2 = 1011;
        m_params.M_CCR0 = 2;
    }

    void compare_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<int>>("read"); // groups read from this aircraft
        QTest::addColumn<QString>("changes");
        QTest::addColumn<int>("warnings");
        const QList<int> all{0, 1, 2, 3, 4, 5, 6};
        // Members the file lacks send the aircraft's value again: unchanged.
        QTest::newRow("frame and voltage")
            << QByteArray(R"({"Uav_Type":4,"LV1":1130})") << all << "CSSSSSSCSSS" << 1;
        QTest::newRow("same after cutting to width")
            << QByteArray(R"({"Contrl_Rec":-128,"LV2":66547,"M_CCR0":2})") << all << "SSSSSSSSSSS"
            << 0;
        QTest::newRow("never read")
            << QByteArray(R"({"Uav_wid":4})") << QList<int>{} << "UUUUUUUUUUU" << 1;
        QTest::newRow("wheelbase differs, gains unread")
            << QByteArray(R"({"Uav_wid":2,"sensRateP":5})") << QList<int>{0, 1, 2, 3, 5, 6}
            << "SSSCUUUSSSS" << 1;
        QTest::newRow("frame and wheelbase")
            << QByteArray(R"({"Uav_Type":3,"Uav_wid":5})") << all << "CSSCSSSSSSS" << 2;
    }
    void compare()
    {
        QFETCH(QByteArray, file);
        QFETCH(QList<int>, read);
        QFETCH(QString, changes);
        QFETCH(int, warnings);
        ParameterFreshness freshness;
        for (int group : read)
            freshness.confirm(ParameterFile::groups()[group].command);
        const ImportPreview preview(QJsonDocument::fromJson(file).object(), m_params, freshness);
        QCOMPARE(::changes(preview), changes);
        QCOMPARE(preview.warnings().size(), warnings);
        // An unread value is unknown, never a 0 that looks like the aircraft's.
        for (const ImportPreview::Group &group : preview.groups()) {
            for (const ImportPreview::Setting &s : group.settings)
                QCOMPARE(s.aircraft.has_value(), read.contains(group.index));
        }
    }

    void choiceAndOutcome()
    {
        ParameterFreshness freshness;
        ImportPreview preview(QJsonObject{{"M_CCR0", 1}}, m_params, freshness);
        preview.setChecked(2, false);
        preview.setChecked(5, false);
        QCOMPARE(preview.checkedGroups(), (QList<int>{0, 1, 3, 4, 6}));
        preview.setOutcomes(preview.checkedGroups(), {4});
        QString outcomes;
        for (const ImportPreview::Group &group : preview.groups())
            outcomes += QLatin1Char("-AN"[int(group.outcome)]);
        QCOMPARE(outcomes, QStringLiteral("AA-AN-A"));
        QCOMPARE(preview.groups()[6].settings.first().sent, 1);
    }

    void displayValues_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("wheelbase") << QByteArray("Uav_wid") << 5 << "1250 mm";
        QTest::newRow("voltage") << QByteArray("LV1") << 1005 << "10.05 V";
        QTest::newRow("reverse mask") << QByteArray("Contrl_Rec") << 0x8A << "0x8A";
        QTest::newRow("receiver") << QByteArray("Contrl_type") << 2 << "PWM";
        QTest::newRow("idle level") << QByteArray("M_CCR0") << 0 << "1";
        QTest::newRow("frame type") << QByteArray("Uav_Type") << 10 << "异型 I";
        QTest::newRow("unknown frame code") << QByteArray("Uav_Type") << 11 << "11";
    }
    void displayValues()
    {
        QFETCH(QByteArray, key);
        QFETCH(int, value);
        QFETCH(QString, shown);
        QCOMPARE(ImportPreview::displayValue(key.constData(), value), shown);
    }
};

QTEST_GUILESS_MAIN(tst_ImportPreview)
#include "tst_importpreview.moc"
