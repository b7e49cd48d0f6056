#pragma once

#include <QNetworkInformation>

// Whether the network is up, as the platform's network information backend sees it. The backend is
// loaded on the first call (the default one, else any that reports reachability) and kept until the
// application ends. Without a backend, or without an application object, the answer is "online",
// so that a missing backend never hides the online services.
bool isNetworkOnline();

// Only a disconnected machine counts as offline: a reachable local network is enough for a
// service on the local network (a workshop server or the simulator).
bool reachabilityCountsAsOnline(QNetworkInformation::Reachability reachability);
