#include "layout_setup/KQ_display_array_size_diagram_widget.h"

#include "app/controller/layout_builder.h"
#include "layout_setup/array_diagram_geometry.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

const QColor kCellFill(255, 255, 192);
const QColor kHoverFill(255, 255, 205);
const QColor kSelectedFill(225, 225, 255);
const QColor kSelectedHoverFill(235, 235, 255);
const QColor kCellPen(128, 128, 128);
const QColor kOrderLine(0, 0, 64);
const QColor kVeil(255, 255, 192, 220);
constexpr int kOrderLineWidth = 3;
constexpr int kCellInset = 2;
constexpr int kDirectionCellInset = 4;

QRect inset(const QRect &square, int pixels)
{
    return square.adjusted(pixels, pixels, -pixels, -pixels);
}

} // namespace

KQ_display_array_size_diagram_widget::KQ_display_array_size_diagram_widget(QWidget *parent)
    : QWidget(parent)
    , m_basePointSize(font().pointSize())
    , m_averageCharWidth(fontMetrics().averageCharWidth())
{
    setAttribute(Qt::WA_Hover);
    setMouseTracking(true);
}

array_diagram_geometry KQ_display_array_size_diagram_widget::cellGeometry() const
{
    return array_diagram_geometry(size(), m_columns, m_rows);
}

void KQ_display_array_size_diagram_widget::showHover(bool show)
{
    m_showHover = show;
    update();
}

void KQ_display_array_size_diagram_widget::setRows(int rows)
{
    m_rows = rows;
    update();
}

void KQ_display_array_size_diagram_widget::setColumns(int columns)
{
    m_columns = columns;
    update();
}

QSize KQ_display_array_size_diagram_widget::minimumSizeHint() const
{
    return array_diagram_minimum_size(m_columns, m_rows, m_limitSizeForText, m_averageCharWidth);
}

QSize KQ_display_array_size_diagram_widget::sizeHint() const
{
    return minimumSizeHint();
}

void KQ_display_array_size_diagram_widget::setStartingCorner(int in_corner)
{
    m_startCorner = in_corner;
    update();
}

void KQ_display_array_size_diagram_widget::showLayoutDirection(bool in_show_layout_direction)
{
    m_showDirection = in_show_layout_direction;
    update();
}

void KQ_display_array_size_diagram_widget::setLayoutDirection(bool first_x)
{
    m_clockwise = first_x;
    update();
}

void KQ_display_array_size_diagram_widget::setLimitSizeForText(bool limit)
{
    m_limitSizeForText = limit;
    updateGeometry();
    adjustSize();
}

void KQ_display_array_size_diagram_widget::setLineOrder(bool zig_zag)
{
    m_zigzag = zig_zag;
    update();
}

void KQ_display_array_size_diagram_widget::getCurrentlySelectedDisplay(int &x, int &y)
{
    x = m_selected.x();
    y = m_selected.y();
}

void KQ_display_array_size_diagram_widget::showCurrentlySelectedDisplay(bool in_show_currently_selected_display)
{
    m_showSelected = in_show_currently_selected_display;
    update();
}

void KQ_display_array_size_diagram_widget::setCurrentlySelectedDisplay(int in_currently_selected_display_x,
                                                                       int in_currently_selected_display_y)
{
    m_selected = QPoint(in_currently_selected_display_x, in_currently_selected_display_y);
    update();
}

void KQ_display_array_size_diagram_widget::enterEvent(QEvent *)
{
    m_pointerInside = true;
    update();
}

void KQ_display_array_size_diagram_widget::leaveEvent(QEvent *)
{
    m_pointerInside = false;
    update();
}

void KQ_display_array_size_diagram_widget::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_showHover)
        return;
    int column = 0;
    int row = 0;
    if (cellGeometry().cellAt(event->pos(), cellInset(), &column, &row) && QPoint(column, row) != m_hover) {
        m_hover = QPoint(column, row);
        update();
    }
}

void KQ_display_array_size_diagram_widget::mouseReleaseEvent(QMouseEvent *event)
{
    int column = 0;
    int row = 0;
    if (event->button() == Qt::LeftButton && cellGeometry().cellAt(event->pos(), cellInset(), &column, &row))
        emit clicked(column, row);
    update();
}

int KQ_display_array_size_diagram_widget::cellInset() const
{
    return m_showDirection ? kDirectionCellInset : kCellInset;
}

bool KQ_display_array_size_diagram_widget::isHovered(const QPoint &cell) const
{
    return m_showHover && m_pointerInside && cell == m_hover;
}

void KQ_display_array_size_diagram_widget::paintEvent(QPaintEvent *)
{
    const array_diagram_geometry grid = cellGeometry();
    if (!grid.hasCells())
        return;
    QFont numbers = font();
    if (m_basePointSize > 0) // a font sized in pixels keeps its size
        numbers.setPointSize(array_diagram_point_size(m_basePointSize, grid.cell));
    if (numbers != font())
        setFont(numbers);
    QPainter painter(this);
    painter.setFont(numbers);
    paintCells(painter, grid);
    if (m_showDirection)
        paintDirection(painter, grid);
}

void KQ_display_array_size_diagram_widget::paintCells(QPainter &painter, const array_diagram_geometry &grid)
{
    const QPen outline(Qt::black);
    const QPen cellPen(kCellPen);
    for (int c = 0; c < grid.columns; ++c) {
        for (int r = 0; r < grid.rows; ++r) {
            const QPoint cell(c, r);
            const QRect square = grid.cellRect(c, r);
            const bool hovered = isHovered(cell);
            if (hovered) {
                painter.setPen(outline);
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(inset(square, 1));
            }
            painter.setPen(cellPen);
            painter.setBrush(hovered ? kHoverFill : kCellFill);
            painter.drawRect(inset(square, cellInset()));
            if (m_showSelected && cell == m_selected) {
                if (hovered) {
                    painter.setPen(outline);
                    painter.setBrush(Qt::NoBrush);
                    painter.drawRect(inset(square, 1));
                    painter.setPen(cellPen);
                }
                painter.setBrush(hovered ? kSelectedHoverFill : kSelectedFill);
                painter.drawRect(inset(square, kCellInset));
            }
        }
    }
}

void KQ_display_array_size_diagram_widget::paintDirection(QPainter &painter, const array_diagram_geometry &grid)
{
    // The order the layout builder numbers the displays in.
    const QList<display_position> order =
        display_visiting_order(grid.columns, grid.rows, m_startCorner, m_clockwise, m_zigzag);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(kOrderLine, kOrderLineWidth));
    for (int i = 1; i < order.size(); ++i)
        painter.drawLine(grid.cellCentre(order[i - 1].column, order[i - 1].row),
                         grid.cellCentre(order[i].column, order[i].row));
    painter.restore();

    painter.setPen(kCellPen);
    painter.setBrush(kVeil);
    for (int c = 0; c < grid.columns; ++c)
        for (int r = 0; r < grid.rows; ++r)
            painter.drawRect(inset(grid.cellRect(c, r), kDirectionCellInset));

    painter.setPen(Qt::black);
    int number = 1;
    for (const display_position &cell : order)
        painter.drawText(grid.cellRect(cell.column, cell.row), Qt::AlignCenter, QString::number(number++));
}
