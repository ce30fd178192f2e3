#pragma once

#include "ui_KQ_display_layout_LAN_translate_direct_selection_widget.h"

#include <QWidget>

// Whether commands reach each display of a LAN daisy chain at its own address
// or are translated through the first display. Its page registers the choices.
class KQ_display_layout_LAN_translate_direct_selection_widget : public QWidget
{
    Q_OBJECT

public:
    explicit KQ_display_layout_LAN_translate_direct_selection_widget(QWidget *parent = nullptr);

    Ui::KQ_display_layout_LAN_translate_direct_selection_widgetClass ui;
};
