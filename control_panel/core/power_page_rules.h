#pragma once

#include "jobs/job_list_item.h"

#include <QList>
#include <QString>

// The Power page's rules without widgets: the power job and what its first
// display's result shows, and the power-on delay, for one display or
// staggered over several.
namespace power_page_rules {

// Task 7 switching to |mode| (1 on, 4 off); |read_back| reads the state
// before and after.
job_list_item power_job(int mode, bool read_back);

// What the first display's power job leaves on the page: a status for the
// status line (0 clears it) and the power mode to show (0: none).
struct power_outcome
{
    int status = 0;
    int mode = 0;
};
// A job that did not finish its task, or finished it with an error, shows
// its code and no state: the mode it carries is then only what was asked.
power_outcome first_job_outcome(const QList<job_list_item> &results);

// The delay text: seconds for one display; for several the stagger the
// slider stands for.
QString delay_text(int value, int target_count);

// The slider's maximum: the display's own for one display; for n > 1 the
// three "displays per second" steps plus whole seconds between neighbours
// up to the display's maximum for the last (3 when the maximum cannot give
// every display its own second).
int slider_maximum(int display_maximum, int target_count);

// The delay, in seconds, of the display at |position| of the target list
// for slider value |value|.
int staggered_delay(int value, int position);

} // namespace power_page_rules
