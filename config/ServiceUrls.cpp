#include "config/ServiceUrls.h"

#include <QUrlQuery>

namespace {

QUrl &baseUrl()
{
    static QUrl url(QString::fromLatin1(DefaultServiceBaseUrl));
    return url;
}

QUrl withPath(const QString &path)
{
    QUrl url = baseUrl();
    url.setPath(path);
    return url;
}

} // namespace

QUrl serviceBaseUrl()
{
    return baseUrl();
}

bool setServiceBaseUrl(const QUrl &url)
{
    const QString scheme = url.scheme();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        || url.host().isEmpty() || !url.userInfo().isEmpty()
        || (!url.path().isEmpty() && url.path() != QLatin1String("/")) || url.hasQuery()
        || url.hasFragment()) {
        return false;
    }
    QUrl base;
    base.setScheme(scheme);
    base.setHost(url.host());
    base.setPort(url.port());
    baseUrl() = base;
    return true;
}

QUrl firmwareCatalogueUrl()
{
    return withPath(QStringLiteral("/api/firmware/R7-A"));
}

QUrl softwareVersionUrl()
{
    QUrl url = withPath(QStringLiteral("/api/software/last"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("platform"), QStringLiteral("windows"));
    query.addQueryItem(QStringLiteral("type"), QStringLiteral("1"));
    query.addQueryItem(QStringLiteral("name"), QStringLiteral("调参软件"));
    url.setQuery(query);
    return url;
}

QUrl firmwareIniDefaultUrl()
{
    return withPath(QStringLiteral("/api/firmware/R7"));
}
