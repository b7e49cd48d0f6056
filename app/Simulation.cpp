#include "app/Simulation.h"

#include "config/ServiceUrls.h"

#ifdef R7_HAVE_SIMULATOR
#include "sim/SimulatedAircraft.h"
#include "sim/SimulatedServices.h"
#endif

#include <QObject>

QString startSimulation(QObject *parent, QString *error)
{
#ifdef R7_HAVE_SIMULATOR
    auto *services = new SimulatedServices(parent);
    if (!services->start()) {
        *error = QStringLiteral("the simulated services could not listen on 127.0.0.1");
        return {};
    }
    setServiceBaseUrl(services->baseUrl());
    auto *aircraft = new SimulatedAircraft(parent);
    if (!aircraft->start()) {
        *error = aircraft->errorString();
        return {};
    }
    return aircraft->slavePath();
#else
    Q_UNUSED(parent);
    *error = QStringLiteral("this build has no simulator (it needs pseudo-terminals)");
    return {};
#endif
}
