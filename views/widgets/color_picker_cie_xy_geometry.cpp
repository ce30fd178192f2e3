#include "views/widgets/color_picker_cie_xy_geometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kAreaMargin = 19;
constexpr int kHeightWithoutRange = 10;

int whole_units(double value, int span)
{
    return static_cast<int>(std::floor(std::clamp(value, 0.0, double(span)) + 0.5));
}

} // namespace

cie_xy_area cie_xy_area_for(QSize widget)
{
    return cie_xy_area{widget.width() - kAreaMargin, widget.height() - kAreaMargin};
}

QPointF cie_xy_ball_centre(const cie_xy_area &area, const cie_xy_value &value)
{
    return QPointF(double(value.offsetX) / value.spanX * area.width + kCieXyInset,
                   (1.0 - double(value.offsetY) / value.spanY) * area.height + kCieXyInset);
}

bool cie_xy_grabs(const cie_xy_area &area, const cie_xy_value &value, QPoint point, double ballRadius)
{
    if (!value.hasRange() || !area.isValid())
        return false;
    const QPoint p = point - QPoint(kCieXyInset, kCieXyInset);
    if (p.x() >= 0 && p.x() <= area.width && p.y() >= 0 && p.y() <= area.height)
        return true;
    const QPointF fromBall = QPointF(point) - cie_xy_ball_centre(area, value);
    return std::hypot(fromBall.x(), fromBall.y()) <= ballRadius;
}

std::optional<QPoint> cie_xy_offsets_at(const cie_xy_area &area, const cie_xy_value &value, QPoint point)
{
    if (!value.hasRange() || !area.isValid())
        return std::nullopt;
    const double px = point.x() - kCieXyInset;
    const double py = point.y() - kCieXyInset;
    return QPoint(whole_units(px * value.spanX / area.width, value.spanX),
                  whole_units((1.0 - py / area.height) * value.spanY, value.spanY));
}

std::optional<QPoint> cie_xy_stepped(const cie_xy_value &value, int dx, int dy)
{
    const QPoint moved(value.offsetX + dx, value.offsetY + dy);
    if (moved.x() < 0 || moved.x() > value.spanX || moved.y() < 0 || moved.y() > value.spanY)
        return std::nullopt;
    return moved;
}

int cie_xy_height_for_width(const cie_xy_value &value, int width)
{
    if (value.spanX <= 0)
        return kHeightWithoutRange;
    return static_cast<int>(double(width) * value.spanY / value.spanX);
}
