#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

// The chromaticity target square: one pixel per 0.001 of x or y, the target
// at its centre.
struct color_xy_geometry
{
    QRect square; // side 0 when the widget is 10 pixels or less
    int last = 0;   // offset of the square's last pixel row and column
    int centre = 0; // offset of the target row and column
};

color_xy_geometry color_xy_geometry_for(QSize widget);

// Offsets inside the square of the measured column and row, pinned to its
// edges; none without a target or a measurement (x of 0), or when a
// coordinate is not a number.
std::optional<QPoint> color_xy_measured_offset(const color_xy_geometry &geometry, double target_x, double target_y,
                                               double measured_x, double measured_y);
