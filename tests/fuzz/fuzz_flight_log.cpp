// An exported record read back for the plots (the user may pick any file): it loads or is
// refused, and every sample it gives has a finite time.
#include "blackbox/FlightLog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/r7-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/r7-fuzz-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("record.xls"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        std::abort();
    file.close();
    FlightLog log;
    if (!log.load(path))
        return 0;
    for (const FlightLog::Sample &sample : log.samples()) {
        if (!std::isfinite(sample.seconds))
            std::abort();
    }
    return 0;
}
