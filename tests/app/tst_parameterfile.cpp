// The parameter file: its layout as export writes it, what import accepts, and how each member
// reaches its field.
#include "app/AircraftParams.h"
#include "app/ParameterBackup.h"
#include "app/ParameterFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {
void fill(AircraftParams &p)
{
    p.Contrl_Rec = 0x80;
    p.Contrl_type = 2;
    p.LV1 = 1080;
    p.LV2 = 65535;
    p.M_CCR0 = 4;
    p.SP_S = 2;
    p.Uav_Type = 10;
    p.Uav_wid = 5;
    p.altRateP = 321;
    p.sensRateD = 200;
    p.sensRateP = 150;
}

void storeAll(AircraftParams &p, const QJsonObject &document)
{
    for (int group = 0; group < ParameterFile::kGroupCount; ++group)
        ParameterFile::storeGroup(p, document, group);
}
} // namespace

class tst_ParameterFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exportLayout()
    {
        AircraftParams p;
        fill(p);
        const QByteArray bytes = ParameterFile::encode(p);
        QCOMPARE(qFromBigEndian<quint32>(bytes.constData()), quint32(bytes.size() - 4));
        const QByteArray json = QByteArray::fromBase64(bytes.mid(4));
        QCOMPARE(
            json,
            QByteArray(
                "{\"Contrl_Rec\":-128,\"Contrl_type\":2,\"LV1\":1080,\"LV2\":65535,\"M_CCR0\":4,"
                "\"SP_S\":2,\"Uav_Type\":10,\"Uav_wid\":5,\"altRateP\":321,\"sensRateD\":200,"
                "\"sensRateP\":150}"));
        QVERIFY(!bytes.mid(4).contains('\n'));
    }

    // Together with the exact layout above, equal encodings mean every field came back.
    void roundTripsEveryField()
    {
        AircraftParams written;
        fill(written);
        AircraftParams read;
        const auto document = ParameterFile::decode(ParameterFile::encode(written));
        QVERIFY(document);
        storeAll(read, *document);
        QCOMPARE(ParameterFile::encode(read), ParameterFile::encode(written));
    }

    void accepted_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("uavType"); // -1: the file is refused
        const QByteArray json("{\"Uav_Type\":7,\"unknown\":1}");
        QByteArray prefixed(4, '\0');
        qToBigEndian(quint32(json.toBase64().size()), prefixed.data());
        prefixed += json.toBase64();
        QTest::newRow("as exported") << prefixed << 7;
        QTest::newRow("without the length") << json.toBase64() << 7;
        QTest::newRow("line breaks and spaces")
            << json.toBase64().insert(8, "\r\n ").insert(4, '\t') << 7;
        // 51 bytes of JSON give 68 Base64 letters: the length's last byte is 'D', itself a letter.
        const QByteArray padded("{\"Uav_Type\":3,\"note\":\"xxxxxxxxxxxxxxxxxxxxxxxxxxx\"}");
        QCOMPARE(padded.size(), 51);
        QByteArray letterLength(4, '\0');
        qToBigEndian(quint32(68), letterLength.data());
        QTest::newRow("length byte is a letter") << letterLength + padded.toBase64() << 3;
        QTest::newRow("not Base64") << QByteArray("\x00\x00\x00\x05@@@@@", 9) << -1;
        QTest::newRow("not JSON") << QByteArray("{\"Uav_Type\":").toBase64() << -1;
        QTest::newRow("object without a known key") << QByteArray("{\"uav_type\":3}").toBase64() << -1;
        QTest::newRow("empty file") << QByteArray() << -1;
        QTest::newRow("truncated export") << prefixed.left(prefixed.size() - 6) << -1;
        QTest::newRow("JSON array") << QByteArray("[{\"Uav_Type\":7}]").toBase64() << -1;
        // Whole numbers a field cannot hold would reach the aircraft wrapped (258 as 2).
        QTest::newRow("byte above 255") << QByteArray("{\"Uav_Type\":258}").toBase64() << -1;
        QTest::newRow("negative unsigned byte")
            << QByteArray("{\"Uav_Type\":3,\"SP_S\":-1}").toBase64() << -1;
        QTest::newRow("16 bits above 65535")
            << QByteArray("{\"Uav_Type\":3,\"LV1\":65537}").toBase64() << -1;
        QTest::newRow("negative 16 bits")
            << QByteArray("{\"Uav_Type\":3,\"LV2\":-1}").toBase64() << -1;
        QTest::newRow("signed byte below -128")
            << QByteArray("{\"Uav_Type\":3,\"Contrl_Rec\":-129}").toBase64() << -1;
        QTest::newRow("huge number")
            << QByteArray("{\"Uav_Type\":3,\"altRateP\":1e300}").toBase64() << -1;
        QTest::newRow("both readings of a signed byte")
            << QByteArray("{\"Uav_Type\":3,\"Contrl_Rec\":255,\"Uav_wid\":-128}").toBase64() << 3;
    }
    void accepted()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, uavType);
        const auto document = ParameterFile::decode(bytes);
        QCOMPARE(bool(document), uavType >= 0);
        if (!document)
            return;
        AircraftParams p;
        storeAll(p, *document);
        QCOMPARE(int(p.Uav_Type), uavType);
    }

    void memberValues_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<int>("uavType");
        QTest::addColumn<int>("lv1");
        QTest::addColumn<int>("lv2");
        QTest::newRow("fraction stores 0") << QByteArray("{\"Uav_Type\":10.5}") << 0 << 999 << 888;
        QTest::newRow("text stores 0") << QByteArray("{\"Uav_Type\":\"10\"}") << 0 << 999 << 888;
        QTest::newRow("missing LV2 keeps it") << QByteArray("{\"LV1\":1100}") << 9 << 1100 << 888;
        QTest::newRow("limits of the fields")
            << QByteArray("{\"Uav_Type\":255,\"LV1\":0,\"LV2\":65535}") << 255 << 0 << 65535;
    }
    void memberValues()
    {
        QFETCH(QByteArray, json);
        QFETCH(int, uavType);
        QFETCH(int, lv1);
        QFETCH(int, lv2);
        AircraftParams p;
        p.Uav_Type = 9;
        p.LV1 = 999;
        p.LV2 = 888;
        const auto document = ParameterFile::decode(json.toBase64());
        QVERIFY(document);
        storeAll(p, *document);
        QCOMPARE(int(p.Uav_Type), uavType);
        QCOMPARE(int(p.LV1), lv1);
        QCOMPARE(int(p.LV2), lv2);
    }

    // A backup is an ordinary parameter file under a dated name; a second one in the same
    // second does not replace the first.
    void backup()
    {
        QTemporaryDir dir;
        AircraftParams p;
        fill(p);
        const QDateTime when(QDate(2026, 12, 7), QTime(2, 33, 57));
        const QString folder = dir.filePath(QStringLiteral("Data"));
        const ParameterBackup::Result first = ParameterBackup::write(p, folder, when);
        p.LV2 = 1011;
        const ParameterBackup::Result second = ParameterBackup::write(p, folder, when);
        QCOMPARE(QFileInfo(first.path).fileName(), QStringLiteral("backup-20261207-023357.lum"));
        QCOMPARE(QFileInfo(second.path).fileName(), QStringLiteral("backup-20261207-023357-2.lum"));
        for (const auto &[path, lv2] : {std::pair{first.path, 65535}, std::pair{second.path, 1011}}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            AircraftParams read;
            storeAll(read, ParameterFile::decode(file.readAll()).value());
            QCOMPARE(int(read.LV2), lv2);
            QCOMPARE(int(read.Contrl_Rec), 0x80);
        }
        // A folder that cannot be made: an error, no path.
        const ParameterBackup::Result failed
            = ParameterBackup::write(p, first.path + QStringLiteral("/sub"), when);
        QVERIFY(failed.path.isEmpty());
        QVERIFY(!failed.error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_ParameterFile)
#include "tst_parameterfile.moc"
