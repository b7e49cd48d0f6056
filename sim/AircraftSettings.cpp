#include "sim/AircraftSettings.h"

#include <tuple>

int AircraftSettings::motorCount() const
{
    if (uavType >= 2 && uavType <= 5)
        return 6;
    if (uavType >= 6 && uavType <= 8)
        return 8;
    return 4;
}

namespace {
auto tie(const AircraftSettings &s)
{
    return std::tie(s.uavType, s.gpsPosX, s.gpsPosY, s.receiverType, s.channelReverse, s.motorIdle,
                    s.wheelbase, s.gainAttitude, s.gainStability, s.gainThrottle, s.batteryCells,
                    s.voltageOffset, s.lowVoltage1, s.lowVoltage2, s.protectionAction,
                    s.failsafeAction, s.heightLimit, s.returnHeight, s.sprayWidth, s.workSpeed,
                    s.pumpSpeed, s.smallPumpSpeed, s.extSwitch1, s.extSwitch2, s.maintenanceCycle);
}
} // namespace

bool AircraftSettings::operator==(const AircraftSettings &other) const
{
    return tie(*this) == tie(other);
}
