#pragma once

#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QSize>
#include <QVector>

// What the luminance meter shows, apart from its colours.
struct luminance_meter_state
{
    double minimum = 0.0;
    double maximum = 100.0;
    double value = 0.0;
    bool show_target = false;
    double target_level = 0.0;
};

// Where the meter draws, worked out without painting.
struct luminance_meter_layout
{
    QRect background;              // the whole scale, framed and filled
    QRect value_bar;               // height 0 when nothing is filled
    QVector<QPolygon> scale_break; // two zig-zags when the value runs past the top
    bool show_target = false;
    QPoint left_arrow;             // top-left corners of the target arrows
    QPoint right_arrow;
};

// The row of |level| on a meter |height| pixels tall with |margin| above and
// below the scale: the maximum sits at margin + 1, the minimum at
// height - margin - 2; every level is row 0 when the scale is empty.
int luminance_meter_y(double level, double minimum, double maximum, int height, int margin);

// |arrow| is the size of one target arrow in widget pixels.
luminance_meter_layout layout_luminance_meter(const luminance_meter_state &state, QSize widget, QSize arrow,
                                              int margin);
