#pragma once

#include <QPoint>

// The rectangle of displays that will form one tile matrix, picked by two
// clicks on the wall's cells: the first sets one corner, a second within
// reach the opposite one. Clicking a corner again takes it back (the first
// corner takes both). A tile matrix spans at most kMaxSpan columns and rows,
// so a second corner farther away is refused.
class tile_matrix_selection
{
public:
    static constexpr int kMaxSpan = 10;

    // A click on cell (column, row). A refused click changes nothing; the
    // caller still reports the (unchanged) area, as for any click on a cell.
    void click(int column, int row);

    bool firstSet() const { return m_firstSet; }
    bool secondSet() const { return m_secondSet; }
    bool complete() const { return m_firstSet && m_secondSet; }
    QPoint first() const { return m_first; }
    QPoint second() const { return m_second; }
    // Moves the first corner without setting or clearing it; the area stays
    // until the next click.
    void setFirst(const QPoint &cell) { m_first = cell; }

    // The area as the last click left it, -1 each while it is not complete.
    int min_x() const { return m_min.x(); }
    int min_y() const { return m_min.y(); }
    int max_x() const { return m_max.x(); }
    int max_y() const { return m_max.y(); }
    bool inArea(int column, int row) const
    {
        return m_min.x() >= 0 && column >= m_min.x() && column <= m_max.x() && row >= m_min.y()
               && row <= m_max.y();
    }

private:
    void clearFirst();
    void clearSecond();

    bool m_firstSet = false;
    QPoint m_first{-1, -1};
    bool m_secondSet = false;
    QPoint m_second{-1, -1};
    QPoint m_min{-1, -1};
    QPoint m_max{-1, -1};
};
