#include "widgets/LumSliderReturn.h"

using namespace r7widgets;

LumSliderReturn::LumSliderReturn(QWidget *parent)
    : KivZoneBar(26, -125, 125, -100, parent)
    , m_captions({tr("N/A"), tr("N/A")})
{}

void LumSliderReturn::setZoneCaptions(const QString &left, const QString &right)
{
    m_captions = {left, right};
    update();
}

QVector<BarZone> LumSliderReturn::zones() const
{
    return {
        {1, 9, colours::handle, m_captions.at(0)},
        {9, 17, colours::neutralZone, QString()},
        {17, 25, colours::centreMark, m_captions.at(1)},
    };
}
