#include "app/ParamConversions.h"

#include <algorithm>
#include <cmath>

namespace ParamConversions {

int32_t truncateScaled(double value, int scale)
{
    // The nudge is far below any digit a spin box carries and far above the binary error of the
    // product, so only representation noise is absorbed.
    const double scaled = value * scale;
    const double nudge = 1e-7 * std::max(1.0, std::fabs(scaled));
    return int32_t(std::trunc(scaled >= 0 ? scaled + nudge : scaled - nudge));
}

uint16_t voltsToWire(double volts)
{
    return uint16_t(truncateScaled(volts, 100));
}

uint16_t sprayValueToWire(double value)
{
    return uint16_t(int32_t((value + 0.005) * 100));
}

double wireToVolts(uint16_t wire)
{
    return wire / 100.0;
}

uint8_t wheelbaseToCode(int millimetres)
{
    return uint8_t(millimetres / 250);
}

int codeToWheelbase(uint8_t code)
{
    return code * 250;
}

uint8_t frameTypeCode(int row, int column)
{
    return uint8_t(3 * (row - 1) + (column - 1));
}

uint8_t receiverOptionToCode(int option)
{
    return uint8_t(3 - option);
}

int receiverCodeToOption(uint8_t code)
{
    return 3 - code;
}

uint8_t toggleChannelReverse(uint8_t mask, int channel)
{
    return uint8_t(mask ^ (1u << (channel - 1)));
}

uint8_t batteryCellsFromVoltage(uint16_t centivolts, uint8_t previous)
{
    static constexpr uint16_t kPerCell = 420;
    for (uint8_t cells = 2; cells <= 6; ++cells) {
        if (centivolts < kPerCell * cells)
            return cells;
    }
    return previous;
}

} // namespace ParamConversions
