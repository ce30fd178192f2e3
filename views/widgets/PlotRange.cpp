#include "views/widgets/PlotRange.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMinimumTicks = 4;
constexpr double kMaximumTicks = 1000.0; // an inverted or absurd range still counts in ints

// Moves [min, max] by |steps| of a tick when that stays within half a step of
// the bounds.
void scroll_axis(double &min, double &max, int ticks, double lower, double upper, int steps)
{
    if (steps == 0 || ticks <= 0)
        return;
    const double step = (max - min) / ticks;
    const double newMin = min + steps * step;
    const double newMax = max + steps * step;
    if (newMax <= upper + step / 2 && newMin >= lower - step / 2) {
        min = newMin;
        max = newMax;
    }
}

} // namespace

void PlotRange::scrollBy(int dx, int dy)
{
    scroll_axis(minX, maxX, numXTicks, lowerBoundX, upperBoundX, dx);
    scroll_axis(minY, maxY, numYTicks, lowerBoundY, upperBoundY, dy);
}

void PlotRange::roundToTicks()
{
    round_axis_to_ticks(minX, maxX, numXTicks);
    round_axis_to_ticks(minY, maxY, numYTicks);
}

void round_axis_to_ticks(double &min, double &max, int &count)
{
    const double gross = (max - min) * 0.25;
    if (!std::isfinite(gross))
        return;
    const double base = std::pow(10.0, gross > 0.0 ? std::floor(std::log10(gross)) : 0.0);
    double step = base;
    if (gross > 5 * base)
        step = 5 * base;
    else if (gross > 2 * base)
        step = 2 * base;
    const double first = std::floor(min / step);
    const double last = std::ceil(max / step);
    count = static_cast<int>(std::clamp(last - first, double(kMinimumTicks), kMaximumTicks));
    min = first * step;
    max = last * step;
}

int tick_label_decimals(double min, double max)
{
    if (!(max > min) || !std::isfinite(max - min))
        return 0;
    return std::max(0, 1 - static_cast<int>(std::floor(std::log10(max - min))));
}
