#include "update/DownloadMgr.h"

#include "config/AppPaths.h"
#include "config/ServiceUrls.h"

#include <QDebug>
#include <QDir>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>

#include <cstdio>

namespace {
bool isSafeName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
           && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
           && !name.contains(QChar(0));
}
} // namespace

DownloadMgr::DownloadMgr(QObject *parent)
    : QObject(parent)
    , m_manager(new QNetworkAccessManager(this))
{
    qRegisterMetaType<StructReplyInfo>();
    connect(m_manager, &QNetworkAccessManager::finished, this, &DownloadMgr::downloadFinished);
}

QString DownloadMgr::imageFileName(const QUrl &url)
{
    // The last segment is cut from the encoded path first, so an encoded "/" stays inside it
    // and is caught once decoded.
    const QString encoded = url.path(QUrl::FullyEncoded).section(QLatin1Char('/'), -1);
    const QString name = QUrl::fromPercentEncoding(encoded.toUtf8());
    return isSafeName(name) ? name : QString();
}

bool DownloadMgr::isAcceptableImageUrl(const QUrl &image, const QUrl &catalogue)
{
    const QString scheme = image.scheme();
    if (!image.isValid() || image.host().isEmpty())
        return false;
    if (scheme == QLatin1String("https"))
        return true;
    return scheme == QLatin1String("http") && catalogue.scheme() != QLatin1String("https");
}

QString DownloadMgr::imageFolder(const QString &module)
{
    return dataFolderPath() + QStringLiteral("Firmware/") + module + QLatin1Char('/');
}

bool DownloadMgr::isDownloading(const StructReplyInfo &info) const
{
    for (const StructReplyInfo &pending : m_replies) {
        if (pending.type == info.type && pending.strName == info.strName
            && pending.strUrl == info.strUrl)
            return true;
    }
    return false;
}

void DownloadMgr::abortImageDownloads(const QString &module)
{
    const QList<QNetworkReply *> replies = m_replies.keys();
    for (QNetworkReply *reply : replies) {
        if (m_replies.value(reply).type == 1 && m_replies.value(reply).strName == module)
            reply->abort(); // finishes with an error: nothing is saved
    }
}

void DownloadMgr::fail(const StructReplyInfo &info, const QString &reason)
{
    qDebug() << "download failed:" << info.strUrl << reason;
    Q_EMIT downloadFailed(info, reason);
}

void DownloadMgr::download(StructReplyInfo info)
{
    const QUrl url(info.strUrl, QUrl::TolerantMode);
    if (info.type == 1) {
        if (!isSafeName(info.strName) || !isAcceptableImageUrl(url, firmwareCatalogueUrl())) {
            fail(info, QStringLiteral("image address not accepted"));
            return;
        }
        if (imageFileName(url).isEmpty()) {
            fail(info, QStringLiteral("no usable file name in the image address"));
            return;
        }
    } else if (!url.isValid() || url.isEmpty()) {
        fail(info, QStringLiteral("invalid address"));
        return;
    }
    QNetworkRequest request(url);
    request.setTransferTimeout(kTransferTimeoutMs);
    QNetworkReply *reply = m_manager->get(request);
    m_replies.insert(reply, info);
    const qint64 limit = info.type == 1 ? kMaxImageBytes : kMaxTextBytes;
    // A body larger than anything usable is not fetched to the end.
    connect(reply,
            &QNetworkReply::downloadProgress,
            reply,
            [reply, limit](qint64 received, qint64 total) {
                if (received > limit || total > limit)
                    reply->abort();
            });
#if QT_CONFIG(ssl)
    connect(reply, &QNetworkReply::sslErrors, this, &DownloadMgr::sslErrors);
#endif
}

void DownloadMgr::sslErrors(QList<QSslError> errors)
{
#if QT_CONFIG(ssl)
    // Reported, never ignored: the request then ends with an error.
    for (const QSslError &error : std::as_const(errors))
        std::fprintf(stderr, "SSL error: %s\n", qPrintable(error.errorString()));
    Q_EMIT certificateRefused();
#else
    Q_UNUSED(errors);
#endif
}

void DownloadMgr::downloadFinished(QNetworkReply *reply)
{
    reply->deleteLater();
    if (!m_replies.contains(reply))
        return;
    StructReplyInfo info = m_replies.take(reply);
    const qint64 limit = info.type == 1 ? kMaxImageBytes : kMaxTextBytes;
    if (reply->error() != QNetworkReply::NoError) {
        fail(info, reply->errorString());
        return;
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray body = reply->read(limit + 1);
    if (status != 200 || body.isEmpty() || body.size() > limit) {
        fail(info, QStringLiteral("HTTP %1 with %2 bytes").arg(status).arg(body.size()));
        return;
    }
    if (info.type == 2) {
        const qsizetype zero = body.indexOf('\0');
        info.strUrl = QString::fromUtf8(zero < 0 ? body : body.left(zero));
    } else {
        QString error;
        if (!saveImage(info, body, &error)) {
            // A file that was not written is no image to offer.
            std::fprintf(stderr,
                         "Could not open %s for writing: %s\n",
                         qPrintable(info.strUrl),
                         qPrintable(error));
            fail(info, error);
            return;
        }
    }
    Q_EMIT saveFinished(info);
}

bool DownloadMgr::saveImage(StructReplyInfo &info, const QByteArray &body, QString *error)
{
    const QString folder = imageFolder(info.strName);
    if (!QDir().mkpath(folder)) {
        qDebug() << folder << "Failed to create directory!";
        *error = QStringLiteral("the folder could not be created");
        return false;
    }
    const QString path = folder + imageFileName(QUrl(info.strUrl, QUrl::TolerantMode));
    info.strUrl = path;
    // Written whole or not at all: the old image stays until the new one is complete.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(body) != body.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
