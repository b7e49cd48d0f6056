#pragma once

#include "sim/TelemetrySample.h"

#include <QList>

// A plausible spraying sortie sampled at a fixed interval: a moment on the ground, take-off to
// spray height, transit to the field, back-and-forth spray passes at work speed, return home at
// a higher altitude, landing, and a moment on the ground again. Everything follows from the record
// number, so a record is the same every time it is built.
class SyntheticFlight
{
public:
    static QList<TelemetrySample> fly(int recordNumber, int sampleCount, double sampleSeconds);
};
