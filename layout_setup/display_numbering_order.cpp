#include "layout_setup/display_numbering_order.h"

QVector<QPoint> display_numbering_order(int columns, int rows, int corner, bool clockwise, bool zigzag)
{
    QVector<QPoint> order;
    if (columns <= 0 || rows <= 0)
        return order;
    const bool fromRight = corner == 1 || corner == 3;
    const bool fromBottom = corner == 2 || corner == 3;
    const bool rowByRow = clockwise == (corner == 0 || corner == 3);
    const int lines = rowByRow ? rows : columns;
    const int length = rowByRow ? columns : rows;
    const bool lineReversed = rowByRow ? fromBottom : fromRight;
    const bool alongReversed = rowByRow ? fromRight : fromBottom;
    order.reserve(lines * length);
    for (int k = 0; k < lines; ++k) {
        const int line = lineReversed ? lines - 1 - k : k;
        const bool reversed = alongReversed != (zigzag && k % 2 == 1);
        for (int m = 0; m < length; ++m) {
            const int along = reversed ? length - 1 - m : m;
            order.append(rowByRow ? QPoint(along, line) : QPoint(line, along));
        }
    }
    return order;
}
