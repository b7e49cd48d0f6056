#include "config/SoftwareUpdateCheck.h"

#include "config/AppConstants.h"
#include "config/ServiceUrls.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

namespace {
constexpr int TransferTimeoutMs = 30000;
}

QNetworkRequest softwareUpdateRequest()
{
    QNetworkRequest request(softwareVersionUrl());
    request.setTransferTimeout(TransferTimeoutMs);
    return request;
}

QString parseSoftwareUpdateReply(const QByteArray &body)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return {};
    const QJsonObject root = document.object();

    const QJsonValue code = root.value(QLatin1String("code"));
    if (code.isDouble()) {
        // Truncated toward zero like an integer conversion, without overflowing for huge numbers.
        const double number = code.toDouble();
        if (!(number >= 200.0 && number < 201.0))
            return {};
    }

    if (!root.contains(QLatin1String("info")))
        return {};
    const QJsonObject info = root.value(QLatin1String("info")).toObject();

    QString version;
    const QJsonValue versionValue = info.value(QLatin1String("version"));
    if (versionValue.isDouble())
        version = QString::number(versionValue.toDouble(), 'f', 2);
    else if (versionValue.isString())
        version = versionValue.toString();

    const QString link = info.value(QLatin1String("url")).toString();

    if (version.isEmpty() || link.isEmpty() || version == QLatin1String(CurrentVersion))
        return {};
    return safeDownloadLink(link);
}

QString safeDownloadLink(const QString &link)
{
    const QUrl url(link.trimmed(), QUrl::TolerantMode);
    const QString scheme = url.scheme();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        || url.host().isEmpty() || !url.userInfo().isEmpty()) {
        return {};
    }
    return QString::fromLatin1(url.toEncoded(QUrl::FullyEncoded));
}
