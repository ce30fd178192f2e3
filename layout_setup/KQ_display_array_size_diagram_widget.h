#pragma once

#include <QPoint>
#include <QWidget>

struct array_diagram_geometry;

// The wall as a grid of columns x rows square cells, centred in the widget.
// The size page shows the array being sized, the direction page the numbering
// order on top of it, and the display control panel picks a display with it
// (hover highlight, click signal, selected cell). Owners push the grid's
// size, corner, direction and line order in; the widget keeps no model.
class KQ_display_array_size_diagram_widget : public QWidget
{
    Q_OBJECT

public:
    explicit KQ_display_array_size_diagram_widget(QWidget *parent = nullptr);

    // Where the cells lie at the widget's present size.
    array_diagram_geometry cellGeometry() const;

signals:
    void clicked(int x, int y);

public slots:
    void showHover(bool show);
    void setRows(int rows);
    void setColumns(int columns);
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;
    void setStartingCorner(int in_corner);
    void showLayoutDirection(bool in_show_layout_direction);
    void setLayoutDirection(bool first_x);
    void setLimitSizeForText(bool limit);
    void setLineOrder(bool zig_zag);
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
    int cellInset() const;
    bool isHovered(const QPoint &cell) const;
    void paintCells(QPainter &painter, const array_diagram_geometry &grid);
    void paintDirection(QPainter &painter, const array_diagram_geometry &grid);

    int m_rows = 1;
    int m_columns = 1;
    int m_startCorner = 0;
    bool m_showDirection = false;
    bool m_clockwise = true;
    bool m_zigzag = false;
    int m_basePointSize = 0;
    int m_averageCharWidth = 0;
    bool m_limitSizeForText = false;
    QPoint m_selected{0, 0};
    bool m_showSelected = false;
    bool m_pointerInside = false;
    bool m_showHover = false;
    QPoint m_hover{-1, -1};
};
