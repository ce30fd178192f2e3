#pragma once

#include <QPoint>
#include <QPointF>
#include <QSize>

#include <optional>

// The chromaticity picker: whole units over an integer range on each axis,
// picked in an area 9 pixels inside the widget; larger y is higher.

struct cie_xy_value
{
    int minX = 0;
    int minY = 0;
    int spanX = 0;
    int spanY = 0;
    int offsetX = 0; // from the minimum
    int offsetY = 0;

    // Pointer and ball need a range on both axes.
    bool hasRange() const { return spanX > 0 && spanY > 0; }
};

struct cie_xy_area
{
    int width = 0; // the widget's width less 19
    int height = 0;

    bool isValid() const { return width > 0 && height > 0; }
};

constexpr int kCieXyInset = 9;

cie_xy_area cie_xy_area_for(QSize widget);

// The ball's centre in widget coordinates; needs a range and an area.
QPointF cie_xy_ball_centre(const cie_xy_area &area, const cie_xy_value &value);

// Whether a press at |point| takes the ball: inside the area, or within
// |ballRadius| of the ball's centre.
bool cie_xy_grabs(const cie_xy_area &area, const cie_xy_value &value, QPoint point, double ballRadius);

// The offsets under |point|, pinned to the range and rounded to whole units
// (halves up); none without a range or an area.
std::optional<QPoint> cie_xy_offsets_at(const cie_xy_area &area, const cie_xy_value &value, QPoint point);

// The offsets after an arrow-key step of (dx, dy) units; none when either
// would leave its range.
std::optional<QPoint> cie_xy_stepped(const cie_xy_value &value, int dx, int dy);

// The height that keeps the range's aspect at |width|; 10 without an x range.
int cie_xy_height_for_width(const cie_xy_value &value, int width);
