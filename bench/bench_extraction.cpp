// Received bytes through the extractor, and through the extractor and every reply handler, as the
// link's worker runs them. Reads come in the sizes a USB serial port delivers.
#include "StreamOfFrames.h"

#include "app/AircraftParams.h"
#include "blackbox/BlackBoxDownloadState.h"
#include "link/FrameCodec.h"
#include "link/seriallink.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

// Args: total bytes, bytes per read.
void BM_Extract(benchmark::State &state)
{
    const QByteArray stream = streamOfFrames(int(state.range(0)));
    const int read = int(state.range(1));
    qint64 frameCount = 0;
    for (auto _ : state) {
        FrameExtractor extractor;
        QList<QByteArray> frames;
        for (int at = 0; at < stream.size(); at += read) {
            frames.clear();
            extractor.extractFrames(stream.mid(at, read), frames);
            frameCount += frames.size();
        }
    }
    state.SetBytesProcessed(state.iterations() * stream.size());
    state.counters["frames"] = benchmark::Counter(double(frameCount) / double(state.iterations()));
}

void BM_ExtractAndDispatch(benchmark::State &state)
{
    const QByteArray stream = streamOfFrames(int(state.range(0)));
    const int read = int(state.range(1));
    AircraftParams params;
    BlackBoxDownloadState blackBox;
    SerialLink link(nullptr, &params, &blackBox);
    for (auto _ : state) {
        FrameExtractor extractor;
        QList<QByteArray> frames;
        for (int at = 0; at < stream.size(); at += read) {
            frames.clear();
            extractor.extractFrames(stream.mid(at, read), frames);
            for (auto it = frames.crbegin(); it != frames.crend(); ++it)
                link.dispatchFrame(*it);
        }
    }
    state.SetBytesProcessed(state.iterations() * stream.size());
}

constexpr int kMiB = 1 << 20;

// The fastest repetition: the least disturbed by whatever else the machine does.
double fastest(const std::vector<double> &v)
{
    return *std::min_element(v.begin(), v.end());
}

} // namespace

// 4 and 8 MiB: twice the bytes should take twice the time (cost linear in the input).
BENCHMARK(BM_Extract)->Args({4 * kMiB, 64})->Args({8 * kMiB, 64})->Args({4 * kMiB, 4096})->Args({8 * kMiB, 4096})->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
BENCHMARK(BM_ExtractAndDispatch)->Args({4 * kMiB, 4096})->Args({8 * kMiB, 4096})->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv); // the link's signals want an application
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
