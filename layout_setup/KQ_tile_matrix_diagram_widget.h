#pragma once

#include "layout_setup/tile_matrix_selection.h"

#include <QPoint>
#include <QWidget>

struct array_diagram_geometry;

// The wall as a grid of square cells on which the operator picks the
// rectangle of displays that form one tile matrix: a click on one corner,
// a click on the opposite one. The area is published as four read-only
// properties (the wizard's fields) and by the signals.
class KQ_tile_matrix_diagram_widget : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int min_x READ min_x NOTIFY changed)
    Q_PROPERTY(int min_y READ min_y NOTIFY changed)
    Q_PROPERTY(int max_x READ max_x NOTIFY changed)
    Q_PROPERTY(int max_y READ max_y NOTIFY changed)

public:
    explicit KQ_tile_matrix_diagram_widget(QWidget *parent = nullptr);

    int min_x() const { return m_selection.min_x(); }
    int min_y() const { return m_selection.min_y(); }
    int max_x() const { return m_selection.max_x(); }
    int max_y() const { return m_selection.max_y(); }
    const tile_matrix_selection &selection() const { return m_selection; }
    // Where the cells lie at the widget's present size.
    array_diagram_geometry cellGeometry() const;

signals:
    void valid(bool valid);
    void changed();

public slots:
    void setRows(int rows);
    void setColumns(int columns);
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;
    void getCurrentlySelectedDisplay(int &x, int &y);
    void showCurrentlySelectedDisplay(bool in_show_currently_selected_display);
    void setCurrentlySelectedDisplay(int in_currently_selected_display_x, int in_currently_selected_display_y);

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool isHovered(int column, int row) const;
    void paintMark(QPainter &painter, const QRect &square, bool hovered, const QColor &centre,
                   const QColor &hoveredCentre);

    int m_rows = 1;
    int m_columns = 1;
    tile_matrix_selection m_selection;
    bool m_showSelection = false;
    bool m_pointerInside = false;
    QPoint m_hover{-1, -1};
};
