// Received bytes through the extractor and every reply handler: nothing may read past a frame.
#include "app/AircraftParams.h"
#include "blackbox/BlackBoxDownloadState.h"
#include "link/FrameCodec.h"
#include "link/seriallink.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The handlers' debug lines would drown the log and slow every run.
    static const auto quiet = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    Q_UNUSED(quiet);
    static AircraftParams params;
    static BlackBoxDownloadState blackBox;
    static SerialLink link(nullptr, &params, &blackBox);
    FrameExtractor extractor;
    QList<QByteArray> frames;
    // The first byte splits the input into two reads, as a serial port would deliver it.
    const size_t cut = size ? data[0] % (size + 1) : 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    extractor.extractFrames(bytes.left(qsizetype(cut)), frames);
    extractor.extractFrames(bytes.mid(qsizetype(cut)), frames);
    for (auto it = frames.crbegin(); it != frames.crend(); ++it)
        link.dispatchFrame(*it);
    return 0;
}
