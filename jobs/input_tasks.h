#pragma once

class CPDLANConnectionObject;

// The tasks that switch a display's video input.

// JOB_TASK_SELECT_INPUT: switches to the job's one input (a job with another
// number of inputs does nothing). An input the display does not take only
// adds its sentence to the job's error text.
int select_input(CPDLANConnectionObject &worker);
// JOB_TASK_INPUT_PICTURE_SETTINGS: copies the display's calibrated picture
// settings to each input of the job's list, with power management off for
// the time of the task; the input and the power management are put back
// whatever happens after they were changed.
int set_input_picture_settings(CPDLANConnectionObject &worker);
