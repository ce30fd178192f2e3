#include "layout_setup/KQ_display_layout_ID_widget.h"

KQ_display_layout_ID_widget::KQ_display_layout_ID_widget(QWidget *parent)
    : QWidget(parent)
{
    ui.setupUi(this);
}
