#pragma once

// The black-box block and sample layouts, decoded the way the program's export reads them:
// blocks of 256 bytes with the 0x41 marker at offset 2, two samples of 106 bytes (seven parts,
// each a leading byte, a payload and a trailing byte) and a big-endian time stamp at 244. Written
// from the layout tables, independently of the simulator's encoder.

#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>

#include <cmath>

namespace bbdecode {

inline qint64 le(const QByteArray &b, int at, int size, bool isSigned)
{
    quint64 v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = (v << 8) | (at + i < b.size() ? quint8(b[at + i]) : 0);
    if (isSigned && (v & (quint64(1) << (size * 8 - 1))))
        return qint64(v) - (qint64(1) << (size * 8));
    return qint64(v);
}

using Sample = QMap<QString, qint64>;

inline Sample decodeSample(const QByteArray &sample)
{
    struct Field
    {
        const char *name;
        int offset; // in the payload of its part
        int size;
        bool isSigned;
    };
    // The fields the tests read, by part.
    static const QList<QList<Field>> parts = {
        {{"rate_x", 0, 2, true}},
        {{"f_lat", 6, 4, true}, {"f_lon", 10, 4, true}, {"f_alt", 14, 2, true}},
        {{"bat_volt", 2, 2, false}, {"flight_status", 4, 2, false}, {"shock_exp", 6, 2, true},
         {"dist2home", 10, 2, false}},
        {{"gps_fix_status", 17, 1, false}},
        {{"eIMU_yaw", 10, 2, false}},
        {{"rc_in_roll", 0, 1, true}, {"rc_in_CH8", 7, 1, true}},
        {{"mot_1", 0, 1, false}, {"mot_8", 7, 1, false}},
    };
    static const int partSizes[7] = {20, 18, 14, 20, 14, 10, 10};
    Sample s;
    int at = 0;
    for (int p = 0; p < 7; ++p) {
        const QByteArray payload = sample.mid(at + 1, partSizes[p] - 2);
        for (const Field &f : parts[p])
            s.insert(QString::fromLatin1(f.name), le(payload, f.offset, f.size, f.isSigned));
        at += partSizes[p];
    }
    return s;
}

inline QDateTime blockTime(const QByteArray &block)
{
    const int year = (quint8(block[244]) << 8) | quint8(block[245]);
    return QDateTime(QDate(year, quint8(block[246]), quint8(block[247])),
                     QTime(quint8(block[248]), quint8(block[249]), quint8(block[250])), Qt::UTC);
}

inline bool hasSamples(const QByteArray &block)
{
    return block.size() >= 214 && quint8(block[2]) == 0x41;
}

inline Sample sample1(const QByteArray &block) { return decodeSample(block.mid(2, 106)); }
inline Sample sample2(const QByteArray &block) { return decodeSample(block.mid(108, 106)); }

// The 55 value columns of an export line (after index and timer), as text, from the column table:
// each field with its part, payload offset, size, sign, and either its number of decimals (the
// divisor is 10 to that power) or a factor for whole numbers.
inline QStringList exportValues(const QByteArray &sample)
{
    struct Column
    {
        int part;
        int offset;
        int size;
        bool isSigned;
        int decimals; // -1: whole number
        int factor;
    };
    static const QList<Column> columns = {
        {0, 0, 2, true, 2, 1}, {0, 2, 2, true, 2, 1}, {0, 4, 2, true, 2, 1},          // rate
        {0, 6, 2, true, 2, 1}, {0, 8, 2, true, 2, 1}, {0, 10, 2, true, 2, 1},         // acc
        {0, 12, 2, true, -1, 1}, {0, 14, 2, true, -1, 1}, {0, 16, 2, true, -1, 1},    // mag
        {1, 0, 1, true, -1, 1}, {1, 1, 1, true, -1, 1}, {1, 2, 1, false, -1, 2},      // roll, Pitch, yaw
        {1, 3, 1, true, 1, 1}, {1, 4, 1, true, 1, 1}, {1, 5, 1, true, 1, 1},          // vel
        {1, 6, 4, true, 7, 1}, {1, 10, 4, true, 7, 1}, {1, 14, 2, true, 1, 1},        // f_lat, f_lon, f_alt
        {2, 0, 1, false, -1, 1}, {2, 1, 1, false, -1, 1}, {2, 2, 2, false, 2, 1},     // warning, throttle, volt
        {2, 4, 2, false, -1, 1}, {2, 6, 2, true, 3, 1}, {2, 8, 2, false, -1, 1},      // status, shock, time
        {2, 10, 2, false, -1, 1},                                                     // dist2home
        {3, 0, 1, false, -1, 1}, {3, 1, 4, true, 7, 1}, {3, 5, 4, true, 7, 1},        // gps_num, lat, lon
        {3, 9, 2, true, 1, 1}, {3, 11, 2, true, 2, 1}, {3, 13, 2, true, 2, 1},        // alt, v_h, v_v
        {3, 15, 2, false, 3, 1}, {3, 17, 1, false, -1, 1},                            // h_acc, fix
        {4, 0, 2, true, 2, 1}, {4, 2, 2, true, 2, 1}, {4, 4, 2, true, 2, 1},          // eIMU acc
        {4, 6, 2, true, 2, 1}, {4, 8, 2, true, 2, 1}, {4, 10, 2, false, 2, 1},        // eIMU angles
        {5, 0, 1, true, -1, 1}, {5, 1, 1, true, -1, 1}, {5, 2, 1, true, -1, 1}, {5, 3, 1, true, -1, 1},
        {5, 4, 1, true, -1, 1}, {5, 5, 1, true, -1, 1}, {5, 6, 1, true, -1, 1}, {5, 7, 1, true, -1, 1},
        {6, 0, 1, false, -1, 1}, {6, 1, 1, false, -1, 1}, {6, 2, 1, false, -1, 1}, {6, 3, 1, false, -1, 1},
        {6, 4, 1, false, -1, 1}, {6, 5, 1, false, -1, 1}, {6, 6, 1, false, -1, 1}, {6, 7, 1, false, -1, 1},
    };
    static const int partStarts[7] = {0, 20, 38, 52, 72, 86, 96};
    QStringList values;
    for (const Column &c : columns) {
        const qint64 raw = le(sample, partStarts[c.part] + 1 + c.offset, c.size, c.isSigned);
        if (c.decimals < 0)
            values << QString::number(raw * c.factor);
        else
            values << QString::number(double(raw) / std::pow(10.0, c.decimals), 'f', c.decimals);
    }
    return values;
}

inline QStringList exportTitles()
{
    const char *names[] = {"index", "timer", "rate_x", "rate_y", "rate_z", "acc_x", "acc_y", "acc_z",
                           "mag_x", "mag_y", "mag_z", "roll", "Pitch", "yaw", "vel_n", "vel_e", "vel_u",
                           "f_lat", "f_lon", "f_alt", "warning_code", "mean_throttle", "bat_volt",
                           "flight_status", "shock_exp", "flight_time", "dist2home", "gps_num",
                           "gps_lat", "gps_lon", "gps_alt", "gps_v_h", "gps_v_v", "gps_h_acc",
                           "gps_fix_status", "eIMU_acc_x", "eIMU_acc_y", "eIMU_acc_z", "eIMU_roll",
                           "eIMU_pitch", "eIMU_yaw", "rc_in_roll", "rc_in_pitch", "rc_in_thr",
                           "rc_in_yaw", "rc_in_mode", "rc_in_CH6", "rc_in_CH7", "rc_in_CH8"};
    QStringList titles;
    for (const char *name : names)
        titles << QStringLiteral("%1-%2").arg(titles.size()).arg(QLatin1String(name));
    for (int m = 1; m <= 8; ++m)
        titles << QStringLiteral("%1-mot_%2").arg(titles.size()).arg(m);
    return titles;
}

// The export file of a record whose first `chunks` chunks arrived: the title line, then two lines
// per whole block marked 0x41, numbered from 1, stamped with the block's UTC seconds. Every field
// ends with a tab, every line with a line feed.
inline QByteArray expectedExport(const QByteArray &record, int chunks)
{
    const auto line = [](const QStringList &fields) { return (fields.join(QLatin1Char('\t')) + "\t\n").toLatin1(); };
    QByteArray file = line(exportTitles());
    int row = 1;
    for (int b = 0; (b + 1) * 2 <= chunks && (b + 1) * 256 <= record.size(); ++b) {
        const QByteArray block = record.mid(b * 256, 256);
        if (!hasSamples(block))
            continue;
        const QString timer = QString::number(blockTime(block).toSecsSinceEpoch());
        for (int at : {2, 108}) {
            file += line(QStringList{QString::number(row++), timer} + exportValues(block.mid(at, 106)));
        }
    }
    return file;
}

} // namespace bbdecode
