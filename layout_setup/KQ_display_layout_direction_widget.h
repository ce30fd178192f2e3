#pragma once

#include "ui_KQ_display_layout_direction_widget.h"

#include <QWidget>

// In which direction (clockwise or counter-clockwise) and line order (scan
// line or zig-zag) the displays are numbered from the first display's corner,
// shown on the array diagram. Starts with clockwise and scan line.
class KQ_display_layout_direction_widget : public QWidget
{
    Q_OBJECT

public:
    explicit KQ_display_layout_direction_widget(QWidget *parent = nullptr);

    void setLimitSizeForText(bool limit);
    void setArraySize(int rows, int columns);
    // 0 top left, 1 top right, 2 bottom left, 3 bottom right.
    void setStartingCorner(int corner);

    Ui::KQ_display_layout_direction_widgetClass ui;

public slots:
    void direction();
    void line_order();
};
