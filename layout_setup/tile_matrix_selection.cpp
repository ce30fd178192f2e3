#include "layout_setup/tile_matrix_selection.h"

#include <cstdlib>

void tile_matrix_selection::click(int column, int row)
{
    const QPoint cell(column, row);
    if (!m_firstSet) {
        m_first = cell;
        m_firstSet = true;
    } else if (cell == m_first) {
        clearFirst();
        clearSecond();
    } else if (m_secondSet && cell == m_second) {
        clearSecond();
    } else if (std::abs(column - m_first.x()) < kMaxSpan && std::abs(row - m_first.y()) < kMaxSpan) {
        m_second = cell;
        m_secondSet = true;
    }
    m_min = m_max = QPoint(-1, -1);
    if (complete()) {
        m_min = QPoint(qMin(m_first.x(), m_second.x()), qMin(m_first.y(), m_second.y()));
        m_max = QPoint(qMax(m_first.x(), m_second.x()), qMax(m_first.y(), m_second.y()));
    }
}

void tile_matrix_selection::clearFirst()
{
    m_firstSet = false;
    m_first = QPoint(-1, -1);
}

void tile_matrix_selection::clearSecond()
{
    m_secondSet = false;
    m_second = QPoint(-1, -1);
}
