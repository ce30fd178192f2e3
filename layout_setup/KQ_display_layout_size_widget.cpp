#include "layout_setup/KQ_display_layout_size_widget.h"

#include "layout_setup/layout_size_rule.h"

namespace {

// Each side alone may be up to 30 displays long; the form's own limit is lower.
constexpr int kLongestSide = 30;

} // namespace

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
    ui.columns_spinBox->setMaximum(kLongestSide);
    ui.rows_spinBox->setMaximum(kLongestSide);
    check_if_valid();
}

void KQ_display_layout_size_widget::check_if_valid()
{
    const bool valid = layout_size_valid(ui.columns_spinBox->value(), ui.rows_spinBox->value());
    emit size_valid(valid);
    ui.max_size_limit_label->setVisible(!valid);
}
