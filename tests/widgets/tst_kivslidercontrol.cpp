#include "widgets/KivSliderControl.h"

#include "PixelProbe.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <memory>

// A 220-px slider has a 10-px margin and a 200-px usable length: with the range 0 … 100 a value
// v sits at x = 10 + 2v, which keeps the expected positions in these tables readable.
namespace {
constexpr int Width = 220;
constexpr int Height = 35;

std::unique_ptr<KivSliderControl> makeSlider(float minimum, float maximum, float value)
{
    auto slider = std::make_unique<KivSliderControl>();
    slider->setFixedSize(Width, Height);
    // Order matters: the maximum first, so a negative minimum is set against a wide range.
    slider->setMaximum(maximum);
    slider->setMinimum(minimum);
    slider->setValue(value, false);
    return slider;
}

// Records the three value signals in emission order.
struct SignalLog
{
    QStringList names;
    QList<double> values;

    explicit SignalLog(KivSliderControl &slider)
    {
        QObject::connect(&slider, &KivSliderControl::sig_valueChange, [this](float v) {
            names << QStringLiteral("sig_valueChange");
            values << v;
        });
        QObject::connect(&slider, &KivSliderControl::SignalValueChangInt, [this](int v) {
            names << QStringLiteral("SignalValueChangInt");
            values << v;
        });
        QObject::connect(&slider, &KivSliderControl::SignalValueChange, [this](double v) {
            names << QStringLiteral("SignalValueChange");
            values << v;
        });
    }
};

// Applies "value 1; min 2; max 0.5" step by step (values silently, as a page would).
void applySteps(KivSliderControl &slider, const QString &steps)
{
    const QStringList parts = steps.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const QStringList words = part.simplified().split(QLatin1Char(' '));
        QVERIFY2(words.size() == 2, qPrintable(part));
        const float number = words.at(1).toFloat();
        if (words.at(0) == QLatin1String("value"))
            slider.setValue(number, false);
        else if (words.at(0) == QLatin1String("min"))
            slider.setMinimum(number);
        else if (words.at(0) == QLatin1String("max"))
            slider.setMaximum(number);
        else
            QFAIL(qPrintable(QStringLiteral("unknown step ") + part));
    }
}

} // namespace

class tst_KivSliderControl : public QObject
{
    Q_OBJECT

private slots:
    void defaults();

    void setValueEmits_data();
    void setValueEmits();
    void setValueIntNeverEmits_data();
    void setValueIntNeverEmits();
    void setValueSingleFloatEmits();

    void rangeSetters_data();
    void rangeSetters();

    void hoverArea_data();
    void hoverArea();

    void drag_data();
    void drag();

    void handlePainted_data();
    void handlePainted();
};

void tst_KivSliderControl::defaults()
{
    KivSliderControl slider;
    QCOMPARE(slider.value(), 0.f);
    QCOMPARE(slider.minimum(), 0.f);
    QCOMPARE(slider.maximum(), 3.f);
    QCOMPARE(slider.divisionCount(), 22);
    QVERIFY(slider.hasMouseTracking());
    QVERIFY(!slider.isHovered());
    QVERIFY(!slider.isDragging());
}

void tst_KivSliderControl::setValueEmits_data()
{
    QTest::addColumn<float>("start");
    QTest::addColumn<float>("value");
    QTest::addColumn<bool>("isEmit");
    QTest::addColumn<bool>("changes");
    QTest::addColumn<int>("asInt");

    // Range −100 … 100 throughout.
    QTest::newRow("new value, emit") << 10.f << 42.9f << true << true << 42;
    QTest::newRow("new value, silent") << 10.f << 42.9f << false << true << 0;
    QTest::newRow("negative truncates toward zero") << 10.f << -3.7f << true << true << -3;
    QTest::newRow("exactly the maximum") << 10.f << 100.f << true << true << 100;
    QTest::newRow("exactly the minimum") << 10.f << -100.f << true << true << -100;
    QTest::newRow("equal to current") << 10.f << 10.f << true << false << 0;
    QTest::newRow("above the maximum") << 10.f << 100.5f << true << false << 0;
    QTest::newRow("below the minimum") << 10.f << -100.5f << true << false << 0;
}

void tst_KivSliderControl::setValueEmits()
{
    QFETCH(float, start);
    QFETCH(float, value);
    QFETCH(bool, isEmit);
    QFETCH(bool, changes);
    QFETCH(int, asInt);

    auto slider = makeSlider(-100, 100, start);
    QCOMPARE(slider->value(), start);
    SignalLog log(*slider);

    slider->setValue(value, isEmit);

    QCOMPARE(slider->value(), changes ? value : start);
    if (changes && isEmit) {
        QCOMPARE(log.names, QStringList({QStringLiteral("sig_valueChange"),
                                         QStringLiteral("SignalValueChangInt"),
                                         QStringLiteral("SignalValueChange")}));
        QCOMPARE(log.values.at(0), double(value));
        QCOMPARE(log.values.at(1), double(asInt));
        QCOMPARE(log.values.at(2), double(value));
    } else {
        QVERIFY2(log.names.isEmpty(), qPrintable(log.names.join(QLatin1Char(','))));
    }
}

void tst_KivSliderControl::setValueIntNeverEmits_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<float>("expected");

    QTest::newRow("in range") << 275 << 275.f;
    QTest::newRow("minimum") << 50 << 50.f;
    QTest::newRow("maximum") << 500 << 500.f;
    QTest::newRow("above") << 501 << 100.f;
    QTest::newRow("below") << 49 << 100.f;
    QTest::newRow("same") << 100 << 100.f;
}

void tst_KivSliderControl::setValueIntNeverEmits()
{
    QFETCH(int, value);
    QFETCH(float, expected);

    // The gain page's range: a spin box pushes ints in, and must not get them back.
    auto slider = makeSlider(50, 500, 100);
    SignalLog log(*slider);
    slider->setValue(value);
    QCOMPARE(slider->value(), expected);
    QVERIFY(log.names.isEmpty());
}

void tst_KivSliderControl::setValueSingleFloatEmits()
{
    auto slider = makeSlider(0, 110, 0);
    SignalLog log(*slider);
    slider->setValue(12.5f);
    QCOMPARE(slider->value(), 12.5f);
    QCOMPARE(log.names.size(), 3);
}

void tst_KivSliderControl::rangeSetters_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<float>("minimum");
    QTest::addColumn<float>("maximum");
    QTest::addColumn<float>("value");

    // Defaults 0 … 3, value 0.
    QTest::newRow("gain page set-up") << "min 50; max 500; value 50" << 50.f << 500.f << 50.f;
    QTest::newRow("pump page set-up") << "min 0; max 110" << 0.f << 110.f << 0.f;
    QTest::newRow("raised minimum leaves value below it") << "min 2" << 2.f << 3.f << 0.f;
    QTest::newRow("value below old minimum moves to old minimum")
        << "min 2; min 2.5" << 2.5f << 3.f << 2.f;
    QTest::newRow("lowered minimum keeps value") << "value 1; min -5" << -5.f << 3.f << 1.f;
    QTest::newRow("lowered maximum leaves value above it")
        << "value 3; max 1" << 0.f << 1.f << 3.f;
    QTest::newRow("value above old maximum moves to old maximum")
        << "value 3; max 1; max 0.5" << 0.f << 0.5f << 1.f;
    QTest::newRow("raised maximum keeps value") << "value 2; max 10" << 0.f << 10.f << 2.f;
}

void tst_KivSliderControl::rangeSetters()
{
    QFETCH(QString, steps);
    QFETCH(float, minimum);
    QFETCH(float, maximum);
    QFETCH(float, value);

    KivSliderControl slider;
    slider.setFixedSize(Width, Height);
    SignalLog log(slider);
    applySteps(slider, steps);

    QCOMPARE(slider.minimum(), minimum);
    QCOMPARE(slider.maximum(), maximum);
    QCOMPARE(slider.value(), value);
    QVERIFY2(log.names.isEmpty(), "range changes are not value changes");
    // The geometry follows the new range at once (the handle is drawn where the value is).
    const qreal expectedX = 10 + 200.0 / (maximum - minimum) * (value - minimum);
    QVERIFY2(std::abs(slider.handleX() - expectedX) < 1e-3,
             qPrintable(QString::number(slider.handleX())));
}

void tst_KivSliderControl::hoverArea_data()
{
    QTest::addColumn<QPoint>("offset"); // from the handle tip (x, 14)
    QTest::addColumn<bool>("inside");

    QTest::newRow("centre") << QPoint(0, 11) << true;
    QTest::newRow("just below the tip") << QPoint(0, 2) << true;
    QTest::newRow("bottom right corner area") << QPoint(7, 17) << true;
    QTest::newRow("bottom left corner area") << QPoint(-7, 17) << true;
    QTest::newRow("above the tip, on the track") << QPoint(0, -3) << false;
    QTest::newRow("beside the slanted edge") << QPoint(7, 2) << false;
    QTest::newRow("just right of the handle") << QPoint(9, 25 - 14) << false;
    QTest::newRow("just left of the handle") << QPoint(-9, 25 - 14) << false;
    QTest::newRow("below the handle") << QPoint(0, 19) << false;
}

void tst_KivSliderControl::hoverArea()
{
    QFETCH(QPoint, offset);
    QFETCH(bool, inside);

    auto slider = makeSlider(0, 100, 50);
    slider->show();
    QVERIFY(QTest::qWaitForWindowExposed(slider.get()));
    const QPoint tip(qRound(slider->handleX()), 14);

    // Start from a point surely outside, so the move below is a real move.
    QTest::mouseMove(slider.get(), QPoint(1, 1));
    QTRY_VERIFY(!slider->isHovered());
    QCOMPARE(slider->cursor().shape(), Qt::ArrowCursor);

    QTest::mouseMove(slider.get(), tip + offset);
    QTRY_COMPARE(slider->isHovered(), inside);
    QCOMPARE(slider->cursor().shape(), inside ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void tst_KivSliderControl::drag_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("pressDy"); // press point below the handle tip
    QTest::addColumn<QList<int>>("path"); // pointer x positions while the button is down
    QTest::addColumn<float>("expected");
    QTest::addColumn<int>("emissions");

    const QList<int> pastRight{150, 260, 900};
    const QList<int> pastLeft{40, 0, -300};

    QTest::newRow("to x 70 gives 30") << Qt::LeftButton << 11 << QList<int>{70} << 30.f << 1;
    QTest::newRow("past the right end pins at maximum")
        << Qt::LeftButton << 11 << pastRight << 100.f << 2;
    QTest::newRow("past the left end pins at minimum")
        << Qt::LeftButton << 11 << pastLeft << 0.f << 2;
    QTest::newRow("back and forth") << Qt::LeftButton << 11 << QList<int>{90, 30, 60} << 25.f
                                    << 3;
    QTest::newRow("press above the handle does not drag")
        << Qt::LeftButton << -4 << pastRight << 50.f << 0;
    QTest::newRow("right button does not drag")
        << Qt::RightButton << 11 << pastRight << 50.f << 0;
}

void tst_KivSliderControl::drag()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, pressDy);
    QFETCH(QList<int>, path);
    QFETCH(float, expected);
    QFETCH(int, emissions);

    auto slider = makeSlider(0, 100, 50);
    slider->show();
    QVERIFY(QTest::qWaitForWindowExposed(slider.get()));
    QSignalSpy spy(slider.get(), &KivSliderControl::sig_valueChange);

    const QPoint press(qRound(slider->handleX()), 14 + pressDy);
    QTest::mouseMove(slider.get(), QPoint(1, 1));
    QTest::mouseMove(slider.get(), press);
    QTRY_COMPARE(slider->isHovered(), pressDy > 0);

    QTest::mousePress(slider.get(), button, {}, press);
    for (int x : path)
        QTest::mouseMove(slider.get(), QPoint(x, 25));
    QTest::mouseRelease(slider.get(), button, {}, QPoint(path.last(), 25));

    QCOMPARE(slider->value(), expected);
    QCOMPARE(spy.count(), emissions);
    QVERIFY(!slider->isDragging());

    // After the release a move (button up) leaves the value alone.
    QTest::mouseMove(slider.get(), QPoint(120, 5));
    QCOMPARE(slider->value(), expected);
}

void tst_KivSliderControl::handlePainted_data()
{
    QTest::addColumn<float>("value");

    QTest::newRow("minimum") << 0.f;
    QTest::newRow("quarter") << 25.f;
    QTest::newRow("middle") << 50.f;
    QTest::newRow("maximum") << 100.f;
}

void tst_KivSliderControl::handlePainted()
{
    QFETCH(float, value);

    auto slider = makeSlider(0, 100, value);
    const QImage image = pixelprobe::snapshot(*slider);
    const int x = 10 + qRound(2 * value);
    const QColor handle(37, 192, 101);

    QVERIFY2(pixelprobe::near(pixelprobe::at(image, x, 27), handle),
             qPrintable(pixelprobe::describe(pixelprobe::at(image, x, 27))));
    // Nowhere else along the handle's band.
    const int elsewhere = pixelprobe::count(image, QRect(0, 24, Width, 6), handle)
                          - pixelprobe::count(image, QRect(x - 9, 24, 19, 6), handle);
    QCOMPARE(elsewhere, 0);
    // The track and the red centre mark (x 110) are there too.
    QVERIFY(pixelprobe::near(pixelprobe::at(image, 3, 14), QColor(101, 101, 101)));
    QVERIFY(pixelprobe::count(image, QRect(108, 6, 5, 6), QColor(231, 0, 16)) > 0);
}

QTEST_MAIN(tst_KivSliderControl)
#include "tst_kivslidercontrol.moc"
