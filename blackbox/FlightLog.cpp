#include "blackbox/FlightLog.h"

#include <QFile>

#include <cmath>

namespace {
// A line is at most 57 short numbers; anything far longer is not one of ours.
constexpr qint64 kMaxLineBytes = 4096;

// The columns a sample needs, parsed; false when one is missing or not a finite number.
bool parseLine(const QByteArray &line, qint64 *timer, FlightLog::Sample *s)
{
    const QList<QByteArray> fields = line.trimmed().split('\t');
    if (fields.size() < FlightLog::kColumnCount)
        return false;
    bool ok = true;
    const auto number = [&](int column) {
        bool good = false;
        const double v = fields[column].toDouble(&good);
        ok = ok && good && std::isfinite(v);
        return v;
    };
    bool timerOk = false;
    *timer = fields[FlightLog::Timer].toLongLong(&timerOk);
    s->height = number(FlightLog::Alt);
    s->groundSpeed = std::hypot(number(FlightLog::VelN), number(FlightLog::VelE));
    s->climb = number(FlightLog::VelU);
    s->voltage = number(FlightLog::Voltage);
    s->roll = number(FlightLog::Roll);
    s->pitch = number(FlightLog::Pitch);
    s->yaw = number(FlightLog::Yaw);
    s->throttle = number(FlightLog::Throttle);
    s->pump = number(FlightLog::PumpChannel);
    s->lat = number(FlightLog::Lat);
    s->lon = number(FlightLog::Lon);
    return ok && timerOk;
}
} // namespace

bool FlightLog::load(const QString &path)
{
    m_samples.clear();
    m_skipped = 0;
    m_truncated = false;
    m_error.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = tr("无法打开文件：%1").arg(file.errorString());
        return false;
    }
    const QByteArray header = file.readLine(kMaxLineBytes);
    if (!header.startsWith("0-index\t1-timer\t")) {
        m_error = tr("这不是导出的黑匣子数据文件。");
        return false;
    }
    QList<qint64> timers;
    while (!file.atEnd()) {
        QByteArray line = file.readLine(kMaxLineBytes);
        if (!line.endsWith('\n') && !file.atEnd()) {
            // Longer than any line of ours: skip the rest of it too.
            while (!file.atEnd() && !line.endsWith('\n'))
                line = file.readLine(kMaxLineBytes);
            ++m_skipped;
            continue;
        }
        if (line.trimmed().isEmpty())
            continue;
        if (m_samples.size() >= kMaxSamples) {
            m_truncated = true;
            break;
        }
        qint64 timer = 0;
        Sample sample{};
        if (!parseLine(line, &timer, &sample)) {
            ++m_skipped;
            continue;
        }
        timers.append(timer);
        m_samples.append(sample);
    }
    const QList<double> seconds = spreadSeconds(timers);
    for (qsizetype i = 0; i < m_samples.size(); ++i)
        m_samples[i].seconds = seconds[i];
    return true;
}

QList<double> FlightLog::spreadSeconds(const QList<qint64> &timers)
{
    QList<double> seconds;
    seconds.reserve(timers.size());
    qsizetype i = 0;
    while (i < timers.size()) {
        qsizetype end = i;
        while (end < timers.size() && timers[end] == timers[i])
            ++end;
        const double count = double(end - i);
        for (qsizetype k = i; k < end; ++k)
            // Subtracted as doubles: timers far apart (a damaged file) would overflow an integer.
            seconds.append(double(timers[i]) - double(timers[0]) + double(k - i) / count);
        i = end;
    }
    return seconds;
}
