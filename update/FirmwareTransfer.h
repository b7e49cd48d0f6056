#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

struct AircraftParams;
class SerialLink;

// Pushes a firmware image to one module: announce, name module and version, give the size, send
// 242-byte chunks, declare the end. Each step is started by the reply to the previous one; the
// aircraft sets the pace by the packet number it acknowledges.
//
// The image is read once, when the transfer starts, and only that copy is sent: a download that
// rewrites the file meanwhile cannot mix two images. Replies are acted on only while a transfer
// runs (from the start until "done" has been sent), so a late or stray reply sends nothing.
class FirmwareTransfer : public QObject
{
    Q_OBJECT

public:
    static constexpr int kChunkSize = 242;
    // Packet numbers are 16 bits: more chunks than this could never be acknowledged.
    static constexpr qint64 kMaxPackets = 65535;
    static constexpr qint64 kMaxImageSize = kMaxPackets * kChunkSize; // 15,859,470 bytes

    // Catalogue version text ("3.00") of a module name; empty when the catalogue lacks it.
    using VersionLookup = std::function<QString(const QString &module)>;

    FirmwareTransfer(SerialLink *link,
                     VersionLookup catalogueVersion,
                     AircraftParams *params = nullptr,
                     QObject *parent = nullptr);

    // Reads the image and the catalogue version, then announces the update. Refuses (and sends
    // nothing) when either cannot be used.
    void start(int moduleId, const QString &file);
    // Every reply notification of the link; only firmware replies (0xDx) of a running transfer
    // are acted on.
    void onReply(uint8_t command);
    // The link is gone: nothing more is sent for this transfer.
    void cancel();

    bool isActive() const { return m_active; }

    // Name of module `id` of the module list; empty outside it.
    static QString moduleName(int id);

Q_SIGNALS:
    void progress(QString module, uint8_t percent);
    // The transfer was not started; the text says why.
    void refused(QString reason);

private:
    void refuse(const QString &reason);
    void sendNextChunk();

    SerialLink *m_link;
    VersionLookup m_catalogueVersion;
    AircraftParams &m_params;
    int8_t m_moduleId = 0;
    QByteArray m_image;
    uint8_t m_major = 0;
    uint8_t m_minor = 0;
    bool m_active = false;
    bool m_doneSent = false; // until the answer to "done" arrives
};
