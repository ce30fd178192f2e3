#include "layout_setup/KQ_display_layout_size_widget.h"

#include "app/controller/layout_builder.h"

KQ_display_layout_size_widget::KQ_display_layout_size_widget(QWidget *parent)
    : QWidget(parent)
{
    ui.setupUi(this);
    ui.display_array_size_diagram_widget->setRows(1);
    ui.display_array_size_diagram_widget->setColumns(1);
    const auto valueChanged = QOverload<int>::of(&QSpinBox::valueChanged);
    connect(ui.columns_spinBox, valueChanged, this, &KQ_display_layout_size_widget::check_if_valid);
    connect(ui.rows_spinBox, valueChanged, this, &KQ_display_layout_size_widget::check_if_valid);
    connect(ui.columns_spinBox, valueChanged, ui.display_array_size_diagram_widget,
            &KQ_display_array_size_diagram_widget::setColumns);
    connect(ui.rows_spinBox, valueChanged, ui.display_array_size_diagram_widget,
            &KQ_display_array_size_diagram_widget::setRows);
    // The form's own limits are lower.
    ui.columns_spinBox->setMaximum(kMaxWallColumns);
    ui.rows_spinBox->setMaximum(kMaxWallRows);
    check_if_valid();
}

void KQ_display_layout_size_widget::check_if_valid()
{
    const bool valid = is_valid_wall_size(ui.columns_spinBox->value(), ui.rows_spinBox->value());
    emit size_valid(valid);
    ui.max_size_limit_label->setVisible(!valid);
}
