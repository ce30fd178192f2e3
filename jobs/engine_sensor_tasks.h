#pragma once

class CPDLANConnectionObject;

// The display's internal engine runs a procedure while the program lends it
// the colour sensor: the display shows its patches and asks for a
// measurement whenever it wants one; the worker measures, sends the reading
// (C258) and turns the engine's progress into the job's progress,
// instructions and spoken prompts. While the procedure runs the display's
// test pattern is off; it is switched on again afterwards if it was on.
//
// Results: -1036 when the display is not on (nothing written then), -1000
// without a sensor, -1039 when the display refuses the procedure, -1038
// when the engine stays busy, JOB_RESULT_STOPPED after a stop (the engine
// stopped and the procedure left), the display's and the sensor's errors,
// or the final ready wait's result (-1 when the engine never became ready).

// JOB_TASK_UPDATE_CALIBRATION: the engine recomputes its own calibration
// from the sensor's readings; needs an engine that is switched on (-1040
// otherwise). A run that does not end as finished is started once more.
int update_calibration(CPDLANConnectionObject &worker);

// JOB_TASK_MEASURE: the engine walks the operator through its measurement
// positions on the screen (its uniformity measurement). Beforehand the
// display's corner uniformity is set back to neutral and its uniformity
// switched on, and the display's record is brought up to date.
int measure(CPDLANConnectionObject &worker);
