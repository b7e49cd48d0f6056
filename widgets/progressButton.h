#pragma once

// Transfer progress as a pie that fills clockwise from 12 o'clock.

#include <QToolButton>

#include <cstdint>

class progressButton : public QToolButton
{
    Q_OBJECT

public:
    explicit progressButton(QWidget *parent = nullptr);

    // Current sweep in 1/16 degree; 5760 is the full circle.
    int sweep() const { return m_sweep; }

    QSize sizeHint() const override;

public slots:
    void progressPaint(uint8_t progress);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_sweep = 16;
};
