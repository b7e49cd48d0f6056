#include "widgets/KivSliderLarger.h"

using namespace r7widgets;

KivSliderLarger::KivSliderLarger(QWidget *parent)
    : KivZoneBar(26, -125, 125, -100, parent)
{}

QVector<BarZone> KivSliderLarger::zones() const
{
    return {
        {1, 5.5, colours::handle, tr("姿态")},
        {5.5, 10.5, colours::centreMark, tr("失控")},
        {10.5, 15.5, colours::handle, tr("作业模式")},
        {15.5, 20.5, colours::centreMark, tr("失控")},
        {20.5, 25, colours::handle, tr("GPS")},
    };
}
