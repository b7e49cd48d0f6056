#include "widgets/KivSwitch.h"

#include "PixelProbe.h"

#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>
#include <QDeadlineTimer>
#include <QTimer>

namespace {

QTimer *animationTimer(KivSwitch &sw)
{
    return sw.findChild<QTimer *>();
}

// Takes the animation over from the 1-ms timer so ticks can be counted.
void holdAnimation(KivSwitch &sw)
{
    animationTimer(sw)->stop();
}

// Lets the real 1-ms timer run the slide to its end. QTRY_* would sleep 10 ms between event
// passes and stretch the 55 ticks to over half a second; waiting for each event does not.
bool finishAnimation(KivSwitch &sw)
{
    const QDeadlineTimer deadline(5000);
    while (sw.isAnimating() && animationTimer(sw)->isActive() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return !sw.isAnimating() && !animationTimer(sw)->isActive();
}

void tick(KivSwitch &sw)
{
    QVERIFY(QMetaObject::invokeMethod(&sw, "timerout", Qt::DirectConnection));
}

// Sample in the left part of the track, above the text: green when on, dark grey when off.
const QPoint LeftOfTrack(40, 7);

bool looksGreen(const QColor &c)
{
    return c.green() > c.red() + 80 && c.green() > 150;
}

} // namespace

class tst_KivSwitch : public QObject
{
    Q_OBJECT

private slots:
    void geometry();

    void release_data();
    void release();
    void secondReleaseDuringAnimationIgnored();
    void fullChangeTakes55Ticks_data();
    void fullChangeTakes55Ticks();

    void setChecked_data();
    void setChecked();
    void setCheckedBlocksClicksWhileAnimating();

    void resizeWhileOn();
    void hoverFlag();

    void paintsOnAndOff();
};

void tst_KivSwitch::geometry()
{
    KivSwitch sw;
    QCOMPARE(sw.size(), QSize(95, 36));
    QCOMPARE(sw.minimumSize(), QSize(95, 36));
    QCOMPARE(sw.maximumSize(), QSize(95, 36));
    QCOMPARE(sw.knobDiameter(), 28.0);
    QCOMPARE(sw.travel(), 59.0);
    QCOMPARE(sw.stepCount(), 55);
    QCOMPARE(sw.knobOffset(), 0.0);
    QVERIFY(!sw.isChecked());
    QVERIFY(!sw.isAnimating());
    QCOMPARE(animationTimer(sw)->interval(), 1);
}

void tst_KivSwitch::release_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<bool>("toggles");

    QTest::newRow("left, centre") << Qt::LeftButton << QPoint(47, 18) << true;
    QTest::newRow("left, top-left corner") << Qt::LeftButton << QPoint(0, 0) << true;
    QTest::newRow("left, bottom-right corner") << Qt::LeftButton << QPoint(94, 35) << true;
    QTest::newRow("left, outside right") << Qt::LeftButton << QPoint(95, 18) << false;
    QTest::newRow("left, outside below") << Qt::LeftButton << QPoint(47, 40) << false;
    QTest::newRow("right button") << Qt::RightButton << QPoint(47, 18) << false;
    QTest::newRow("middle button") << Qt::MiddleButton << QPoint(47, 18) << false;
}

void tst_KivSwitch::release()
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
    QCOMPARE(clicked.count(), toggles ? 1 : 0);
    if (toggles)
        QCOMPARE(clicked.at(0).at(0).toBool(), true);
    QCOMPARE(changed.count(), 0); // clicks report through clicked only
    QCOMPARE(sw.isAnimating(), toggles);
    QCOMPARE(animationTimer(sw)->isActive(), toggles);
    if (toggles) {
        QVERIFY(finishAnimation(sw));
        QCOMPARE(sw.knobOffset(), sw.travel());
        QVERIFY(!animationTimer(sw)->isActive());
    }
}

void tst_KivSwitch::secondReleaseDuringAnimationIgnored()
{
    KivSwitch sw;
    QSignalSpy clicked(&sw, &KivSwitch::clicked);

    QTest::mouseClick(&sw, Qt::LeftButton);
    QTest::mouseClick(&sw, Qt::LeftButton); // still sliding
    QCOMPARE(clicked.count(), 1);
    QVERIFY(sw.isChecked());

    QVERIFY(finishAnimation(sw));
    QTest::mouseClick(&sw, Qt::LeftButton); // slide finished: accepted again
    QCOMPARE(clicked.count(), 2);
    QCOMPARE(clicked.at(1).at(0).toBool(), false);
    QVERIFY(!sw.isChecked());
    QVERIFY(finishAnimation(sw));
    QCOMPARE(sw.knobOffset(), 0.0);
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
    holdAnimation(sw);
    QCOMPARE(sw.isChecked(), towardsOn);

    const qreal start = sw.knobOffset();
    const qreal end = towardsOn ? sw.travel() : 0.0;
    for (int i = 1; i < 55; ++i) {
        tick(sw);
        QVERIFY2(sw.isAnimating(), qPrintable(QStringLiteral("stopped after %1 ticks").arg(i)));
        const qreal expected = start + (end - start) * i / 55.0;
        QVERIFY(qAbs(sw.knobOffset() - expected) < 1e-6);
    }
    tick(sw);
    QVERIFY(!sw.isAnimating());
    QCOMPARE(sw.knobOffset(), end);
}

void tst_KivSwitch::setChecked_data()
{
    QTest::addColumn<bool>("initial");
    QTest::addColumn<bool>("target");
    QTest::addColumn<bool>("emits");

    QTest::newRow("off -> on") << false << true << true;
    QTest::newRow("on -> off") << true << false << true;
    QTest::newRow("off -> off") << false << false << false;
    QTest::newRow("on -> on") << true << true << false;
}

void tst_KivSwitch::setChecked()
{
    QFETCH(bool, initial);
    QFETCH(bool, target);
    QFETCH(bool, emits);

    KivSwitch sw;
    if (initial) {
        sw.setChecked(true);
        QVERIFY(finishAnimation(sw));
    }
    QSignalSpy changed(&sw, &KivSwitch::checkStateChanged);
    QSignalSpy clicked(&sw, &KivSwitch::clicked);

    sw.setChecked(target);

    QCOMPARE(sw.isChecked(), target);
    QCOMPARE(changed.count(), emits ? 1 : 0);
    if (emits)
        QCOMPARE(changed.at(0).at(0).toBool(), target);
    QCOMPARE(clicked.count(), 0);
    // The timer runs in every case ...
    QVERIFY(animationTimer(sw)->isActive());
    QVERIFY(sw.isAnimating());
    if (!emits) {
        // ... and without a change the first tick ends it.
        holdAnimation(sw);
        tick(sw);
        QVERIFY(!sw.isAnimating());
    } else {
        QVERIFY(finishAnimation(sw));
        QVERIFY(!animationTimer(sw)->isActive());
    }
    QCOMPARE(sw.knobOffset(), target ? sw.travel() : 0.0);
}

void tst_KivSwitch::setCheckedBlocksClicksWhileAnimating()
{
    KivSwitch sw;
    QSignalSpy clicked(&sw, &KivSwitch::clicked);
    sw.setChecked(true);
    QTest::mouseClick(&sw, Qt::LeftButton);
    QCOMPARE(clicked.count(), 0);
    QVERIFY(sw.isChecked());
}

void tst_KivSwitch::resizeWhileOn()
{
    KivSwitch sw;
    sw.setChecked(true);
    QVERIFY(finishAnimation(sw));
    // Fixed size, so the only resize a switch sees is the one when it is first shown.
    sw.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sw));
    QCOMPARE(sw.knobOffset(), sw.travel());

    // A slide running when that resize arrives keeps going rather than jumping.
    KivSwitch hidden;
    hidden.setChecked(true);
    holdAnimation(hidden);
    for (int i = 0; i < 10; ++i)
        tick(hidden);
    const qreal before = hidden.knobOffset();
    hidden.show();
    QVERIFY(QTest::qWaitForWindowExposed(&hidden));
    QVERIFY(hidden.isAnimating());
    QCOMPARE(hidden.knobOffset(), before);
}

void tst_KivSwitch::hoverFlag()
{
    KivSwitch sw;
    const QImage plain = pixelprobe::snapshot(sw);
    QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), QPointF(10, 10));
    QCoreApplication::sendEvent(&sw, &enter);
    QVERIFY(sw.isHovered());
    const QImage hovered = pixelprobe::snapshot(sw);
    // The white overlay lightens the dark track.
    QVERIFY(qGray(hovered.pixel(70, 7)) > qGray(plain.pixel(70, 7)) + 20);

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&sw, &leave);
    QVERIFY(!sw.isHovered());
    QCOMPARE(pixelprobe::snapshot(sw), plain);
}

void tst_KivSwitch::paintsOnAndOff()
{
    KivSwitch sw;
    const QImage off = pixelprobe::snapshot(sw);
    QVERIFY2(!looksGreen(off.pixelColor(LeftOfTrack)),
             qPrintable(pixelprobe::describe(off.pixelColor(LeftOfTrack))));
    // The knob sits on the left when off: white in its middle.
    QVERIFY(pixelprobe::near(off.pixelColor(18, 18), Qt::white));

    sw.setChecked(true);
    holdAnimation(sw);
    for (int i = 0; i < 27; ++i)
        tick(sw);
    const QImage halfway = pixelprobe::snapshot(sw);
    QVERIFY(looksGreen(halfway.pixelColor(20, 7))); // the green part grows from the left
    QVERIFY(!looksGreen(halfway.pixelColor(75, 7)));

    while (sw.isAnimating())
        tick(sw);
    const QImage on = pixelprobe::snapshot(sw);
    QVERIFY2(looksGreen(on.pixelColor(LeftOfTrack)),
             qPrintable(pixelprobe::describe(on.pixelColor(LeftOfTrack))));
    QVERIFY(looksGreen(on.pixelColor(20, 7)));
    QVERIFY(pixelprobe::near(on.pixelColor(77, 18), Qt::white)); // knob on the right
    QVERIFY(!pixelprobe::near(on.pixelColor(18, 18), Qt::white, 30));
}

QTEST_MAIN(tst_KivSwitch)
#include "tst_kivswitch.moc"
