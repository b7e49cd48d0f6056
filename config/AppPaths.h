#pragma once

#include <QString>

// Folders and files in the user's home folder. Computed on each call so that a changed HOME (tests)
// is followed.

// Home + "/Vardeck/R7Assistant/Data/" (with the trailing slash).
QString dataFolderPath();

// Home + "/Vardeck/R7Assistant/Data/Ini/firmware.ini".
QString configFilePath();
