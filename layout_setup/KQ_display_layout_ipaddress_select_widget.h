#pragma once

#include "ui_KQ_display_layout_ipaddress_select_widget.h"

#include <QWidget>

// The IP address of the first display, checked by IP4Validator and completed
// from the addresses the present layout already uses. Its page sets the
// label and registers the line edit as a field; "Search..." fills the line
// edit from the network search.
class KQ_display_layout_ipaddress_select_widget : public QWidget
{
    Q_OBJECT

public:
    explicit KQ_display_layout_ipaddress_select_widget(QWidget *parent = nullptr);

    Ui::KQ_display_layout_ipaddress_select_widgetClass ui;

public slots:
    void on_monitor_lan_search_pushButton_clicked();
};
