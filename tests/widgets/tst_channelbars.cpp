#include "widgets/KivSliderLarger.h"
#include "widgets/KivSliderMin.h"
#include "widgets/KivSliderReturn.h"
#include "widgets/LumSliderReturn.h"
#include "widgets/SliderGeometry.h"

#include "PixelProbe.h"

#include <QTest>

#include <cmath>
#include <memory>

namespace {

const QColor Green(37, 192, 101);
const QColor Red(231, 0, 16);
const QColor Grey(180, 180, 180);
const QColor TrackGrey(101, 101, 101);

std::unique_ptr<KivChannelBar> makeBar(const QString &kind, float value)
{
    std::unique_ptr<KivChannelBar> bar;
    if (kind == QLatin1String("KivSliderMin"))
        bar = std::make_unique<KivSliderMin>();
    else if (kind == QLatin1String("KivSliderLarger"))
        bar = std::make_unique<KivSliderLarger>();
    else if (kind == QLatin1String("KivSliderReturn"))
        bar = std::make_unique<KivSliderReturn>();
    else
        bar = std::make_unique<LumSliderReturn>();
    // 220 px over 22 divisions, 260 px over 26: a 10-px margin either way.
    bar->setFixedSize(bar->divisionCount() * 10, kind == QLatin1String("KivSliderMin") ? 24 : 45);
    if (!std::isnan(value))
        bar->setValue(value);
    return bar;
}

} // namespace

class tst_ChannelBars : public QObject
{
    Q_OBJECT

private slots:
    void degenerateGeometry_data();
    void degenerateGeometry();
    void defaults_data();
    void defaults();
    void handlePainted_data();
    void handlePainted();
    void zones_data();
    void zones();
    void zoneCaptions();
};

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
    QTest::newRow("no usable length") << 200.0 << 2 << 0.0 << 3.0;
}

void tst_ChannelBars::degenerateGeometry()
{
    QFETCH(qreal, width);
    QFETCH(int, divisions);
    QFETCH(qreal, minimum);
    QFETCH(qreal, maximum);

    // No division by zero, and no assertion from an inverted range.
    const r7widgets::SliderGeometry g(width, divisions, minimum, maximum);
    for (qreal v : {g.scale(), g.xForValue(1.5), g.valueForX(50), g.clampToRange(7)})
        QVERIFY(std::isfinite(v));
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

    auto bar = makeBar(kind, NAN);
    QCOMPARE(bar->metaObject()->className(), kind.toLatin1());
    QCOMPARE(bar->divisionCount(), divisions);
    QCOMPARE(bar->minimum(), minimum);
    QCOMPARE(bar->maximum(), maximum);
    QCOMPARE(bar->value(), value);
    bar->setValue(maximum + 20); // stored as it comes, not clamped
    QCOMPARE(bar->value(), maximum + 20);
}

void tst_ChannelBars::handlePainted_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<float>("value");
    QTest::addColumn<int>("x");

    // Stick bars: handle below the track, x = 110 + value.
    QTest::newRow("stick 0") << "KivSliderMin" << 0.f << 110;
    QTest::newRow("stick 73") << "KivSliderMin" << 73.f << 183;
    QTest::newRow("stick 105, past the track's end") << "KivSliderMin" << 105.f << 215;
    // Auxiliary bars: marker above the track, x = 10 + 240 × (v − min) / (max − min).
    QTest::newRow("CH5 default") << "KivSliderLarger" << NAN << 34;
    QTest::newRow("CH5 125") << "KivSliderLarger" << 125.f << 250;
    QTest::newRow("CH6 60") << "KivSliderReturn" << 60.f << 178;
    QTest::newRow("CH7 -50") << "LumSliderReturn" << -50.f << 82;
}

void tst_ChannelBars::handlePainted()
{
    QFETCH(QString, kind);
    QFETCH(float, value);
    QFETCH(int, x);

    auto bar = makeBar(kind, value);
    QCOMPARE(qRound(bar->valueX()), x);
    const QImage image = pixelprobe::snapshot(*bar);
    const bool stick = kind == QLatin1String("KivSliderMin");
    const QRect band = stick ? QRect(0, 14, image.width(), 6) : QRect(0, 0, image.width(), 8);

    PIXEL_IS(image, x, band.center().y(), Green);
    const QRect aroundX(x - 8, band.top(), 18, band.height());
    QCOMPARE(pixelprobe::count(image, band, Green), pixelprobe::count(image, aroundX, Green));
    PIXEL_IS(image, 5, stick ? 9 : 19, TrackGrey);
    // A 1-px tick on a whole x straddles two pixel columns; either shows it.
    const int tickY = stick ? 6 : 14;
    QVERIFY(qGray(image.pixel(20, tickY)) < 200 || qGray(image.pixel(19, tickY)) < 200);
    QVERIFY(qGray(image.pixel(15, tickY)) > 200);
    // Only the stick bars have the red centre mark.
    QCOMPARE(pixelprobe::count(image, QRect(0, 0, image.width(), 20), Red) > 0, stick);
}

void tst_ChannelBars::zones_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QList<qreal>>("at");       // sample x in margins
    QTest::addColumn<QList<QColor>>("colours"); // invalid: no zone there

    QTest::newRow("CH5") << "KivSliderLarger" << QList<qreal>{0.5, 3.25, 8, 13, 18, 22.75, 25.5}
                         << QList<QColor>{QColor(), Green, Red, Green, Red, Green, QColor()};
    QTest::newRow("CH6") << "KivSliderReturn" << QList<qreal>{5, 13, 21}
                         << QList<QColor>{Green, Red, Green};
    QTest::newRow("CH7") << "LumSliderReturn" << QList<qreal>{5, 13, 21}
                         << QList<QColor>{Green, Grey, Red};
}

void tst_ChannelBars::zones()
{
    QFETCH(QString, kind);
    QFETCH(QList<qreal>, at);
    QFETCH(QList<QColor>, colours);

    auto bar = makeBar(kind, NAN);
    const QImage image = pixelprobe::snapshot(*bar);
    for (int i = 0; i < at.size(); ++i) {
        const int x = qRound(at[i] * 10);
        for (int y : {22, 43}) { // inside the zones (20 … 45), above and below the captions
            if (colours[i].isValid())
                PIXEL_IS(image, x, y, colours[i]);
            else
                QVERIFY(qGray(image.pixel(x, y)) > 200);
        }
    }
    // Captions in white: in every captioned zone, none in LumSliderReturn's grey band.
    const QColor white(255, 255, 255);
    QVERIFY(pixelprobe::count(image, QRect(10, 24, 80, 20), white, 40) > 5);
    if (kind == QLatin1String("LumSliderReturn"))
        QCOMPARE(pixelprobe::count(image, QRect(92, 20, 76, 25), white, 40), 0);
}

void tst_ChannelBars::zoneCaptions()
{
    auto captionsOf = [](const KivZoneBar &bar) {
        QStringList list;
        for (const auto &zone : bar.zones())
            list << zone.caption;
        return list;
    };

    QCOMPARE(captionsOf(KivSliderLarger()),
             QStringList({"姿态", "失控", "作业模式", "失控", "GPS"}));

    KivSliderReturn ch6;
    QCOMPARE(captionsOf(ch6), QStringList({"N/A", "N/A", "N/A"}));
    ch6.setZoneCaptions("待命", "喷洒", "返航/记录续喷点");
    QCOMPARE(captionsOf(ch6), QStringList({"待命", "喷洒", "返航/记录续喷点"}));

    LumSliderReturn ch7;
    QCOMPARE(captionsOf(ch7), QStringList({"N/A", QString(), "N/A"}));
    ch7.setZoneCaptions("B点", "A点");
    QCOMPARE(captionsOf(ch7), QStringList({"B点", QString(), "A点"}));
}

QTEST_MAIN(tst_ChannelBars)
#include "tst_channelbars.moc"
