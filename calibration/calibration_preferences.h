#pragma once

#include "jobs/display_task_inputs.h"

// The preferences a calibration run follows, copied when the run is set up
// so that the operator may change the originals meanwhile: those every
// display task reads, and the calibration's own.
struct calibration_preferences
{
    display_task_preferences display;
    bool extended_stabilisation = false;
    bool measure_after_calibration = false;
    int grey_steps = 32;

    // The program's preferences, or the defaults while there are none.
    static calibration_preferences current();
};
