#pragma once

// One view of a plot: the visible range and tick counts of each axis, and the
// bounds that panning may not leave (and that place the colour ramps).
struct PlotRange
{
    double minX = 0.0;
    double maxX = 1.0;
    int numXTicks = 5;
    double minY = 0.0;
    double maxY = 1.0;
    double lowerBoundX = 0.0;
    double upperBoundX = 1.0;
    double lowerBoundY = 0.0;
    double upperBoundY = 1.0;
    int numYTicks = 5;

    double spanX() const { return maxX - minX; }
    double spanY() const { return maxY - minY; }

    // Moves the view by whole tick steps; an axis moves only when the new
    // range leaves its bounds by at most half a step.
    void scrollBy(int dx, int dy);
    // Widens both axes to round tick steps (1, 2 or 5 times a power of ten).
    void roundToTicks();
};

void round_axis_to_ticks(double &min, double &max, int &count);

// Decimals of an axis' tick labels: more for a narrower range.
int tick_label_decimals(double min, double max);
