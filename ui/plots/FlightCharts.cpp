#include "ui/plots/FlightCharts.h"

#include <QChart>
#include <QCoreApplication>
#include <QLineSeries>
#include <QRectF>
#include <QScatterSeries>
#include <QValueAxis>
#include <QtMath>

#include <cmath>
#include <memory>

namespace {
constexpr double kMetresPerDegree = 111320.0;

struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(FlightCharts)
};

struct Curve
{
    QString name;
    double FlightLog::Sample::*value;
    bool rightAxis = false;
};

QValueAxis *addAxis(QChart *chart, const QString &title, Qt::Alignment side)
{
    auto *axis = new QValueAxis(chart);
    axis->setTitleText(title);
    axis->setLabelFormat(QStringLiteral("%.1f"));
    chart->addAxis(axis, side);
    return axis;
}

QChart *timeChart(const QString &title,
                  const QString &unit,
                  const QList<FlightLog::Sample> &samples,
                  const QList<Curve> &curves,
                  const QString &rightUnit = QString())
{
    auto *chart = new QChart;
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    QValueAxis *time = addAxis(chart, Texts::tr("时间（秒）"), Qt::AlignBottom);
    time->setLabelFormat(QStringLiteral("%.0f"));
    QValueAxis *left = addAxis(chart, unit, Qt::AlignLeft);
    QValueAxis *right = rightUnit.isEmpty() ? nullptr : addAxis(chart, rightUnit, Qt::AlignRight);
    // Each axis spans every curve on it (Qt Charts would take the range of the first one).
    QPointF span[2] = {{0, 0}, {0, 0}}; // low and high, left and right axis
    bool spanned[2] = {false, false};
    for (const Curve &curve : curves) {
        QList<QPointF> points;
        points.reserve(samples.size());
        const int side = curve.rightAxis && right ? 1 : 0;
        for (const FlightLog::Sample &s : samples) {
            const double v = s.*curve.value;
            points.append({s.seconds, v});
            span[side] = spanned[side] ? QPointF(qMin(span[side].x(), v), qMax(span[side].y(), v))
                                       : QPointF(v, v);
            spanned[side] = true;
        }
        auto *series = new QLineSeries(chart);
        series->setName(curve.name);
        series->replace(FlightCharts::thinned(points));
        chart->addSeries(series);
        series->attachAxis(time);
        series->attachAxis(curve.rightAxis && right ? right : left);
    }
    const double first = samples.isEmpty() ? 0 : samples.first().seconds;
    const double last = samples.isEmpty() ? 1 : qMax(samples.last().seconds, first + 1);
    time->setRange(first, last);
    // The record's own span, with ticks on round seconds (1, 2 or 5 times a power of ten).
    double step = std::pow(10.0, std::floor(std::log10((last - first) / 6)));
    for (const double m : {1.0, 2.0, 5.0, 10.0}) {
        if ((last - first) / (step * m) <= 8) {
            step *= m;
            break;
        }
    }
    time->setTickType(QValueAxis::TicksDynamic);
    time->setTickAnchor(0);
    time->setTickInterval(step);
    QValueAxis *axes[2] = {left, right};
    for (int side = 0; side < 2; ++side) {
        if (!axes[side])
            continue;
        // A flat curve still gets an axis one unit high.
        axes[side]->setRange(span[side].x(), qMax(span[side].y(), span[side].x() + 1));
        axes[side]->applyNiceNumbers();
    }
    return chart;
}

QChart *trackChart(const QList<FlightLog::Sample> &samples)
{
    auto *chart = new QChart;
    chart->setTitle(FlightCharts::title(FlightCharts::Track));
    chart->legend()->setAlignment(Qt::AlignBottom);
    QValueAxis *east = addAxis(chart, Texts::tr("向东（米）"), Qt::AlignBottom);
    QValueAxis *north = addAxis(chart, Texts::tr("向北（米）"), Qt::AlignLeft);
    auto *track = new QLineSeries(chart);
    track->setName(Texts::tr("航迹"));
    auto *start = new QScatterSeries(chart);
    start->setName(Texts::tr("起点"));
    start->setMarkerSize(10);
    QList<QPointF> points;
    double lat0 = 0, lon0 = 0, cosLat = 1;
    for (const FlightLog::Sample &s : samples) {
        if (s.lat == 0 && s.lon == 0)
            continue; // no position yet
        if (points.isEmpty()) {
            lat0 = s.lat;
            lon0 = s.lon;
            cosLat = qCos(qDegreesToRadians(lat0));
        }
        points.append(
            {(s.lon - lon0) * kMetresPerDegree * cosLat, (s.lat - lat0) * kMetresPerDegree});
    }
    // The path is drawn in flight order, not thinned: thinning is by time, the track by place.
    track->replace(points);
    if (!points.isEmpty())
        start->append(points.first());
    for (QXYSeries *series : {static_cast<QXYSeries *>(track), static_cast<QXYSeries *>(start)}) {
        chart->addSeries(series);
        series->attachAxis(east);
        series->attachAxis(north);
    }
    // Metres the same length on both axes, so the path keeps its shape: the ranges follow the
    // plot area's proportions whenever it changes size.
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (const QPointF &p : std::as_const(points)) {
        minX = qMin(minX, p.x());
        maxX = qMax(maxX, p.x());
        minY = qMin(minY, p.y());
        maxY = qMax(maxY, p.y());
    }
    const QRectF bounds(QPointF(minX, minY), QPointF(maxX, maxY));
    // Fitted after the layout that changed the area (not inside it: that layout is not finished).
    // New ranges change the axis labels and so the area again, a little: a change of a pixel or
    // two is left alone, so the fitting settles.
    auto fitted = std::make_shared<QSizeF>();
    const auto fit = [east, north, bounds, fitted](const QRectF &area) {
        if (area.width() < 1 || area.height() < 1)
            return;
        if (qAbs(area.width() - fitted->width()) < 2 && qAbs(area.height() - fitted->height()) < 2)
            return;
        *fitted = area.size();
        const double perPixel = qMax(qMax(bounds.width(), 10.0) / area.width(),
                                     qMax(bounds.height(), 10.0) / area.height())
                                * 1.1;
        const QPointF centre = bounds.center();
        east->setRange(centre.x() - perPixel * area.width() / 2,
                       centre.x() + perPixel * area.width() / 2);
        north->setRange(centre.y() - perPixel * area.height() / 2,
                        centre.y() + perPixel * area.height() / 2);
    };
    fit(QRectF(0, 0, 400, 400));
    QObject::connect(chart, &QChart::plotAreaChanged, chart, fit, Qt::QueuedConnection);
    return chart;
}
} // namespace

namespace FlightCharts {

QString title(Kind kind)
{
    switch (kind) {
    case Height:
        return Texts::tr("高度");
    case Speed:
        return Texts::tr("速度");
    case Voltage:
        return Texts::tr("电池电压");
    case Attitude:
        return Texts::tr("姿态");
    case PumpThrottle:
        return Texts::tr("药泵与油门");
    case Track:
        return Texts::tr("航迹");
    default:
        return QString();
    }
}

QString fileKey(Kind kind)
{
    static const char *const keys[KindCount]
        = {"height", "speed", "voltage", "attitude", "pump-throttle", "track"};
    return kind >= 0 && kind < KindCount ? QLatin1String(keys[kind]) : QString();
}

QChart *make(Kind kind, const QList<FlightLog::Sample> &samples)
{
    using S = FlightLog::Sample;
    switch (kind) {
    case Height:
        return timeChart(title(kind), Texts::tr("米"), samples, {{Texts::tr("高度"), &S::height}});
    case Speed:
        return timeChart(title(kind), Texts::tr("米/秒"), samples,
                         {{Texts::tr("水平速度"), &S::groundSpeed}, {Texts::tr("垂直速度"), &S::climb}});
    case Voltage:
        return timeChart(title(kind), Texts::tr("伏"), samples, {{Texts::tr("电池电压"), &S::voltage}});
    case Attitude:
        return timeChart(title(kind), Texts::tr("度"), samples,
                         {{Texts::tr("横滚"), &S::roll},
                          {Texts::tr("俯仰"), &S::pitch},
                          {Texts::tr("航向（右轴）"), &S::yaw, true}},
                         Texts::tr("航向（度）"));
    case PumpThrottle:
        return timeChart(title(kind), QStringLiteral("%"), samples,
                         {{Texts::tr("油门"), &S::throttle}, {Texts::tr("喷洒开关（CH6）"), &S::pump}});
    case Track:
        return trackChart(samples);
    default:
        return nullptr;
    }
}

QList<QPointF> thinned(const QList<QPointF> &points, int buckets)
{
    if (buckets <= 0 || points.size() <= 2 * buckets)
        return points;
    QList<QPointF> out;
    out.reserve(2 * buckets + 2);
    const qsizetype size = points.size();
    for (int b = 0; b < buckets; ++b) {
        const qsizetype from = size * b / buckets;
        const qsizetype to = size * (b + 1) / buckets;
        if (from >= to)
            continue;
        qsizetype low = from, high = from;
        for (qsizetype i = from; i < to; ++i) {
            if (points[i].y() < points[low].y())
                low = i;
            if (points[i].y() > points[high].y())
                high = i;
        }
        // In time order, so the line does not step back.
        out.append(points[qMin(low, high)]);
        if (low != high)
            out.append(points[qMax(low, high)]);
    }
    return out;
}

} // namespace FlightCharts
