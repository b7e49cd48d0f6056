#pragma once

// Auxiliary-channel bar: a marker above the track and coloured zones below it that name what
// each stick position selects. Subclasses only say which zones they have.

#include "widgets/KivChannelBar.h"
#include "widgets/SliderPainter.h"

class KivZoneBar : public KivChannelBar
{
    Q_OBJECT

public:
    QSize sizeHint() const override;

    // Zones as drawn now (captions already translated).
    virtual QVector<r7widgets::BarZone> zones() const = 0;

protected:
    KivZoneBar(int divisions, float minimum, float maximum, float initialValue, QWidget *parent);

    void paintBar(QPainter &painter, const r7widgets::SliderGeometry &geometry) override;
};
