#include "app/SprayRate.h"

#include <QTest>

#include <limits>

Q_DECLARE_METATYPE(std::optional<double>)

namespace {
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
const std::optional<double> kNone;

void compareResult(const std::optional<double> &actual, const std::optional<double> &expected)
{
    QCOMPARE(actual.has_value(), expected.has_value());
    if (expected)
        QVERIFY2(qAbs(*actual - *expected) < 1e-9, qPrintable(QString::number(*actual, 'g', 17)));
}
} // namespace

class tst_SprayRate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void requiredFlow_data()
    {
        QTest::addColumn<double>("rate");
        QTest::addColumn<double>("speed");
        QTest::addColumn<double>("width");
        QTest::addColumn<std::optional<double>>("flow");
        QTest::newRow("10 L/ha, 5 m/s, 4 m") << 10.0 << 5.0 << 4.0 << std::optional<double>(1.2);
        QTest::newRow("15 L/ha, 6 m/s, 5.5 m") << 15.0 << 6.0 << 5.5 << std::optional<double>(2.97);
        QTest::newRow("zero rate") << 0.0 << 5.0 << 4.0 << kNone;
        QTest::newRow("zero speed") << 10.0 << 0.0 << 4.0 << kNone;
        QTest::newRow("negative width") << 10.0 << 5.0 << -4.0 << kNone;
        QTest::newRow("not a number") << kNan << 5.0 << 4.0 << kNone;
        QTest::newRow("infinite") << 10.0 << kInf << 4.0 << kNone;
    }
    void requiredFlow()
    {
        QFETCH(double, rate);
        QFETCH(double, speed);
        QFETCH(double, width);
        QFETCH(std::optional<double>, flow);
        compareResult(SprayRate::requiredFlow(rate, speed, width), flow);
    }

    void calibration_data()
    {
        QTest::addColumn<double>("target");
        QTest::addColumn<double>("litres");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<double>("percent");
        QTest::addColumn<std::optional<double>>("measured");
        QTest::addColumn<std::optional<double>>("setting");
        // 1 L in a minute at 50 %: 1 L/min; 1.2 L/min then needs 60 %.
        QTest::newRow("1 L in 60 s at 50 %") << 1.2 << 1.0 << 60.0 << 50.0 << std::optional<double>(1.0) << std::optional<double>(60.0);
        QTest::newRow("0.8 L in 30 s at 40 %") << 1.2 << 0.8 << 30.0 << 40.0 << std::optional<double>(1.6) << std::optional<double>(30.0);
        QTest::newRow("nothing collected") << 1.2 << 0.0 << 60.0 << 50.0 << kNone << kNone;
        QTest::newRow("no time") << 1.2 << 1.0 << 0.0 << 50.0 << kNone << kNone;
        QTest::newRow("run at 0 %") << 1.2 << 1.0 << 60.0 << 0.0 << std::optional<double>(1.0) << kNone;
        QTest::newRow("no target") << 0.0 << 1.0 << 60.0 << 50.0 << std::optional<double>(1.0) << kNone;
        QTest::newRow("negative litres") << 1.2 << -1.0 << 60.0 << 50.0 << kNone << kNone;
    }
    void calibration()
    {
        QFETCH(double, target);
        QFETCH(double, litres);
        QFETCH(double, seconds);
        QFETCH(double, percent);
        QFETCH(std::optional<double>, measured);
        QFETCH(std::optional<double>, setting);
        compareResult(SprayRate::measuredFlow(litres, seconds), measured);
        compareResult(SprayRate::pumpPercentFor(target, litres, seconds, percent), setting);
    }
};

QTEST_GUILESS_MAIN(tst_SprayRate)
#include "tst_sprayrate.moc"
