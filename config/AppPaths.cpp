#include "config/AppPaths.h"

#include "config/AppConstants.h"

#include <QDir>

QString dataFolderPath()
{
    return QDir::homePath() + QStringLiteral("/Vardeck/R7Assistant/Data/");
}

QString configFilePath()
{
    return dataFolderPath() + QStringLiteral("Ini/") + QLatin1String(ConfigFileName);
}
