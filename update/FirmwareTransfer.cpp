#include "update/FirmwareTransfer.h"

#include "app/AircraftParams.h"
#include "link/seriallink.h"

#include <QDebug>
#include <QFile>
#include <QStringList>

namespace {
const char *const kModules[] = {"FCU", "IMU", "GMU", "LIU", "OSD", "DLU", "PMU", "IMUEX", "DGPS", "DCU"};
}

FirmwareTransfer::FirmwareTransfer(SerialLink *link, VersionLookup catalogueVersion,
                                   AircraftParams *params, QObject *parent)
    : QObject(parent)
    , m_link(link)
    , m_catalogueVersion(std::move(catalogueVersion))
    , m_params(params ? *params : aircraftParams())
{}

QString FirmwareTransfer::moduleName() const
{
    return m_moduleId >= 0 && m_moduleId < int(std::size(kModules)) ? QLatin1String(kModules[m_moduleId])
                                                                    : QString();
}

void FirmwareTransfer::start(int moduleId, const QString &file)
{
    m_params.fwPacketIndex = 0;
    m_moduleId = int8_t(moduleId);
    m_filePath = file;
    m_link->requestUav_FirmwareUpdate();
}

void FirmwareTransfer::onReply(uint8_t command)
{
    if ((command & 0xF0) != 0xD0)
        return;
    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const qint64 size = file.size();
    const uint32_t n = m_params.fwPacketIndex;
    const auto count = uint32_t((size + SerialLink::kFirmwareChunkSize - 1) / SerialLink::kFirmwareChunkSize);
    m_params.fwPacketCount = count;

    switch (command) {
    case 0xD2: {
        // Without a major and a minor number the module would be told a made-up version.
        const QStringList parts = m_catalogueVersion(moduleName()).split(QLatin1Char('.'));
        if (parts.size() < 2) {
            Q_EMIT refused(tr("固件版本未知，无法更新"));
            return;
        }
        m_link->requestUav_UpdateModuleAndVersion(char(m_moduleId), char(parts[0].toInt()),
                                                  char(parts[1].toInt()));
        break;
    }
    case 0xD3:
        m_link->requestUav_FirmwareSize(uint32_t(size));
        break;
    case 0xD4:
    case 0xD5: {
        const uint16_t k = uint16_t(n);
        if (k < count) {
            qDebug() << "maxfPacket =" << count << " Packet_idx =" << k;
            Q_EMIT progress(moduleName(), uint8_t(double(k) / count * 100));
            // The chunk is read now, so what leaves is the file as it is at this moment.
            file.seek(qint64(k) * SerialLink::kFirmwareChunkSize);
            m_link->requestUav_SendFirmware(quint16(k + 1), file.read(SerialLink::kFirmwareChunkSize));
        } else {
            Q_EMIT progress(moduleName(), 100);
            m_link->requestUav_SendFirmwareDone();
        }
        break;
    }
    case 0xD6:
        qDebug() << "固件更新成功";
        break;
    default:
        break;
    }
}
