#include "jobs/ui/luminance_meter_geometry.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxBarWidth = 20;
constexpr int kMaxBreakDrop = 20;
constexpr int kZigZag = 3;

// Truncates towards zero; a level that is not a number counts as none, and
// absurd levels stay far outside the widget instead of overflowing.
int truncated(double value)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? 0 : (value > 0 ? 1000000 : -1000000);
    return static_cast<int>(std::clamp(value, -1.0e6, 1.0e6));
}

QVector<QPolygon> scale_break_over(const QRect &bar)
{
    const int left = bar.left();
    const int right = bar.left() + bar.width();
    const int centre = left + bar.width() / 2;
    const int y0 = bar.top() + std::min(truncated(bar.height() * 0.1), kMaxBreakDrop);
    QPolygon first;
    first << QPoint(left, y0) << QPoint(centre - kZigZag, y0 - kZigZag) << QPoint(centre + kZigZag, y0 + kZigZag)
          << QPoint(right, y0);
    QPolygon second;
    second << QPoint(left, y0 + kZigZag) << QPoint(centre - kZigZag, y0) << QPoint(centre + kZigZag, y0 + 2 * kZigZag)
           << QPoint(right, y0 + kZigZag);
    return {first, second};
}

} // namespace

int luminance_meter_y(double level, double minimum, double maximum, int height, int margin)
{
    if (maximum == minimum)
        return 0;
    const double span = height - 2 * margin - 3;
    return height - margin - 2 - truncated(span * (level - minimum) / (maximum - minimum));
}

luminance_meter_layout layout_luminance_meter(const luminance_meter_state &state, QSize widget, QSize arrow,
                                              int margin)
{
    const int h = widget.height();
    const auto y = [&](double level) { return luminance_meter_y(level, state.minimum, state.maximum, h, margin); };

    luminance_meter_layout layout;
    const int width = std::min(widget.width(), kMaxBarWidth);
    const int yMinimum = y(state.minimum);
    layout.background = QRect(widget.width() / 2 - width / 2, y(state.maximum), width, yMinimum - y(state.maximum));

    // A value below the scale shows an empty bar rather than one hanging downwards.
    const int yValue = y(std::min(state.value, state.maximum));
    layout.value_bar = QRect(layout.background.left() + 1, yValue, width - 2, std::max(0, yMinimum - yValue));
    if (state.value > state.maximum && layout.value_bar.height() > 0)
        layout.scale_break = scale_break_over(layout.value_bar);

    layout.show_target = state.show_target;
    const int arrowTop = y(state.target_level) - margin + 1;
    layout.left_arrow = QPoint(layout.background.left() - arrow.width() - 1, arrowTop);
    layout.right_arrow = QPoint(layout.background.right() + 2, arrowTop);
    return layout;
}
