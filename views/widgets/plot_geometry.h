#pragma once

#include "views/widgets/PlotRange.h"

#include <QFontMetrics>
#include <QPointF>
#include <QRect>
#include <QString>

#include <optional>

// What the plot widget draws and how the pointer zooms it, without painting.

struct plot_margins
{
    int left = 35;
    int right = 10;
    int top = 22;
    int bottom = 30;
    int labelInset = 0;
};

struct plot_decorations
{
    bool tickLabels = true;
    bool yTitle = true;
    bool xTitle = true;
    bool title = false;
    bool yRamp = false;
    bool xRamp = false;
};

// The plot area inside a widget of |width| x |height|.
QRect plot_rect(const plot_margins &margins, int width, int height);

// The pixel of a data point in |rect|; an axis without a span maps to the
// rect's left or bottom edge.
QPointF plot_map_to_pixel(const PlotRange &range, const QPointF &point, const QRect &rect);

// A tick label: the locale's digit grouping, fixed decimals.
QString plot_tick_label(double value, int decimals);

// Room for the titles, tick labels and ramps that are shown; the zoom buttons
// sit in the top margin.
plot_margins plot_margins_for(const PlotRange &range, const plot_decorations &shown, const QFontMetrics &metrics,
                              int zoomButtonHeight);

// The rubber band while it is dragged from |origin| to |pointer|: a square
// whose side is the magnitude of the smaller signed extent, keeping each
// extent's sign.
QRect plot_square_rubber_band(QPoint origin, QPoint pointer);

// The range that the released rubber band |band| (widget coordinates) selects
// over |plot|, rounded to ticks; none for a band narrower or lower than 4 pixels.
std::optional<PlotRange> plot_zoom_range(const PlotRange &current, const QRect &band, const QRect &plot);
