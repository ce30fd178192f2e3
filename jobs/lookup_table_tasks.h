#pragma once

class CPDLANConnectionObject;

// The tasks that write or test a display's lookup tables.

// JOB_TASK_UPDATE_LUTS: rebuilds the display's table from its stored
// calibration and the current target (through the engine for a display
// calibrated by it); nothing for a display never calibrated or calibrated
// in its gains, whose settings are still saved and record stored.
int update_luts(CPDLANConnectionObject &worker);
// JOB_TASK_INITIALIZE_AND_UPDATE_LUTS: resets the picture controls and loads
// a test table of the job's kind (0 normal, 1 black, 2 white).
int initialize_and_update_luts(CPDLANConnectionObject &worker);
// JOB_TASK_LUT_READ_TEST: -1021 when the display does not answer a table
// read.
int lut_read_test(CPDLANConnectionObject &worker);
