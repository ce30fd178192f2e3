#include "layout_setup/KQ_display_layout_LAN_translate_direct_selection_widget.h"

KQ_display_layout_LAN_translate_direct_selection_widget::KQ_display_layout_LAN_translate_direct_selection_widget(
    QWidget *parent)
    : QWidget(parent)
{
    ui.setupUi(this);
}
