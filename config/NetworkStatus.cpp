#include "config/NetworkStatus.h"

#include <QCoreApplication>

bool reachabilityCountsAsOnline(QNetworkInformation::Reachability reachability)
{
    return reachability != QNetworkInformation::Reachability::Disconnected;
}

bool isNetworkOnline()
{
    if (!QCoreApplication::instance())
        return true;
    static bool loadTried = false;
    if (!loadTried) {
        loadTried = true;
        // The default backend needs NetworkManager; the glib one works without it.
        if (!QNetworkInformation::instance() && !QNetworkInformation::loadDefaultBackend())
            QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    }
    const QNetworkInformation *info = QNetworkInformation::instance();
    if (!info || !info->supports(QNetworkInformation::Feature::Reachability))
        return true;
    return reachabilityCountsAsOnline(info->reachability());
}
