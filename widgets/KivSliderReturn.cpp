#include "widgets/KivSliderReturn.h"

using namespace r7widgets;

KivSliderReturn::KivSliderReturn(QWidget *parent)
    : KivZoneBar(26, -150, 150, -100, parent)
    , m_captions({tr("N/A"), tr("N/A"), tr("N/A")})
{}

void KivSliderReturn::setZoneCaptions(const QString &left,
                                      const QString &middle,
                                      const QString &right)
{
    m_captions = {left, middle, right};
    update();
}

QVector<BarZone> KivSliderReturn::zones() const
{
    return {
        {1, 9, colours::handle, m_captions.at(0)},
        {9, 17, colours::centreMark, m_captions.at(1)},
        {17, 25, colours::handle, m_captions.at(2)},
    };
}
