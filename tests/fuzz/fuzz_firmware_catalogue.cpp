// A catalogue body as the service sends it, through everything the update page reads from it:
// the look-up by module and key, the version comparison, the release notes and the image's name.
#include "config/AppConstants.h"
#include "config/FirmwareCatalogueStore.h"
#include "update/DownloadMgr.h"
#include "update/FirmwareVersion.h"
#include "update/ReleaseNotesHtml.h"

#include <QUrl>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray body(reinterpret_cast<const char *>(data), qsizetype(size));
    body.truncate(body.indexOf('\0') < 0 ? body.size() : body.indexOf('\0'));
    setVersionText(QString::fromUtf8(body));
    const QUrl catalogue(QStringLiteral("https://firmware.example/api/firmware/R7-A"));
    for (const QString &module : moduleNames()) {
        const auto value = [&module](const char *key) {
            return versionJsonValue(module, QLatin1String(key));
        };
        const QString version = value(FirmwareJsonKey::Version);
        if (const auto parsed = parseFirmwareVersion(version)) {
            const QString shown = QStringLiteral("%1.%2").arg(parsed->major).arg(parsed->minor);
            if (!sameFirmwareVersion(version, shown))
                std::abort(); // the aircraft's report of this very version would differ
        }
        releaseNotesHtml(module,
                         version,
                         value(FirmwareJsonKey::ReleaseDate),
                         value(FirmwareJsonKey::ReleaseNote),
                         false);
        const QUrl image(value(FirmwareJsonKey::Url), QUrl::TolerantMode);
        DownloadMgr::isAcceptableImageUrl(image, catalogue);
        const QString name = DownloadMgr::imageFileName(image);
        if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))
            || name == QLatin1String(".."))
            std::abort(); // the image would land outside its module's folder
    }
    return 0;
}
