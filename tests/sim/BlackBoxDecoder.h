#pragma once

// The black-box block and sample layouts, decoded the way the program's export reads them:
// blocks of 256 bytes with the 0x41 marker at offset 2, two samples of 106 bytes (seven parts,
// each a leading byte, a payload and a trailing byte) and a big-endian time stamp at 244. Written
// from the layout tables, independently of the simulator's encoder.

#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QString>

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

} // namespace bbdecode
