#pragma once

#include <QByteArray>
#include <QString>

// The configuration file: an INI file created with its defaults on first use and otherwise changed
// only through writeIniValue.

// Makes sure the file's folder exists and, when the file itself is missing, writes it with the
// defaults ("Language", "URL/Firmware", then one "version" key for FCU, GMU, LIU, OSD, PMU and IMU,
// in that order). An existing file is never changed. Returns false when the folder or the file
// could not be created (a debug line says why).
bool ensureConfigFile(const QString &path);

// The text written by ensureConfigFile for a new file.
QByteArray defaultIniText();

// `value` written so that QSettings' INI reader gives it back unchanged.
QString iniEscapedValue(const QString &value);

// Value of `key` ("Section/name" or a top-level name) as text, empty when missing. Creates the file
// with its defaults first when it does not exist.
QString readIniValue(const QString &path, const QString &key);

// Sets `key` to `value`, creating the file with its defaults first when it does not exist.
void writeIniValue(const QString &path, const QString &key, const QString &value);

// The whole content of a file; empty bytes (and the debug line "读取文件不存在") when it does not
// exist.
QByteArray readWholeFile(const QString &path);
