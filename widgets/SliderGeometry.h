#pragma once

// Geometry, colours and fonts shared by the interactive slider and the channel bars.
// Every painted bar maps a value to x the same way; keeping the arithmetic here means the
// pages, the widgets and the tests all agree on where a value is drawn.

#include <QColor>
#include <QFont>
#include <QStringList>

namespace r7widgets {

namespace colours {
inline constexpr QColor track{101, 101, 101};   // track line and ticks
inline constexpr QColor centreMark{231, 0, 16}; // middle of the range; also the "red" zones
inline constexpr QColor handle{37, 192, 101};   // handle, marker; also the "green" zones
inline constexpr QColor neutralZone{180, 180, 180};
inline constexpr QColor zoneCaption{255, 255, 255};
inline constexpr QColor labelText{123, 123, 123};
inline constexpr QColor progressOutline{75, 179, 89};
} // namespace colours

// The pages ask for "微软雅黑" (Windows); elsewhere fall back to a font that has CJK glyphs
// instead of letting fontconfig pick one that draws boxes.
inline QFont widgetFont(int pointSize, bool bold = false)
{
    QFont font;
    font.setFamilies({QStringLiteral("微软雅黑"),
                      QStringLiteral("Microsoft YaHei"),
                      QStringLiteral("WenQuanYi Micro Hei"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

// Maps values to x positions for a bar of a given width divided into equal divisions:
// a margin of one division on each side, the usable length between them, and a linear scale.
// Degenerate inputs (no divisions, an empty or inverted range, a bar narrower than its margins)
// give a zero scale instead of a division by zero; such a bar draws everything at its margin.
class SliderGeometry
{
public:
    constexpr SliderGeometry(qreal width, int divisions, qreal minimum, qreal maximum)
        : m_width(width)
        , m_margin(divisions > 0 ? width / divisions : 0.0)
        , m_length(width - 2 * m_margin)
        , m_minimum(minimum)
        , m_maximum(maximum)
        , m_scale(maximum > minimum && m_length > 0 ? m_length / (maximum - minimum) : 0.0)
    {}

    constexpr qreal width() const { return m_width; }
    constexpr qreal margin() const { return m_margin; }
    constexpr qreal length() const { return m_length; }
    constexpr qreal scale() const { return m_scale; }
    constexpr qreal minimum() const { return m_minimum; }
    constexpr qreal maximum() const { return m_maximum; }

    // Not clamped: a value outside the range is drawn outside the track.
    constexpr qreal xForValue(qreal value) const
    {
        return m_margin + m_scale * (value - m_minimum);
    }

    // Inverse of xForValue, not clamped either (see clampToRange).
    constexpr qreal valueForX(qreal x) const
    {
        if (m_scale <= 0)
            return m_minimum;
        return (x - m_margin) * (m_maximum - m_minimum) / m_length + m_minimum;
    }

    constexpr qreal clampToRange(qreal value) const
    {
        // qBound asserts on an inverted range, which a page can create transiently while it
        // sets the minimum before the maximum.
        if (value > m_maximum)
            value = m_maximum;
        if (value < m_minimum)
            value = m_minimum;
        return value;
    }

    // x of a position given in divisions (zone edges, tick k).
    constexpr qreal xForDivision(qreal divisions) const { return divisions * m_margin; }

    constexpr qreal centreX() const { return xForValue((m_minimum + m_maximum) / 2); }

private:
    qreal m_width;
    qreal m_margin;
    qreal m_length;
    qreal m_minimum;
    qreal m_maximum;
    qreal m_scale;
};

} // namespace r7widgets
