#pragma once

#include "colour/CornerUniformityEntry.h"

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QTransform>

// The corner uniformity diagram in diagram units: a 100 x 56 outline
// (56 x 100 in portrait) centred on the origin. Corners on screen: landscape
// 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right; portrait 0
// top-right, 1 bottom-right, 2 top-left, 3 bottom-left.

QRectF corner_diagram_outline(bool portrait);
// The outline less 2 units at right and bottom: where the pointer counts.
QRectF corner_diagram_hit_rect(bool portrait);
// Diagram units to widget pixels: the outline centred and as large as fits.
QTransform corner_diagram_transform(QSize widget, bool portrait);

// The corner of the quadrant of |point|; -1 for a point that is not a number.
int corner_diagram_corner_at(QPointF point, bool portrait);
// The level band (0, 1 or 2) under |point| for |selectedCorner| (-1: none).
int corner_diagram_level_at(QPointF point, int selectedCorner, bool portrait);
// The corner an arrow key (Qt::Key_Left ... Qt::Key_Down) moves the
// selection to, turning with the display; |corner| itself when none.
int corner_diagram_moved(int corner, int key, bool portrait);
// The corner's diagonal resize cursor.
Qt::CursorShape corner_diagram_cursor(int corner, bool portrait);

// A corner's level as drawn: 1 medium, 2 small, anything else large (0).
int corner_diagram_level(const CornerUniformityEntry &entry);
// Levels 0, 1 and 2 as 0.5, 0.35 and 0.2: where a corner's tint fades out
// along its gradient, and the legs of its level triangle over the outline's
// larger side.
double corner_diagram_level_fraction(int level);
// The direction and size of a corner's correction as a colour at |fill|'s
// value; |fill| itself for a corner without a span.
QColor corner_diagram_tint(const CornerUniformityEntry &entry, const QColor &fill);
// The corner's point of the outline and the end of its tint gradient.
QPointF corner_diagram_corner_point(int corner, bool portrait);
QPointF corner_diagram_tint_end(int corner, bool portrait);
// A right triangle at |corner| with both legs |leg| long along its edges.
QPolygonF corner_diagram_triangle(int corner, bool portrait, double leg);

QString corner_diagram_label(int layoutIndex, bool enabled, bool supported);
// |font| stepped down a point at a time until |text| fits |width| units,
// never below 1 pt.
QFont corner_diagram_fitted_font(const QFont &font, const QString &text, double width);
