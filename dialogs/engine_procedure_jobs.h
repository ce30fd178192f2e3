#pragma once

#include "jobs/job_list_item.h"

// The job templates of the factory colour calibration and uniformity
// dialogs. Procedures that measure with the colour sensor set each
// display's clock first when the preferences ask for it, so that the
// history entry they leave carries the right date.

job_list_item history_read_job();
job_list_item factory_reset_job();
job_list_item colour_update_job(bool set_clock);
// The measurement grid goes to the display first; a portrait display takes
// the counts the other way round.
job_list_item uniformity_measurement_job(bool set_clock, int horizontal, int vertical, bool portrait);
// The value of the measurement grid control: first count << 8 | second.
int uniformity_points_value(int horizontal, int vertical, bool portrait);
