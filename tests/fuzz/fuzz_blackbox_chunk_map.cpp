// The map of a broken-off record's chunks, as a later download finds it on disk: whatever it
// holds, the record is either started over or goes on with chunks that the part file really has.
#include "blackbox/BlackBoxPartialRecord.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/r7-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/r7-fuzz-XXXXXX"));
    const QString file = dir.filePath(QStringLiteral("index1.xls"));
    const BlackBoxRecordIdentity identity{1, QStringLiteral("2024-05-06 06:10:00"), 1280, 10};
    QFile map(BlackBoxPartialRecord::mapPath(file)), part(BlackBoxPartialRecord::partPath(file));
    if (!map.open(QIODevice::WriteOnly)
        || map.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size)
        || !part.open(QIODevice::WriteOnly) || part.write(QByteArray(6 * 128, 'c')) != 6 * 128)
        std::abort();
    map.close(), part.close();
    BlackBoxPartialRecord record;
    record.begin(file, identity);
    for (int n = 1; n <= identity.chunks; ++n) {
        const bool stored = record.nextMissing(n - 1) != n;
        if (n > 6 && stored)
            std::abort(); // the map named a chunk beyond the part file
        if (stored && record.chunk(n).size() != BlackBoxPartialRecord::kChunkSize)
            std::abort();
    }
    record.discard();
    return 0;
}
