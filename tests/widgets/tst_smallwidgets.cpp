#include "widgets/KivLabel.h"
#include "widgets/LumHoverWidget.h"
#include "widgets/LumPushButton.h"
#include "widgets/progressButton.h"

#include "PixelProbe.h"

#include <QEnterEvent>
#include <QHBoxLayout>
#include <QSignalSpy>
#include <QTest>

namespace {
const QColor Outline(75, 179, 89);
const QColor Fill(0, 128, 0); // Qt::darkGreen
const QColor LabelGrey(123, 123, 123);
} // namespace

class tst_SmallWidgets : public QObject
{
    Q_OBJECT

private slots:
    void progressSweep_data();
    void progressSweep();
    void progressPie_data();
    void progressPie();
    void progressZeroDrawsNothing();

    void labelShape_data();
    void labelShape();

    void hoverWidgetEmitsName();
    void hoverWidgetPaintsStyleSheet();

    void pushButtonReportsMoves_data();
    void pushButtonReportsMoves();
};

void tst_SmallWidgets::progressSweep_data()
{
    QTest::addColumn<int>("progress");
    QTest::addColumn<int>("sweep");

    QTest::newRow("0") << 0 << 0;
    QTest::newRow("1") << 1 << 57;
    QTest::newRow("5") << 5 << 288;
    QTest::newRow("25") << 25 << 1440;
    QTest::newRow("57") << 57 << 3283;
    QTest::newRow("99") << 99 << 5702;
    QTest::newRow("100") << 100 << 5760;
    QTest::newRow("above 100 stays a full circle") << 200 << 5760;
}

void tst_SmallWidgets::progressSweep()
{
    QFETCH(int, progress);
    QFETCH(int, sweep);

    progressButton button;
    QCOMPARE(button.sweep(), 16);
    button.progressPaint(static_cast<uint8_t>(progress));
    QCOMPARE(button.sweep(), sweep);
}

void tst_SmallWidgets::progressPie_data()
{
    QTest::addColumn<int>("progress");
    QTest::addColumn<QList<QPoint>>("filled");
    QTest::addColumn<QList<QPoint>>("empty");

    // Centre (15, 15), radius 14; the pie starts at 12 o'clock and runs clockwise.
    const QPoint topRight(21, 9), bottomRight(21, 21), bottomLeft(9, 21), topLeft(9, 9);
    QTest::newRow("25 %") << 25 << QList<QPoint>{topRight}
                          << QList<QPoint>{bottomRight, bottomLeft, topLeft};
    QTest::newRow("50 %") << 50 << QList<QPoint>{topRight, bottomRight}
                          << QList<QPoint>{bottomLeft, topLeft};
    QTest::newRow("80 %") << 80 << QList<QPoint>{topRight, bottomRight, bottomLeft}
                          << QList<QPoint>{QPoint(8, 11)};
    // Full circle: filled everywhere, including along the start radius, where a pie would
    // leave an outline seam from the centre to 12 o'clock.
    QTest::newRow("100 %") << 100
                           << QList<QPoint>{topRight, bottomRight, bottomLeft, topLeft,
                                            QPoint(15, 8), QPoint(15, 5)}
                           << QList<QPoint>{};
}

void tst_SmallWidgets::progressPie()
{
    QFETCH(int, progress);
    QFETCH(QList<QPoint>, filled);
    QFETCH(QList<QPoint>, empty);

    progressButton button;
    button.setFixedSize(30, 30);
    button.progressPaint(static_cast<uint8_t>(progress));
    const QImage image = pixelprobe::snapshot(button);

    for (const QPoint &p : filled)
        QVERIFY2(pixelprobe::near(image.pixelColor(p), Fill),
                 qPrintable(QStringLiteral("(%1, %2) is %3")
                                .arg(p.x())
                                .arg(p.y())
                                .arg(pixelprobe::describe(image.pixelColor(p)))));
    for (const QPoint &p : empty)
        QVERIFY2(!pixelprobe::near(image.pixelColor(p), Fill, 40),
                 qPrintable(QStringLiteral("(%1, %2) is filled").arg(p.x()).arg(p.y())));
    // The outline colour is there, round the rim.
    QVERIFY(pixelprobe::count(image, image.rect(), Outline, 20) > 0);
}

void tst_SmallWidgets::progressZeroDrawsNothing()
{
    progressButton reference;
    reference.setFixedSize(30, 30);
    reference.progressPaint(0);
    const QImage image = pixelprobe::snapshot(reference);
    const QColor background = image.pixelColor(0, 0);
    QCOMPARE(pixelprobe::count(image, image.rect(), background, 0), 30 * 30);
}

void tst_SmallWidgets::labelShape_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("120 x 30") << QSize(120, 30);
    QTest::newRow("160 x 26") << QSize(160, 26);
}

void tst_SmallWidgets::labelShape()
{
    QFETCH(QSize, size);

    KivLabel label(QStringLiteral("姿态感度"));
    label.setFixedSize(size);
    const QImage image = pixelprobe::snapshot(label);
    const int w = size.width();
    const int h = size.height();
    const QColor white(255, 255, 255);

    QVERIFY(pixelprobe::near(image.pixelColor(1, h / 2), white)); // lead line
    QVERIFY(!pixelprobe::near(image.pixelColor(1, 2), white));    // above the line
    QVERIFY(pixelprobe::near(image.pixelColor(h / 2 + 8, 1), white)); // top edge of the tag
    QVERIFY(!pixelprobe::near(image.pixelColor(7, 2), white));        // cut corner
    QVERIFY(!pixelprobe::near(image.pixelColor(w - 2, 2), white));    // cut corner
    QVERIFY(pixelprobe::near(image.pixelColor(w - 2, h / 2), white)); // right point
    // Grey text, in the middle of the tag.
    QVERIFY(pixelprobe::count(image, QRect(5, 0, w - 5, h), LabelGrey, 30) > 10);
    QCOMPARE(pixelprobe::count(image, QRect(0, 0, 5, h), LabelGrey, 30), 0);
}

void tst_SmallWidgets::hoverWidgetEmitsName()
{
    // Two tiles side by side: moving the pointer across reports each tile's name on entry.
    QWidget window;
    auto *layout = new QHBoxLayout(&window);
    auto *rc = new LumHoverWidget(&window);
    rc->setObjectName(QStringLiteral("widget_Settings_RC_Type"));
    rc->setFixedSize(100, 60);
    auto *motor = new LumHoverWidget(&window);
    motor->setObjectName(QStringLiteral("widget_Tool_Motor"));
    motor->setFixedSize(100, 60);
    layout->addWidget(rc);
    layout->addWidget(motor);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QSignalSpy rcSpy(rc, &LumHoverWidget::SigEnterIn);
    QSignalSpy motorSpy(motor, &LumHoverWidget::SigEnterIn);

    QTest::mouseMove(&window, QPoint(2, 2));
    QTest::mouseMove(rc, QPoint(50, 30));
    QTRY_COMPARE(rcSpy.count(), 1);
    QCOMPARE(rcSpy.at(0).at(0).toString(), QStringLiteral("widget_Settings_RC_Type"));
    QTest::mouseMove(rc, QPoint(60, 30)); // moving inside is not an entry
    QTest::mouseMove(motor, QPoint(50, 30));
    QTRY_COMPARE(motorSpy.count(), 1);
    QCOMPARE(motorSpy.at(0).at(0).toString(), QStringLiteral("widget_Tool_Motor"));
    QCOMPARE(rcSpy.count(), 1);

    // A direct enter event (as the platform sends) reports too.
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(rc, &enter);
    QCOMPARE(rcSpy.count(), 2);
}

void tst_SmallWidgets::hoverWidgetPaintsStyleSheet()
{
    // As in the forms: a tile inside a page, styled by the page's style sheet. (A top-level
    // widget would get the colour through its window background even without painting it.)
    QWidget page;
    page.setFixedSize(120, 80);
    page.setStyleSheet(QStringLiteral("#widget_Tool_Motor { background: rgb(10, 200, 30);"
                                      " border: 2px solid rgb(200, 0, 0); }"));
    auto *tile = new LumHoverWidget(&page);
    tile->setObjectName(QStringLiteral("widget_Tool_Motor"));
    tile->setGeometry(20, 20, 80, 40);
    const QImage image = pixelprobe::snapshot(page);
    QVERIFY2(pixelprobe::near(image.pixelColor(60, 40), QColor(10, 200, 30)),
             qPrintable(pixelprobe::describe(image.pixelColor(60, 40))));
    QVERIFY(pixelprobe::near(image.pixelColor(20, 40), QColor(200, 0, 0))); // border
    QVERIFY(!pixelprobe::near(image.pixelColor(10, 10), QColor(10, 200, 30))); // page
}

void tst_SmallWidgets::pushButtonReportsMoves_data()
{
    QTest::addColumn<bool>("tracking");
    QTest::addColumn<bool>("buttonDown");
    QTest::addColumn<bool>("reports");

    QTest::newRow("tracking, hovering") << true << false << true;
    QTest::newRow("no tracking, hovering") << false << false << false;
    QTest::newRow("no tracking, pressed") << false << true << true;
}

void tst_SmallWidgets::pushButtonReportsMoves()
{
    QFETCH(bool, tracking);
    QFETCH(bool, buttonDown);
    QFETCH(bool, reports);

    LumPushButton button(QStringLiteral("开始校准"));
    button.setFixedSize(138, 138);
    button.setMouseTracking(tracking);
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    QSignalSpy spy(&button, &LumPushButton::SingnalHover);

    QTest::mouseMove(&button, QPoint(10, 10));
    if (buttonDown)
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(&button, QPoint(40, 40));
    QTest::mouseMove(&button, QPoint(60, 70));
    if (buttonDown)
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(60, 70));

    if (reports)
        QTRY_VERIFY(spy.count() >= 2);
    else
        QCOMPARE(spy.count(), 0);
}

QTEST_MAIN(tst_SmallWidgets)
#include "tst_smallwidgets.moc"
