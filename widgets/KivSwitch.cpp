#include "widgets/KivSwitch.h"

#include "widgets/KivSwitchAccessible.h"
#include "widgets/SliderGeometry.h"

#include <QAccessible>

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

KivSwitch::KivSwitch(QWidget *parent)
    : QWidget(parent)
    , m_timer(new QTimer(this))
    , m_onText(tr("ON"))
    , m_offText(tr("OFF"))
{
    setFixedSize(95, 36);
    setFocusPolicy(Qt::StrongFocus);
    installKivSwitchAccessibility();
    m_timer->setInterval(1);
    connect(m_timer, &QTimer::timeout, this, &KivSwitch::timerout);
    // A hidden widget gets its first resize event only when shown; the geometry must be
    // right before that for setChecked and the accessors.
    updateLayout();
}

void KivSwitch::updateLayout()
{
    const qreal oldTravel = m_travel;
    m_knobDiameter = height() - m_margin;
    m_travel = width() - m_margin - m_knobDiameter;
    if (m_animating && oldTravel > 0) {
        // Keep a running slide where it is; the deferred first resize of a hidden switch
        // would otherwise cut short an animation started by setChecked.
        m_offset = m_offset / oldTravel * m_travel;
    } else {
        m_offset = m_checked ? m_travel : 0;
    }

    const QRectF track = trackRect();
    const auto verticalStops = [&](QLinearGradient &gradient, const QColor(&colours)[5]) {
        gradient = QLinearGradient(track.topLeft(), track.bottomLeft());
        const qreal positions[5] = {0, 0.2, 0.5, 0.8, 1.0};
        for (int i = 0; i < 5; ++i)
            gradient.setColorAt(positions[i], colours[i]);
    };
    const QColor off[5] = {{56, 56, 56}, {85, 85, 85}, {93, 93, 93}, {85, 85, 85}, {56, 56, 56}};
    const QColor on[5]
        = {{33, 192, 100}, {36, 209, 109}, {39, 229, 119}, {36, 209, 109}, {33, 192, 100}};
    verticalStops(m_offGradient, off);
    verticalStops(m_onGradient, on);

    // Knob gradient in knob coordinates; the painter is moved to the knob.
    const qreal radius = m_knobDiameter / 2;
    m_knobGradient = QRadialGradient(QPointF(radius, radius), radius);
    m_knobGradient.setColorAt(0, QColor(255, 255, 255));
    m_knobGradient.setColorAt(0.9, QColor(255, 255, 255));
    m_knobGradient.setColorAt(1.0, QColor(124, 124, 124));
}

QRectF KivSwitch::trackRect() const
{
    const qreal inset = m_margin / 2;
    return QRectF(inset, inset, width() - m_margin, m_knobDiameter);
}

QRectF KivSwitch::knobRect() const
{
    const qreal inset = m_margin / 2;
    return QRectF(inset + m_offset, inset, m_knobDiameter, m_knobDiameter);
}

void KivSwitch::startAnimation()
{
    m_animating = true;
    m_timer->start();
}

void KivSwitch::setChecked(bool checked)
{
    if (checked != m_checked) {
        m_checked = checked;
        emit checkStateChanged(checked);
        notifyCheckedChanged();
    }
    startAnimation();
}

void KivSwitch::timerout()
{
    const int steps = m_steps > 0 ? m_steps : 1;
    const qreal step = m_travel / steps;
    // Fifty-five float additions can fall a hair short of the end; without the tolerance a
    // 56th tick would be needed.
    const qreal tolerance = step * 1e-6;
    bool done = false;
    if (m_checked) {
        m_offset += step;
        if (m_offset >= m_travel - tolerance) {
            m_offset = m_travel;
            done = true;
        }
    } else {
        m_offset -= step;
        if (m_offset <= tolerance) {
            m_offset = 0;
            done = true;
        }
    }
    if (done) {
        m_timer->stop();
        m_animating = false;
    }
    update();
}

void KivSwitch::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void KivSwitch::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        click();
}

void KivSwitch::click()
{
    if (m_animating || !isEnabled())
        return;
    m_checked = !m_checked;
    emit clicked(m_checked);
    startAnimation();
    notifyCheckedChanged();
}

void KivSwitch::notifyCheckedChanged()
{
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void KivSwitch::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (!event->isAutoRepeat())
            click();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void KivSwitch::focusInEvent(QFocusEvent *event)
{
    update();
    QWidget::focusInEvent(event);
}

void KivSwitch::focusOutEvent(QFocusEvent *event)
{
    update();
    QWidget::focusOutEvent(event);
}

void KivSwitch::enterEvent(QEnterEvent *event)
{
    m_hovered = true;
    update();
    QWidget::enterEvent(event);
}

void KivSwitch::leaveEvent(QEvent *event)
{
    m_hovered = false;
    update();
    QWidget::leaveEvent(event);
}

void KivSwitch::resizeEvent(QResizeEvent *event)
{
    updateLayout();
    QWidget::resizeEvent(event);
}

void KivSwitch::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_onText = tr("ON");
        m_offText = tr("OFF");
        update();
    }
    QWidget::changeEvent(event);
}

void KivSwitch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(r7widgets::widgetFont(11, true));

    const QRectF track = trackRect();
    const qreal radius = m_knobDiameter / 2;
    QPainterPath trackPath;
    // Rounded ends as two circles joined by a rectangle.
    trackPath.setFillRule(Qt::WindingFill);
    trackPath.addEllipse(QRectF(track.left(), track.top(), m_knobDiameter, m_knobDiameter));
    trackPath.addEllipse(
        QRectF(track.right() - m_knobDiameter, track.top(), m_knobDiameter, m_knobDiameter));
    trackPath.addRect(
        QRectF(track.left() + radius, track.top(), track.width() - m_knobDiameter, track.height()));
    trackPath = trackPath.simplified();

    // Text areas: "OFF" where the knob is not when off, "ON" where it is not when on.
    const QRectF offTextRect(track.left() + m_knobDiameter, track.top(), m_travel, track.height());
    const QRectF onTextRect(track.left(), track.top(), m_travel, track.height());

    painter.setPen(Qt::NoPen);
    painter.setBrush(m_offGradient);
    painter.drawPath(trackPath);
    painter.setPen(QColor(255, 255, 255));
    painter.drawText(offTextRect, Qt::AlignCenter, m_offText);

    if (m_offset > 0) {
        // The green part grows with the knob: from the track's start to the knob's centre, and
        // under the whole knob so that its antialiased rim blends into green, not dark grey.
        // Filled as a path, not through a clip path: clip paths are not antialiased, and the
        // rounded left end would come out jagged.
        const QRectF onArea(0, 0, track.left() + m_offset + radius, height());
        QPainterPath onPath;
        onPath.setFillRule(Qt::WindingFill);
        onPath.addRect(onArea);
        onPath.addEllipse(knobRect());
        painter.save();
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_onGradient);
        painter.drawPath(trackPath.intersected(onPath));
        painter.setClipRect(onArea);
        painter.setPen(QColor(255, 255, 255));
        painter.drawText(onTextRect, Qt::AlignCenter, m_onText);
        painter.restore();
    }

    if (m_hovered) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 70));
        painter.drawPath(trackPath);
    }

    if (hasFocus()) {
        // Keyboard focus: a ring around the track.
        painter.setPen(QPen(QColor(34, 192, 99), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(track.adjusted(-2, -2, 2, 2), radius + 2, radius + 2);
    }

    painter.translate(knobRect().topLeft());
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_knobGradient);
    painter.drawEllipse(QRectF(0, 0, m_knobDiameter, m_knobDiameter));
}
