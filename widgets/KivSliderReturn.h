#pragma once

// CH6 bar: −150 … 150 over 26 divisions, three zones whose captions the settings page sets
// in the current language.

#include "widgets/KivZoneBar.h"

class KivSliderReturn : public KivZoneBar
{
    Q_OBJECT

public:
    explicit KivSliderReturn(QWidget *parent = nullptr);

    void setZoneCaptions(const QString &left, const QString &middle, const QString &right);
    QStringList zoneCaptions() const { return m_captions; }

    QVector<r7widgets::BarZone> zones() const override;

private:
    QStringList m_captions;
};
