#include "update/TemporaryIniFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

int removeTemporaryIniFiles(const QString &dataFolder)
{
    const QFileInfo folder(QDir(dataFolder).filePath(QStringLiteral("IniTmp")));
    if (!folder.isDir() || folder.isSymLink())
        return 0;
    int removed = 0;
    const QFileInfoList entries
        = QDir(folder.filePath())
              .entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QFileInfo &entry : entries) {
        if (entry.isFile() && !entry.isSymLink() && QFile::remove(entry.filePath()))
            ++removed;
    }
    return removed;
}
