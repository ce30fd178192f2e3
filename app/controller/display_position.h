#pragma once

#include <QtGlobal>

// A place in the wall: 0-based column from the left, row from the top.
struct display_position
{
    qint32 column = 0;
    qint32 row = 0;

    bool operator==(const display_position &other) const
    {
        return column == other.column && row == other.row;
    }
    bool operator!=(const display_position &other) const { return !(*this == other); }
};
