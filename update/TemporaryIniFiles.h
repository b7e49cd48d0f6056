#pragma once

#include <QString>

// The update page clears "IniTmp" in the data folder when it is built. Only regular files directly
// in it are deleted, never through a link: a link (to a file or as the folder itself) is left
// alone, and so are sub-folders. Returns how many files were deleted.
int removeTemporaryIniFiles(const QString &dataFolder);
