#include "update/FirmwareVersion.h"

#include <QStringList>

std::optional<FirmwareVersion> parseFirmwareVersion(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() < 2)
        return std::nullopt;
    FirmwareVersion version{parts[0].trimmed().toInt(), parts[1].trimmed().toInt()};
    const auto fitsByte = [](int n) {
        return n >= 0 && n <= 255;
    };
    if (!fitsByte(version.major) || !fitsByte(version.minor))
        return std::nullopt;
    return version;
}

bool sameFirmwareVersion(const QString &a, const QString &b)
{
    const auto left = parseFirmwareVersion(a);
    const auto right = parseFirmwareVersion(b);
    return left && right && *left == *right;
}
