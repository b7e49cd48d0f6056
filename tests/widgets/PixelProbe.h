#pragma once

// Pixel checks for painted widgets: grab once, then ask what colour is where.

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

// Number of pixels of a colour in an area of the image.
inline int count(const QImage &image, const QRect &area, const QColor &colour, int tolerance = 6)
{
    int n = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += near(image.pixelColor(x, y), colour, tolerance) ? 1 : 0;
    return n;
}

inline QByteArray describe(const QImage &image, int x, int y)
{
    const QColor c = image.pixelColor(x, y);
    return QString::asprintf("(%d, %d) is rgb(%d, %d, %d)", x, y, c.red(), c.green(), c.blue())
        .toUtf8();
}

} // namespace pixelprobe

// Checks that pixel (x, y) has a colour, and says what it found otherwise.
#define PIXEL_IS(image, x, y, colour)                                                              \
    QVERIFY2(pixelprobe::near((image).pixelColor((x), (y)), (colour)),                             \
             pixelprobe::describe((image), (x), (y)).constData())
