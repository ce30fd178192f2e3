#include "views/widgets/corner_uniformity_geometry.h"

#include <QCoreApplication>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kLongSide = 100.0;
constexpr double kShortSide = 56.0;
constexpr double kHitInset = 2.0;
constexpr double kAnchorOffset = 50.0;
constexpr double kTextBox = 1000.0;
constexpr double kMinimumPointSize = 1.0;
constexpr double kPi = 3.1415;

enum Side { kLeft, kRight };
enum Edge { kTop, kBottom };

struct corner_place
{
    Side side;
    Edge edge;
};

// Where each corner number sits on screen.
constexpr corner_place kLandscape[4] = {{kLeft, kTop}, {kRight, kTop}, {kLeft, kBottom}, {kRight, kBottom}};
constexpr corner_place kPortrait[4] = {{kRight, kTop}, {kRight, kBottom}, {kLeft, kTop}, {kLeft, kBottom}};

bool valid_corner(int corner)
{
    return corner >= 0 && corner < 4;
}

corner_place place_of(int corner, bool portrait)
{
    return portrait ? kPortrait[corner] : kLandscape[corner];
}

int corner_of(corner_place place, bool portrait)
{
    const corner_place *places = portrait ? kPortrait : kLandscape;
    for (int corner = 0; corner < 4; ++corner) {
        if (places[corner].side == place.side && places[corner].edge == place.edge)
            return corner;
    }
    return -1;
}

// Level bands are measured from a point on the hit rectangle: the middle of
// the long edge opposite the selected corner's side, moved 50 units along it.
QPointF level_anchor(int corner, bool portrait)
{
    const QRectF hit = corner_diagram_hit_rect(portrait);
    if (!valid_corner(corner))
        return hit.center();
    if (!portrait) {
        switch (corner) {
        case 0: return hit.bottomLeft() + QPointF(kAnchorOffset, 0);
        case 1: return hit.bottomRight() - QPointF(kAnchorOffset, 0);
        case 2: return hit.topLeft() + QPointF(kAnchorOffset, 0);
        default: return hit.topRight() - QPointF(kAnchorOffset, 0);
        }
    }
    switch (corner) {
    case 0: return hit.topLeft() + QPointF(0, kAnchorOffset);
    case 1: return hit.bottomLeft() - QPointF(0, kAnchorOffset);
    case 2: return hit.topRight() + QPointF(0, kAnchorOffset);
    default: return hit.bottomRight() - QPointF(0, kAnchorOffset);
    }
}

} // namespace

QRectF corner_diagram_outline(bool portrait)
{
    const QSizeF size = portrait ? QSizeF(kShortSide, kLongSide) : QSizeF(kLongSide, kShortSide);
    return QRectF(QPointF(-size.width() / 2, -size.height() / 2), size);
}

QRectF corner_diagram_hit_rect(bool portrait)
{
    return corner_diagram_outline(portrait).adjusted(0, 0, -kHitInset, -kHitInset);
}

QTransform corner_diagram_transform(QSize widget, bool portrait)
{
    const double across = portrait ? widget.width() * kLongSide / kShortSide : widget.width();
    const double down = portrait ? widget.height() : widget.height() * kLongSide / kShortSide;
    const double scale = std::min(across, down) / kLongSide;
    QTransform transform;
    transform.translate(widget.width() / 2.0, widget.height() / 2.0);
    transform.scale(scale, scale);
    return transform;
}

int corner_diagram_corner_at(QPointF point, bool portrait)
{
    if (std::isnan(point.x()) || std::isnan(point.y()))
        return -1;
    const corner_place place{point.x() < 0 ? kLeft : kRight, point.y() < 0 ? kTop : kBottom};
    return corner_of(place, portrait);
}

int corner_diagram_level_at(QPointF point, int selectedCorner, bool portrait)
{
    const QPointF anchor = level_anchor(selectedCorner, portrait);
    const double distance = std::abs(point.x() - anchor.x()) + std::abs(point.y() - anchor.y());
    const int d = static_cast<int>(std::min(distance, 1.0e6));
    if (d <= 56)
        return 0;
    if (d <= 72)
        return 1;
    return 2;
}

int corner_diagram_moved(int corner, int key, bool portrait)
{
    if (!valid_corner(corner))
        return corner;
    corner_place place = place_of(corner, portrait);
    switch (key) {
    case Qt::Key_Left: place.side = kLeft; break;
    case Qt::Key_Right: place.side = kRight; break;
    case Qt::Key_Up: place.edge = kTop; break;
    case Qt::Key_Down: place.edge = kBottom; break;
    default: return corner;
    }
    return corner_of(place, portrait);
}

Qt::CursorShape corner_diagram_cursor(int corner, bool portrait)
{
    if (!valid_corner(corner))
        return Qt::ArrowCursor;
    const corner_place place = place_of(corner, portrait);
    // Top-left and bottom-right corners drag along the falling diagonal.
    return (place.side == kLeft) == (place.edge == kTop) ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
}

int corner_diagram_level(const CornerUniformityEntry &entry)
{
    return entry.size_level == 1 || entry.size_level == 2 ? entry.size_level : 0;
}

double corner_diagram_level_fraction(int level)
{
    return level == 1 ? 0.35 : level == 2 ? 0.2 : 0.5;
}

QColor corner_diagram_tint(const CornerUniformityEntry &entry, const QColor &fill)
{
    if (entry.first_span == 0 || entry.second_span == 0)
        return fill;
    const double x = double(entry.first_offset) / entry.first_span - 0.5;
    const double y = double(entry.second_offset) / entry.second_span - 0.5;
    int hue = static_cast<int>(std::atan2(y, x) * 180.0 / kPi);
    if (hue < 0)
        hue += 360;
    const double saturation = std::sqrt(x * x + y * y) * 360.0 * 5.0;
    return QColor::fromHsv(std::clamp(hue, 0, 359), static_cast<int>(std::min(saturation, 255.0)), fill.value());
}

QPointF corner_diagram_corner_point(int corner, bool portrait)
{
    const QRectF outline = corner_diagram_outline(portrait);
    if (!valid_corner(corner))
        return outline.center();
    const corner_place place = place_of(corner, portrait);
    return QPointF(place.side == kLeft ? outline.left() : outline.right(),
                   place.edge == kTop ? outline.top() : outline.bottom());
}

// The tint runs across the short side: towards the opposite long edge, one
// short side along it.
QPointF corner_diagram_tint_end(int corner, bool portrait)
{
    const QRectF outline = corner_diagram_outline(portrait);
    const QPointF a = corner_diagram_corner_point(corner, portrait);
    if (!valid_corner(corner))
        return a;
    const corner_place place = place_of(corner, portrait);
    const double along = place.side == kLeft ? kShortSide : -kShortSide;
    const double down = place.edge == kTop ? kShortSide : -kShortSide;
    if (portrait)
        return QPointF(place.side == kLeft ? outline.right() : outline.left(), a.y() + down);
    return QPointF(a.x() + along, place.edge == kTop ? outline.bottom() : outline.top());
}

QPolygonF corner_diagram_triangle(int corner, bool portrait, double leg)
{
    if (!valid_corner(corner))
        return {};
    const QPointF a = corner_diagram_corner_point(corner, portrait);
    const corner_place place = place_of(corner, portrait);
    const double dx = place.side == kLeft ? leg : -leg;
    const double dy = place.edge == kTop ? leg : -leg;
    return QPolygonF({a, a + QPointF(dx, 0), a + QPointF(0, dy)});
}

QString corner_diagram_label(int layoutIndex, bool enabled, bool supported)
{
    QString label = QCoreApplication::translate("KQ_corner_uniformity_diagram_widget", "# %1").arg(layoutIndex + 1);
    if (!enabled)
        label += QCoreApplication::translate("KQ_corner_uniformity_diagram_widget", "\nUnsupported model");
    else if (!supported)
        label += QCoreApplication::translate("KQ_corner_uniformity_diagram_widget", "\nCorrection Off");
    return label;
}

QFont corner_diagram_fitted_font(const QFont &font, const QString &text, double width)
{
    QFont fitted = font;
    const QRectF box(-kTextBox / 2, -kTextBox / 2, kTextBox, kTextBox);
    while (fitted.pointSizeF() > kMinimumPointSize
           && QFontMetricsF(fitted).boundingRect(box, Qt::AlignCenter, text).width() > width)
        fitted.setPointSizeF(std::max(kMinimumPointSize, fitted.pointSizeF() - 1.0));
    return fitted;
}
