#include "app/AircraftParams.h"

AircraftParams &aircraftParams()
{
    static AircraftParams params;
    return params;
}
