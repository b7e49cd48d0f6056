#include "app/SprayRate.h"

#include <cmath>
#include <initializer_list>

namespace {
bool allPositive(std::initializer_list<double> values)
{
    for (double v : values) {
        if (!std::isfinite(v) || v <= 0)
            return false;
    }
    return true;
}
} // namespace

namespace SprayRate {

std::optional<double>
requiredFlow(double litresPerHectare, double metresPerSecond, double widthMetres)
{
    if (!allPositive({litresPerHectare, metresPerSecond, widthMetres}))
        return std::nullopt;
    return litresPerHectare * metresPerSecond * widthMetres * 0.006;
}

std::optional<double> measuredFlow(double litres, double seconds)
{
    if (!allPositive({litres, seconds}))
        return std::nullopt;
    return litres * 60.0 / seconds;
}

std::optional<double>
pumpPercentFor(double targetFlow, double litres, double seconds, double runPercent)
{
    const std::optional<double> measured = measuredFlow(litres, seconds);
    if (!measured || !allPositive({targetFlow, runPercent}))
        return std::nullopt;
    return runPercent * targetFlow / *measured;
}

} // namespace SprayRate
