#pragma once

#include "layout_setup/layout_wizard_answers.h"

#include <QString>

// How a wall described in the layout wizard is cabled and set up, as one
// configuration code:
//   1 one display on the LAN            2 one display on RS-232
//   3 RS-232 link, RS-232 daisy chain   4 RS-232 link, LAN daisy chain
//   5 LAN link, RS-232 daisy chain      6 LAN daisy chain translated by the first display
//   7 LAN daisy chain, direct           8 separate LAN links, one shared ID
//   9 separate LAN links                0 none of these
enum layout_connection_kind { CONNECTION_NONE = 0, CONNECTION_LAN = 1, CONNECTION_RS232 = 2 };

int layout_configuration_code(const layout_wizard_answers &answers);

// Codes 4 and 7 leave the monitor IDs to the displays' Auto ID function,
// which counts from 1.
bool configuration_ids_start_at_one(int code);

// What the summary says about a configuration: links, cables, which columns
// and notes it shows.
struct layout_configuration
{
    int code = 0;
    int first_display_connection_type = CONNECTION_NONE;
    int other_display_connection_type = CONNECTION_NONE;
    int total_number_lan_cables = 0;
    int total_number_lan_hub_ports = 0;
    int total_number_rs232_cables = 0;
    bool crossover_warning = false;
    bool show_auto_id_notice = false;
    bool show_first_display_ip = false;
    bool show_other_display_ip = false;
    bool ip_address_assigned_by_display = false;
    bool show_need_manual_IP_address_config = false;
    bool show_external_control_setting = false;
    bool show_external_control_setting_if_applicable = false;
    QString lan_input_name; // "LAN1" or "LAN"

    bool show_ip_column() const { return show_first_display_ip || show_other_display_ip; }
    bool first_on_lan() const { return first_display_connection_type == CONNECTION_LAN; }
    bool any_on_lan() const
    {
        return first_on_lan() || other_display_connection_type == CONNECTION_LAN;
    }
};

// The configuration of |code| for a wall of |displayCount| displays whose
// model has the connector configuration |modelConfigurationType|.
layout_configuration layout_configuration_for(int code, int displayCount, int modelConfigurationType);

// "LAN", "RS232", or empty for no connection.
QString connection_name(int connectionType);
