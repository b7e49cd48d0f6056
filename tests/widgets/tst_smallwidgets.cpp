#include "widgets/KivLabel.h"
#include "widgets/KivSwitch.h"
#include "widgets/LumHoverWidget.h"
#include "widgets/LumPushButton.h"
#include "widgets/progressButton.h"

#include "PixelProbe.h"

#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

QTimer *timerOf(KivSwitch &sw)
{
    return sw.findChild<QTimer *>();
}

// Lets the real 1-ms timer run the slide to its end. QTRY_* sleeps 10 ms between event passes
// and would stretch 55 ticks to over half a second; waiting for each event does not.
bool finishAnimation(KivSwitch &sw)
{
    const QDeadlineTimer deadline(5000);
    while (sw.isAnimating() && timerOf(sw)->isActive() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return !sw.isAnimating() && !timerOf(sw)->isActive();
}

// Takes the slide over from the timer and runs n ticks by hand.
void tick(KivSwitch &sw, int n)
{
    timerOf(sw)->stop();
    for (int i = 0; i < n; ++i)
        QMetaObject::invokeMethod(&sw, "timerout", Qt::DirectConnection);
}

bool looksGreen(const QColor &c)
{
    return c.green() > c.red() + 80 && c.green() > 150;
}

} // namespace

class tst_SmallWidgets : public QObject
{
    Q_OBJECT

private slots:
    void progressSweep_data()
    {
        QTest::addColumn<int>("progress");
        QTest::addColumn<int>("sweep"); // 1/16 degree

        QTest::newRow("0") << 0 << 0;
        QTest::newRow("57") << 57 << 3283;
        QTest::newRow("100") << 100 << 5760;
        QTest::newRow("above 100 stays a full circle") << 200 << 5760;
    }

    void progressSweep()
    {
        QFETCH(int, progress);
        QFETCH(int, sweep);
        progressButton button;
        button.progressPaint(static_cast<uint8_t>(progress));
        QCOMPARE(button.sweep(), sweep);
    }

    void progressPie_data()
    {
        QTest::addColumn<int>("progress");
        QTest::addColumn<QPoint>("filled"); // (-1, -1): nothing filled
        QTest::addColumn<QPoint>("empty");  // (-1, -1): nothing empty

        // Centre (15, 15), radius 14, starting at 12 o'clock and running clockwise.
        QTest::newRow("0 %: nothing, not even a radius") << 0 << QPoint(-1, -1) << QPoint(15, 8);
        QTest::newRow("25 %") << 25 << QPoint(21, 9) << QPoint(9, 21);
        // Full: filled along the start radius too, where a pie would leave an outline seam.
        QTest::newRow("100 %") << 100 << QPoint(15, 5) << QPoint(-1, -1);
    }

    void progressPie()
    {
        QFETCH(int, progress);
        QFETCH(QPoint, filled);
        QFETCH(QPoint, empty);

        progressButton button;
        button.setFixedSize(30, 30);
        button.progressPaint(static_cast<uint8_t>(progress));
        const QImage image = pixelprobe::snapshot(button);
        if (filled.x() >= 0)
            PIXEL_IS(image, filled.x(), filled.y(), QColor(0, 128, 0)); // dark green
        if (empty.x() >= 0)
            PIXEL_IS(image, empty.x(), empty.y(), image.pixelColor(0, 0)); // background
    }

    void labelShape()
    {
        KivLabel label(QStringLiteral("姿态感度"));
        label.setFixedSize(120, 30);
        const QImage image = pixelprobe::snapshot(label);
        PIXEL_IS(image, 118, 15, QColor(255, 255, 255));                           // right point
        QVERIFY(!pixelprobe::near(image.pixelColor(7, 2), QColor(255, 255, 255))); // cut corner
    }

    void hoverWidgetEmitsName()
    {
        QWidget window;
        window.setFixedSize(200, 100);
        auto *tile = new LumHoverWidget(&window);
        tile->setObjectName(QStringLiteral("widget_Tool_Motor"));
        tile->setGeometry(100, 0, 100, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy spy(tile, &LumHoverWidget::SigEnterIn);

        QTest::mouseMove(&window, QPoint(20, 20));
        QTest::mouseMove(tile, QPoint(50, 30));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("widget_Tool_Motor"));
        QTest::mouseMove(tile, QPoint(60, 30)); // moving inside is no entry
        QCoreApplication::processEvents();
        QCOMPARE(spy.count(), 1);
    }

    void hoverWidgetPaintsStyleSheet()
    {
        // As in the forms: a tile inside a page, styled by the page's style sheet. (A top-level
        // widget would show the colour through its window background even without painting it.)
        QWidget page;
        page.setFixedSize(120, 80);
        page.setStyleSheet(QStringLiteral("#widget_Tool_Motor { background: rgb(10, 200, 30); }"));
        auto *tile = new LumHoverWidget(&page);
        tile->setObjectName(QStringLiteral("widget_Tool_Motor"));
        tile->setGeometry(20, 20, 80, 40);
        const QImage image = pixelprobe::snapshot(page);
        PIXEL_IS(image, 60, 40, QColor(10, 200, 30));
    }

    void pushButtonReportsMoves()
    {
        LumPushButton button;
        button.setFixedSize(138, 138);
        button.setMouseTracking(true); // as the frame buttons
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QSignalSpy spy(&button, &LumPushButton::SingnalHover);
        for (const QPoint p : {QPoint(10, 10), QPoint(40, 40), QPoint(60, 70)})
            QTest::mouseMove(&button, p);
        QTRY_VERIFY(spy.count() >= 2);
    }

    void switchRelease_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<bool>("toggles");

        QTest::newRow("left, centre") << Qt::LeftButton << QPoint(47, 18) << true;
        QTest::newRow("left, corner") << Qt::LeftButton << QPoint(94, 35) << true;
        QTest::newRow("left, outside") << Qt::LeftButton << QPoint(95, 18) << false;
        QTest::newRow("right button") << Qt::RightButton << QPoint(47, 18) << false;
    }

    void switchRelease()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(QPoint, pos);
        QFETCH(bool, toggles);

        KivSwitch sw;
        QSignalSpy clicked(&sw, &KivSwitch::clicked);
        QSignalSpy changed(&sw, &KivSwitch::checkStateChanged);
        QTest::mousePress(&sw, button, {}, QPoint(47, 18));
        QCOMPARE(clicked.count(), 0); // a press alone does nothing
        QTest::mouseRelease(&sw, button, {}, pos);

        QCOMPARE(sw.isChecked(), toggles);
        QCOMPARE(clicked, toggles ? QList<QVariantList>{{true}} : QList<QVariantList>{});
        QCOMPARE(changed.count(), 0); // clicks report through clicked only
        QCOMPARE(sw.isAnimating(), toggles);
    }

    void switchReleaseDuringAnimationIgnored()
    {
        KivSwitch sw;
        QSignalSpy clicked(&sw, &KivSwitch::clicked);
        QTest::mouseClick(&sw, Qt::LeftButton);
        QTest::mouseClick(&sw, Qt::LeftButton); // still sliding
        QCOMPARE(clicked.count(), 1);
        QVERIFY(sw.isChecked());

        QVERIFY(finishAnimation(sw));
        QTest::mouseClick(&sw, Qt::LeftButton); // slide over: accepted again
        QCOMPARE(clicked.count(), 2);
        QVERIFY(!sw.isChecked());

        // A slide started by setChecked blocks clicks as well.
        QVERIFY(finishAnimation(sw));
        sw.setChecked(true);
        QTest::mouseClick(&sw, Qt::LeftButton);
        QCOMPARE(clicked.count(), 2);
        QVERIFY(sw.isChecked());
    }

    void switchFullChangeTakes55Ticks_data()
    {
        QTest::addColumn<bool>("towardsOn");
        QTest::newRow("off to on") << true;
        QTest::newRow("on to off") << false;
    }

    void switchFullChangeTakes55Ticks()
    {
        QFETCH(bool, towardsOn);

        KivSwitch sw;
        if (!towardsOn) {
            sw.setChecked(true);
            QVERIFY(finishAnimation(sw));
        }
        QTest::mouseClick(&sw, Qt::LeftButton);
        const qreal start = sw.knobOffset();
        const qreal end = towardsOn ? sw.travel() : 0.0;
        for (int i = 1; i < 55; ++i) {
            tick(sw, 1);
            QVERIFY2(sw.isAnimating(), QByteArray::number(i));
            QVERIFY(qAbs(sw.knobOffset() - (start + (end - start) * i / 55.0)) < 1e-6);
        }
        tick(sw, 1);
        QVERIFY(!sw.isAnimating());
        QCOMPARE(sw.knobOffset(), end);
    }

    void switchSetChecked_data()
    {
        QTest::addColumn<bool>("initial");
        QTest::addColumn<bool>("target");

        QTest::newRow("off -> on") << false << true;
        QTest::newRow("on -> off") << true << false;
        QTest::newRow("off -> off") << false << false;
        QTest::newRow("on -> on") << true << true;
    }

    void switchSetChecked()
    {
        QFETCH(bool, initial);
        QFETCH(bool, target);

        KivSwitch sw;
        if (initial) {
            sw.setChecked(true);
            QVERIFY(finishAnimation(sw));
        }
        QSignalSpy changed(&sw, &KivSwitch::checkStateChanged);
        QSignalSpy clicked(&sw, &KivSwitch::clicked);

        sw.setChecked(target);
        QCOMPARE(sw.isChecked(), target);
        QCOMPARE(changed,
                 initial != target ? QList<QVariantList>{{target}} : QList<QVariantList>{});
        QCOMPARE(clicked.count(), 0);
        QVERIFY(finishAnimation(sw));
        QCOMPARE(sw.knobOffset(), target ? sw.travel() : 0.0);
    }

    void switchFirstShowKeepsSlide()
    {
        // A hidden switch gets its first resize when shown; a slide running then keeps going.
        KivSwitch sw;
        sw.setChecked(true);
        tick(sw, 10);
        const qreal before = sw.knobOffset();
        sw.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sw));
        QVERIFY(sw.isAnimating());
        QCOMPARE(sw.knobOffset(), before);
    }

    void switchPainting()
    {
        KivSwitch sw;
        const QImage off = pixelprobe::snapshot(sw);
        QVERIFY(!looksGreen(off.pixelColor(40, 7)));  // track, above the text
        PIXEL_IS(off, 18, 18, QColor(255, 255, 255)); // knob on the left

        sw.setChecked(true); // still hidden: the snapshot brings its first resize
        QVERIFY(finishAnimation(sw));
        const QImage on = pixelprobe::snapshot(sw);
        QVERIFY(looksGreen(on.pixelColor(40, 7)));
        PIXEL_IS(on, 77, 18, QColor(255, 255, 255)); // knob on the right
    }
};

QTEST_MAIN(tst_SmallWidgets)
#include "tst_smallwidgets.moc"
