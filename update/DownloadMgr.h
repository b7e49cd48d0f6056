#pragma once

#include <QHash>
#include <QMetaType>
#include <QObject>
#include <QSslError>
#include <QString>
#include <QUrl>

#include "update/FirmwareTransfer.h"

#include <cstdint>

class QNetworkAccessManager;
class QNetworkReply;

// What travels with a download. On request strUrl is the address; on completion it is the saved
// file's path (type 1) or the received text (type 2).
struct StructReplyInfo
{
    QString strName; // module name of an image; empty for the catalogue
    QString strUrl;
    uint8_t type = 0; // 1: save the body as the module's image file; 2: return it as text
};
Q_DECLARE_METATYPE(StructReplyInfo)

// HTTP downloads of the firmware catalogue (text) and of module images (files under the data
// folder's "Firmware/<module>/"). Only a complete 200 answer with a body counts: anything else,
// TLS errors included, ends as downloadFailed and is never offered as an image.
class DownloadMgr : public QObject
{
    Q_OBJECT

public:
    // An image the transfer can carry; the catalogue is small text.
    static constexpr qint64 kMaxImageBytes = FirmwareTransfer::kMaxImageSize;
    static constexpr qint64 kMaxTextBytes = 1024 * 1024;
    static constexpr int kTransferTimeoutMs = 60000;

    explicit DownloadMgr(QObject *parent = nullptr);

    void download(StructReplyInfo info);
    // A download of the same address for the same purpose is under way.
    bool isDownloading(const StructReplyInfo &info) const;
    // Stops the outstanding image downloads of a module (its image is being flashed).
    void abortImageDownloads(const QString &module);

    // Name an image is saved under: the last part of the URL's path, decoded. Empty when it is
    // empty, "." or "..", or holds a path separator once decoded (nothing may land outside the
    // module's folder).
    static QString imageFileName(const QUrl &url);
    // Images come over http or https only, and never over plain http when the catalogue came
    // over https.
    static bool isAcceptableImageUrl(const QUrl &image, const QUrl &catalogue);
    // Data folder + "Firmware/" + module + "/".
    static QString imageFolder(const QString &module);

Q_SIGNALS:
    void saveFinished(StructReplyInfo stInfo);
    void downloadFailed(StructReplyInfo stInfo, QString reason);
    // A server's certificate failed the check; the request ends as downloadFailed. The user is
    // told why nothing arrives (no error is ever ignored).
    void certificateRefused();

public Q_SLOTS:
    void downloadFinished(QNetworkReply *reply);
    void sslErrors(QList<QSslError> errors);

private:
    void fail(const StructReplyInfo &info, const QString &reason);
    bool saveImage(StructReplyInfo &info, const QByteArray &body, QString *error);

    QNetworkAccessManager *m_manager;
    QHash<QNetworkReply *, StructReplyInfo> m_replies;
};
