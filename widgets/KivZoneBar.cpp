#include "widgets/KivZoneBar.h"

#include <QPolygonF>

using namespace r7widgets;

KivZoneBar::KivZoneBar(
    int divisions, float minimum, float maximum, float initialValue, QWidget *parent)
    : KivChannelBar(divisions, minimum, maximum, initialValue, parent)
{}

QSize KivZoneBar::sizeHint() const
{
    return QSize(390, 45);
}

void KivZoneBar::paintBar(QPainter &painter, const SliderGeometry &geometry)
{
    SliderPainter::drawTrack(painter, geometry, 19, 3);
    SliderPainter::drawTicks(painter, geometry, divisionCount(), 11, 19);

    // The marker's top lies above the widget on purpose: only its pointed lower part shows.
    const qreal x = geometry.xForValue(value());
    SliderPainter::drawHandle(painter,
                              QPolygonF({QPointF(x, 10),
                                         QPointF(x + 8, 2),
                                         QPointF(x + 8, -8),
                                         QPointF(x - 7, -8),
                                         QPointF(x - 7, 2)}));

    SliderPainter::drawZones(painter, geometry, zones(), 20, 25);
}
