#pragma once

// Stick-channel bar (roll, pitch, throttle, yaw): −100 … 100 over 22 divisions, handle below
// the track.

#include "widgets/KivChannelBar.h"

class KivSliderMin : public KivChannelBar
{
    Q_OBJECT

public:
    explicit KivSliderMin(QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintBar(QPainter &painter, const r7widgets::SliderGeometry &geometry) override;
};
