// Chunks of a record, as the download hands them over (any number, order and length), through the
// pairing into blocks and the export: the file always ends up as the header and whole lines.
#include "blackbox/BlackBoxChunkAssembler.h"
#include "blackbox/BlackBoxSample.h"
#include "blackbox/LumBlackBoxesData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Every run writes and commits a file: in memory where the system offers it, to stay fast.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/r7-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/r7-fuzz-XXXXXX"));
    static LumBlackBoxesData store;
    store.setExportDir(dir.path());
    if (!store.startRecord(1, QStringLiteral("2024-05-06time22-30-00")))
        std::abort();
    // Each chunk: its number (one byte), its length (one byte), its data.
    BlackBoxChunkAssembler assembler;
    int markedBlocks = 0;
    for (size_t at = 0; at + 2 <= size;) {
        const size_t length = qMin<size_t>(data[at + 1], size - at - 2);
        const QByteArray chunk(reinterpret_cast<const char *>(data + at + 2), qsizetype(length));
        QByteArray block;
        if (assembler.add(data[at], chunk, &block)) {
            store.SlotGetBlackBoxesData(block);
            markedBlocks += block.size() >= LumBlackBoxesData::kBlockSize && block[2] == 0x41;
        }
        at += 2 + length;
    }
    if (!store.finishRecord())
        std::abort();
    QFile file(dir.filePath(
        LumBlackBoxesData::recordFileName(1, QStringLiteral("2024-05-06time22-30-00"))));
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.size() != 2 + 2 * markedBlocks || !lines.last().isEmpty())
        std::abort(); // header, two lines a marked block, nothing after the last line feed
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].count('\t') != BlackBoxSample::kColumns || !lines[i].endsWith('\t'))
            std::abort();
    }
    return 0;
}
