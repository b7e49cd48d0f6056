#include "app/ParameterBackup.h"

#include "app/ParameterFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace ParameterBackup {

QString fileName(const QDateTime &when)
{
    return when.toString(QStringLiteral("'backup-'yyyyMMdd-HHmmss'.lum'"));
}

Result write(const AircraftParams &params, const QString &folder, const QDateTime &when)
{
    const QDir dir(folder);
    if (!dir.mkpath(QStringLiteral(".")))
        return {QString(), QDir::toNativeSeparators(dir.absolutePath())};
    QString path = dir.absoluteFilePath(fileName(when));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.absoluteFilePath(
            fileName(when).replace(QLatin1String(".lum"), QStringLiteral("-%1.lum").arg(n)));
    const QByteArray bytes = ParameterFile::encode(params);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return {QString(),
                QDir::toNativeSeparators(path) + QStringLiteral(": ") + file.errorString()};
    return {path, QString()};
}

} // namespace ParameterBackup
