#pragma once

#include <QPoint>
#include <QVector>

// The order in which a wall of |columns| x |rows| displays is numbered from
// |corner| (0 top left, 1 top right, 2 bottom left, 3 bottom right): each
// point is a (column, row). Clockwise from the top-left or bottom-right corner
// runs along the rows, from the other two corners down the columns, and
// counter-clockwise the other way; zig-zag turns back on every other line.
// Empty when the wall has no displays.
QVector<QPoint> display_numbering_order(int columns, int rows, int corner, bool clockwise, bool zigzag);
