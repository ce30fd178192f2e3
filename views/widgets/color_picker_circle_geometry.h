#pragma once

#include <QPoint>
#include <QPointF>
#include <QSize>

#include <optional>

// The hue and saturation circle: the ball's angle around the centre is the
// hue (0 straight below, growing towards the right), its distance from the
// centre over the radius the saturation.

struct hue_saturation
{
    double hue = 0.0;
    double saturation = 0.0;
};

struct color_circle_geometry
{
    int diameter = 0;
    int radius = 0;      // whole pixels, for drawing
    QPoint drawCentre;
    QPointF hitCentre;   // the exact centre, for the pointer
    double hitRadius = 0.0;
};

color_circle_geometry color_circle_geometry_for(QSize widget);

// The ball's centre in whole pixels.
QPoint color_circle_ball_centre(const color_circle_geometry &geometry, const hue_saturation &value);

bool color_circle_contains(const color_circle_geometry &geometry, QPoint point);

// The hue and saturation under |point|; past the rim the saturation is 1.
// Needs a positive diameter.
hue_saturation color_circle_value_at(const color_circle_geometry &geometry, QPointF point);

// |value| with its ball moved by |delta| pixels, kept in floating point so
// that quarter-pixel steps add up; none while the circle has no size.
std::optional<hue_saturation> color_circle_moved(const color_circle_geometry &geometry, const hue_saturation &value,
                                                 QPointF delta);
