#include "sim/ModuleTable.h"

#include <array>

namespace {
// Newer on the service for FCU, GMU, PMU; equal for IMU, OSD, DCU; LIU, DLU, IMUEX and DGPS are
// not fitted to the simulated aircraft.
constexpr std::array<ModuleInfo, ModuleTable::kCount> kModules = {{
    {"FCU", 3, 11, 3, 12, 384 * 1024},
    {"IMU", 1, 4, 1, 4, 192 * 1024},
    {"GMU", 2, 5, 2, 6, 256 * 1024},
    {"LIU", 0, 0, 1, 3, 160 * 1024},
    {"OSD", 1, 0, 1, 0, 128 * 1024},
    {"DLU", 0, 0, 2, 1, 224 * 1024},
    {"PMU", 1, 8, 1, 9, 176 * 1024},
    {"IMUEX", 0, 0, 1, 1, 144 * 1024},
    {"DGPS", 0, 0, 1, 0, 208 * 1024},
    {"DCU", 2, 0, 2, 0, 240 * 1024},
}};
} // namespace

const ModuleInfo &ModuleTable::module(int index)
{
    return kModules[size_t(qBound(0, index, kCount - 1))];
}

int ModuleTable::indexOf(const QString &name)
{
    for (int i = 0; i < kCount; ++i) {
        if (name == QLatin1String(kModules[size_t(i)].name))
            return i;
    }
    return -1;
}

QString ModuleTable::offeredVersion(int index)
{
    const ModuleInfo &m = module(index);
    return QStringLiteral("%1.%2").arg(m.offeredMajor).arg(m.offeredMinor);
}

QByteArray ModuleTable::image(int index)
{
    const ModuleInfo &m = module(index);
    QByteArray bytes = QStringLiteral("R7FW %1 %2\n").arg(QLatin1String(m.name), offeredVersion(index)).toLatin1();
    bytes.reserve(m.imageSize);
    quint32 x = 0x9E3779B9u ^ quint32(index + 1) * 0x85EBCA6Bu; // xorshift32, never zero
    while (bytes.size() < m.imageSize) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        bytes.append(char(x & 0xFF));
    }
    bytes.truncate(m.imageSize);
    return bytes;
}
