#pragma once

#include "ui_KQ_display_layout_RS232_interconnection_selection_widget.h"

#include <QWidget>

// How the displays behind an RS-232 link are joined: an RS-232 or a LAN daisy
// chain. Its page registers the choices as fields.
class KQ_display_layout_RS232_interconnection_selection_widget : public QWidget
{
    Q_OBJECT

public:
    explicit KQ_display_layout_RS232_interconnection_selection_widget(QWidget *parent = nullptr);

    Ui::KQ_display_layout_RS232_interconnection_selection_widgetClass ui;
};
