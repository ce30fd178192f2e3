#pragma once

#include "colour/CTargetValue.h"
#include "colour/monitor_tracker_item.h"

#include <QtGlobal>

struct job_list_item;

// What the display tasks take from the program's shared state: the
// preferences, the calibration target and the display records. Each is
// copied at the start of a task, so that the user interface may change the
// original meanwhile.

// The preferences the display tasks read.
struct display_task_preferences
{
    int engine_picture_mode = 1;
    int engine_gamut = 1;
    int engine_uniformity = 11;
    int brightness_control_mode = 0;     // 2: the brightness control is left alone
    int calibration_method = 0;          // 1: RGB gains
    int programmable_gamma_number = 1;
    bool use_engine = true;

    // The program's preferences, or the defaults while there are none.
    static display_task_preferences current();
};

// A copy of the current calibration target (a default one without the
// controller).
CTargetValue current_target();

// Copies the record of the job's display (the job's model name and serial
// number) out of the record store into |item|, whose keys it sets; true when
// the store holds one. With |add_when_absent| a missing record is added as a
// default one, and |item| is that.
bool load_display_record(const job_list_item &job, monitor_tracker_item &item, bool add_when_absent);
// Writes |item| back into the record store.
void store_display_record(const monitor_tracker_item &item);
