#pragma once

// Drawing steps shared by the interactive slider and the channel bars. Each takes the y range
// of its element, because the bars differ only in where they put the same pieces.

#include "widgets/SliderGeometry.h"

#include <QPolygonF>
#include <QString>
#include <QVector>

class QPainter;

namespace r7widgets {

struct BarZone
{
    qreal fromDivision; // zone edges in multiples of the margin
    qreal toDivision;
    QColor colour;
    QString caption; // empty: no caption
};

namespace SliderPainter {

// Horizontal track across the whole width, flat ends.
void drawTrack(QPainter &painter, const SliderGeometry &geometry, qreal y, qreal penWidth);

// One 1-px tick at every division boundary between the margins' outer edges (1 … n−1).
void drawTicks(
    QPainter &painter, const SliderGeometry &geometry, int divisions, qreal top, qreal bottom);

// 2-px red mark at the middle of the range.
void drawCentreMark(QPainter &painter, const SliderGeometry &geometry, qreal top, qreal bottom);

// Filled shape in the handle colour, no outline.
void drawHandle(QPainter &painter, const QPolygonF &shape);

// Coloured zones below a bar, each with its caption centred in white.
void drawZones(QPainter &painter,
               const SliderGeometry &geometry,
               const QVector<BarZone> &zones,
               qreal top,
               qreal height);

// Pentagon pointing up from (x, tipY): the slider's handle and the stick bars' handle share it.
QPolygonF upPentagon(qreal x, qreal tipY, qreal halfWidth, qreal shoulderY, qreal bottomY);

} // namespace SliderPainter
} // namespace r7widgets
