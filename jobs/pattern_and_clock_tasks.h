#pragma once

class CPDLANConnectionObject;

// The tasks that show a test pattern or set the display's clock.

// JOB_TASK_TEST_PATTERNS: by the job's test-pattern mode, 0 the pattern
// off, 1 full white, 2 the calibrated white, 3 the calibrated white with
// the visual trim. Modes 2 and 3 change nothing on a display without a
// usable calibration in a table or the engine.
int set_test_patterns(CPDLANConnectionObject &worker);
// JOB_TASK_SET_CLOCK: sets the display's clock to the job's date-time (the
// computer's when the job's is invalid), keeping the display's
// daylight-saving setting, or only reads it, as the job asks; the clock
// read goes into the job.
int set_display_clock(CPDLANConnectionObject &worker);
