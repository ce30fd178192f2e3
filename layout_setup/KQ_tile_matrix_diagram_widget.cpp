#include "layout_setup/KQ_tile_matrix_diagram_widget.h"

#include "layout_setup/array_diagram_geometry.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kMinimumSide = 100;
constexpr int kPixelsPerCell = 20;
constexpr int kCellInset = 4;
constexpr int kMarkOuterInset = 2;
constexpr int kMarkInnerInset = 6;

const QColor kCellPen(64, 64, 64);
const QColor kCellFill(255, 255, 192);
const QColor kHoverFill(255, 255, 205);
const QColor kMarkFrame(128, 128, 128);
const QColor kHoveredMarkFrame(140, 140, 140);
const QColor kAreaCentre(128, 128, 255);
const QColor kHoveredAreaCentre(140, 140, 255);
const QColor kCornerCentre(64, 64, 255);
const QColor kHoveredCornerCentre(75, 75, 255);

QRect inset(const QRect &square, int pixels)
{
    return square.adjusted(pixels, pixels, -pixels, -pixels);
}

} // namespace

KQ_tile_matrix_diagram_widget::KQ_tile_matrix_diagram_widget(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_Hover);
    setMouseTracking(true);
}

array_diagram_geometry KQ_tile_matrix_diagram_widget::cellGeometry() const
{
    return array_diagram_geometry(size(), m_columns, m_rows);
}

void KQ_tile_matrix_diagram_widget::setRows(int rows)
{
    m_rows = rows;
    update();
}

void KQ_tile_matrix_diagram_widget::setColumns(int columns)
{
    m_columns = columns;
    update();
}

QSize KQ_tile_matrix_diagram_widget::minimumSizeHint() const
{
    return QSize(qMax(kMinimumSide, m_columns * kPixelsPerCell), qMax(kMinimumSide, m_rows * kPixelsPerCell));
}

QSize KQ_tile_matrix_diagram_widget::sizeHint() const
{
    return minimumSizeHint();
}

void KQ_tile_matrix_diagram_widget::getCurrentlySelectedDisplay(int &x, int &y)
{
    x = m_selection.first().x();
    y = m_selection.first().y();
}

void KQ_tile_matrix_diagram_widget::showCurrentlySelectedDisplay(bool in_show_currently_selected_display)
{
    m_showSelection = in_show_currently_selected_display;
    update();
}

void KQ_tile_matrix_diagram_widget::setCurrentlySelectedDisplay(int in_currently_selected_display_x,
                                                                int in_currently_selected_display_y)
{
    m_selection.setFirst(QPoint(in_currently_selected_display_x, in_currently_selected_display_y));
    update();
}

void KQ_tile_matrix_diagram_widget::enterEvent(QEvent *)
{
    m_pointerInside = true;
    update();
}

void KQ_tile_matrix_diagram_widget::leaveEvent(QEvent *)
{
    m_pointerInside = false;
    update();
}

void KQ_tile_matrix_diagram_widget::mouseMoveEvent(QMouseEvent *event)
{
    int column = 0;
    int row = 0;
    if (cellGeometry().cellAt(event->pos(), 0, &column, &row) && QPoint(column, row) != m_hover) {
        m_hover = QPoint(column, row);
        update();
    }
}

void KQ_tile_matrix_diagram_widget::mouseReleaseEvent(QMouseEvent *event)
{
    int column = 0;
    int row = 0;
    // A release beside every cell (or on a wall without cells) picks nothing.
    if (event->button() != Qt::LeftButton || !cellGeometry().cellAt(event->pos(), 0, &column, &row))
        return;
    m_selection.click(column, row);
    emit valid(m_selection.complete());
    emit changed();
    update();
}

bool KQ_tile_matrix_diagram_widget::isHovered(int column, int row) const
{
    return m_pointerInside && m_hover == QPoint(column, row);
}

void KQ_tile_matrix_diagram_widget::paintMark(QPainter &painter, const QRect &square, bool hovered,
                                              const QColor &centre, const QColor &hoveredCentre)
{
    const QPen white(Qt::white);
    if (hovered) {
        painter.setPen(QPen(Qt::black, 2));
        painter.setBrush(kHoveredMarkFrame);
        painter.drawRect(square.adjusted(2, 2, -1, -1));
    }
    painter.setPen(white);
    painter.setBrush(hovered ? kHoveredMarkFrame : kMarkFrame);
    painter.drawRect(inset(square, kMarkOuterInset));
    painter.setBrush(hovered ? hoveredCentre : centre);
    painter.drawRect(inset(square, kMarkInnerInset));
}

void KQ_tile_matrix_diagram_widget::paintEvent(QPaintEvent *)
{
    const array_diagram_geometry grid = cellGeometry();
    if (!grid.hasCells())
        return;
    QPainter painter(this);
    for (int c = 0; c < m_columns; ++c) {
        for (int r = 0; r < m_rows; ++r) {
            const QRect square = grid.cellRect(c, r);
            const bool hovered = isHovered(c, r);
            painter.setPen(QPen(kCellPen, hovered ? 2 : 1));
            painter.setBrush(hovered ? kHoverFill : kCellFill);
            painter.drawRect(inset(square, kCellInset));
            if (!m_showSelection)
                continue;
            if (m_selection.inArea(c, r))
                paintMark(painter, square, hovered, kAreaCentre, kHoveredAreaCentre);
            const QPoint cell(c, r);
            if (m_selection.first() == cell || m_selection.second() == cell)
                paintMark(painter, square, hovered, kCornerCentre, kHoveredCornerCentre);
        }
    }
}
