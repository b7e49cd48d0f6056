#pragma once

#include <QString>

// Process-wide state of the firmware update, GUI thread only.

// The last firmware-catalogue JSON text received.
void setVersionText(const QString &text);
QString versionText();

// Member `key2` of the object under `key1` in the stored catalogue, as text. Empty when the text is
// not a JSON object, has no `key1`, or that member has no string `key2`.
QString versionJsonValue(const QString &key1, const QString &key2);

// A string-to-string table shared by the catalogue download and the update page: insert or
// replace; look up (empty for a missing key).
void setFileMapValue(const QString &key, const QString &value);
QString fileMapValue(const QString &key);
