#include "update/FirmwareTransfer.h"

#include "app/AircraftParams.h"
#include "config/AppConstants.h"
#include "link/seriallink.h"
#include "update/FirmwareVersion.h"

#include <QDebug>
#include <QFile>

static_assert(FirmwareTransfer::kChunkSize == SerialLink::kFirmwareChunkSize);

FirmwareTransfer::FirmwareTransfer(SerialLink *link,
                                   VersionLookup catalogueVersion,
                                   AircraftParams *params,
                                   QObject *parent)
    : QObject(parent)
    , m_link(link)
    , m_catalogueVersion(std::move(catalogueVersion))
    , m_params(params ? *params : aircraftParams())
{
    // A lost link ends the transfer: its replies can no longer come.
    connect(m_link, &SerialLink::SignalHandShaked, this, [this](bool up) {
        if (!up)
            cancel();
    });
}

QString FirmwareTransfer::moduleName(int id)
{
    return id >= 0 && id < int(ModuleNames.size()) ? QLatin1String(ModuleNames[size_t(id)])
                                                   : QString();
}

void FirmwareTransfer::refuse(const QString &reason)
{
    m_active = false;
    m_image.clear();
    qDebug() << "firmware update refused:" << reason;
    Q_EMIT refused(reason);
}

void FirmwareTransfer::start(int moduleId, const QString &file)
{
    cancel(); // a new start replaces whatever ran
    m_params.fwPacketIndex = 0;
    m_moduleId = int8_t(moduleId);
    const QString module = moduleName(m_moduleId);
    if (module.isEmpty()) {
        refuse(tr("未知的模块，无法更新"));
        return;
    }
    // Without a major and a minor number the module would be told a made-up version.
    const auto version = parseFirmwareVersion(m_catalogueVersion(module));
    if (!version) {
        refuse(tr("%1的固件版本未知，无法更新").arg(module));
        return;
    }
    QFile image(file);
    if (file.isEmpty() || !image.open(QIODevice::ReadOnly)) {
        refuse(tr("%1的固件文件无法读取，无法更新").arg(module));
        return;
    }
    if (image.size() > kMaxImageSize) {
        refuse(tr("%1的固件文件过大，无法更新").arg(module));
        return;
    }
    m_image = image.readAll();
    if (m_image.isEmpty() || m_image.size() != image.size()) {
        refuse(tr("%1的固件文件为空或不完整，无法更新").arg(module));
        return;
    }
    m_major = uint8_t(version->major);
    m_minor = uint8_t(version->minor);
    m_params.fwPacketCount = uint32_t((m_image.size() + kChunkSize - 1) / kChunkSize);
    m_active = true;
    m_link->requestUav_FirmwareUpdate();
}

void FirmwareTransfer::cancel()
{
    m_active = false;
    m_doneSent = false;
    m_image.clear();
}

void FirmwareTransfer::onReply(uint8_t command)
{
    if (command == 0xD6 && m_doneSent) {
        m_doneSent = false;
        qDebug() << "固件更新成功";
        return;
    }
    if ((command & 0xF0) != 0xD0 || !m_active)
        return;
    switch (command) {
    case 0xD2:
        m_link->requestUav_UpdateModuleAndVersion(char(m_moduleId), char(m_major), char(m_minor));
        break;
    case 0xD3:
        m_link->requestUav_FirmwareSize(uint32_t(m_image.size()));
        break;
    case 0xD4:
    case 0xD5:
        sendNextChunk();
        break;
    default:
        break;
    }
}

void FirmwareTransfer::sendNextChunk()
{
    const uint32_t count = m_params.fwPacketCount;
    const uint16_t k = uint16_t(m_params.fwPacketIndex);
    if (k < count) {
        qDebug() << "maxfPacket =" << count << " Packet_idx =" << k;
        Q_EMIT progress(moduleName(m_moduleId), uint8_t(double(k) / count * 100));
        m_link->requestUav_SendFirmware(quint16(k + 1),
                                        m_image.mid(qsizetype(k) * kChunkSize, kChunkSize));
        return;
    }
    Q_EMIT progress(moduleName(m_moduleId), 100);
    // Done is sent once: a late second answer to the last chunk must not send it again.
    m_active = false;
    m_image.clear();
    m_doneSent = true;
    m_link->requestUav_SendFirmwareDone();
}
