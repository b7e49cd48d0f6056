#pragma once

// Pixel checks for painted widgets: grab once, then ask what colour is where.

#include <QColor>
#include <QImage>
#include <QWidget>

namespace pixelprobe {

inline QImage snapshot(QWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

inline bool near(const QColor &a, const QColor &b, int tolerance = 6)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
           && qAbs(a.blue() - b.blue()) <= tolerance;
}

inline QColor at(const QImage &image, int x, int y)
{
    return image.pixelColor(x, y);
}

// Number of pixels of a colour in a rectangle of the image.
inline int count(const QImage &image, const QRect &area, const QColor &colour, int tolerance = 6)
{
    int n = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += near(image.pixelColor(x, y), colour, tolerance) ? 1 : 0;
    return n;
}

inline QString describe(const QColor &c)
{
    return QStringLiteral("rgb(%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

} // namespace pixelprobe
