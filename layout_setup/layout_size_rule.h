#pragma once

// A wall holds at most 100 displays, however its columns and rows are chosen.
constexpr int kMaximumWallDisplays = 100;

inline bool layout_size_valid(int columns, int rows)
{
    return columns * rows <= kMaximumWallDisplays;
}
