#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

// An exported flight record read back for the plots: the columns they draw, as numbers. The file
// is the export's tab-separated text (a header of 57 titles, one line per sample); lines that are
// short, or whose values are not numbers, are skipped and counted, so a damaged or truncated file
// still shows what it holds.
class FlightLog
{
    Q_DECLARE_TR_FUNCTIONS(FlightLog)

public:
    // Columns of the export used here (the number before the title's dash).
    enum Column {
        Timer = 1,
        Roll = 11,
        Pitch = 12,
        Yaw = 13,
        VelN = 14,
        VelE = 15,
        VelU = 16,
        Lat = 17,
        Lon = 18,
        Alt = 19,
        Throttle = 21,
        Voltage = 22,
        PumpChannel = 46,
    };
    static constexpr int kColumnCount = 57;
    // A longer file is read up to here (a record of the aircraft is far shorter).
    static constexpr int kMaxSamples = 500000;

    struct Sample
    {
        double seconds;          // from the first sample
        double height;           // m
        double groundSpeed;      // m/s, from the north and east speeds
        double climb;            // m/s
        double voltage;          // V
        double roll, pitch, yaw; // degrees
        double throttle;         // %
        double pump;             // the spray switch channel, -100..100
        double lat, lon;         // degrees; both 0 while there is no position
    };

    // False (see errorString()) when the file cannot be read or is not an exported record.
    bool load(const QString &path);

    const QList<Sample> &samples() const { return m_samples; }
    int skippedLines() const { return m_skipped; }
    bool truncated() const { return m_truncated; }
    QString errorString() const { return m_error; }

    // Seconds of each line from its timer column. The timer counts whole seconds and several
    // samples share one, so the samples of a second are spread evenly across it.
    static QList<double> spreadSeconds(const QList<qint64> &timers);

private:
    QList<Sample> m_samples;
    int m_skipped = 0;
    bool m_truncated = false;
    QString m_error;
};
