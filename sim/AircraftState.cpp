#include "sim/AircraftState.h"

#include "sim/ModuleTable.h"

AircraftState::AircraftState()
{
    for (int i = 0; i < ModuleTable::kCount; ++i) {
        versions[size_t(i)].major = ModuleTable::module(i).fittedMajor;
        versions[size_t(i)].minor = ModuleTable::module(i).fittedMinor;
    }
}

qint32 AircraftState::minutesToService() const
{
    return qint32(settings.maintenanceCycle) - qint32(flightMinutes - flightMinutesAtService);
}

quint32 AircraftState::powerOnMinutes(qint64 nowMs) const
{
    return powerOnMinutesBase + quint32(qMax<qint64>(0, nowMs) / 60000);
}

void AircraftState::restoreFactorySettings()
{
    settings = AircraftSettings::factory();
    rcCalibrating = false;
    pumpRunning = 0;
}
