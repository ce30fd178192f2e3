#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the cells of a wall diagram lie: columns x rows square cells, as large
// as the widget allows and centred in it. Painting, the mouse handlers and the
// tests all ask these functions, so a click always lands on the cell drawn.
// A diagram without cells (no columns or no rows, or a widget too small for a
// pixel per cell) has cell size 0 and no cell anywhere.
struct array_diagram_geometry {
    int columns = 0;
    int rows = 0;
    int cell = 0; // side of one cell in pixels
    QPoint origin; // top-left corner of cell (0, 0)

    array_diagram_geometry() = default;
    array_diagram_geometry(const QSize &widget, int columns, int rows);

    bool hasCells() const { return cell > 0; }

    // The square of cell (column, row); a null rectangle outside the grid.
    QRect cellRect(int column, int row) const;
    QPoint cellCentre(int column, int row) const;

    // The cell whose square, shrunk by |inset| pixels on every side (the part
    // that is painted), holds |point|; false for points outside every cell
    // and in the gaps between them.
    bool cellAt(const QPoint &point, int inset, int *column, int *row) const;
};

// The diagram's minimum size: 10 px per cell, or six average character widths
// per cell when the numbers must fit, and never below 100 x 100.
QSize array_diagram_minimum_size(int columns, int rows, bool limitSizeForText, int averageCharWidth);

// The point size of the cell numbers: the font grows by one point for every
// four pixels a cell is wider than 20.
int array_diagram_point_size(int basePointSize, int cell);
