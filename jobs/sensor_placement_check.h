#pragma once

class CPDLANConnectionObject;
class CSensor;

// Makes sure that the operator has put the colour sensor on this very display
// before it is measured. The display's test patch generator shows full red
// and full green in turn until the sensor has seen the right colour, bright
// enough (red at least 10 cd/m², green at least 30), three times in a row,
// counted once a green patch has been measured; a sensor on another display
// never gets there.
//
// Reports the step "Detecting color sensor on display # N" (N = the job's
// position + 1), the instruction and the spoken prompt to place the sensor,
// the patch shown (defined tasks 14 red, 13 green) and the run of good
// readings as sub-steps of 4. Polls the job's stop flag after each patch.
//
// |sensor| is the active sensor, which the caller holds (active_sensor) for
// the whole measurement; the check sets its display type for the display's
// model. With |restore_always| the patch generator is switched off again on
// success too; otherwise it is left on, showing the last green patch, for
// the measurements that follow. After a failure it is switched off again
// (a display found switched off is not written to).
// Of the two generators it drives the one the display shows
// (engine_patch_generator_on).
//
// Returns 0 when the sensor sees the display; -1036 when the display is not
// switched on; JOB_RESULT_STOPPED when the job is stopped; otherwise the
// error of the failing display or sensor call.
int wait_for_sensor_on_display(CPDLANConnectionObject &worker, CSensor &sensor, bool restore_always);
