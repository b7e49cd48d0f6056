#include "widgets/KivChannelBar.h"

#include <QEvent>
#include <QPainter>

KivChannelBar::KivChannelBar(
    int divisions, float minimum, float maximum, float initialValue, QWidget *parent)
    : QWidget(parent)
    , m_divisions(divisions)
    , m_minimum(minimum)
    , m_maximum(maximum)
    , m_value(initialValue)
{}

r7widgets::SliderGeometry KivChannelBar::geometryForWidth(qreal width) const
{
    return r7widgets::SliderGeometry(width, m_divisions, m_minimum, m_maximum);
}

qreal KivChannelBar::valueX() const
{
    return geometryForWidth(width()).xForValue(m_value);
}

void KivChannelBar::setValue(float value)
{
    m_value = value;
    update();
}

void KivChannelBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintBar(painter, geometryForWidth(width()));
}

void KivChannelBar::changeEvent(QEvent *event)
{
    // Zone captions are translated while painting; a language switch only needs a repaint.
    if (event->type() == QEvent::LanguageChange)
        update();
    QWidget::changeEvent(event);
}
