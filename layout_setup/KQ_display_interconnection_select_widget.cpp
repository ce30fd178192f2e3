#include "layout_setup/KQ_display_interconnection_select_widget.h"

KQ_display_interconnection_select_widget::KQ_display_interconnection_select_widget(QWidget *parent)
    : QWidget(parent)
{
    ui.setupUi(this);
}
