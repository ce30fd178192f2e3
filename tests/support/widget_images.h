#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QWidget>
#include <QtMath>

#include <cstdlib>
#include <functional>

// Paints widgets offscreen and reads the result back in the widget's own
// (logical) coordinates, whatever the screen's pixel ratio.
namespace widget_images {

inline QImage paint(QWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

inline QColor pixel(const QImage &image, QPoint logical)
{
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(qFloor(logical.x() * ratio), qFloor(logical.y() * ratio));
}

// Every channel within |tolerance| of |expected|.
inline bool near(const QColor &actual, const QColor &expected, int tolerance = 0)
{
    return std::abs(actual.red() - expected.red()) <= tolerance
           && std::abs(actual.green() - expected.green()) <= tolerance
           && std::abs(actual.blue() - expected.blue()) <= tolerance;
}

// How many device pixels of the logical rectangle |area| satisfy |test|.
inline int count(const QImage &image, const QRect &area, const std::function<bool(const QColor &)> &test)
{
    const qreal ratio = image.devicePixelRatio();
    const QRect device(qFloor(area.x() * ratio), qFloor(area.y() * ratio), qFloor(area.width() * ratio),
                       qFloor(area.height() * ratio));
    int found = 0;
    const QRect inside = device.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (test(image.pixelColor(x, y)))
                ++found;
        }
    }
    return found;
}

inline int count_near(const QImage &image, const QRect &area, const QColor &expected, int tolerance = 0)
{
    return count(image, area, [&](const QColor &c) { return near(c, expected, tolerance); });
}

// Whether |picture| appears unscaled in |image| with its top-left at the
// device pixel |origin|: every opaque pixel of the picture matches.
inline bool shows_picture(const QImage &image, const QImage &picture, QPoint origin)
{
    const QImage source = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            const QColor wanted = source.pixelColor(x, y);
            if (wanted.alpha() != 255)
                continue;
            const QPoint at = origin + QPoint(x, y);
            if (!image.rect().contains(at) || !near(image.pixelColor(at), wanted, 1))
                return false;
        }
    }
    return true;
}

} // namespace widget_images
