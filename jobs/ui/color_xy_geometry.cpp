#include "jobs/ui/color_xy_geometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kBorder = 10;
constexpr double kPixelsPerUnit = 1000.0;

int pinned(double offset, int last)
{
    return static_cast<int>(std::clamp(offset, 0.0, static_cast<double>(last)));
}

} // namespace

color_xy_geometry color_xy_geometry_for(QSize widget)
{
    const int side = std::max(0, std::min(widget.width(), widget.height()) - kBorder);
    color_xy_geometry geometry;
    geometry.square = QRect(widget.width() / 2 - side / 2, widget.height() / 2 - side / 2, side, side);
    geometry.last = side - 1;
    geometry.centre = static_cast<int>(std::floor((side - 1) / 2.0));
    return geometry;
}

std::optional<QPoint> color_xy_measured_offset(const color_xy_geometry &geometry, double target_x, double target_y,
                                               double measured_x, double measured_y)
{
    if (!(target_x > 0.0 && measured_x > 0.0) || geometry.last < 0)
        return std::nullopt;
    const double px = (measured_x - target_x) * kPixelsPerUnit + geometry.centre + 0.5;
    const double py = geometry.centre + 0.5 - (measured_y - target_y) * kPixelsPerUnit;
    if (!std::isfinite(px) || !std::isfinite(py))
        return std::nullopt;
    return QPoint(pinned(px, geometry.last), pinned(py, geometry.last));
}
