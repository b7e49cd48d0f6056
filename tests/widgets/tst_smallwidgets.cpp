#include "widgets/KivLabel.h"
#include "widgets/LumHoverWidget.h"
#include "widgets/LumPushButton.h"
#include "widgets/progressButton.h"

#include "PixelProbe.h"

#include <QEnterEvent>
#include <QHBoxLayout>
#include <QSignalSpy>
#include <QTest>

class tst_SmallWidgets : public QObject
{
    Q_OBJECT

private slots:
    void progressSweep_data();
    void progressSweep();
    void progressPie_data();
    void progressPie();
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
    QTest::newRow("5") << 5 << 288;
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

    // Centre (15, 15), radius 14, starting at 12 o'clock and running clockwise.
    const QPoint topRight(21, 9), bottomRight(21, 21), bottomLeft(9, 21), topLeft(9, 9);
    QTest::newRow("0 %: nothing") << 0 << QList<QPoint>{}
                                  << QList<QPoint>{QPoint(15, 8), topRight, bottomLeft};
    QTest::newRow("25 %") << 25 << QList<QPoint>{topRight}
                          << QList<QPoint>{bottomRight, bottomLeft, topLeft};
    QTest::newRow("50 %") << 50 << QList<QPoint>{topRight, bottomRight}
                          << QList<QPoint>{bottomLeft, topLeft};
    // Full: filled along the start radius too, where a pie would leave an outline seam.
    QTest::newRow("100 %")
        << 100
        << QList<QPoint>{topRight, bottomRight, bottomLeft, topLeft, QPoint(15, 8), QPoint(15, 5)}
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
    const QColor background = image.pixelColor(0, 0);

    for (const QPoint &p : filled)
        PIXEL_IS(image, p.x(), p.y(), QColor(0, 128, 0)); // dark green
    for (const QPoint &p : empty)
        PIXEL_IS(image, p.x(), p.y(), background);
    const int outline = pixelprobe::count(image, image.rect(), QColor(75, 179, 89), 20);
    QCOMPARE(outline > 0, progress > 0);
}

void tst_SmallWidgets::labelShape()
{
    KivLabel label(QStringLiteral("姿态感度"));
    label.setFixedSize(120, 30);
    const QImage image = pixelprobe::snapshot(label);
    const QColor white(255, 255, 255);

    PIXEL_IS(image, 1, 15, white);   // lead line
    PIXEL_IS(image, 23, 1, white);   // top edge of the tag
    PIXEL_IS(image, 118, 15, white); // right point
    for (const QPoint p : {QPoint(1, 2), QPoint(7, 2), QPoint(118, 2), QPoint(118, 28)})
        QVERIFY(!pixelprobe::near(image.pixelColor(p), white)); // outside, cut corners
    // Grey text, inside the tag only.
    QVERIFY(pixelprobe::count(image, QRect(5, 0, 115, 30), QColor(123, 123, 123), 30) > 10);
    QCOMPARE(pixelprobe::count(image, QRect(0, 0, 5, 30), QColor(123, 123, 123), 30), 0);
}

void tst_SmallWidgets::hoverWidgetEmitsName()
{
    // Two tiles side by side: the pointer crossing them reports each name on entry.
    QWidget window;
    auto *layout = new QHBoxLayout(&window);
    auto *rc = new LumHoverWidget(&window);
    rc->setObjectName(QStringLiteral("widget_Settings_RC_Type"));
    auto *motor = new LumHoverWidget(&window);
    motor->setObjectName(QStringLiteral("widget_Tool_Motor"));
    for (auto *tile : {rc, motor}) {
        tile->setFixedSize(100, 60);
        layout->addWidget(tile);
    }
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy rcSpy(rc, &LumHoverWidget::SigEnterIn);
    QSignalSpy motorSpy(motor, &LumHoverWidget::SigEnterIn);

    QTest::mouseMove(&window, QPoint(2, 2));
    QTest::mouseMove(rc, QPoint(50, 30));
    QTRY_COMPARE(rcSpy.count(), 1);
    QCOMPARE(rcSpy.at(0).at(0).toString(), QStringLiteral("widget_Settings_RC_Type"));
    QTest::mouseMove(rc, QPoint(60, 30)); // moving inside is no entry
    QTest::mouseMove(motor, QPoint(50, 30));
    QTRY_COMPARE(motorSpy.count(), 1);
    QCOMPARE(motorSpy.at(0).at(0).toString(), QStringLiteral("widget_Tool_Motor"));
    QCOMPARE(rcSpy.count(), 1);
}

void tst_SmallWidgets::hoverWidgetPaintsStyleSheet()
{
    // As in the forms: a tile inside a page, styled by the page's style sheet. (A top-level
    // widget would show the colour through its window background even without painting it.)
    QWidget page;
    page.setFixedSize(120, 80);
    page.setStyleSheet(QStringLiteral("#widget_Tool_Motor { background: rgb(10, 200, 30);"
                                      " border: 2px solid rgb(200, 0, 0); }"));
    auto *tile = new LumHoverWidget(&page);
    tile->setObjectName(QStringLiteral("widget_Tool_Motor"));
    tile->setGeometry(20, 20, 80, 40);
    const QImage image = pixelprobe::snapshot(page);
    PIXEL_IS(image, 60, 40, QColor(10, 200, 30));
    PIXEL_IS(image, 20, 40, QColor(200, 0, 0));
}

void tst_SmallWidgets::pushButtonReportsMoves_data()
{
    QTest::addColumn<bool>("tracking");
    QTest::addColumn<bool>("reports");

    QTest::newRow("tracking on, as the frame buttons") << true << true;
    QTest::newRow("tracking off") << false << false;
}

void tst_SmallWidgets::pushButtonReportsMoves()
{
    QFETCH(bool, tracking);
    QFETCH(bool, reports);

    LumPushButton button;
    button.setFixedSize(138, 138);
    button.setMouseTracking(tracking);
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    QSignalSpy spy(&button, &LumPushButton::SingnalHover);

    for (const QPoint p : {QPoint(10, 10), QPoint(40, 40), QPoint(60, 70)})
        QTest::mouseMove(&button, p);
    QCoreApplication::processEvents();
    QCOMPARE(spy.count() >= 2, reports);
    QCOMPARE(spy.count() == 0, !reports);
}

QTEST_MAIN(tst_SmallWidgets)
#include "tst_smallwidgets.moc"
