#include "layout_setup/KQ_display_layout_connection_widget.h"

#include "layout_setup/com_port_combo.h"
#include "layout_setup/connection_choices.h"

KQ_display_layout_connection_widget::KQ_display_layout_connection_widget(QWidget *parent)
    : QWidget(parent)
{
    ui.setupUi(this);
    fill_com_port_combo(ui.com_port_comboBox, m_watcher.ports());
    connect(ui.lan_radioButton, &QRadioButton::toggled, this, &KQ_display_layout_connection_widget::update_ui_state);
    connect(ui.rs232_radioButton, &QRadioButton::toggled, this,
            &KQ_display_layout_connection_widget::update_ui_state);
    connect(&m_watcher, &serial_port_watcher::deviceRemoved, this,
            &KQ_display_layout_connection_widget::onDeviceRemoved);
    connect(&m_watcher, &serial_port_watcher::deviceDiscovered, this,
            &KQ_display_layout_connection_widget::onDeviceDiscovered);
    update_ui_state();
}

serial_port_watcher *KQ_display_layout_connection_widget::portWatcher()
{
    return &m_watcher;
}

void KQ_display_layout_connection_widget::update_ui_state()
{
    ui.rs232_widget->setEnabled(ui.rs232_radioButton->isChecked());
}

void KQ_display_layout_connection_widget::SetModelConfigurationType(int value, int num_displays)
{
    const connection_choices choices = connection_choices_for(value, num_displays);
    ui.lan_radioButton->setEnabled(choices.lanEnabled);
    ui.rs232_radioButton->setEnabled(choices.rs232Enabled);
    if (choices.forced == connection_choices::force_lan)
        ui.lan_radioButton->setChecked(true);
    else if (choices.forced == connection_choices::force_rs232)
        ui.rs232_radioButton->setChecked(true);
}

void KQ_display_layout_connection_widget::onDeviceRemoved(const serial_port_record &)
{
    fill_com_port_combo(ui.com_port_comboBox, m_watcher.ports());
}

void KQ_display_layout_connection_widget::onDeviceDiscovered(const serial_port_record &)
{
    fill_com_port_combo(ui.com_port_comboBox, m_watcher.ports());
}
