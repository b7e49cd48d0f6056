// Writes the fuzz targets' seed inputs from the simulator's and the program's own writers:
//   make_fuzz_seeds CORPUS_DIR   (tests/fuzz/corpus of the source tree;
//   build/tests/fuzz/fuzz-seeds/)
#include "app/AircraftParams.h"
#include "app/ParameterFile.h"
#include "blackbox/BlackBoxPartialRecord.h"
#include "blackbox/LumBlackBoxesData.h"
#include "sim/FirmwareCatalogue.h"
#include "sim/FlightRecordGenerator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {
QString g_root;

void write(const QString &target, const QString &name, const QByteArray &bytes)
{
    QDir().mkpath(g_root + QLatin1Char('/') + target);
    QFile file(g_root + QLatin1Char('/') + target + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
}

QByteArray json(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// The chunk harness reads each chunk as its number, its length and its data.
QByteArray chunk(int number, const QByteArray &data)
{
    return QByteArray(1, char(number)) + char(data.size()) + data;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        qFatal("usage: make_fuzz_seeds CORPUS_DIR");
    g_root = QString::fromLocal8Bit(argv[1]);

    AircraftParams params;
    params.Uav_Type = 3, params.Contrl_Rec = 0x80, params.Uav_wid = 4, params.LV1 = 2210;
    params.LV2 = 2150, params.sensRateD = 120, params.sensRateP = 90, params.altRateP = 300;
    const QByteArray exported = ParameterFile::encode(params);
    write(QStringLiteral("parameter-file"), QStringLiteral("exported.lum"), exported);
    write(QStringLiteral("parameter-file"), QStringLiteral("bare-base64.lum"), exported.mid(4));

    QJsonObject catalogue = FirmwareCatalogue::document(QStringLiteral("https://firmware.example"));
    for (const QString &module : catalogue.keys()) {
        if (module != QLatin1String("FCU") && module != QLatin1String("GMU"))
            catalogue.remove(module); // two modules keep the seed small
    }
    write(QStringLiteral("firmware-catalogue"), QStringLiteral("catalogue.json"), json(catalogue));

    // The software service's answers: the version as text and as a number, and an unknown product.
    QJsonObject info{{QStringLiteral("version"), QStringLiteral("1.60")},
                     {QStringLiteral("url"),
                      QStringLiteral("https://software.example/download/R7Assistant-1.60.exe")},
                     {QStringLiteral("releaseDate"), QStringLiteral("2024-05-20")}};
    write(QStringLiteral("update-reply"),
          QStringLiteral("text-version.json"),
          json({{QStringLiteral("code"), 200},
                {QStringLiteral("msg"), QStringLiteral("ok")},
                {QStringLiteral("info"), info}}));
    info.insert(QStringLiteral("version"), 1.6);
    write(QStringLiteral("update-reply"),
          QStringLiteral("number-version.json"),
          json({{QStringLiteral("code"), 200}, {QStringLiteral("info"), info}}));
    write(QStringLiteral("update-reply"),
          QStringLiteral("unknown-product.json"),
          json({{QStringLiteral("code"), 404},
                {QStringLiteral("msg"), QStringLiteral("unknown product")}}));

    // The first two blocks of a simulated record, whole and with a chunk lost.
    BlackBoxPlan plan;
    plan.recordCount = 1;
    const QByteArray record = FlightRecordGenerator::record(plan, 1).bytes;
    const auto part = [&record](int number) {
        return record.mid((number - 1) * FlightRecordGenerator::kChunkSize,
                          FlightRecordGenerator::kChunkSize);
    };
    write(QStringLiteral("blackbox-chunks"),
          QStringLiteral("two-blocks"),
          chunk(1, part(1)) + chunk(2, part(2)) + chunk(3, part(3)) + chunk(4, part(4)));
    write(QStringLiteral("blackbox-chunks"),
          QStringLiteral("lost-chunk"),
          chunk(1, part(1)) + chunk(2, QByteArray()) + chunk(3, part(3)) + chunk(4, part(4)));
    // The sample harness reads the block's seven time-stamp bytes, then a sample.
    const QByteArray block = record.left(FlightRecordGenerator::kBlockSize);
    write(QStringLiteral("blackbox-sample"),
          QStringLiteral("first-sample"),
          block.mid(244, 7) + block.mid(2, 106));
    write(QStringLiteral("blackbox-sample"),
          QStringLiteral("second-sample"),
          block.mid(244, 7) + block.mid(108, 106));

    // The chunk map a broken-off download leaves: chunks 1 to 3 and 5 of ten, in the part file.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("index1.xls"));
    BlackBoxPartialRecord partial;
    partial.begin(file, {1, QStringLiteral("2024-05-06 06:10:00"), 1280, 10});
    for (int n : {1, 2, 3, 5})
        partial.store(n, part(n));
    partial.suspend();
    QFile map(BlackBoxPartialRecord::mapPath(file));
    if (!map.open(QIODevice::ReadOnly))
        qFatal("no chunk map written");
    write(QStringLiteral("blackbox-chunk-map"), QStringLiteral("four-of-ten"), map.readAll());

    // The export of the record's first three blocks, as the plots read it back.
    LumBlackBoxesData store;
    store.setExportDir(dir.path());
    if (!store.startRecord(1, QStringLiteral("2024-05-06time06-10-00")))
        qFatal("cannot start the export");
    for (int b = 0; b < 3; ++b)
        store.SlotGetBlackBoxesData(
            record.mid(b * FlightRecordGenerator::kBlockSize, FlightRecordGenerator::kBlockSize));
    store.finishRecord();
    QFile exportFile(dir.filePath(
        LumBlackBoxesData::recordFileName(1, QStringLiteral("2024-05-06time06-10-00"))));
    if (!exportFile.open(QIODevice::ReadOnly))
        qFatal("no export written");
    write(QStringLiteral("flight-log"), QStringLiteral("three-blocks.xls"), exportFile.readAll());
    return 0;
}
