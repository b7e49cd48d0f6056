#pragma once

#include "blackbox/FlightLog.h"

#include <QList>
#include <QPointF>
#include <QString>

class QChart;

// The charts of a flight record: five over time (seconds) and the ground track in metres east
// and north of the first position, a metre as long on both axes.
namespace FlightCharts {

enum Kind { Height, Speed, Voltage, Attitude, PumpThrottle, Track, KindCount };

// A chart of the kind, with its texts in the current language; the caller owns it.
QChart *make(Kind kind, const QList<FlightLog::Sample> &samples);
// Its title in the current language, and a short ASCII name for file names ("height").
QString title(Kind kind);
QString fileKey(Kind kind);

// At most about `buckets` x 2 points, keeping each bucket's lowest and highest, so a long record
// draws quickly and its peaks stay.
QList<QPointF> thinned(const QList<QPointF> &points, int buckets = 1500);

} // namespace FlightCharts
