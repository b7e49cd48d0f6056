#include "widgets/KivLabel.h"

#include "widgets/SliderGeometry.h"

#include <QPainter>
#include <QPolygonF>

KivLabel::KivLabel(QWidget *parent)
    : QLabel(parent)
{}

KivLabel::KivLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{}

void KivLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal w = width();
    const qreal h = height();
    const qreal mid = h / 2;

    painter.setPen(QPen(Qt::white, 2));
    painter.drawLine(QPointF(0, mid), QPointF(5, mid));

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPolygon(QPolygonF({QPointF(5, mid),
                                   QPointF(mid + 5, 0),
                                   QPointF(w - mid, 0),
                                   QPointF(w, mid),
                                   QPointF(w - mid, h),
                                   QPointF(mid + 5, h)}));

    painter.setFont(r7widgets::widgetFont(11));
    painter.setPen(r7widgets::colours::labelText);
    painter.drawText(QRectF(5, 0, w - 5, h), Qt::AlignCenter, text());
}
