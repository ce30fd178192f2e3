#include "layout_setup/array_diagram_geometry.h"

#include <QtGlobal>

namespace {

constexpr int kMinimumSide = 100;
constexpr int kPixelsPerCell = 10;
constexpr int kCharactersPerCell = 6;
constexpr int kCellForBaseFont = 20;
constexpr int kPixelsPerPoint = 4;

} // namespace

array_diagram_geometry::array_diagram_geometry(const QSize &widget, int columns_, int rows_)
{
    if (columns_ <= 0 || rows_ <= 0)
        return;
    columns = columns_;
    rows = rows_;
    cell = qMax(0, qMin(widget.height() / rows, widget.width() / columns));
    origin = QPoint(widget.width() / 2 - (columns * cell) / 2, widget.height() / 2 - (rows * cell) / 2);
}

QRect array_diagram_geometry::cellRect(int column, int row) const
{
    if (!hasCells() || column < 0 || column >= columns || row < 0 || row >= rows)
        return QRect();
    return QRect(origin.x() + column * cell, origin.y() + row * cell, cell, cell);
}

QPoint array_diagram_geometry::cellCentre(int column, int row) const
{
    const QRect square = cellRect(column, row);
    return QPoint(square.x() + cell / 2, square.y() + cell / 2);
}

bool array_diagram_geometry::cellAt(const QPoint &point, int inset, int *column, int *row) const
{
    if (!hasCells())
        return false;
    const QPoint offset = point - origin;
    if (offset.x() < 0 || offset.y() < 0)
        return false;
    const int c = offset.x() / cell;
    const int r = offset.y() / cell;
    if (c >= columns || r >= rows)
        return false;
    if (!cellRect(c, r).adjusted(inset, inset, -inset, -inset).contains(point))
        return false;
    *column = c;
    *row = r;
    return true;
}

QSize array_diagram_minimum_size(int columns, int rows, bool limitSizeForText, int averageCharWidth)
{
    const int perCell = limitSizeForText ? kCharactersPerCell * averageCharWidth : kPixelsPerCell;
    return QSize(qMax(kMinimumSide, columns * perCell), qMax(kMinimumSide, rows * perCell));
}

int array_diagram_point_size(int basePointSize, int cell)
{
    return basePointSize + qMax(0, cell - kCellForBaseFont) / kPixelsPerPoint;
}
