// The software-version service's reply: any body either shows nothing or a link that is a plain
// http(s) address, safe to put into the hint's rich text.
#include "config/SoftwareUpdateCheck.h"

#include <QUrl>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QString &link :
         {parseSoftwareUpdateReply(body), safeDownloadLink(QString::fromUtf8(body))}) {
        if (link.isEmpty())
            continue;
        const QUrl url(link, QUrl::StrictMode);
        const bool plain = !link.contains(QLatin1Char('"')) && !link.contains(QLatin1Char('<'))
                           && !link.contains(QLatin1Char('>')) && !link.contains(QLatin1Char(' '));
        if (!plain || !url.isValid() || !link.startsWith(QLatin1String("http")))
            std::abort();
    }
    return 0;
}
