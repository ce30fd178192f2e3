#include "control_panel/core/tile_matrix_rules.h"

#include <QtGlobal>

#include <algorithm>

namespace tile_matrix_rules {

int position(int column, int row, int columns)
{
    return row * columns + column + 1;
}

bool cell(int position, int columns, int rows, int &column, int &row)
{
    if (columns < 1 || rows < 1 || position < 1 || position > columns * rows)
        return false;
    column = (position - 1) % columns;
    row = (position - 1) / columns;
    return true;
}

int diagram_count(int count)
{
    return std::max(1, count);
}

int off_value(int maximum)
{
    return maximum == 2 ? 1 : 3;
}

int hundredths(double frames)
{
    return qRound(frames * 100.0);
}

} // namespace tile_matrix_rules
