#pragma once

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QObject>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>
#include <utility>

class QHttpServer;
class QHttpServerRequest;
class QHttpServerResponder;

// The maker's two web services, served locally on 127.0.0.1 and a port the system picks: the
// firmware catalogue at "/api/firmware/R7-A" with the image files it names, and the
// software-version query at "/api/software/last". Each endpoint can be told to fail.
class SimulatedServices : public QObject
{
    Q_OBJECT

public:
    enum class Endpoint { Catalogue, Images, SoftwareVersion };
    Q_ENUM(Endpoint)
    enum class Fault {
        None,
        ServerError, // HTTP 500
        NotJson,     // 200 with an HTML page
        Truncated,   // the connection drops halfway through the promised body
        ShortBody,   // a complete answer that carries only the first half of the body
        Slow,        // the right answer, after slowDelay()
    };
    Q_ENUM(Fault)

    explicit SimulatedServices(QObject *parent = nullptr);
    ~SimulatedServices() override;

    // Listens on 127.0.0.1; port 0 lets the system choose.
    bool start(quint16 port = 0);
    // Serves HTTPS with this certificate from the next start() on (a null certificate: plain
    // HTTP again). A self-signed one lets tests play a server the program must not trust.
    void setTls(const QSslCertificate &certificate, const QSslKey &key);
    void stop();
    bool isRunning() const { return m_port != 0; }
    quint16 port() const { return m_port; }
    QUrl baseUrl() const; // http(s)://127.0.0.1:port
    QUrl catalogueUrl() const;
    QUrl softwareVersionUrl() const; // with the program's query

    void setFault(Endpoint endpoint, Fault fault);
    Fault fault(Endpoint endpoint) const { return m_faults.value(endpoint, Fault::None); }
    void setSlowDelay(int msecs) { m_slowMs = msecs; }
    int slowDelay() const { return m_slowMs; }
    void clearFaults() { m_faults.clear(); }

    // What "/api/software/last" names as the latest version; as a JSON number when asked to
    // (the program then formats it with two decimals).
    void setSoftwareVersion(const QString &version) { m_softwareVersion = version; }
    QString softwareVersion() const { return m_softwareVersion; }
    void setSoftwareVersionAsNumber(bool asNumber) { m_versionAsNumber = asNumber; }

    // The catalogue served instead of the generated one (defaultCatalogue(), which names this
    // service's own image files), until resetCatalogue().
    QJsonObject defaultCatalogue() const;
    void setCatalogue(const QJsonObject &catalogue);
    void resetCatalogue() { m_catalogue.reset(); }
    // "/files/<name>" answered with this status and body instead of a module's image.
    void setFile(const QString &name, const QByteArray &body, int status = 200);
    void resetFiles() { m_files.clear(); }

    // Query items the version service expects ("name" is the program's Chinese product name).
    static QString productName();

signals:
    void requestServed(const QString &path, int status);

private:
    void answer(Endpoint endpoint, const QString &path, QHttpServerResponder &&responder,
                int status, const QByteArray &body, const QByteArray &mimeType);
    QByteArray catalogueBody() const;
    QByteArray softwareBody(const QHttpServerRequest &request, int *status) const;

    std::unique_ptr<QHttpServer> m_server;
    quint16 m_port = 0;
    QSslCertificate m_certificate;
    QSslKey m_key;
    QHash<Endpoint, Fault> m_faults;
    int m_slowMs = 2000;
    QString m_softwareVersion = QStringLiteral("1.55");
    bool m_versionAsNumber = false;
    std::optional<QJsonObject> m_catalogue;
    QHash<QString, std::pair<int, QByteArray>> m_files;
};
