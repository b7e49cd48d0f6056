#pragma once

// Horizontal slider with an arrow handle for values the user sets (gains, pump speeds).
// A value pushed in as an int (from a spin box) never echoes back through the signals, so a
// bar and a spin box can be wired to each other without a loop.

#include "widgets/SliderGeometry.h"

#include <QPoint>
#include <QPolygonF>
#include <QWidget>

class KivSliderControl : public QWidget
{
    Q_OBJECT

public:
    explicit KivSliderControl(QWidget *parent = nullptr);

    float value() const { return m_value; }
    float minimum() const { return m_minimum; }
    float maximum() const { return m_maximum; }
    int divisionCount() const { return m_divisions; }
    bool isHovered() const { return m_hovered; }
    bool isDragging() const { return m_dragging; }

    // Neither setter moves the value into the new range (the page sets a value afterwards),
    // and neither emits: a value left outside the old range is quietly put back at its end.
    void setMinimum(float minimum);
    void setMaximum(float maximum);

    r7widgets::SliderGeometry sliderGeometry() const;
    qreal handleX() const;
    QPolygonF handleShape() const;

    QSize sizeHint() const override;

signals:
    void sig_valueChange(float value);
    void SignalValueChangInt(int value);
    void SignalValueChange(double value);

public slots:
    // Silent: for values pushed in from a spin box.
    void setValue(int value);
    // Ignores values outside the range or equal to the current one; otherwise stores the value
    // and, when isEmit is set, emits the three value signals in declaration order.
    void setValue(float value, bool isEmit);
    // Same as setValue(value, true).
    void setValue(float value);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void setHovered(bool hovered);

    float m_value = 0;
    float m_minimum = 0;
    float m_maximum = 3;
    int m_divisions = 22;
    bool m_hovered = false;
    bool m_dragging = false;
    QPoint m_pressPos;
};
