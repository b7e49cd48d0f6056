// Renders every painted widget in a few states into one PNG, so a change to a paint routine
// can be looked at without starting the program and clicking to the right page.

#include "widgets/KivLabel.h"
#include "widgets/KivSliderControl.h"
#include "widgets/KivSliderLarger.h"
#include "widgets/KivSliderMin.h"
#include "widgets/KivSliderReturn.h"
#include "widgets/KivSwitch.h"
#include "widgets/LumHoverWidget.h"
#include "widgets/LumPushButton.h"
#include "widgets/LumSliderReturn.h"
#include "widgets/progressButton.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QEnterEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QSaveFile>
#include <QTextStream>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>

namespace {

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color: rgb(80, 80, 80); font-size: 9pt;"));
    return label;
}

// One row: a title on the left, then each widget with its state written under it.
class Gallery
{
public:
    explicit Gallery(QWidget *page)
        : m_page(page)
        , m_grid(new QGridLayout(page))
    {
        m_grid->setHorizontalSpacing(18);
        m_grid->setVerticalSpacing(14);
    }

    template<typename W>
    W *add(const QString &state, const std::function<void(W *)> &setUp)
    {
        auto *cell = new QWidget(m_page);
        auto *layout = new QVBoxLayout(cell);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(3);
        auto *widget = new W(cell);
        setUp(widget);
        layout->addWidget(widget, 0, Qt::AlignLeft);
        layout->addWidget(caption(state, cell));
        m_grid->addWidget(cell, m_row, ++m_column, Qt::AlignLeft | Qt::AlignTop);
        return widget;
    }

    void row(const QString &title)
    {
        ++m_row;
        m_column = 0;
        auto *label = caption(title, m_page);
        label->setStyleSheet(QStringLiteral("color: rgb(40, 40, 40); font-weight: bold;"));
        m_grid->addWidget(label, m_row, 0, Qt::AlignLeft | Qt::AlignTop);
    }

private:
    QWidget *m_page;
    QGridLayout *m_grid;
    int m_row = -1;
    int m_column = 0;
};

void finishAnimation(KivSwitch *sw)
{
    const QDeadlineTimer deadline(2000);
    while (sw->isAnimating() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Leaves the knob part-way: take over the animation timer and tick by hand.
void stopMidway(KivSwitch *sw, int ticks)
{
    sw->findChild<QTimer *>()->stop();
    for (int i = 0; i < ticks; ++i)
        QMetaObject::invokeMethod(sw, "timerout", Qt::DirectConnection);
}

void hover(QWidget *widget)
{
    QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString output
        = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("widgets-gallery.png");

    QWidget page;
    page.setObjectName(QStringLiteral("galleryPage"));
    page.setStyleSheet(QStringLiteral("#galleryPage { background: rgb(238, 238, 238); }"));
    Gallery gallery(&page);

    gallery.row(QStringLiteral("KivSliderControl"));
    for (int v : {50, 275, 500}) {
        gallery.add<KivSliderControl>(QStringLiteral("50…500, value %1").arg(v),
                                      [v](KivSliderControl *s) {
                                          s->setFixedSize(220, 35);
                                          s->setMinimum(50);
                                          s->setMaximum(500);
                                          s->setValue(v);
                                      });
    }
    gallery.add<KivSliderControl>(QStringLiteral("0…110, value 33"), [](KivSliderControl *s) {
        s->setFixedSize(220, 35);
        s->setMaximum(110);
        s->setValue(33);
    });

    gallery.row(QStringLiteral("KivSliderMin"));
    for (float v : {-100.f, 0.f, 60.f, 100.f, 106.f}) {
        gallery.add<KivSliderMin>(QStringLiteral("value %1").arg(v), [v](KivSliderMin *s) {
            s->setFixedSize(161, 24);
            s->setValue(v);
        });
    }

    gallery.row(QStringLiteral("KivSliderLarger"));
    for (float v : {-100.f, 0.f, 100.f}) {
        gallery.add<KivSliderLarger>(QStringLiteral("value %1").arg(v), [v](KivSliderLarger *s) {
            s->setFixedSize(390, 45);
            s->setValue(v);
        });
    }

    gallery.row(QStringLiteral("KivSliderReturn"));
    gallery.add<KivSliderReturn>(QStringLiteral("default captions, value −100"),
                                 [](KivSliderReturn *s) { s->setFixedSize(390, 45); });
    gallery.add<KivSliderReturn>(QStringLiteral("value 0"), [](KivSliderReturn *s) {
        s->setFixedSize(390, 45);
        s->setZoneCaptions(
            QStringLiteral("待命"), QStringLiteral("喷洒"), QStringLiteral("返航/记录续喷点"));
        s->setValue(0);
    });
    gallery.add<KivSliderReturn>(QStringLiteral("value 150"), [](KivSliderReturn *s) {
        s->setFixedSize(390, 45);
        s->setZoneCaptions(QStringLiteral("Stand-by"),
                           QStringLiteral("Spray"),
                           QStringLiteral("Return/RecordPoint"));
        s->setValue(150);
    });

    gallery.row(QStringLiteral("LumSliderReturn"));
    gallery.add<LumSliderReturn>(QStringLiteral("default captions, value −100"),
                                 [](LumSliderReturn *s) { s->setFixedSize(390, 45); });
    gallery.add<LumSliderReturn>(QStringLiteral("value 0"), [](LumSliderReturn *s) {
        s->setFixedSize(390, 45);
        s->setZoneCaptions(QStringLiteral("B点"), QStringLiteral("A点"));
        s->setValue(0);
    });
    gallery.add<LumSliderReturn>(QStringLiteral("value 125"), [](LumSliderReturn *s) {
        s->setFixedSize(390, 45);
        s->setZoneCaptions(QStringLiteral("待命"), QStringLiteral("AB点模式"));
        s->setValue(125);
    });

    gallery.row(QStringLiteral("KivSwitch"));
    gallery.add<KivSwitch>(QStringLiteral("off"), [](KivSwitch *) {});
    gallery.add<KivSwitch>(QStringLiteral("on"), [](KivSwitch *s) {
        s->setChecked(true);
        finishAnimation(s);
    });
    gallery.add<KivSwitch>(QStringLiteral("turning on, 27/55"), [](KivSwitch *s) {
        s->setChecked(true);
        stopMidway(s, 27);
    });
    gallery.add<KivSwitch>(QStringLiteral("off, hovered"), [](KivSwitch *s) { hover(s); });
    gallery.add<KivSwitch>(QStringLiteral("on, hovered"), [](KivSwitch *s) {
        s->setChecked(true);
        finishAnimation(s);
        hover(s);
    });

    gallery.row(QStringLiteral("KivLabel"));
    gallery.add<KivLabel>(QStringLiteral("120 × 30"), [](KivLabel *l) {
        l->setText(QStringLiteral("姿态感度"));
        l->setFixedSize(120, 30);
    });
    gallery.add<KivLabel>(QStringLiteral("160 × 26"), [](KivLabel *l) {
        l->setText(QStringLiteral("保护开关"));
        l->setFixedSize(160, 26);
    });

    gallery.row(QStringLiteral("progressButton"));
    gallery.add<progressButton>(QStringLiteral("new"),
                                [](progressButton *b) { b->setFixedSize(30, 30); });
    for (int p : {0, 25, 57, 100}) {
        gallery.add<progressButton>(QStringLiteral("%1 %").arg(p), [p](progressButton *b) {
            b->setFixedSize(30, 30);
            b->progressPaint(static_cast<uint8_t>(p));
        });
    }

    gallery.row(QStringLiteral("LumHoverWidget / LumPushButton"));
    gallery.add<LumHoverWidget>(QStringLiteral("style sheet applied"), [](LumHoverWidget *w) {
        w->setObjectName(QStringLiteral("widget_Settings_RC_Type"));
        w->setFixedSize(200, 60);
        w->setStyleSheet(QStringLiteral("#widget_Settings_RC_Type { background: white;"
                                        " border: 1px solid rgb(199, 199, 199);"
                                        " border-radius: 6px; }"));
        auto *title = new QLabel(QStringLiteral("接收机类型"), w);
        title->move(12, 10);
    });
    gallery.add<LumPushButton>(QStringLiteral("green button"), [](LumPushButton *b) {
        b->setText(QStringLiteral("开始校准"));
        b->setFixedSize(110, 34);
        b->setStyleSheet(QStringLiteral("QPushButton { background: rgb(34, 192, 99); color: white;"
                                        " border: none; border-radius: 4px;"
                                        " font: 10pt \"微软雅黑\"; }"));
    });

    page.adjustSize();
    const QPixmap shot = page.grab();

    QSaveFile file(output);
    QTextStream err(stderr);
    if (!file.open(QIODevice::WriteOnly) || !shot.save(&file, "PNG") || !file.commit()) {
        err << "cannot write " << output << ": " << file.errorString() << '\n';
        return 1;
    }
    err << "wrote " << output << " (" << shot.width() << " x " << shot.height() << ")\n";
    return 0;
}
