#include "control_panel/core/control_page_reader.h"

#include "display_protocol/basic_monitor.h"

#include <algorithm>

namespace {

int read_raw(basic_monitor &monitor, const control_row &row, int &value, int &maximum)
{
    maximum = -1;
    quint8 byte = 0;
    int status = 0;
    switch (row.read) {
    case read_operation::vcp_with_max:
        return monitor.get_vcp_with_max(row.code, value, maximum);
    case read_operation::vcp: {
        uint raw = 0;
        status = monitor.get_vcp(row.code, raw);
        value = static_cast<int>(std::min<uint>(raw, 0xFFFFu));
        return status;
    }
    case read_operation::power_state:
        status = monitor.get_power_state(byte);
        break;
    case read_operation::power_save_mode:
        status = monitor.get_power_save_mode(byte);
        break;
    case read_operation::power_save_time:
        status = monitor.get_power_setting_ca0b_2(byte);
        break;
    case read_operation::standby_time:
        status = monitor.get_power_setting_ca0b_4(byte);
        break;
    case read_operation::input_source: {
        uint raw = 0;
        status = monitor.get_input_source(raw);
        value = static_cast<int>(std::min<uint>(raw, 0xFFFFu));
        return status;
    }
    }
    value = byte;
    return status;
}

} // namespace

row_reading read_control_row(basic_monitor &monitor, const control_row &row)
{
    row_reading reading;
    reading.reached = true;
    int value = 0, maximum = -1;
    reading.status = read_raw(monitor, row, value, maximum);
    if (reading.status != 0)
        return reading;
    reading.minimum = row.minimum;
    reading.value = row.shown_value(value);
    if (row.maximum >= 0)
        reading.maximum = row.maximum;
    else if (maximum >= 0)
        reading.maximum = row.shown_value(maximum);
    else
        reading.maximum = std::max(reading.value, row.minimum);
    // A display that reports no room for its own control is not editable.
    if (maximum == 0 && row.read == read_operation::vcp_with_max && row.kind != control_kind::combo_box) {
        reading.empty_range = true;
        reading.value = 0;
        reading.maximum = 0;
        return reading;
    }
    // A choice is shown only as the display names it: a value without an
    // item selects none, and an on/off beyond its own range is neither.
    if (row.kind == control_kind::combo_box)
        return reading;
    if (row.kind == control_kind::check_box && maximum >= 0 && reading.value > reading.maximum) {
        reading.empty_range = true;
        return reading;
    }
    reading.value = std::clamp(reading.value, reading.minimum, std::max(reading.minimum, reading.maximum));
    return reading;
}

page_reading read_control_page(basic_monitor &monitor, const QList<control_row> &rows)
{
    page_reading page;
    page.rows.resize(rows.size());
    for (int i = 0; i < rows.size(); ++i) {
        const control_row &row = rows.at(i);
        row_reading &reading = page.rows[i];
        if (row.needs_previous && i > 0 && page.rows.at(i - 1).status != 0) {
            reading.reached = true;
            reading.status = page.rows.at(i - 1).status;
            continue;
        }
        reading = read_control_row(monitor, row);
        const bool unsupported = reading.status == basic_monitor::kNotSupported;
        const bool failed = reading.status != 0;
        if (row.on_failure.show_result || (failed && !unsupported && row.on_failure.show_other_failure)) {
            page.show_status = true;
            page.status = reading.status;
        }
        if (failed && (unsupported ? row.on_failure.end_on_unsupported : row.on_failure.end_on_other_failure)) {
            page.ended_at = i;
            break;
        }
    }
    return page;
}
