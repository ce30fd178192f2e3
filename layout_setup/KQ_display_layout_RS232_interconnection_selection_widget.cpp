#include "layout_setup/KQ_display_layout_RS232_interconnection_selection_widget.h"

KQ_display_layout_RS232_interconnection_selection_widget::KQ_display_layout_RS232_interconnection_selection_widget(
    QWidget *parent)
    : QWidget(parent)
{
    ui.setupUi(this);
}
