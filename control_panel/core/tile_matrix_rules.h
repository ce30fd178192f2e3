#pragma once

// The tile matrix's numbers without widgets: a display's position in the
// matrix and the cell of the diagram it is, the sizes the diagram is given,
// the "off" value and the frame compensation's hundredths.
namespace tile_matrix_rules {

// Counted row by row from the top left cell, from 1: row × columns +
// column + 1 (column and row from 0).
int position(int column, int row, int columns);

// The cell of |position| in a matrix of |columns| × |rows|: false, and no
// cell, for a position outside 1 … columns × rows or a matrix without
// cells.
bool cell(int position, int columns, int rows, int &column, int &row);

// The diagram draws at least one column and one row.
int diagram_count(int count);

// "Off": 1 for a display whose maximum is 2, else 3.
int off_value(int maximum);

// Frames shown as a fraction, sent in hundredths to the nearest one.
int hundredths(double frames);

} // namespace tile_matrix_rules
