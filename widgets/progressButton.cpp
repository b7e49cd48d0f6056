#include "widgets/progressButton.h"

#include "widgets/SliderGeometry.h"

#include <QPainter>

namespace {
constexpr int FullCircle = 360 * 16;
constexpr int TwelveOClock = 90 * 16;
} // namespace

progressButton::progressButton(QWidget *parent)
    : QToolButton(parent)
{}

QSize progressButton::sizeHint() const
{
    return QSize(30, 30);
}

void progressButton::progressPaint(uint8_t progress)
{
    // A byte can carry more than 100; more than a full circle means nothing, so cap it.
    const int percent = progress > 100 ? 100 : progress;
    // 57.6 per percent, in integers: with 57.6 as a float, 5 % would truncate to 287.
    m_sweep = percent * 576 / 10;
    update();
}

void progressButton::paintEvent(QPaintEvent *)
{
    if (m_sweep <= 0)
        return; // a zero-span pie would still draw its radius as a line

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(r7widgets::colours::progressOutline, 2, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::darkGreen);
    const QRectF area(1, 1, 28, 28);
    if (m_sweep >= FullCircle) {
        // A full pie would keep its start radius as a seam; a finished transfer is a plain disc.
        painter.drawEllipse(area);
    } else {
        painter.drawPie(area, TwelveOClock, -m_sweep); // negative span runs clockwise
    }
}
