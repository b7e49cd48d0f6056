#include "widgets/KivSliderControl.h"
#include "widgets/KivSliderLarger.h"
#include "widgets/KivSliderMin.h"
#include "widgets/KivSliderReturn.h"
#include "widgets/LumSliderReturn.h"
#include "widgets/SliderGeometry.h"

#include "PixelProbe.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <memory>

namespace {

using Steps = QList<QPair<char, float>>; // 'v' value, 'n' minimum, 'x' maximum

// A KivSliderControl 220 px wide has a margin of 10 and a usable length of 200: in the range
// 0 … 100, a value v is at x = 10 + 2v.
std::unique_ptr<KivSliderControl> makeSlider(float minimum, float maximum, float value)
{
    auto slider = std::make_unique<KivSliderControl>();
    slider->setFixedSize(220, 35);
    slider->setMaximum(maximum); // first, so a negative minimum meets a wide range
    slider->setMinimum(minimum);
    slider->setValue(value, false);
    return slider;
}

const QColor Green(37, 192, 101);
const QColor Red(231, 0, 16);
const QColor Grey(180, 180, 180);

// 220 px over 22 divisions, 260 px over 26: a 10-px margin either way. NAN keeps the default.
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
    bar->setFixedSize(bar->divisionCount() * 10, kind == QLatin1String("KivSliderMin") ? 24 : 45);
    if (!std::isnan(value))
        bar->setValue(value);
    return bar;
}

QStringList captionsOf(const KivZoneBar &bar)
{
    QStringList list;
    for (const auto &zone : bar.zones())
        list << zone.caption;
    return list;
}

} // namespace

// The interactive slider and the read-only channel bars, all drawn through SliderGeometry.
class tst_Sliders : public QObject
{
    Q_OBJECT

private slots:
    void controlSetValue_data()
    {
        QTest::addColumn<QString>("call"); // setValue(v, true), (v, false), (int) or (v)
        QTest::addColumn<float>("value");
        QTest::addColumn<bool>("changes");
        QTest::addColumn<int>("asInt");

        // Range −100 … 100, current value 10.
        QTest::newRow("new value, emit") << "emit" << 42.9f << true << 42;
        QTest::newRow("new value, silent") << "silent" << 42.9f << true << 0;
        QTest::newRow("one-argument float emits") << "float" << 42.9f << true << 42;
        // The gain page pushes spin-box ints in; they must not come back out.
        QTest::newRow("int is silent") << "int" << 42.f << true << 0;
        QTest::newRow("int above the maximum") << "int" << 101.f << false << 0;
        QTest::newRow("negative truncates toward zero") << "emit" << -3.7f << true << -3;
        QTest::newRow("exactly the maximum") << "emit" << 100.f << true << 100;
        QTest::newRow("exactly the minimum") << "emit" << -100.f << true << -100;
        QTest::newRow("equal to current") << "emit" << 10.f << false << 0;
        QTest::newRow("above the maximum") << "emit" << 100.5f << false << 0;
        QTest::newRow("below the minimum") << "emit" << -100.5f << false << 0;
    }

    void controlSetValue()
    {
        QFETCH(QString, call);
        QFETCH(float, value);
        QFETCH(bool, changes);
        QFETCH(int, asInt);

        auto slider = makeSlider(-100, 100, 10);
        QStringList log;
        connect(slider.get(), &KivSliderControl::sig_valueChange, this, [&log](float v) {
            log << QStringLiteral("sig_valueChange %1").arg(v);
        });
        connect(slider.get(), &KivSliderControl::SignalValueChangInt, this, [&log](int v) {
            log << QStringLiteral("SignalValueChangInt %1").arg(v);
        });
        connect(slider.get(), &KivSliderControl::SignalValueChange, this, [&log](double v) {
            log << QStringLiteral("SignalValueChange %1").arg(v);
        });

        if (call == QLatin1String("int"))
            slider->setValue(static_cast<int>(value));
        else if (call == QLatin1String("float"))
            slider->setValue(value);
        else
            slider->setValue(value, call == QLatin1String("emit"));

        QCOMPARE(slider->value(), changes ? value : 10.f);
        QStringList expected;
        if (changes && (call == QLatin1String("emit") || call == QLatin1String("float"))) {
            expected = QStringList{QStringLiteral("sig_valueChange %1").arg(value),
                                   QStringLiteral("SignalValueChangInt %1").arg(asInt),
                                   QStringLiteral("SignalValueChange %1").arg(value)};
        }
        QCOMPARE(log, expected);
    }

    void controlRangeSetters_data()
    {
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<float>("minimum");
        QTest::addColumn<float>("maximum");
        QTest::addColumn<float>("value");

        using S = Steps;
        // From the defaults 0 … 3, value 0. Neither setter moves the value into the new range.
        QTest::newRow("raised minimum leaves value below") << S{{'n', 2}} << 2.f << 3.f << 0.f;
        QTest::newRow("value below old minimum goes to it")
            << S{{'n', 2}, {'n', 2.5}} << 2.5f << 3.f << 2.f;
        QTest::newRow("lowered maximum leaves value above")
            << S{{'v', 3}, {'x', 1}} << 0.f << 1.f << 3.f;
        QTest::newRow("value above old maximum goes to it")
            << S{{'v', 3}, {'x', 1}, {'x', 0.5}} << 0.f << 0.5f << 1.f;
    }

    void controlRangeSetters()
    {
        QFETCH(Steps, steps);
        QFETCH(float, minimum);
        QFETCH(float, maximum);
        QFETCH(float, value);

        KivSliderControl slider;
        QSignalSpy spy(&slider, &KivSliderControl::sig_valueChange);
        for (const auto &[what, number] : steps) {
            if (what == 'v')
                slider.setValue(number, false);
            else if (what == 'n')
                slider.setMinimum(number);
            else
                slider.setMaximum(number);
        }
        QCOMPARE(slider.minimum(), minimum);
        QCOMPARE(slider.maximum(), maximum);
        QCOMPARE(slider.value(), value);
        QCOMPARE(spy.count(), 0);
    }

    void controlDrag_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QPoint>("press"); // the handle's tip is at (110, 14)
        QTest::addColumn<bool>("onHandle");
        QTest::addColumn<QList<int>>("path"); // pointer x while the button is down
        QTest::addColumn<float>("expected");
        QTest::addColumn<int>("emissions");

        const Qt::MouseButton left = Qt::LeftButton;
        const QPoint centre(110, 25);
        const QList<int> pastRight{150, 260, 900};
        QTest::newRow("back and forth")
            << left << centre << true << QList<int>{90, 30, 60} << 25.f << 3;
        QTest::newRow("past the right end pins")
            << left << centre << true << pastRight << 100.f << 2;
        QTest::newRow("past the left end pins")
            << left << QPoint(103, 31) << true << QList<int>{40, 0, -300} << 0.f << 2;
        QTest::newRow("right button")
            << Qt::RightButton << centre << true << pastRight << 50.f << 0;
        // Only a press on the handle grabs it.
        QTest::newRow("on the track above the tip")
            << left << QPoint(110, 11) << false << pastRight << 50.f << 0;
        QTest::newRow("beside the slanted edge")
            << left << QPoint(117, 16) << false << pastRight << 50.f << 0;
    }

    void controlDrag()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(QPoint, press);
        QFETCH(bool, onHandle);
        QFETCH(QList<int>, path);
        QFETCH(float, expected);
        QFETCH(int, emissions);

        auto slider = makeSlider(0, 100, 50);
        slider->show();
        QVERIFY(QTest::qWaitForWindowExposed(slider.get()));
        QSignalSpy spy(slider.get(), &KivSliderControl::SignalValueChange);

        QTest::mouseMove(slider.get(), QPoint(1, 1));
        QTest::mouseMove(slider.get(), press);
        QTRY_COMPARE(slider->isHovered(), onHandle);
        QCOMPARE(slider->cursor().shape(), onHandle ? Qt::PointingHandCursor : Qt::ArrowCursor);
        QTest::mousePress(slider.get(), button, {}, press);
        for (int x : path)
            QTest::mouseMove(slider.get(), QPoint(x, 25));
        QTest::mouseRelease(slider.get(), button, {}, QPoint(path.last(), 25));

        QCOMPARE(slider->value(), expected);
        QCOMPARE(spy.count(), emissions);
        QTest::mouseMove(slider.get(), QPoint(120, 5)); // released: moves change nothing
        QCOMPARE(slider->value(), expected);
    }

    void controlHandlePainted_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("x");
        QTest::newRow("minimum") << 0.f << 10;
        QTest::newRow("maximum") << 100.f << 210;
    }

    void controlHandlePainted()
    {
        QFETCH(float, value);
        QFETCH(int, x);

        auto slider = makeSlider(0, 100, value);
        const QImage image = pixelprobe::snapshot(*slider);
        const QColor handle(37, 192, 101);
        PIXEL_IS(image, x, 27, handle);
        QVERIFY(!pixelprobe::near(image.pixelColor(220 - x, 27), handle)); // not at the other end
    }

    void degenerateGeometry_data()
    {
        QTest::addColumn<int>("divisions");
        QTest::addColumn<qreal>("minimum");
        QTest::addColumn<qreal>("maximum");
        QTest::newRow("no divisions") << 0 << 0.0 << 3.0;
        QTest::newRow("empty range") << 22 << 5.0 << 5.0;
        QTest::newRow("inverted range") << 22 << 10.0 << 3.0;
        QTest::newRow("no usable length") << 2 << 0.0 << 3.0;
    }

    void degenerateGeometry()
    {
        QFETCH(int, divisions);
        QFETCH(qreal, minimum);
        QFETCH(qreal, maximum);
        // No division by zero, and no assertion from an inverted range.
        const r7widgets::SliderGeometry g(200, divisions, minimum, maximum);
        for (qreal v : {g.scale(), g.xForValue(1.5), g.valueForX(50), g.clampToRange(7)})
            QVERIFY(std::isfinite(v));
    }

    void channelBarPainted_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("x");                 // where the handle or marker is
        QTest::addColumn<QList<qreal>>("at");       // zone samples, in divisions
        QTest::addColumn<QList<QColor>>("colours"); // invalid: no zone there

        // Stick bars: handle below the track, x = 110 + value, not clamped to the track.
        QTest::newRow("stick 73") << "KivSliderMin" << 73.f << 183 << QList<qreal>{}
                                  << QList<QColor>{};
        QTest::newRow("stick 105, past the track's end")
            << "KivSliderMin" << 105.f << 215 << QList<qreal>{} << QList<QColor>{};
        // Auxiliary bars: marker above the track, x = 10 + 240 × (v − min) / (max − min).
        QTest::newRow("CH5 default")
            << "KivSliderLarger" << NAN << 34 << QList<qreal>{0.5, 3.25, 8, 13, 18, 22.75, 25.5}
            << QList<QColor>{QColor(), Green, Red, Green, Red, Green, QColor()};
        QTest::newRow("CH6 60") << "KivSliderReturn" << 60.f << 178 << QList<qreal>{5, 13, 21}
                                << QList<QColor>{Green, Red, Green};
        QTest::newRow("CH7 -50") << "LumSliderReturn" << -50.f << 82 << QList<qreal>{5, 13, 21}
                                 << QList<QColor>{Green, Grey, Red};
    }

    void channelBarPainted()
    {
        QFETCH(QString, kind);
        QFETCH(float, value);
        QFETCH(int, x);
        QFETCH(QList<qreal>, at);
        QFETCH(QList<QColor>, colours);

        auto bar = makeBar(kind, value);
        const QImage image = pixelprobe::snapshot(*bar);
        const bool stick = kind == QLatin1String("KivSliderMin");
        const QRect band = stick ? QRect(0, 14, image.width(), 6) : QRect(0, 0, image.width(), 8);
        PIXEL_IS(image, x, band.center().y(), Green);
        const QRect aroundX(x - 8, band.top(), 18, band.height());
        QCOMPARE(pixelprobe::count(image, band, Green), pixelprobe::count(image, aroundX, Green));

        for (int i = 0; i < at.size(); ++i) { // inside the zones (20 … 45), below the captions
            const int zoneX = qRound(at[i] * 10);
            if (colours[i].isValid())
                PIXEL_IS(image, zoneX, 43, colours[i]);
            else
                QVERIFY(qGray(image.pixel(zoneX, 43)) > 200);
        }
    }

    void zoneCaptions()
    {
        KivSliderReturn ch6;
        ch6.setZoneCaptions("待命", "喷洒", "返航/记录续喷点");
        QCOMPARE(captionsOf(ch6), QStringList({"待命", "喷洒", "返航/记录续喷点"}));

        LumSliderReturn ch7; // the grey middle band has no caption
        ch7.setZoneCaptions("B点", "A点");
        QCOMPARE(captionsOf(ch7), QStringList({"B点", QString(), "A点"}));
    }
};

QTEST_MAIN(tst_Sliders)
#include "tst_sliders.moc"
