#pragma once

// CH7/CH8 bar: −125 … 125 over 26 divisions; a captioned zone at each end and a grey,
// uncaptioned dead band between them.

#include "widgets/KivZoneBar.h"

class LumSliderReturn : public KivZoneBar
{
    Q_OBJECT

public:
    explicit LumSliderReturn(QWidget *parent = nullptr);

    void setZoneCaptions(const QString &left, const QString &right);
    QStringList zoneCaptions() const { return m_captions; }

    QVector<r7widgets::BarZone> zones() const override;

private:
    QStringList m_captions;
};
