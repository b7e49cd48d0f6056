#include "widgets/KivSliderControl.h"

#include "widgets/SliderPainter.h"

#include <QMouseEvent>
#include <QPainter>

using namespace r7widgets;

KivSliderControl::KivSliderControl(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true); // hovering over the handle changes the cursor
}

SliderGeometry KivSliderControl::sliderGeometry() const
{
    // Derived from the current width and range on every use, so no setter can leave it stale.
    return SliderGeometry(width(), m_divisions, m_minimum, m_maximum);
}

qreal KivSliderControl::handleX() const
{
    return sliderGeometry().xForValue(m_value);
}

QPolygonF KivSliderControl::handleShape() const
{
    return SliderPainter::upPentagon(handleX(), 14, 8, 22, 32);
}

QSize KivSliderControl::sizeHint() const
{
    return QSize(220, 35);
}

void KivSliderControl::setMinimum(float minimum)
{
    if (m_value < m_minimum)
        m_value = m_minimum;
    m_minimum = minimum;
    update();
}

void KivSliderControl::setMaximum(float maximum)
{
    if (m_value > m_maximum)
        m_value = m_maximum;
    m_maximum = maximum;
    update();
}

void KivSliderControl::setValue(int value)
{
    setValue(static_cast<float>(value), false);
}

void KivSliderControl::setValue(float value)
{
    setValue(value, true);
}

void KivSliderControl::setValue(float value, bool isEmit)
{
    if (value > m_maximum || value < m_minimum || value == m_value)
        return;
    m_value = value;
    update();
    if (isEmit) {
        emit sig_valueChange(value);
        emit SignalValueChangInt(static_cast<int>(value)); // truncates toward zero
        emit SignalValueChange(static_cast<double>(value));
    }
}

void KivSliderControl::setHovered(bool hovered)
{
    if (hovered == m_hovered)
        return;
    m_hovered = hovered;
    setCursor(hovered ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void KivSliderControl::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF pos = event->position();
    setHovered(handleShape().containsPoint(pos, Qt::OddEvenFill));
    if (m_dragging) {
        const SliderGeometry geometry = sliderGeometry();
        const qreal v = geometry.clampToRange(geometry.valueForX(pos.x()));
        setValue(static_cast<float>(v), true);
    }
    QWidget::mouseMoveEvent(event);
}

void KivSliderControl::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_hovered) {
        m_dragging = true;
        m_pressPos = event->position().toPoint();
        // Accepting keeps the following moves with this widget when the pointer leaves it.
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void KivSliderControl::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
    QWidget::mouseReleaseEvent(event);
}

void KivSliderControl::leaveEvent(QEvent *event)
{
    // A flag left set after the pointer has gone would let a later press elsewhere grab the
    // handle. While dragging the pointer may leave freely; the drag keeps its own flag.
    setHovered(false);
    QWidget::leaveEvent(event);
}

void KivSliderControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const SliderGeometry geometry = sliderGeometry();
    SliderPainter::drawTrack(painter, geometry, 14, 5);
    SliderPainter::drawTicks(painter, geometry, m_divisions, 6, 14);
    SliderPainter::drawCentreMark(painter, geometry, 6, 14);
    SliderPainter::drawHandle(painter, handleShape());
}
