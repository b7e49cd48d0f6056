#pragma once

#include <optional>

// The arithmetic of the spray-rate helper. A rate of L per hectare flown at v m/s with a swath of
// w m covers v x w m² a second, so the pumps deliver L/ha x v x w / 10 000 L/s, that is
// L/ha x v x w x 0.006 L/min. Every input must be a positive, finite number: anything else gives
// no result rather than a zero or an infinite one.
namespace SprayRate {

// Flow the pumps must deliver, in litres per minute.
std::optional<double>
requiredFlow(double litresPerHectare, double metresPerSecond, double widthMetres);

// Flow measured in a timed pump run: litres collected in so many seconds, in litres per minute.
std::optional<double> measuredFlow(double litres, double seconds);

// Pump percentage that delivers the target flow, from a timed run at a known percentage. The
// flow is taken as proportional to the percentage (the pump's own curve is not known), so a run
// near the target percentage gives the best answer.
std::optional<double>
pumpPercentFor(double targetFlow, double litres, double seconds, double runPercent);

} // namespace SprayRate
