#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

struct AircraftParams;
class SerialLink;

// Pushes a firmware image to one module: announce, name module and version, give the size, send
// 242-byte chunks, declare the end. Each step is started by the reply to the previous one; the
// aircraft sets the pace by the packet number it acknowledges.
class FirmwareTransfer : public QObject
{
    Q_OBJECT

public:
    // Catalogue version text ("3.00") of a module name; empty when the catalogue lacks it.
    using VersionLookup = std::function<QString(const QString &module)>;

    FirmwareTransfer(SerialLink *link, VersionLookup catalogueVersion, AircraftParams *params = nullptr,
                     QObject *parent = nullptr);

    void start(int moduleId, const QString &file);
    // Every reply notification of the link; only firmware replies (0xDx) are acted on.
    void onReply(uint8_t command);

    int moduleId() const { return m_moduleId; }
    QString filePath() const { return m_filePath; }

Q_SIGNALS:
    void progress(QString module, uint8_t percent);
    // The transfer cannot go on; the text says why.
    void refused(QString reason);

private:
    QString moduleName() const;

    SerialLink *m_link;
    VersionLookup m_catalogueVersion;
    AircraftParams &m_params;
    int8_t m_moduleId = 0;
    QString m_filePath;
};
