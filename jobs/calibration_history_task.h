#pragma once

#include "colour/calibration_history_item.h"

class CPDLANConnectionObject;
struct calibration_history_entry;

// JOB_TASK_READ_CALIBRATION_HISTORY: reads the calibration history that a
// display with the internal engine keeps (entries 1 to 10, newest first)
// into the display's record. An entry number the display has no entry for
// (-5008) ends the history with one empty entry; any other error ends the
// task with it and leaves the stored history as it was. Displays without
// the engine have no history: nothing is read.
int read_calibration_history(CPDLANConnectionObject &worker);

// One entry as the display reports it, in the record's form.
calibration_history_item history_item_from_entry(const calibration_history_entry &entry);
// The entry that stands for the end of the display's history.
calibration_history_item empty_history_item();
