#pragma once

#include "app/controller/display_layout_item.h"

#include <QString>

class basic_monitor;

// The Connection dock's rules, without widgets: how the connection entered
// in the dock compares with the one last loaded from the display's layout
// record, what Update writes, and the one sequence that Auto Detect and
// Test run over the shared display link.

// The connection as last loaded from the record.
struct applied_connection
{
    bool rs232 = false;
    QString address;     // empty for RS-232
    int com_index = -1;  // COM row of the record's port; -1 for LAN or an unknown port
    int monitor_id = 0;
};

// What the dock's controls hold now.
struct connection_entry
{
    bool rs232 = false;
    int com_index = -1;             // current COM row, -1 for none
    QString com_name;               // its text
    QString address;                // the IP address line
    bool address_acceptable = false;
    int monitor_id = 0;             // data of the current ID row; 0 when no row is current
};

struct connection_edit_state
{
    bool com_enabled = false;
    bool address_enabled = false;   // the line edit and Search...
    bool valid = false;             // Test is enabled
    bool pending = false;           // Update is enabled and warns
    QString update_icon;
    QString update_tooltip;
};

// The connection of a layout record; |com_index| is the COM row whose text is
// the record's port (only looked at for RS-232).
applied_connection applied_connection_of(const display_layout_item &item, int com_index);

// A monitor ID must be chosen: an entry without one is never valid, so no ID
// 0 is written or tested.
connection_edit_state connection_edit_state_for(const applied_connection &applied, const connection_entry &entry);

// |item| with the entered connection, to be verified again.
display_layout_item updated_layout_item(display_layout_item item, const connection_entry &entry);

enum class link_check_kind { auto_detect, test };

struct link_check_result
{
    int status = -1;
    int detected_monitor_id = 0; // Auto Detect: the ID the display reported; 0 when none was read
};

// Auto Detect (the display that answers the all-displays address reports its
// monitor ID) or Test (the chosen ID answers with its model name) on the
// entered link. The shared link is released afterwards on every path, also
// when it did not open.
link_check_result run_link_check(basic_monitor &monitor, link_check_kind kind, const connection_entry &entry);
