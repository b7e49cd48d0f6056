#include "config/Configuration.h"

#include "app/LinkConnected.h"

Configuration::Configuration()
{
    queryLanguage();
}

bool isLinkConnected()
{
    return linkConnected != 0;
}
