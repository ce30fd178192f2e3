#pragma once

#include "control_panel/core/control_page_reader.h"
#include "control_panel/core/control_row.h"

#include <QList>

class basic_monitor;

// The Cooling page: its choices follow the display's maxima, and each
// temperature limit's range comes from a second control.
namespace cooling_page {

// Sensors 1 to |maximum| ("%1"), value k.
QList<control_item> sensor_items(int maximum);
// The fan modes up to |maximum|, "Forced On" first.
QList<control_item> fan_mode_items(int maximum);

// Reads the page's rows (sensor, speed, mode, then the three limits): the
// three choices as rows; then per sensor its limit (value, and as maximum
// the upper limit) and the span below the upper limit that sets the
// minimum. A limit that cannot be read ends the refresh. A span that cannot
// be read leaves the first sensor unusable; the others stay usable with the
// range and value they showed.
page_reading read(basic_monitor &monitor, const QList<control_row> &rows);

// Whether the temperature limits' group is usable: the first limit was read.
bool limits_readable(const page_reading &page);

} // namespace cooling_page
