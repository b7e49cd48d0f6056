// Runs a fuzz target over its seed corpus and over inputs derived from it, so a GCC build and
// CTest exercise the same harness that clang's libFuzzer drives.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    QRandomGenerator random(1234);
    int runs = 0;
    for (const QFileInfo &entry : dir.entryInfoList(QDir::Files)) {
        QFile file(entry.filePath());
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        const QByteArray seed = file.readAll();
        auto run = [&](const QByteArray &input) {
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(input.constData()), size_t(input.size()));
            ++runs;
        };
        run(seed);
        // Truncations, bit flips and splices of the seed.
        for (int i = 0; i <= seed.size(); ++i)
            run(seed.left(i));
        for (int i = 0; i < 2000; ++i) {
            QByteArray mutated = seed;
            for (int flips = 1 + int(random.bounded(4)); flips > 0 && !mutated.isEmpty(); --flips) {
                const int at = int(random.bounded(int(mutated.size())));
                mutated[at] = char(mutated[at] ^ (1 << random.bounded(8)));
            }
            if (random.bounded(3) == 0)
                mutated = mutated.mid(int(random.bounded(int(mutated.size()) + 1))) + mutated;
            run(mutated);
        }
    }
    std::printf("%d inputs, no fault\n", runs);
    return runs > 0 ? 0 : 1;
}
