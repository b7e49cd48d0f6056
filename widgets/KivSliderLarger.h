#pragma once

// CH5 bar (flight mode): −125 … 125 over 26 divisions, five fixed mode zones.

#include "widgets/KivZoneBar.h"

class KivSliderLarger : public KivZoneBar
{
    Q_OBJECT

public:
    explicit KivSliderLarger(QWidget *parent = nullptr);

    QVector<r7widgets::BarZone> zones() const override;
};
