#pragma once

#include "jobs/job_list_item.h"

class CAdjustValue;

// The decisions of the Actions dock's trim and uniformity operations,
// without a widget.

// A display calibrated through its internal engine is trimmed through it.
bool trims_through_engine(const CAdjustValue &record);
// Whether the colour trim differs between the record before and after a
// trim dialog: switched on or off, or on in both with other values (a value
// that is not a number never equals).
bool colour_trim_changed(const CAdjustValue &before, const CAdjustValue &after);
// An accepted trim of a lookup-table calibration that changed the colour
// trim needs the tables written again.
bool trim_needs_table_rewrite(const CAdjustValue &before, const CAdjustValue &after, bool accepted);
// Writes the calibration settings back, with the trimmed calibrated white
// on the display afterwards when |evaluate| (Evaluate Calibration) is on.
job_list_item table_rewrite_job(bool evaluate);
