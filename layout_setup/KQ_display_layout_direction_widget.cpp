#include "layout_setup/KQ_display_layout_direction_widget.h"

KQ_display_layout_direction_widget::KQ_display_layout_direction_widget(QWidget *parent)
    : QWidget(parent)
{
    ui.setupUi(this);
    ui.display_array_size_diagram_widget->showLayoutDirection(true);
    connect(ui.clockwise_radioButton, &QRadioButton::clicked, this, &KQ_display_layout_direction_widget::direction);
    connect(ui.anticlockwise_radioButton, &QRadioButton::clicked, this,
            &KQ_display_layout_direction_widget::direction);
    connect(ui.scanline_radioButton, &QRadioButton::clicked, this, &KQ_display_layout_direction_widget::line_order);
    connect(ui.zigzag_radioButton, &QRadioButton::clicked, this, &KQ_display_layout_direction_widget::line_order);
    ui.clockwise_radioButton->click();
    ui.scanline_radioButton->click();
}

void KQ_display_layout_direction_widget::setLimitSizeForText(bool limit)
{
    ui.display_array_size_diagram_widget->setLimitSizeForText(limit);
}

void KQ_display_layout_direction_widget::setArraySize(int rows, int columns)
{
    ui.display_array_size_diagram_widget->setRows(rows);
    ui.display_array_size_diagram_widget->setColumns(columns);
}

void KQ_display_layout_direction_widget::setStartingCorner(int corner)
{
    ui.display_array_size_diagram_widget->setStartingCorner(corner);
}

void KQ_display_layout_direction_widget::direction()
{
    ui.display_array_size_diagram_widget->setLayoutDirection(ui.clockwise_radioButton->isChecked());
}

void KQ_display_layout_direction_widget::line_order()
{
    ui.display_array_size_diagram_widget->setLineOrder(ui.zigzag_radioButton->isChecked());
}
