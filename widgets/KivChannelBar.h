#pragma once

// Common base of the read-only channel bars: a value drawn against a fixed range. The bars show
// a radio channel exactly as it arrives, so the value is neither checked nor clamped.

#include "widgets/SliderGeometry.h"

#include <QWidget>

class KivChannelBar : public QWidget
{
    Q_OBJECT

public:
    float value() const { return m_value; }
    float minimum() const { return m_minimum; }
    float maximum() const { return m_maximum; }
    int divisionCount() const { return m_divisions; }

    r7widgets::SliderGeometry geometryForWidth(qreal width) const;
    // x of the current value in the current width (tests and subclasses).
    qreal valueX() const;

public slots:
    // Stores the value and repaints; nothing else.
    void setValue(float value);

protected:
    KivChannelBar(int divisions, float minimum, float maximum, float initialValue, QWidget *parent);

    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

    virtual void paintBar(QPainter &painter, const r7widgets::SliderGeometry &geometry) = 0;

private:
    const int m_divisions;
    const float m_minimum;
    const float m_maximum;
    float m_value;
};
