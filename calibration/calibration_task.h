#pragma once

class CPDLANConnectionObject;

// JOB_TASK_CALIBRATE: calibrates the job's display with the colour sensor.
// Makes sure that the sensor sits on this display, chooses the display's
// engine (only where the display has one, the preferences ask for it and the
// calibration keeps a lookup table), runs a CCalibrationObject with the
// display's record and the target moved by the record's target offset, and
// on success stores the record and hands the run's result flag to the
// follow-up lookup-table job. -1000 without a sensor; otherwise the first
// error of the identification, the placement check or the run.
int calibrate_display(CPDLANConnectionObject &worker);

// Installs calibrate_display as the worker's JOB_TASK_CALIBRATE; called once
// at start-up, before any job runs.
void install_calibration_task();
