#include "sim/SimulatedServices.h"

#include "sim/FirmwareCatalogue.h"
#include "sim/ModuleTable.h"

#include <QHostAddress>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>

namespace {
using Status = QHttpServerResponder::StatusCode;
} // namespace

SimulatedServices::SimulatedServices(QObject *parent)
    : QObject(parent)
{}

SimulatedServices::~SimulatedServices() = default;

QString SimulatedServices::productName()
{
    return QStringLiteral("调参软件");
}

bool SimulatedServices::start(quint16 port)
{
    stop();
    m_server = std::make_unique<QHttpServer>();
    m_server->route("/api/firmware/R7-A",
                    [this](const QHttpServerRequest &, QHttpServerResponder &&responder) {
                        answer(Endpoint::Catalogue, QStringLiteral("/api/firmware/R7-A"),
                               std::move(responder), 200, catalogueBody(), "application/json");
                    });
    m_server->route("/files/<arg>", [this](const QString &file, const QHttpServerRequest &,
                                           QHttpServerResponder &&responder) {
        const int module = FirmwareCatalogue::moduleOfFileName(file);
        const QString path = QStringLiteral("/files/") + file;
        if (m_files.contains(file)) {
            const auto &[status, body] = m_files[file];
            answer(Endpoint::Images, path, std::move(responder), status, body, "application/octet-stream");
            return;
        }
        if (module < 0) {
            answer(Endpoint::Images, path, std::move(responder), 404, "no such file\n", "text/plain");
            return;
        }
        answer(Endpoint::Images, path, std::move(responder), 200, ModuleTable::image(module),
               "application/octet-stream");
    });
    m_server->route("/api/software/last",
                    [this](const QHttpServerRequest &request, QHttpServerResponder &&responder) {
                        int status = 200;
                        const QByteArray body = softwareBody(request, &status);
                        answer(Endpoint::SoftwareVersion, QStringLiteral("/api/software/last"),
                               std::move(responder), status, body, "application/json");
                    });
#if QT_CONFIG(ssl)
    if (!m_certificate.isNull())
        m_server->sslSetup(m_certificate, m_key);
#endif
    m_port = m_server->listen(QHostAddress::LocalHost, port);
    if (m_port == 0) {
        m_server.reset();
        return false;
    }
    return true;
}

void SimulatedServices::setTls(const QSslCertificate &certificate, const QSslKey &key)
{
    m_certificate = certificate;
    m_key = key;
}

void SimulatedServices::stop()
{
    m_server.reset();
    m_port = 0;
}

QUrl SimulatedServices::baseUrl() const
{
    const char *scheme = m_certificate.isNull() ? "http" : "https";
    return QUrl(QStringLiteral("%1://127.0.0.1:%2").arg(QLatin1String(scheme)).arg(m_port));
}

QUrl SimulatedServices::catalogueUrl() const
{
    return QUrl(baseUrl().toString() + QStringLiteral("/api/firmware/R7-A"));
}

QUrl SimulatedServices::softwareVersionUrl() const
{
    QUrl url(baseUrl().toString() + QStringLiteral("/api/software/last"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("platform"), QStringLiteral("windows"));
    query.addQueryItem(QStringLiteral("type"), QStringLiteral("1"));
    query.addQueryItem(QStringLiteral("name"), productName());
    url.setQuery(query);
    return url;
}

void SimulatedServices::setFault(Endpoint endpoint, Fault fault)
{
    if (fault == Fault::None)
        m_faults.remove(endpoint);
    else
        m_faults.insert(endpoint, fault);
}

QJsonObject SimulatedServices::defaultCatalogue() const
{
    return FirmwareCatalogue::document(baseUrl().toString());
}

void SimulatedServices::setCatalogue(const QJsonObject &catalogue)
{
    m_catalogue = catalogue;
}

void SimulatedServices::setFile(const QString &name, const QByteArray &body, int status)
{
    m_files.insert(name, {status, body});
}

QByteArray SimulatedServices::catalogueBody() const
{
    return QJsonDocument(m_catalogue.value_or(defaultCatalogue())).toJson(QJsonDocument::Indented);
}

QByteArray SimulatedServices::softwareBody(const QHttpServerRequest &request, int *status) const
{
    const QUrlQuery query(request.url());
    const bool known = !query.queryItemValue(QStringLiteral("platform")).isEmpty()
                       && query.queryItemValue(QStringLiteral("type")) == QLatin1String("1")
                       && query.queryItemValue(QStringLiteral("name"), QUrl::FullyDecoded) == productName();
    QJsonObject reply;
    if (!known) {
        *status = 404;
        reply.insert(QStringLiteral("code"), 404);
        reply.insert(QStringLiteral("msg"), QStringLiteral("unknown product"));
        return QJsonDocument(reply).toJson(QJsonDocument::Compact);
    }
    QJsonObject info;
    if (m_versionAsNumber)
        info.insert(QStringLiteral("version"), m_softwareVersion.toDouble());
    else
        info.insert(QStringLiteral("version"), m_softwareVersion);
    info.insert(QStringLiteral("url"),
                baseUrl().toString() + QStringLiteral("/download/R7Assistant-%1.exe").arg(m_softwareVersion));
    info.insert(QStringLiteral("releaseDate"), QStringLiteral("2024-05-20"));
    reply.insert(QStringLiteral("code"), 200);
    reply.insert(QStringLiteral("msg"), QStringLiteral("ok"));
    reply.insert(QStringLiteral("info"), info);
    return QJsonDocument(reply).toJson(QJsonDocument::Compact);
}

void SimulatedServices::answer(Endpoint endpoint, const QString &path,
                               QHttpServerResponder &&responder, int status,
                               const QByteArray &body, const QByteArray &mimeType)
{
    const Fault f = fault(endpoint);
    switch (f) {
    case Fault::ServerError:
        responder.write(QByteArray("internal server error\n"), "text/plain", Status::InternalServerError);
        emit requestServed(path, 500);
        return;
    case Fault::NotJson:
        responder.write(QByteArray("<html><body><h1>Service temporarily unavailable</h1></body></html>\n"),
                        "text/html", Status::Ok);
        emit requestServed(path, 200);
        return;
    case Fault::ShortBody:
        responder.write(body.left(body.size() / 2), mimeType, Status(status));
        emit requestServed(path, status);
        return;
    case Fault::Truncated: {
        // Promise the whole body, send half of it, hang up.
        responder.writeStatusLine(Status(status));
        responder.writeHeader("Content-Type", mimeType);
        responder.writeHeader("Content-Length", QByteArray::number(body.size()));
        responder.writeBody(body.left(body.size() / 2));
        if (QTcpSocket *socket = responder.socket())
            socket->disconnectFromHost();
        emit requestServed(path, status);
        return;
    }
    case Fault::Slow: {
        // Keep the responder and answer later; if the client gave up meanwhile, its socket is
        // gone and nothing is written.
        auto held = std::make_shared<QHttpServerResponder>(std::move(responder));
        QPointer<QTcpSocket> socket = held->socket();
        QTimer::singleShot(m_slowMs, this, [this, held, socket, path, status, body, mimeType] {
            if (socket && socket->state() == QAbstractSocket::ConnectedState)
                held->write(body, mimeType, Status(status));
            emit requestServed(path, socket ? status : 0);
        });
        return;
    }
    case Fault::None:
        break;
    }
    responder.write(body, mimeType, Status(status));
    emit requestServed(path, status);
}
