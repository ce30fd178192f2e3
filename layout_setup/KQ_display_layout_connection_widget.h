#pragma once

#include "app/services/serial_port_watcher.h"
#include "ui_KQ_display_layout_connection_widget.h"

#include <QWidget>

// How this PC reaches the first display: over the LAN or directly by an
// RS-232 cable on one of the COM ports, whose list shows which ports are
// present and follows ports as they come and go.
class KQ_display_layout_connection_widget : public QWidget
{
    Q_OBJECT

public:
    explicit KQ_display_layout_connection_widget(QWidget *parent = nullptr);

    // The watcher behind the COM port list (tests replace its port source).
    serial_port_watcher *portWatcher();

    Ui::KQ_display_layout_connection_widgetClass ui;

public slots:
    void update_ui_state();
    void SetModelConfigurationType(int value, int num_displays);
    void onDeviceRemoved(const serial_port_record &info);
    void onDeviceDiscovered(const serial_port_record &info);

private:
    serial_port_watcher m_watcher;
};
