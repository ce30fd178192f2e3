#pragma once

#include "app/services/serial_port_watcher.h"
#include "views/docks/communications_interface_state.h"

#include <QWidget>

#include <memory>

class QCompleter;
namespace Ui {
class KQ_communications_interface_configure_widgetClass;
}

// The Connection dock: how the program reaches the selected display (a COM
// port or an IP address, and a monitor ID). Edits stay in the dock until
// Update writes them into the display's layout record; Auto Detect and Test
// use the shared display link directly, under a wait cursor.
class KQ_communications_interface_configure_widget : public QWidget
{
    Q_OBJECT

public:
    explicit KQ_communications_interface_configure_widget(QWidget *parent = nullptr);
    ~KQ_communications_interface_configure_widget() override;

    // The serial port notifications the COM list follows.
    serial_port_watcher *portWatcher() { return &m_portWatcher; }

signals:
    void status_message(QString text, int timeout);

public slots:
    void UpdateDataDisplay();
    void selection_changed(int index);
    void update_record();
    void update_ui_state();
    void verify_clicked();
    void onDeviceRemoved(const serial_port_record &port);
    void onDeviceDiscovered(const serial_port_record &port);
    void on_verify_pushButton_clicked();
    void on_lan_search_pushButton_clicked();
    void on_auto_detect_pushButton_clicked();

private:
    void fill_monitor_id_combo();
    void replace_completer();
    bool current_record(display_layout_item &item) const;
    connection_entry entry() const;
    link_check_result check_link(link_check_kind kind);
    void show_check_result(int status);

    std::unique_ptr<Ui::KQ_communications_interface_configure_widgetClass> ui;
    int m_currentIndex = -1;
    QCompleter *m_completer = nullptr; // owned; replaced on every refresh
    applied_connection m_applied;
    serial_port_watcher m_portWatcher;
};
