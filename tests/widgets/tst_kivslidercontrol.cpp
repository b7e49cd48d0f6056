#include "widgets/KivSliderControl.h"

#include "PixelProbe.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

// 220 px wide: margin 10, usable length 200, so in the range 0 … 100 a value v is at 10 + 2v.
namespace {

using Steps = QList<QPair<char, float>>; // 'v' value, 'n' minimum, 'x' maximum

std::unique_ptr<KivSliderControl> makeSlider(float minimum, float maximum, float value)
{
    auto slider = std::make_unique<KivSliderControl>();
    slider->setFixedSize(220, 35);
    slider->setMaximum(maximum); // first, so a negative minimum meets a wide range
    slider->setMinimum(minimum);
    slider->setValue(value, false);
    return slider;
}

} // namespace

class tst_KivSliderControl : public QObject
{
    Q_OBJECT

private slots:
    void setValue_data();
    void setValue();
    void setValueIntIsSilent();
    void rangeSetters_data();
    void rangeSetters();
    void hoverArea_data();
    void hoverArea();
    void drag_data();
    void drag();
    void handlePainted_data();
    void handlePainted();
};

void tst_KivSliderControl::setValue_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<bool>("isEmit");
    QTest::addColumn<bool>("changes");
    QTest::addColumn<int>("asInt");

    // Range −100 … 100, current value 10.
    QTest::newRow("new value, emit") << 42.9f << true << true << 42;
    QTest::newRow("new value, silent") << 42.9f << false << true << 0;
    QTest::newRow("negative truncates toward zero") << -3.7f << true << true << -3;
    QTest::newRow("exactly the maximum") << 100.f << true << true << 100;
    QTest::newRow("exactly the minimum") << -100.f << true << true << -100;
    QTest::newRow("equal to current") << 10.f << true << false << 0;
    QTest::newRow("above the maximum") << 100.5f << true << false << 0;
    QTest::newRow("below the minimum") << -100.5f << true << false << 0;
}

void tst_KivSliderControl::setValue()
{
    QFETCH(float, value);
    QFETCH(bool, isEmit);
    QFETCH(bool, changes);
    QFETCH(int, asInt);

    auto slider = makeSlider(-100, 100, 10);
    QStringList order;
    QList<double> args;
    connect(slider.get(), &KivSliderControl::sig_valueChange, this, [&](float v) {
        order << "sig_valueChange";
        args << v;
    });
    connect(slider.get(), &KivSliderControl::SignalValueChangInt, this, [&](int v) {
        order << "SignalValueChangInt";
        args << v;
    });
    connect(slider.get(), &KivSliderControl::SignalValueChange, this, [&](double v) {
        order << "SignalValueChange";
        args << v;
    });

    slider->setValue(value, isEmit);

    QCOMPARE(slider->value(), changes ? value : 10.f);
    if (changes && isEmit) {
        QCOMPARE(order,
                 QStringList({"sig_valueChange", "SignalValueChangInt", "SignalValueChange"}));
        QCOMPARE(args, QList<double>({double(value), double(asInt), double(value)}));
    } else {
        QCOMPARE(order, QStringList());
    }
}

void tst_KivSliderControl::setValueIntIsSilent()
{
    // The gain page pushes spin-box ints in; they must not come back out.
    auto slider = makeSlider(50, 500, 100);
    QSignalSpy spy(slider.get(), &KivSliderControl::sig_valueChange);
    QSignalSpy spyInt(slider.get(), &KivSliderControl::SignalValueChangInt);
    for (int v : {275, 50, 500, 501, 49})
        slider->setValue(v);
    QCOMPARE(slider->value(), 500.f); // the last two are out of range
    QCOMPARE(spy.count() + spyInt.count(), 0);

    slider->setValue(12.5f + 100); // the one-argument float overload does emit
    QCOMPARE(spy.count(), 1);
}

void tst_KivSliderControl::rangeSetters_data()
{
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<float>("minimum");
    QTest::addColumn<float>("maximum");
    QTest::addColumn<float>("value");

    using S = Steps;
    // From the defaults 0 … 3, value 0.
    QTest::newRow("gain page") << S{{'n', 50}, {'x', 500}, {'v', 50}} << 50.f << 500.f << 50.f;
    QTest::newRow("raised minimum leaves value below") << S{{'n', 2}} << 2.f << 3.f << 0.f;
    QTest::newRow("value below old minimum goes to it")
        << S{{'n', 2}, {'n', 2.5}} << 2.5f << 3.f << 2.f;
    QTest::newRow("lowered minimum keeps value") << S{{'v', 1}, {'n', -5}} << -5.f << 3.f << 1.f;
    QTest::newRow("lowered maximum leaves value above")
        << S{{'v', 3}, {'x', 1}} << 0.f << 1.f << 3.f;
    QTest::newRow("value above old maximum goes to it")
        << S{{'v', 3}, {'x', 1}, {'x', 0.5}} << 0.f << 0.5f << 1.f;
}

void tst_KivSliderControl::rangeSetters()
{
    QFETCH(Steps, steps);
    QFETCH(float, minimum);
    QFETCH(float, maximum);
    QFETCH(float, value);

    KivSliderControl slider;
    slider.setFixedSize(220, 35);
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
    // Both setters take effect on the drawing at once.
    QCOMPARE(slider.handleX(), 10 + 200.0 / (maximum - minimum) * (value - minimum));
}

void tst_KivSliderControl::hoverArea_data()
{
    QTest::addColumn<QPoint>("offset"); // from the handle's tip at (x, 14)
    QTest::addColumn<bool>("inside");

    QTest::newRow("centre") << QPoint(0, 11) << true;
    QTest::newRow("lower corners") << QPoint(-7, 17) << true;
    QTest::newRow("on the track above the tip") << QPoint(0, -3) << false;
    QTest::newRow("beside the slanted edge") << QPoint(7, 2) << false;
    QTest::newRow("just right") << QPoint(9, 11) << false;
    QTest::newRow("just left") << QPoint(-9, 11) << false;
}

void tst_KivSliderControl::hoverArea()
{
    QFETCH(QPoint, offset);
    QFETCH(bool, inside);

    auto slider = makeSlider(0, 100, 50);
    slider->show();
    QVERIFY(QTest::qWaitForWindowExposed(slider.get()));
    QTest::mouseMove(slider.get(), QPoint(1, 1));
    QTRY_VERIFY(!slider->isHovered());

    QTest::mouseMove(slider.get(), QPoint(110, 14) + offset);
    QTRY_COMPARE(slider->isHovered(), inside);
    QCOMPARE(slider->cursor().shape(), inside ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void tst_KivSliderControl::drag_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("pressY");
    QTest::addColumn<QList<int>>("path"); // pointer x while the button is down
    QTest::addColumn<float>("expected");
    QTest::addColumn<int>("emissions");

    const QList<int> pastRight{150, 260, 900};
    QTest::newRow("to x 70") << Qt::LeftButton << 25 << QList<int>{70} << 30.f << 1;
    QTest::newRow("back and forth") << Qt::LeftButton << 25 << QList<int>{90, 30, 60} << 25.f << 3;
    QTest::newRow("past the right end pins") << Qt::LeftButton << 25 << pastRight << 100.f << 2;
    QTest::newRow("past the left end pins")
        << Qt::LeftButton << 25 << QList<int>{40, 0, -300} << 0.f << 2;
    QTest::newRow("press above the handle") << Qt::LeftButton << 10 << pastRight << 50.f << 0;
    QTest::newRow("right button") << Qt::RightButton << 25 << pastRight << 50.f << 0;
}

void tst_KivSliderControl::drag()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, pressY);
    QFETCH(QList<int>, path);
    QFETCH(float, expected);
    QFETCH(int, emissions);

    auto slider = makeSlider(0, 100, 50);
    slider->show();
    QVERIFY(QTest::qWaitForWindowExposed(slider.get()));
    QSignalSpy spy(slider.get(), &KivSliderControl::SignalValueChange);

    // Only a press on the hovered handle grabs it.
    QTest::mouseMove(slider.get(), QPoint(1, 1));
    QTest::mouseMove(slider.get(), QPoint(110, pressY));
    QTRY_COMPARE(slider->isHovered(), pressY > 14);
    QTest::mousePress(slider.get(), button, {}, QPoint(110, pressY));
    for (int x : path)
        QTest::mouseMove(slider.get(), QPoint(x, 25));
    QTest::mouseRelease(slider.get(), button, {}, QPoint(path.last(), 25));

    QCOMPARE(slider->value(), expected);
    QCOMPARE(spy.count(), emissions);
    QVERIFY(!slider->isDragging());
    QTest::mouseMove(slider.get(), QPoint(120, 5)); // released: moves change nothing
    QCOMPARE(slider->value(), expected);
}

void tst_KivSliderControl::handlePainted_data()
{
    QTest::addColumn<float>("value");
    QTest::newRow("minimum") << 0.f;
    QTest::newRow("maximum") << 100.f;
}

void tst_KivSliderControl::handlePainted()
{
    QFETCH(float, value);

    auto slider = makeSlider(0, 100, value);
    const QImage image = pixelprobe::snapshot(*slider);
    const QColor handle(37, 192, 101);
    const int x = 10 + qRound(2 * value);

    PIXEL_IS(image, x, 27, handle);
    QCOMPARE(pixelprobe::count(image, QRect(0, 24, 220, 6), handle),
             pixelprobe::count(image, QRect(x - 9, 24, 19, 6), handle));            // nowhere else
    PIXEL_IS(image, 3, 14, QColor(101, 101, 101));                                  // track
    QVERIFY(pixelprobe::count(image, QRect(108, 6, 5, 6), QColor(231, 0, 16)) > 0); // centre
}

QTEST_MAIN(tst_KivSliderControl)
#include "tst_kivslidercontrol.moc"
