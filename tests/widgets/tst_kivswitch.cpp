#include "widgets/KivSwitch.h"

#include "PixelProbe.h"

#include <QDeadlineTimer>
#include <QEnterEvent>
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

class tst_KivSwitch : public QObject
{
    Q_OBJECT

private slots:
    void release_data();
    void release();
    void releaseDuringAnimationIgnored();
    void fullChangeTakes55Ticks_data();
    void fullChangeTakes55Ticks();
    void setChecked_data();
    void setChecked();
    void firstShowKeepsSlide();
    void painting();
};

void tst_KivSwitch::release_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<bool>("toggles");

    QTest::newRow("left, centre") << Qt::LeftButton << QPoint(47, 18) << true;
    QTest::newRow("left, corner") << Qt::LeftButton << QPoint(94, 35) << true;
    QTest::newRow("left, outside") << Qt::LeftButton << QPoint(95, 18) << false;
    QTest::newRow("right button") << Qt::RightButton << QPoint(47, 18) << false;
}

void tst_KivSwitch::release()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, pos);
    QFETCH(bool, toggles);

    KivSwitch sw;
    QCOMPARE(sw.maximumSize(), QSize(95, 36));
    QCOMPARE(sw.travel(), 59.0); // 95 − 8 − 28
    QCOMPARE(timerOf(sw)->interval(), 1);
    QSignalSpy clicked(&sw, &KivSwitch::clicked);
    QSignalSpy changed(&sw, &KivSwitch::checkStateChanged);

    QTest::mousePress(&sw, button, {}, QPoint(47, 18));
    QCOMPARE(clicked.count(), 0); // a press alone does nothing
    QTest::mouseRelease(&sw, button, {}, pos);

    QCOMPARE(sw.isChecked(), toggles);
    QCOMPARE(clicked.count(), toggles ? 1 : 0);
    QCOMPARE(changed.count(), 0); // clicks report through clicked only
    QCOMPARE(timerOf(sw)->isActive(), toggles);
    if (toggles) {
        QCOMPARE(clicked.at(0).at(0).toBool(), true);
        QVERIFY(finishAnimation(sw));
        QCOMPARE(sw.knobOffset(), sw.travel());
    }
}

void tst_KivSwitch::releaseDuringAnimationIgnored()
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

void tst_KivSwitch::fullChangeTakes55Ticks_data()
{
    QTest::addColumn<bool>("towardsOn");
    QTest::newRow("off to on") << true;
    QTest::newRow("on to off") << false;
}

void tst_KivSwitch::fullChangeTakes55Ticks()
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

void tst_KivSwitch::setChecked_data()
{
    QTest::addColumn<bool>("initial");
    QTest::addColumn<bool>("target");

    QTest::newRow("off -> on") << false << true;
    QTest::newRow("on -> off") << true << false;
    QTest::newRow("off -> off") << false << false;
    QTest::newRow("on -> on") << true << true;
}

void tst_KivSwitch::setChecked()
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
    QCOMPARE(changed.count(), initial != target ? 1 : 0);
    if (initial != target)
        QCOMPARE(changed.at(0).at(0).toBool(), target);
    QCOMPARE(clicked.count(), 0);
    QVERIFY(timerOf(sw)->isActive()); // the timer runs in every case
    if (initial == target) {
        tick(sw, 1); // and with nothing to move, one tick ends it
        QVERIFY(!sw.isAnimating());
    }
    QVERIFY(finishAnimation(sw));
    QCOMPARE(sw.knobOffset(), target ? sw.travel() : 0.0);
}

void tst_KivSwitch::firstShowKeepsSlide()
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

    KivSwitch on; // shown while on and at rest: knob at the on end
    on.setChecked(true);
    QVERIFY(finishAnimation(on));
    on.show();
    QVERIFY(QTest::qWaitForWindowExposed(&on));
    QCOMPARE(on.knobOffset(), on.travel());
}

void tst_KivSwitch::painting()
{
    KivSwitch sw;
    const QImage off = pixelprobe::snapshot(sw);
    QVERIFY(!looksGreen(off.pixelColor(40, 7)));  // left part of the track, above the text
    PIXEL_IS(off, 18, 18, QColor(255, 255, 255)); // knob on the left

    QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), QPointF(10, 10));
    QCoreApplication::sendEvent(&sw, &enter);
    QVERIFY(sw.isHovered());
    QVERIFY(qGray(pixelprobe::snapshot(sw).pixel(70, 7)) > qGray(off.pixel(70, 7)) + 20);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&sw, &leave);
    QCOMPARE(pixelprobe::snapshot(sw), off);

    sw.setChecked(true);
    tick(sw, 27);
    const QImage halfway = pixelprobe::snapshot(sw);
    QVERIFY(looksGreen(halfway.pixelColor(20, 7))); // green grows from the left
    QVERIFY(!looksGreen(halfway.pixelColor(75, 7)));

    tick(sw, 28);
    const QImage on = pixelprobe::snapshot(sw);
    QVERIFY(looksGreen(on.pixelColor(20, 7)));
    QVERIFY(looksGreen(on.pixelColor(40, 7)));
    PIXEL_IS(on, 77, 18, QColor(255, 255, 255)); // knob on the right
}

QTEST_MAIN(tst_KivSwitch)
#include "tst_kivswitch.moc"
