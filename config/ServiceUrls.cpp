#include "config/ServiceUrls.h"

#include <QUrlQuery>

namespace {

QUrl &baseUrl()
{
    static QUrl url(QString::fromLatin1(DefaultServiceBaseUrl));
    return url;
}

// The base's own path is a prefix (services behind a proxy often live below a path).
QUrl withPath(const QUrl &base, const QString &path)
{
    QUrl url = base;
    url.setPath(base.path() + path);
    return url;
}

} // namespace

QUrl serviceBaseUrl()
{
    return baseUrl();
}

bool isValidServiceBaseUrl(const QUrl &url)
{
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
           && !url.host().isEmpty() && url.userInfo().isEmpty() && !url.hasQuery()
           && !url.hasFragment();
}

bool setServiceBaseUrl(const QUrl &url)
{
    if (!isValidServiceBaseUrl(url))
        return false;
    QUrl base;
    base.setScheme(url.scheme());
    base.setHost(url.host());
    base.setPort(url.port());
    QString path = url.path();
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    base.setPath(path);
    baseUrl() = base;
    return true;
}

QUrl firmwareCatalogueUrl()
{
    return withPath(baseUrl(), QStringLiteral("/api/firmware/R7-A"));
}

QUrl softwareVersionUrl()
{
    QUrl url = withPath(baseUrl(), QStringLiteral("/api/software/last"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("platform"), QStringLiteral("windows"));
    query.addQueryItem(QStringLiteral("type"), QStringLiteral("1"));
    query.addQueryItem(QStringLiteral("name"), QStringLiteral("调参软件"));
    url.setQuery(query);
    return url;
}

QUrl firmwareIniDefaultUrl()
{
    // The user's configuration keeps the maker's address, whatever service this run talks to (a
    // simulated run must leave the file as a normal one would write it).
    return withPath(QUrl(QString::fromLatin1(DefaultServiceBaseUrl)), QStringLiteral("/api/firmware/R7"));
}
