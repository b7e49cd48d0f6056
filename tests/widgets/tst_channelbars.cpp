#include "widgets/KivSliderLarger.h"
#include "widgets/KivSliderMin.h"
#include "widgets/KivSliderReturn.h"
#include "widgets/LumSliderReturn.h"
#include "widgets/SliderGeometry.h"

#include "PixelProbe.h"

#include <QTest>

#include <cmath>
#include <memory>

using r7widgets::SliderGeometry;

namespace {

const QColor Green(37, 192, 101);
const QColor Red(231, 0, 16);
const QColor Grey(180, 180, 180);
const QColor White(255, 255, 255);

std::unique_ptr<KivChannelBar> makeBar(const QString &kind)
{
    if (kind == QLatin1String("KivSliderMin"))
        return std::make_unique<KivSliderMin>();
    if (kind == QLatin1String("KivSliderLarger"))
        return std::make_unique<KivSliderLarger>();
    if (kind == QLatin1String("KivSliderReturn"))
        return std::make_unique<KivSliderReturn>();
    if (kind == QLatin1String("LumSliderReturn"))
        return std::make_unique<LumSliderReturn>();
    return nullptr;
}

} // namespace

class tst_ChannelBars : public QObject
{
    Q_OBJECT

private slots:
    void geometry_data();
    void geometry();
    void degenerateGeometry_data();
    void degenerateGeometry();

    void defaults_data();
    void defaults();
    void valueNotClamped_data();
    void valueNotClamped();

    void stickHandlePainted_data();
    void stickHandlePainted();
    void markerPainted_data();
    void markerPainted();
    void zoneColours_data();
    void zoneColours();

    void zoneCaptions();
    void captionsDrawn();
};

void tst_ChannelBars::geometry_data()
{
    QTest::addColumn<qreal>("width");
    QTest::addColumn<int>("divisions");
    QTest::addColumn<qreal>("minimum");
    QTest::addColumn<qreal>("maximum");
    QTest::addColumn<qreal>("value");
    QTest::addColumn<qreal>("margin");
    QTest::addColumn<qreal>("x");

    QTest::newRow("stick bar, minimum") << 220.0 << 22 << -100.0 << 100.0 << -100.0 << 10.0 << 10.0;
    QTest::newRow("stick bar, centre") << 220.0 << 22 << -100.0 << 100.0 << 0.0 << 10.0 << 110.0;
    QTest::newRow("stick bar, maximum") << 220.0 << 22 << -100.0 << 100.0 << 100.0 << 10.0
                                        << 210.0;
    QTest::newRow("stick bar, beyond") << 220.0 << 22 << -100.0 << 100.0 << 127.0 << 10.0 << 237.0;
    QTest::newRow("stick bar, form size") << 161.0 << 22 << -100.0 << 100.0 << 50.0
                                          << 161.0 / 22 << 161.0 / 22 + 0.75 * (161 - 2 * 161.0 / 22);
    QTest::newRow("CH5 at -100") << 260.0 << 26 << -125.0 << 125.0 << -100.0 << 10.0 << 34.0;
    QTest::newRow("CH6 at 150") << 260.0 << 26 << -150.0 << 150.0 << 150.0 << 10.0 << 250.0;
    QTest::newRow("gain 50..500 at 275") << 220.0 << 22 << 50.0 << 500.0 << 275.0 << 10.0 << 110.0;
}

void tst_ChannelBars::geometry()
{
    QFETCH(qreal, width);
    QFETCH(int, divisions);
    QFETCH(qreal, minimum);
    QFETCH(qreal, maximum);
    QFETCH(qreal, value);
    QFETCH(qreal, margin);
    QFETCH(qreal, x);

    const SliderGeometry g(width, divisions, minimum, maximum);
    QCOMPARE(g.margin(), margin);
    QCOMPARE(g.length(), width - 2 * margin);
    QVERIFY(std::abs(g.xForValue(value) - x) < 1e-9);
    QVERIFY(std::abs(g.valueForX(x) - value) < 1e-9);
    QVERIFY(std::abs(g.centreX() - width / 2) < 1e-9);
}

void tst_ChannelBars::degenerateGeometry_data()
{
    QTest::addColumn<qreal>("width");
    QTest::addColumn<int>("divisions");
    QTest::addColumn<qreal>("minimum");
    QTest::addColumn<qreal>("maximum");

    QTest::newRow("no divisions") << 200.0 << 0 << 0.0 << 3.0;
    QTest::newRow("empty range") << 200.0 << 22 << 5.0 << 5.0;
    QTest::newRow("inverted range") << 200.0 << 22 << 10.0 << 3.0;
    QTest::newRow("zero width") << 0.0 << 22 << 0.0 << 3.0;
    QTest::newRow("two divisions leave no length") << 200.0 << 2 << 0.0 << 3.0;
}

void tst_ChannelBars::degenerateGeometry()
{
    QFETCH(qreal, width);
    QFETCH(int, divisions);
    QFETCH(qreal, minimum);
    QFETCH(qreal, maximum);

    const SliderGeometry g(width, divisions, minimum, maximum);
    QVERIFY(std::isfinite(g.scale()));
    QVERIFY(std::isfinite(g.xForValue(1.5)));
    QVERIFY(std::isfinite(g.valueForX(50)));
    const qreal clamped = g.clampToRange(7);
    QVERIFY(std::isfinite(clamped));
}

void tst_ChannelBars::defaults_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("divisions");
    QTest::addColumn<float>("minimum");
    QTest::addColumn<float>("maximum");
    QTest::addColumn<float>("value");

    QTest::newRow("KivSliderMin") << "KivSliderMin" << 22 << -100.f << 100.f << 0.f;
    QTest::newRow("KivSliderLarger") << "KivSliderLarger" << 26 << -125.f << 125.f << -100.f;
    QTest::newRow("KivSliderReturn") << "KivSliderReturn" << 26 << -150.f << 150.f << -100.f;
    QTest::newRow("LumSliderReturn") << "LumSliderReturn" << 26 << -125.f << 125.f << -100.f;
}

void tst_ChannelBars::defaults()
{
    QFETCH(QString, kind);
    QFETCH(int, divisions);
    QFETCH(float, minimum);
    QFETCH(float, maximum);
    QFETCH(float, value);

    auto bar = makeBar(kind);
    QVERIFY(bar);
    QCOMPARE(bar->metaObject()->className(), kind.toLatin1());
    QCOMPARE(bar->divisionCount(), divisions);
    QCOMPARE(bar->minimum(), minimum);
    QCOMPARE(bar->maximum(), maximum);
    QCOMPARE(bar->value(), value);
}

void tst_ChannelBars::valueNotClamped_data()
{
    defaults_data();
}

void tst_ChannelBars::valueNotClamped()
{
    QFETCH(QString, kind);
    QFETCH(float, maximum);
    QFETCH(float, minimum);

    auto bar = makeBar(kind);
    bar->setFixedSize(260, 45);
    const qreal trackEnd = 260 - 260.0 / bar->divisionCount();

    bar->setValue(maximum + 20);
    QCOMPARE(bar->value(), maximum + 20);
    QVERIFY(bar->valueX() > trackEnd);

    bar->setValue(minimum - 20);
    QCOMPARE(bar->value(), minimum - 20);
    QVERIFY(bar->valueX() < 260.0 / bar->divisionCount());
}

void tst_ChannelBars::stickHandlePainted_data()
{
    QTest::addColumn<float>("value");

    // 220 px: x = 110 + value.
    QTest::newRow("-100") << -100.f;
    QTest::newRow("-50") << -50.f;
    QTest::newRow("0") << 0.f;
    QTest::newRow("73") << 73.f;
    QTest::newRow("100") << 100.f;
    QTest::newRow("105, past the track end") << 105.f;
}

void tst_ChannelBars::stickHandlePainted()
{
    QFETCH(float, value);

    KivSliderMin bar;
    bar.setFixedSize(220, 24);
    bar.setValue(value);
    const QImage image = pixelprobe::snapshot(bar);
    const int x = 110 + qRound(value);

    QVERIFY2(pixelprobe::near(pixelprobe::at(image, x, 16), Green),
             qPrintable(pixelprobe::describe(pixelprobe::at(image, x, 16))));
    QCOMPARE(pixelprobe::count(image, QRect(0, 14, 220, 6), Green)
                 - pixelprobe::count(image, QRect(x - 6, 14, 13, 6), Green),
             0);
    // Centre mark and the 3-px track.
    QVERIFY(pixelprobe::count(image, QRect(108, 3, 5, 5), Red) > 0);
    QVERIFY(pixelprobe::near(pixelprobe::at(image, 5, 9), QColor(101, 101, 101)));
}

void tst_ChannelBars::markerPainted_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<float>("value");

    // 260 px, 26 divisions: margin 10, length 240.
    QTest::newRow("CH5 default") << "KivSliderLarger" << -100.f;
    QTest::newRow("CH5 middle") << "KivSliderLarger" << 0.f;
    QTest::newRow("CH5 top") << "KivSliderLarger" << 125.f;
    QTest::newRow("CH6 -150") << "KivSliderReturn" << -150.f;
    QTest::newRow("CH6 60") << "KivSliderReturn" << 60.f;
    QTest::newRow("CH7 -50") << "LumSliderReturn" << -50.f;
}

void tst_ChannelBars::markerPainted()
{
    QFETCH(QString, kind);
    QFETCH(float, value);

    auto bar = makeBar(kind);
    bar->setFixedSize(260, 45);
    bar->setValue(value);
    const QImage image = pixelprobe::snapshot(*bar);
    const int x = qRound(10 + 240.0 / (bar->maximum() - bar->minimum()) * (value - bar->minimum()));
    QCOMPARE(qRound(bar->valueX()), x);

    QVERIFY2(pixelprobe::near(pixelprobe::at(image, x, 3), Green),
             qPrintable(pixelprobe::describe(pixelprobe::at(image, x, 3))));
    QCOMPARE(pixelprobe::count(image, QRect(0, 0, 260, 8), Green)
                 - pixelprobe::count(image, QRect(x - 8, 0, 18, 8), Green),
             0);
    // Track at y 19, ticks above it.
    QVERIFY(pixelprobe::near(pixelprobe::at(image, 5, 19), QColor(101, 101, 101)));
    // A 1-px tick on a whole x straddles two pixel columns; either shows it darker.
    QVERIFY(qGray(image.pixel(20, 14)) < 200 || qGray(image.pixel(19, 14)) < 200);
    QVERIFY(qGray(image.pixel(15, 14)) > 200);
}

void tst_ChannelBars::zoneColours_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<qreal>("division"); // sample position in multiples of the margin
    QTest::addColumn<QColor>("colour");

    QTest::newRow("CH5 left of zones") << "KivSliderLarger" << 0.5 << QColor();
    QTest::newRow("CH5 attitude") << "KivSliderLarger" << 3.25 << Green;
    QTest::newRow("CH5 lost 1") << "KivSliderLarger" << 8.0 << Red;
    QTest::newRow("CH5 work") << "KivSliderLarger" << 13.0 << Green;
    QTest::newRow("CH5 lost 2") << "KivSliderLarger" << 18.0 << Red;
    QTest::newRow("CH5 GPS") << "KivSliderLarger" << 22.75 << Green;
    QTest::newRow("CH5 right of zones") << "KivSliderLarger" << 25.5 << QColor();
    QTest::newRow("CH6 left") << "KivSliderReturn" << 5.0 << Green;
    QTest::newRow("CH6 middle") << "KivSliderReturn" << 13.0 << Red;
    QTest::newRow("CH6 right") << "KivSliderReturn" << 21.0 << Green;
    QTest::newRow("CH7 left") << "LumSliderReturn" << 5.0 << Green;
    QTest::newRow("CH7 middle") << "LumSliderReturn" << 13.0 << Grey;
    QTest::newRow("CH7 right") << "LumSliderReturn" << 21.0 << Red;
}

void tst_ChannelBars::zoneColours()
{
    QFETCH(QString, kind);
    QFETCH(qreal, division);
    QFETCH(QColor, colour);

    auto bar = makeBar(kind);
    bar->setFixedSize(260, 45);
    const QImage image = pixelprobe::snapshot(*bar);
    const int x = qRound(division * 10);
    // y 22 is inside the zones (20 … 45) but above the captions.
    const QColor seen = pixelprobe::at(image, x, 22);
    if (colour.isValid()) {
        QVERIFY2(pixelprobe::near(seen, colour), qPrintable(pixelprobe::describe(seen)));
    } else {
        for (const QColor &zone : {Green, Red, Grey})
            QVERIFY2(!pixelprobe::near(seen, zone), qPrintable(pixelprobe::describe(seen)));
    }
    // Nothing below the zones' 25 px.
    QCOMPARE(image.height(), 45);
}

void tst_ChannelBars::zoneCaptions()
{
    KivSliderLarger larger;
    QStringList captions;
    for (const auto &zone : larger.zones())
        captions << zone.caption;
    QCOMPARE(captions, QStringList({QStringLiteral("姿态"), QStringLiteral("失控"),
                                    QStringLiteral("作业模式"), QStringLiteral("失控"),
                                    QStringLiteral("GPS")}));

    KivSliderReturn ch6;
    QCOMPARE(ch6.zoneCaptions(), QStringList(3, QStringLiteral("N/A")));
    ch6.setZoneCaptions(QStringLiteral("待命"), QStringLiteral("喷洒"),
                        QStringLiteral("返航/记录续喷点"));
    const auto ch6Zones = ch6.zones();
    QCOMPARE(ch6Zones.size(), 3);
    QCOMPARE(ch6Zones.at(0).caption, QStringLiteral("待命"));
    QCOMPARE(ch6Zones.at(1).caption, QStringLiteral("喷洒"));
    QCOMPARE(ch6Zones.at(2).caption, QStringLiteral("返航/记录续喷点"));

    LumSliderReturn ch7;
    QCOMPARE(ch7.zoneCaptions(), QStringList(2, QStringLiteral("N/A")));
    ch7.setZoneCaptions(QStringLiteral("B点"), QStringLiteral("A点"));
    const auto ch7Zones = ch7.zones();
    QCOMPARE(ch7Zones.size(), 3);
    QCOMPARE(ch7Zones.at(0).caption, QStringLiteral("B点"));
    QVERIFY(ch7Zones.at(1).caption.isEmpty());
    QCOMPARE(ch7Zones.at(2).caption, QStringLiteral("A点"));
}

void tst_ChannelBars::captionsDrawn()
{
    // White caption pixels appear in the captioned zones only.
    LumSliderReturn ch7;
    ch7.setFixedSize(260, 45);
    const QImage image = pixelprobe::snapshot(ch7);
    QVERIFY(pixelprobe::count(image, QRect(10, 24, 80, 20), White, 40) > 5);
    QCOMPARE(pixelprobe::count(image, QRect(92, 20, 76, 25), White, 40), 0);
    QVERIFY(pixelprobe::count(image, QRect(170, 24, 80, 20), White, 40) > 5);
}

QTEST_MAIN(tst_ChannelBars)
#include "tst_channelbars.moc"
