#pragma once

#include "colour/monitor_tracker_item.h"

struct job_list_item;

// The stored calibration record of a job's display, keyed by the model name
// and serial number the job read when it identified the display. Tasks copy
// the record out, change the copy and store it back; the store's mutex is
// held only inside each call.

// Copies the display's record into |record| (keys set); false, with a
// default record under the display's keys, when the store has none or
// there is no controller.
bool find_display_record(const job_list_item &job, monitor_tracker_item &record);
// The display's record; a new default one is added to the store first when
// it has none.
monitor_tracker_item fetch_display_record(const job_list_item &job);
// Writes |record| back under its keys.
void store_display_record(const monitor_tracker_item &record);
