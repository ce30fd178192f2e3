#include "views/widgets/plot_geometry.h"

#include <QLatin1Char>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMinimumBand = 4;
constexpr int kRampWidth = 10;

double fraction(double value, double min, double max)
{
    const double span = max - min;
    if (span == 0.0 || !std::isfinite(span))
        return 0.0;
    return (value - min) / span;
}

int wider_label(const QFontMetrics &metrics, double a, double b, int decimals)
{
    return std::max(metrics.horizontalAdvance(plot_tick_label(a, decimals)),
                    metrics.horizontalAdvance(plot_tick_label(b, decimals)));
}

} // namespace

QRect plot_rect(const plot_margins &margins, int width, int height)
{
    return QRect(margins.left, margins.top, width - margins.right - margins.left,
                 height - margins.bottom - margins.top);
}

QPointF plot_map_to_pixel(const PlotRange &range, const QPointF &point, const QRect &rect)
{
    return QPointF(rect.left() + (rect.width() - 1) * fraction(point.x(), range.minX, range.maxX),
                   rect.bottom() - (rect.height() - 1) * fraction(point.y(), range.minY, range.maxY));
}

QString plot_tick_label(double value, int decimals)
{
    return QStringLiteral("%L1").arg(value, 0, 'f', decimals);
}

plot_margins plot_margins_for(const PlotRange &range, const plot_decorations &shown, const QFontMetrics &metrics,
                              int zoomButtonHeight)
{
    plot_margins margins;
    margins.labelInset = metrics.horizontalAdvance(QLatin1Char('O')) / 2;
    margins.left = 5;
    margins.right = 3;
    margins.top = 4 + zoomButtonHeight;
    margins.bottom = 5;
    if (shown.yTitle)
        margins.left += metrics.height();
    if (shown.tickLabels) {
        margins.left += wider_label(metrics, range.minY, range.maxY, tick_label_decimals(range.minY, range.maxY))
                        + 2 * margins.labelInset;
        margins.right += wider_label(metrics, range.minX, range.maxX, tick_label_decimals(range.minX, range.maxX)) / 2;
    }
    if (shown.yRamp)
        margins.left += kRampWidth;
    if (shown.xTitle)
        margins.bottom += metrics.height();
    if (shown.tickLabels)
        margins.bottom += metrics.height();
    if (shown.xRamp)
        margins.bottom += kRampWidth;
    return margins;
}

QRect plot_square_rubber_band(QPoint origin, QPoint pointer)
{
    QRect band(origin, origin);
    band.setBottomRight(pointer);
    const int width = band.width();
    const int height = band.height();
    const int side = std::abs(std::min(width, height));
    band.setWidth(width < 0 ? -side : side);
    band.setHeight(height < 0 ? -side : side);
    return band;
}

std::optional<PlotRange> plot_zoom_range(const PlotRange &current, const QRect &band, const QRect &plot)
{
    QRect rect = band.normalized();
    if (rect.width() < kMinimumBand || rect.height() < kMinimumBand || plot.width() <= 0 || plot.height() <= 0)
        return std::nullopt;
    rect.translate(-plot.left(), -plot.top());
    rect.setBottom(std::min(rect.bottom(), plot.height() - 1));
    rect.setTop(std::max(rect.top(), 0));
    rect.setRight(std::min(rect.right(), plot.width()));
    rect.setLeft(std::max(rect.left(), 0));
    const int side = std::min(rect.width(), rect.height());
    if (side <= 0)
        return std::nullopt;
    rect.setWidth(side);
    rect.setHeight(side);

    const double dx = current.spanX() / plot.width();
    const double dy = current.spanY() / plot.height();
    PlotRange zoomed = current;
    zoomed.minX = current.minX + rect.left() * dx;
    zoomed.maxX = current.minX + rect.right() * dx;
    zoomed.minY = current.maxY - rect.bottom() * dy;
    zoomed.maxY = current.maxY - rect.top() * dy;
    zoomed.roundToTicks();
    return zoomed;
}
