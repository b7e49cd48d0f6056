#pragma once

// Animated on/off switch. The knob slides in 55 equal steps; a click during the slide is
// dropped so that one slide always matches one state change.

#include <QLinearGradient>
#include <QRadialGradient>
#include <QRectF>
#include <QWidget>

class QTimer;

class KivSwitch : public QWidget
{
    Q_OBJECT

public:
    explicit KivSwitch(QWidget *parent = nullptr);

    bool isChecked() const { return m_checked; }
    bool isHovered() const { return m_hovered; }
    bool isAnimating() const { return m_animating; }
    qreal knobOffset() const { return m_offset; }
    qreal travel() const { return m_travel; }
    qreal knobDiameter() const { return m_knobDiameter; }
    int stepCount() const { return m_steps; }

    // Sets the state without a click: emits checkStateChanged on a change, never clicked.
    void setChecked(bool checked);
    // What a click does (Space and Return, and the accessibility interface's press): flips the
    // state and emits clicked; ignored while disabled or during the slide.
    void click();

signals:
    void checkStateChanged(bool checked);
    void clicked(bool checked);

private slots:
    void timerout();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void updateLayout();
    void notifyCheckedChanged();
    void startAnimation();
    QRectF trackRect() const;
    QRectF knobRect() const;

    bool m_checked = false;
    bool m_hovered = false;
    bool m_animating = false;
    qreal m_offset = 0;
    qreal m_travel = 0;
    qreal m_margin = 8;
    qreal m_knobDiameter = 0;
    int m_steps = 55;
    QTimer *m_timer = nullptr;
    QString m_onText;
    QString m_offText;
    QLinearGradient m_offGradient;
    QLinearGradient m_onGradient;
    QRadialGradient m_knobGradient;
};
