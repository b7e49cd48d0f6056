#include "widgets/SliderPainter.h"

#include <QPainter>
#include <QPen>

namespace r7widgets::SliderPainter {

void drawTrack(QPainter &painter, const SliderGeometry &geometry, qreal y, qreal penWidth)
{
    painter.save();
    painter.setPen(QPen(colours::track, penWidth, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(0, y), QPointF(geometry.width(), y));
    painter.restore();
}

void drawTicks(
    QPainter &painter, const SliderGeometry &geometry, int divisions, qreal top, qreal bottom)
{
    painter.save();
    painter.setPen(QPen(colours::track, 1, Qt::SolidLine, Qt::FlatCap));
    for (int i = 1; i < divisions; ++i) {
        const qreal x = geometry.xForDivision(i);
        painter.drawLine(QPointF(x, top), QPointF(x, bottom));
    }
    painter.restore();
}

void drawCentreMark(QPainter &painter, const SliderGeometry &geometry, qreal top, qreal bottom)
{
    painter.save();
    painter.setPen(QPen(colours::centreMark, 2, Qt::SolidLine, Qt::FlatCap));
    const qreal x = geometry.centreX();
    painter.drawLine(QPointF(x, top), QPointF(x, bottom));
    painter.restore();
}

void drawHandle(QPainter &painter, const QPolygonF &shape)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colours::handle);
    painter.drawPolygon(shape);
    painter.restore();
}

void drawZones(QPainter &painter,
               const SliderGeometry &geometry,
               const QVector<BarZone> &zones,
               qreal top,
               qreal height)
{
    painter.save();
    qreal end = 0;
    for (const BarZone &zone : zones)
        end = qMax(end, geometry.xForDivision(zone.toDivision));
    // Each fill runs on to the last edge and the next zone paints over it: two antialiased edges
    // meeting at a fractional x would otherwise let the background show through as a seam.
    painter.setPen(Qt::NoPen);
    for (const BarZone &zone : zones) {
        const qreal left = geometry.xForDivision(zone.fromDivision);
        painter.setBrush(zone.colour);
        painter.drawRect(QRectF(left, top, end - left, height));
    }
    painter.setFont(widgetFont(10));
    painter.setPen(colours::zoneCaption);
    for (const BarZone &zone : zones) {
        if (zone.caption.isEmpty())
            continue;
        const qreal left = geometry.xForDivision(zone.fromDivision);
        const qreal right = geometry.xForDivision(zone.toDivision);
        painter.drawText(QRectF(left, top, right - left, height), Qt::AlignCenter, zone.caption);
    }
    painter.restore();
}

QPolygonF upPentagon(qreal x, qreal tipY, qreal halfWidth, qreal shoulderY, qreal bottomY)
{
    return QPolygonF({QPointF(x, tipY),
                      QPointF(x + halfWidth, shoulderY),
                      QPointF(x + halfWidth, bottomY),
                      QPointF(x - halfWidth, bottomY),
                      QPointF(x - halfWidth, shoulderY)});
}

} // namespace r7widgets::SliderPainter
