#pragma once

// The configuration module: one include gives pages and the update code the language, the INI
// accessors, help paths, the pacing wait, the shared names and the service addresses.
#include "config/AppConstants.h"
#include "config/AppPaths.h"
#include "config/FirmwareCatalogueStore.h"
#include "config/IniFile.h"
#include "config/Language.h"
#include "config/NetworkStatus.h"
#include "config/ServiceUrls.h"
#include "config/WaitWithEvents.h"

// Holds no data; constructing it loads the stored language into languageCode. The application
// creates one at start-up, after making sure the configuration file exists.
class Configuration final
{
public:
    Configuration();
};

// Whether the aircraft link has completed its handshake (the process-wide linkConnected flag).
bool isLinkConnected();
