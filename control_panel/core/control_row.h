#pragma once

#include <QList>
#include <QString>

#include <utility>

// One setting of a control panel page as data: which display control it
// shows, the widgets that show it (by object name), how it is read, what a
// failed read does to the page refresh, how a change is written to one
// display and when its Update button writes to the targets through a job.
// Every page is a list of these rows over one read and write mechanism.

enum class control_kind {
    slider_pair,   // slider and spin box tied both ways; debounced write
    slider,        // slider alone; debounced write
    spin_box,      // debounced write through the spin-box path
    combo_box,     // item data holds the display's value; written at once
    radio_pair,    // first button "on", second "off"; written when one is checked
    label,         // shows a read value as text; never written
    check_box,     // a check box or checkable group box, checked for "on"; written when toggled
    double_spin_box,   // shows the display's hundredths as a fraction; written by its page
};

enum class read_operation {
    vcp_with_max,      // value and maximum
    vcp,               // value only
    power_state,       // basic_monitor::get_power_state
    power_save_mode,   // basic_monitor::get_power_save_mode
    power_save_time,   // basic_monitor::get_power_setting_ca0b_2
    standby_time,      // basic_monitor::get_power_setting_ca0b_4
    input_source,      // basic_monitor::get_input_source
};

enum class write_sequence {
    none,
    set_read_save,     // set, read back, save (update_vcp)
    power_setting,     // the CA0B writer behind the row's pseudo code
    power_save_mode,   // basic_monitor::set_power_save_mode, then re-select
    set_save,          // set, then save when the set succeeded; nothing read back
};

// What follows a row's direct write to one display.
enum class after_write {
    nothing,
    page_refresh,   // the shown page is read again as when it is shown (the status line is the read's)
    page_read,      // the page's rows are read again on the same link; the write's status stays
};

// When the row's Update button writes through a job.
enum class update_rule {
    none,
    always,         // also for one target
    several_only,   // only for two or more targets
};

// What a failed read does to the page refresh. -1027 is the display's
// "not supported"; every other failure is "other". A failed row is always
// disabled; rows the refresh never reaches are disabled too.
struct read_policy
{
    bool show_result = false;          // the status line shows the result, success clears it
    bool show_other_failure = false;   // the status line shows a failure other than -1027
    bool end_on_unsupported = false;
    bool end_on_other_failure = false;

    static read_policy go_on() { return {}; }
    static read_policy end_quietly() { return {false, false, false, true}; }
    static read_policy end_showing() { return {false, true, false, true}; }
    static read_policy shown_and_ends() { return {true, false, true, true}; }
};

struct control_item
{
    control_item() = default;
    control_item(QString text, int data, QString icon = QString())
        : text(std::move(text)), data(data), icon(std::move(icon))
    {
    }

    QString text;   // translated in the dialog's context
    int data = 0;
    QString icon;   // resource path; empty: none
};

struct control_row
{
    int code = 0;                 // control code (or pseudo code) from the named headers
    QString widget;               // the slider, spin box, combo box, label or "on" radio button
    QString partner;              // the pair's spin box or "off" radio button
    QString group;                // disabled instead of the widgets when set
    QString update_button;
    control_kind kind = control_kind::slider_pair;
    read_operation read = read_operation::vcp_with_max;
    read_policy on_failure = read_policy::end_quietly();
    write_sequence write = write_sequence::set_read_save;
    update_rule update = update_rule::always;
    bool slow_link = false;       // the display stays busy after this write: long reply waits
    after_write then = after_write::nothing;
    bool refresh_after_update = false;   // the Update button's job is followed by a page refresh
    bool needs_previous = false;  // read only when the row before was read; else unusable
    bool always_enabled = false;  // a failed read leaves the widget usable (no value shown)
    bool on_exactly = false;      // check box: "on" only at |on_value|
    bool job_when_not_one = false;   // a change with other than one target writes through a job
    // Combo box items built from the display's maximum at each read.
    QList<control_item> (*items_from_maximum)(int maximum) = nullptr;
    int scale = 1;                // shown value = display value × scale
    int minimum = 0;              // shown range; maximum -1: the display's maximum
    int maximum = -1;
    int step = 1;
    int on_value = 1;             // radio pair: the "on" button's value
    int off_value = 0;            // radio pair: the "off" button's value
    QList<control_item> items;    // combo box items, added at construction

    // The value a radio pair shows as "on": values at or beyond the "on"
    // value, seen from the "off" value.
    bool radio_on(int value) const
    {
        if (on_exactly)
            return value == on_value;
        return on_value > off_value ? value >= on_value : value < off_value;
    }
    // The value sent to the display for a shown value (integer division).
    int wire_value(int shown) const { return scale > 1 ? shown / scale : shown; }
    int shown_value(int wire) const { return wire * scale; }
};
