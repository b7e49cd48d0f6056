#pragma once

// A copy of the aircraft's parameters taken before something that overwrites them (a factory
// reset, a firmware update): an ordinary parameter file, named after the moment it was taken, so
// that the import reads it back.

#include <QDateTime>
#include <QString>

struct AircraftParams;

namespace ParameterBackup {

// "backup-YYYYMMDD-HHMMSS.lum".
QString fileName(const QDateTime &when);

struct Result
{
    QString path;  // the file written, empty on failure
    QString error; // why it could not be written
};

// Writes the store's values into folder (created if missing) under the dated name; a backup
// taken in the same second as an earlier one gets a number rather than replacing it.
Result write(const AircraftParams &params, const QString &folder, const QDateTime &when);

} // namespace ParameterBackup
