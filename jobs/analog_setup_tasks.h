#pragma once

class CPDLANConnectionObject;

// The display adjusts itself to its analog input. A display that shows a
// tile matrix has it switched off for the time of the adjustment and back on
// afterwards, whatever the adjustment's outcome; the result is the first
// error met.

// JOB_TASK_ANALOG_AUTO_SETUP: position, size and phase (control 0x1E).
int analog_auto_setup(CPDLANConnectionObject &worker);
// JOB_TASK_ANALOG_AUTO_GAIN: bias and gain (control 0x31D, in expert mode).
int analog_auto_gain(CPDLANConnectionObject &worker);
