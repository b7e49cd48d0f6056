#pragma once

#include "config/AppConstants.h"

#include <QByteArray>
#include <QNetworkRequest>
#include <QString>

// The check for a newer version of this program, without the network and dialog plumbing: the
// main window sends softwareUpdateRequest() once and passes a successful reply's body to
// parseSoftwareUpdateReply(); a non-empty result goes to UpdateHint::showUpdateLink().

// GET request for the software-version service, with a transfer timeout so that a service that
// never answers does not keep the reply open for the program's lifetime.
QNetworkRequest softwareUpdateRequest();

// The download link to show, or empty to show nothing. The body must be a JSON object; a numeric
// "code" other than 200 stops (a non-numeric one is ignored); "info"."version" is a number (written
// with two decimals, 1.6 -> "1.60") or a string (as is); "info"."url" is the link. A hint is due
// when both are non-empty and the version text differs from CurrentVersion. The link is then
// returned only when safeDownloadLink() accepts it.
QString parseSoftwareUpdateReply(const QByteArray &body);

// The link comes from the network and ends up in rich text and in the system browser: accept only
// absolute http or https addresses with a host and without user information. Returns the address
// fully percent-encoded (spaces, quotes and angle brackets cannot survive that), or empty when
// refused.
QString safeDownloadLink(const QString &link);
