#pragma once

#include <QUrl>

// Addresses of the maker's web services: the firmware catalogue and the software-version query.
// The host is set once at start-up (the --service-url option); the built-in one is a reserved
// ".invalid" name that never resolves, so an unconfigured program behaves as if offline.

inline constexpr char DefaultServiceBaseUrl[] = "https://services.r7assistant.invalid";

// scheme://host[:port][/path] of the services; the path, if any, is a prefix of every address.
QUrl serviceBaseUrl();

// http or https with a host, an optional port and path prefix; no user, query or fragment.
bool isValidServiceBaseUrl(const QUrl &url);

// Sets the base when isValidServiceBaseUrl (trailing "/" dropped); returns false and keeps the
// previous address otherwise.
bool setServiceBaseUrl(const QUrl &url);

// Base + "/api/firmware/R7-A".
QUrl firmwareCatalogueUrl();

// Base + "/api/software/last?platform=windows&type=1&name=调参软件", the name percent-encoded as
// UTF-8.
QUrl softwareVersionUrl();

// The maker's own base + "/api/firmware/R7": the "URL/Firmware" default of a new configuration
// file (stored only, never read back), whatever base this run uses.
QUrl firmwareIniDefaultUrl();
