#pragma once

class CPDLANConnectionObject;

// The tasks that put a display into a known state by writing control lists
// (display_control_lists.h).

// JOB_TASK_INITIALIZE_DISPLAY: prepares the display for a measurement or a
// calibration with the colour sensor, through its engine where the
// preferences say so.
int initialize_display(CPDLANConnectionObject &worker);
// JOB_TASK_INITIALIZE_DISPLAY_ENGINE: sets the display's engine to the
// calibration target without a sensor and records the result as the
// display's calibration. -1022 for a display without an engine.
int initialize_display_engine(CPDLANConnectionObject &worker);
// JOB_TASK_RESTORE_CALIBRATION_SETTINGS: writes the calibration kept in the
// display's record back into the display.
int restore_calibration_settings(CPDLANConnectionObject &worker);
