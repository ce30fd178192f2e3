#include "views/widgets/color_picker_circle_geometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kRim = 9;
constexpr double kPi = 3.1415927;
constexpr double kTwoPi = 6.2831854;

hue_saturation value_of_offset(QPointF offset, double radius)
{
    const double u = offset.x() / -radius;
    const double v = offset.y() / -radius;
    hue_saturation value;
    value.saturation = std::min(1.0, std::sqrt(u * u + v * v));
    const double angle = (u == 0.0 && v == 0.0) ? 0.0 : std::atan2(u, v);
    value.hue = (angle + kPi) / kTwoPi;
    return value;
}

QPointF offset_of_value(const hue_saturation &value, double radius)
{
    return QPointF(radius * value.saturation * std::sin(kTwoPi * value.hue),
                   radius * value.saturation * std::cos(kTwoPi * value.hue));
}

} // namespace

color_circle_geometry color_circle_geometry_for(QSize widget)
{
    color_circle_geometry geometry;
    const int smaller = std::min(widget.width() - 1, widget.height() - 1);
    geometry.diameter = smaller - 2 * kRim;
    geometry.radius = geometry.diameter / 2;
    geometry.drawCentre = QPoint(kRim + geometry.radius, kRim + geometry.radius);
    geometry.hitRadius = geometry.diameter / 2.0;
    geometry.hitCentre = QPointF(kRim + geometry.hitRadius, kRim + geometry.hitRadius);
    return geometry;
}

QPoint color_circle_ball_centre(const color_circle_geometry &geometry, const hue_saturation &value)
{
    const QPointF ball = QPointF(geometry.drawCentre) + offset_of_value(value, geometry.radius);
    return QPoint(static_cast<int>(ball.x()), static_cast<int>(ball.y()));
}

bool color_circle_contains(const color_circle_geometry &geometry, QPoint point)
{
    if (geometry.diameter <= 0)
        return false;
    const QPointF offset = QPointF(point) - geometry.hitCentre;
    return offset.x() * offset.x() + offset.y() * offset.y() <= geometry.hitRadius * geometry.hitRadius;
}

hue_saturation color_circle_value_at(const color_circle_geometry &geometry, QPointF point)
{
    return value_of_offset(point - geometry.hitCentre, geometry.hitRadius);
}

std::optional<hue_saturation> color_circle_moved(const color_circle_geometry &geometry, const hue_saturation &value,
                                                 QPointF delta)
{
    if (geometry.diameter <= 0)
        return std::nullopt;
    return value_of_offset(offset_of_value(value, geometry.hitRadius) + delta, geometry.hitRadius);
}
