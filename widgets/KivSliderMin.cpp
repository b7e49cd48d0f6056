#include "widgets/KivSliderMin.h"

#include "widgets/SliderPainter.h"

using namespace r7widgets;

KivSliderMin::KivSliderMin(QWidget *parent)
    : KivChannelBar(22, -100, 100, 0, parent)
{}

QSize KivSliderMin::sizeHint() const
{
    return QSize(161, 24);
}

void KivSliderMin::paintBar(QPainter &painter, const SliderGeometry &geometry)
{
    SliderPainter::drawTrack(painter, geometry, 9, 3);
    SliderPainter::drawTicks(painter, geometry, divisionCount(), 3, 9);
    SliderPainter::drawCentreMark(painter, geometry, 3, 9);
    SliderPainter::drawHandle(painter,
                              SliderPainter::upPentagon(geometry.xForValue(value()), 8, 5, 13, 20));
}
