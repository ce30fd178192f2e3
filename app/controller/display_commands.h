#pragma once

class basic_monitor;
struct display_layout_item;

// The commands the wall view sends to one display straight through the
// shared display link, outside the job pool.
enum class display_command {
    identify,        // flashes the display's colours; it must be on
    power,           // value non-zero: on, zero: standby
    osd_orientation, // value: the orientation to set
};

// The display is not switched on where it must be, or does not switch on
// (message 315).
constexpr int kErrDisplayNotPoweredOn = -1028;

// Opens |monitor| on |item|'s link and display, runs |command| and always puts
// the link back to none, whatever the outcome. 0 or the failure's code.
int run_display_command(basic_monitor &monitor, const display_layout_item &item, display_command command,
                        int value);
